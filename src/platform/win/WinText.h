#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace brisko::platform {

// UTF-8 inside the program, UTF-16 at the Win32 calls. A text that is not valid in its
// encoding gives nothing.
std::optional<std::wstring> wideFromUtf8(std::string_view text);
std::string utf8FromWide(std::wstring_view text);

} // namespace brisko::platform
