#pragma once

#include "script/ScriptContext.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace brisko::script {

// The outcome of recognising one trimmed line.
struct ParsedLine {
    bool accepted = false;    // comment, command or key line with an acceptable value
    std::string key;          // the key in the table's spelling; the upper-cased line for
                              // comments and commands
    std::string value;        // the normalised value (allowed value, or expanded free value)
    std::string rawValue;     // the text after the first "=", trimmed, before normalisation
    bool pathTooLong = false; // a root or path value longer than any path the system takes
    std::string problem;      // why a line was not accepted, or what is wrong with its value

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

} // namespace brisko::script
