#pragma once

#include "script/ScriptContext.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace brisko::script {

// The outcome of recognising one trimmed line.
struct ParsedLine {
    bool accepted = false;    // comment, command or key line with an acceptable value
    std::string key;          // the key in the table's spelling; the upper-cased line for
                              // comments and commands
    std::string value;        // the normalised value (allowed value, or expanded free value)
    std::string rawValue;     // the text after the first "=", trimmed, before normalisation
    bool pathTooLong = false; // a root or path value longer than any path the system takes

    // The value a row shows and a run uses: the normalised one, or the text as written when
    // the expansion came out empty.
    const std::string& shownValue() const { return value.empty() ? rawValue : value; }
};

// The longest root or path value a script may give, in bytes: the host's path limit.
inline constexpr std::size_t kMaxPathValueBytes = 4096;

// Recognises one trimmed line, with the side effects of Title lines and the folder preview.
ParsedLine parseScriptLine(ScriptContext& context, std::string_view line);

// Appends one row to the script grid.
void addScriptLine(ScriptContext& context, ScriptLine line);

// Appends the rows of a script file (and of the files it includes), counts its errors and
// refreshes the caption, message line and error report.
void loadScript(ScriptContext& context, const std::string& fileName);

// Resets the window state before a load or reload.
void clearForLoad(ScriptContext& context);

// Reads the lines of a text file: UTF-8 when valid, otherwise Windows-1252; a byte-order mark
// is dropped and CR LF ends work. False when the file cannot be opened or read.
bool readTextLines(platform::FileSystem& fileSystem, const std::string& fileName,
                   std::vector<std::string>& lines, platform::FsResult& result);

} // namespace brisko::script
