#include "platform/Environment.h"
#include "platform/win/WinText.h"

#include <windows.h>

namespace brisko::platform {

// The variables as the system keeps them (UTF-16), handed on in UTF-8.
std::optional<std::string> ProcessEnvironment::get(const std::string& name) const {
    const std::optional<std::wstring> wideName = wideFromUtf8(name);
    if (!wideName || name.empty())
        return std::nullopt;
    std::wstring value(256, L'\0');
    for (;;) {
        SetLastError(ERROR_SUCCESS);
        const DWORD length = GetEnvironmentVariableW(wideName->c_str(), value.data(),
                                                     static_cast<DWORD>(value.size()));
        if (length == 0) {
            if (GetLastError() == ERROR_ENVVAR_NOT_FOUND)
                return std::nullopt;
            return std::string();
        }
        if (length < value.size()) {
            value.resize(length);
            return utf8FromWide(value);
        }
        value.resize(length); // the size asked for includes the closing zero
    }
}

} // namespace brisko::platform
