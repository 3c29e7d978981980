#include "platform/win/WinFileSystem.h"
#include "platform/win/WinFiles.h"
#include "platform/win/WinHandle.h"
#include "platform/win/WinPaths.h"

#include <windows.h>

namespace brisko::platform {

namespace {

// A folder opened for its identity, links and junctions followed.
WinHandle openFolder(const std::wstring& longPath) {
    return WinHandle(CreateFileW(longPath.c_str(), FILE_READ_ATTRIBUTES,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
}

// The path the system resolved an open folder to ("\\?\C:\DATA"), every reparse point
// followed; empty when it cannot say.
std::wstring finalPathOf(HANDLE handle) {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetFinalPathNameByHandleW(
            handle, buffer.data(), static_cast<DWORD>(buffer.size()), VOLUME_NAME_DOS);
        if (length == 0)
            return {};
        if (length < buffer.size()) {
            buffer.resize(length);
            return buffer;
        }
        buffer.resize(length + 1);
    }
}

} // namespace

std::vector<FileIdentity> WinFileSystem::folderChain(std::string_view folder) {
    std::vector<FileIdentity> chain;
    const WinPath parsed = winPath(folder, currentFolder());
    if (!parsed.result.ok())
        return chain;
    std::wstring path;
    {
        const WinHandle handle = openFolder(parsed.longPath);
        if (!handle.valid())
            return chain;
        path = finalPathOf(handle.get());
    }
    if (path.empty())
        return chain;
    for (;;) {
        const WinHandle handle = openFolder(path);
        BY_HANDLE_FILE_INFORMATION info{};
        const std::optional<FileIdentity> identity =
            handle.valid() && GetFileInformationByHandle(handle.get(), &info) &&
                    (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0
                ? identityOfHandle(handle.get())
                : std::nullopt;
        if (!identity)
            return chain; // a share's server above its share folder, say: the chain ends
        chain.push_back(*identity);
        const std::wstring parent = parentOfLongPath(path);
        if (parent == path)
            return chain;
        path = parent;
    }
}

} // namespace brisko::platform
