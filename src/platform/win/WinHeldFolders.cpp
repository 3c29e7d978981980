#include "platform/win/WinHeldFolders.h"

#include "platform/Refusals.h"
#include "platform/win/WinEntry.h"
#include "platform/win/WinErrors.h"
#include "platform/win/WinText.h"

namespace brisko::platform {

HeldFolders::HeldFolders(const WinPath& path) {
    if (!path.result.ok() || path.root)
        return;
    const std::wstring& full = path.longPath;
    const std::size_t top = longPathTopEnd(full);
    const std::size_t last = full.find_last_of(L'\\');
    if (top == std::wstring::npos)
        return;
    for (std::size_t end = full.find(L'\\', top + 1); end < last && ok();
         end = full.find(L'\\', end + 1))
        hold(full.substr(0, end));
}

FsResult HeldFolders::hold(const std::wstring& folder) {
    // Attributes only; reading and writing are shared, deletion (and so renaming) is not.
    WinHandle handle(CreateFileW(
        folder.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    FILE_ATTRIBUTE_TAG_INFO info{};
    if (!handle.valid() ||
        !GetFileInformationByHandleEx(handle.get(), FileAttributeTagInfo, &info, sizeof info))
        result_ = lastWinFailure();
    else if ((info.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 &&
             isLinkTag(info.ReparseTag))
        result_ = refusal::linkOnTheWay();
    else if ((info.FileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
        result_ = {FsStatus::NotFound, "a file is on the way"};
    else
        handles_.push_back(std::move(handle));
    return result_;
}

std::string currentHostFolder() {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetCurrentDirectoryW(static_cast<DWORD>(buffer.size()), buffer.data());
        if (length == 0)
            return std::string();
        if (length < buffer.size()) {
            buffer.resize(length);
            if (buffer.starts_with(L"\\\\?\\"))
                buffer.erase(0, 4);
            return utf8FromWide(buffer);
        }
        buffer.resize(length);
    }
}

WinPath pathOf(std::string_view path) {
    return winPath(path, currentHostFolder());
}

HeldPath held(std::string_view path) {
    HeldPath holding{pathOf(path), {}};
    holding.folders = HeldFolders(holding.path);
    return holding;
}

PathPair pathsOf(std::string_view from, std::string_view to) {
    PathPair paths{held(from), held(to), {}};
    paths.result = !paths.from.ok() ? paths.from.result() : paths.to.result();
    return paths;
}

} // namespace brisko::platform
