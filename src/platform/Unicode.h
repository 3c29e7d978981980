#pragma once

#include <string>
#include <string_view>

namespace brisko::platform {

bool isValidUtf8(std::string_view bytes);
// Bytes of Windows-1252 text as UTF-8.
std::string windows1252ToUtf8(std::string_view bytes);
// UTF-8 when the bytes are valid UTF-8, otherwise Windows-1252; a leading byte-order mark is
// dropped.
std::string decodeText(std::string_view bytes);

// Upper case of UTF-8 text, Unicode-aware for the Latin, Greek and Cyrillic letters (ü -> Ü);
// bytes that are not valid UTF-8 are kept as they are.
std::string toUpper(std::string_view text);
bool equalsIgnoreCase(std::string_view a, std::string_view b);

} // namespace brisko::platform
