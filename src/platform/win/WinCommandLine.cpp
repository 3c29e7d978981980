#include "platform/win/WinCommandLine.h"

namespace brisko::platform {

namespace {

void appendArgument(std::wstring& line, const std::wstring& argument) {
    if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring::npos) {
        line += argument;
        return;
    }
    line += L'"';
    std::size_t pendingBackslashes = 0;
    for (const wchar_t c : argument) {
        if (c == L'\\') {
            ++pendingBackslashes;
        } else {
            // Backslashes are literal except before a quote (ours or the closing one).
            const std::size_t escaped = c == L'"' ? pendingBackslashes * 2 + 1 : pendingBackslashes;
            line.append(escaped, L'\\');
            line += c;
            pendingBackslashes = 0;
        }
    }
    line.append(pendingBackslashes * 2, L'\\');
    line += L'"';
}

} // namespace

std::wstring windowsCommandLine(const std::vector<std::wstring>& arguments) {
    std::wstring line;
    for (const std::wstring& argument : arguments) {
        if (!line.empty())
            line += L' ';
        appendArgument(line, argument);
    }
    return line;
}

} // namespace brisko::platform
