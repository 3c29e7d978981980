#pragma once

#include <cstdint>
#include <string>

namespace brisko::engine {

// A whole number with thousands separators ("1,234,567"); no separator when it is '\0'.
std::string formatSize(std::int64_t bytes, char thousandsSeparator);

// The size text of a new size and the signed delta text new - old ("+500", "-3", "0").
struct SizeTexts {
    std::string size;
    std::string delta;
};
SizeTexts formatSizes(std::int64_t newSize, std::int64_t oldSize, char thousandsSeparator);

// The thousands separator of the user's locale, ',' when the locale does not group digits.
char localeThousandsSeparator();

} // namespace brisko::engine
