#include "engine/NameFolding.h"

#include "platform/Unicode.h"

#include <algorithm>

namespace brisko::engine {

std::string foldedName(std::string_view name) {
    const bool ascii = std::all_of(name.begin(), name.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (!ascii)
        return platform::toUpper(name);
    std::string folded(name);
    for (char& c : folded) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - ('a' - 'A'));
    }
    return folded;
}

} // namespace brisko::engine
