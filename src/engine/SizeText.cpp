#include "engine/SizeText.h"

#include <locale>
#include <stdexcept>

namespace brisko::engine {

std::string formatSize(std::int64_t bytes, char thousandsSeparator) {
    // The magnitude as unsigned, so that the lowest value keeps its digits.
    std::uint64_t magnitude = bytes < 0 ? std::uint64_t{0} - static_cast<std::uint64_t>(bytes)
                                        : static_cast<std::uint64_t>(bytes);
    std::string reversed;
    int digits = 0;
    do {
        if (digits > 0 && digits % 3 == 0 && thousandsSeparator != '\0')
            reversed.push_back(thousandsSeparator);
        reversed.push_back(static_cast<char>('0' + magnitude % 10));
        magnitude /= 10;
        ++digits;
    } while (magnitude != 0);
    if (bytes < 0)
        reversed.push_back('-');
    return std::string(reversed.rbegin(), reversed.rend());
}

SizeTexts formatSizes(std::int64_t newSize, std::int64_t oldSize, char thousandsSeparator) {
    const std::int64_t delta = newSize - oldSize;
    SizeTexts texts;
    texts.size = formatSize(newSize, thousandsSeparator);
    texts.delta = (delta > 0 ? "+" : "") + formatSize(delta, thousandsSeparator);
    return texts;
}

char localeThousandsSeparator() {
    try {
        const std::locale user("");
        const auto& punctuation = std::use_facet<std::numpunct<char>>(user);
        const std::string grouping = punctuation.grouping();
        const char separator = punctuation.thousands_sep();
        // A locale that does not group, or whose separator is not one plain character (a
        // byte of a longer UTF-8 sequence would spoil the text), keeps the comma.
        const auto byte = static_cast<unsigned char>(separator);
        if (grouping.empty() || grouping.front() <= 0 || byte < 0x20 || byte >= 0x7F)
            return ',';
        return separator;
    } catch (const std::runtime_error&) {
        return ','; // the user's locale cannot be made
    }
}

} // namespace brisko::engine
