#pragma once

#include "engine/Matching.h"
#include "script/SessionSettings.h"

#include <string_view>

namespace brisko::engine {

// Whether a name is the temporary copy's name, which no pass ever carries over.
bool isTemporaryName(std::string_view name);

// The FileSpec record under which a pass takes up a file or link of a folder, or nullptr when
// the pass leaves it out: the temporary copy, a name outside SessionFiles (update passes only),
// an excluded name, or one whose FileSpec is ignored. sourceRoot is the pass's source tree.
const script::FileSpec* selectedFileSpec(const script::SessionSettings& settings,
                                         const FileSpecMatcher& specs, std::string_view name,
                                         std::string_view folder, std::string_view sourceRoot,
                                         bool masterScan);

// Whether a pass may go into a subfolder by the session's settings: subfolders are included
// and no exclusion leaves it out.
bool entersFolder(const script::SessionSettings& settings, std::string_view name,
                  std::string_view folder, std::string_view sourceRoot);

} // namespace brisko::engine
