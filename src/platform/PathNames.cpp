#include "platform/PathNames.h"

namespace brisko::platform {

void appendPathNames(std::string_view text, std::size_t floor, std::vector<std::string>& names) {
    std::size_t pos = 0;
    while (pos <= text.size()) {
        std::size_t end = pos;
        while (end < text.size() && !isPathSeparator(text[end]))
            ++end;
        const std::string_view name = text.substr(pos, end - pos);
        if (name == "..") {
            if (names.size() > floor)
                names.pop_back();
        } else if (!name.empty() && name != ".") {
            names.emplace_back(name);
        }
        pos = end + 1;
    }
}

} // namespace brisko::platform
