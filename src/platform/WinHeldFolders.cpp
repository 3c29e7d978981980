#include "platform/WinHeldFolders.h"

#include "platform/WinEntry.h"
#include "platform/WinErrors.h"

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
        result_ = {FsStatus::Unsupported, "a symbolic link is on the way"};
    else if ((info.FileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
        result_ = {FsStatus::NotFound, "a file is on the way"};
    else
        handles_.push_back(std::move(handle));
    return result_;
}

} // namespace brisko::platform
