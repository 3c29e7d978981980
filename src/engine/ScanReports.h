#pragma once

#include "engine/EngineContext.h"
#include "engine/Session.h"

#include <string>
#include <string_view>

namespace brisko::engine {

// Status texts of the entries that a session passes over; each is shown in red beside the path.
inline constexpr std::string_view kCouldNotBeRead = "Could not be read - skipped";
inline constexpr std::string_view kFolderCouldNotBeRead = "Folder could not be read - skipped";
inline constexpr std::string_view kDiffersOnlyInCase =
    "Name differs only in case from another - skipped";
inline constexpr std::string_view kFileWhereFolderExpected =
    "Passed over - a file where a folder is expected";
inline constexpr std::string_view kFolderWhereFileExpected =
    "Passed over - a folder where a file is expected";
inline constexpr std::string_view kLinkFacesEntry =
    "Passed over - a link faces a file or folder of the same name";
inline constexpr std::string_view kTemporaryNameFolder =
    "Passed over - a folder has the temporary copy's name";
inline constexpr std::string_view kFolderLoopsBack =
    "Passed over - the folder loops back to a folder above it";

// "Passed over - " followed by why the directory listing left a name out.
std::string passedOverBecause(std::string_view reason);

// Reports a path that is passed over, with its status, as a row that stays in the history: red
// for a problem, plain for what is passed over by design (devices, pipes, sockets).
void reportPassedOver(EngineContext& context, const std::string& path, std::string_view status,
                      RowColour colour = RowColour::Red);

// Reports a path that is passed over once per session, whichever pass meets it first.
void reportOnce(Session& session, const std::string& path, std::string_view status);
// Reports a link that faces a file or folder of the same name on the other side, once per
// session; both entries stay as they are.
void reportLinkClash(Session& session, const std::string& linkPath);

// Puts a question to the operator after bringing the display up to date, so that what the
// question is about is on the screen.
DialogAnswer askOperator(EngineContext& context, const Question& question);
// The same for a plain message box.
void tellOperator(EngineContext& context, const std::string& text);

} // namespace brisko::engine
