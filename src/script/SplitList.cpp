#include "script/SplitList.h"

namespace brisko::script {

namespace {
// Blanks and control characters; bytes of multi-byte UTF-8 characters are never trimmed.
bool isBlank(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}
} // namespace

std::string trim(std::string_view text) {
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && isBlank(text[first]))
        ++first;
    while (last > first && isBlank(text[last - 1]))
        --last;
    return std::string(text.substr(first, last - first));
}

std::vector<std::string> splitList(std::string_view text, std::string_view separators) {
    std::vector<std::string> items;
    std::string current;
    auto flush = [&] {
        std::string item = trim(current);
        if (!item.empty())
            items.push_back(std::move(item));
        current.clear();
    };
    for (char c : text) {
        if (separators.find(c) != std::string_view::npos)
            flush();
        else
            current += c;
    }
    flush();
    return items;
}

} // namespace brisko::script
