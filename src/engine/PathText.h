#pragma once

#include <string>
#include <string_view>

namespace brisko::engine {

// folder + "\" + name, the way drive-form paths are joined.
inline std::string joinPath(std::string_view folder, std::string_view name) {
    std::string path;
    path.reserve(folder.size() + 1 + name.size());
    path.append(folder).append(1, '\\').append(name);
    return path;
}

// The drive letter of a drive-form path ('\0' for an empty path).
inline char driveOf(std::string_view path) {
    return path.empty() ? '\0' : path.front();
}

} // namespace brisko::engine
