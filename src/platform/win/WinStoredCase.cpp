#include "platform/win/WinStoredCase.h"

#include "platform/win/WinText.h"

#include <algorithm>
#include <windows.h>

namespace brisko::platform {

namespace {

// Where the names below a path's drive or share begin: after "\\?\C:" or "\\?\UNC\SERVER\SHARE".
std::size_t namesStart(const std::wstring& longPath) {
    if (!longPath.starts_with(L"\\\\?\\UNC\\"))
        return 6;
    const std::size_t server = longPath.find(L'\\', 8);
    return server == std::wstring::npos ? std::wstring::npos : longPath.find(L'\\', server + 1);
}

// The path as people write it: "C:\..." or "\\SERVER\SHARE\...".
std::string displayOf(const std::wstring& longPath) {
    std::wstring shown = longPath.substr(4);
    if (shown.starts_with(L"UNC\\"))
        shown = L"\\" + shown.substr(3);
    return utf8FromWide(shown);
}

} // namespace

std::string storedSpelling(const WinPath& path) {
    if (!path.result.ok() || path.root)
        return path.display;
    std::wstring stored = path.longPath;
    for (std::size_t slash = namesStart(stored); slash < stored.size();) {
        const std::size_t end = std::min(stored.find(L'\\', slash + 1), stored.size());
        WIN32_FIND_DATAW data{};
        // The path has no wildcard in it (such names are refused), so the search finds the
        // one entry of that name, if any.
        const HANDLE search = FindFirstFileExW(stored.substr(0, end).c_str(), FindExInfoBasic,
                                               &data, FindExSearchNameMatch, nullptr, 0);
        if (search == INVALID_HANDLE_VALUE)
            break;
        FindClose(search);
        stored.replace(slash + 1, end - slash - 1, data.cFileName);
        slash = stored.find(L'\\', slash + 1);
    }
    return displayOf(stored);
}

} // namespace brisko::platform
