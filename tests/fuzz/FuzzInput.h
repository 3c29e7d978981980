#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace brisko::fuzz {

// The fuzzer's bytes as text.
inline std::string_view inputText(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// The text cut at each '\n' into count fields, the last taking the rest; fields the text does
// not reach are empty. One input so names several values, and seeds stay readable.
inline std::vector<std::string_view> inputFields(std::string_view text, std::size_t count) {
    std::vector<std::string_view> fields(count);
    for (std::size_t i = 0; i < count && !text.empty(); ++i) {
        const std::size_t end = i + 1 < count ? text.find('\n') : std::string_view::npos;
        fields[i] = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    }
    return fields;
}

} // namespace brisko::fuzz
