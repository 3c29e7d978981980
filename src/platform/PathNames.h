#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace brisko::platform {

// Both '\' and '/' separate the names of a program path.
inline bool isPathSeparator(char c) {
    return c == '\\' || c == '/';
}

// Appends the names of text to names; "." is dropped and ".." removes the name before it,
// never going below the first `floor` names.
void appendPathNames(std::string_view text, std::size_t floor, std::vector<std::string>& names);

// A host path split at its last separator, byte by byte, so that UTF-8 names pass unchanged on
// every system. The folder of a name straight under a root ("/x", "C:\\x") keeps the root's
// separator; a bare name has an empty folder.
std::string_view hostFolderOf(std::string_view host);
std::string_view hostNameOf(std::string_view host);

} // namespace brisko::platform
