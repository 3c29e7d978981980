#include "platform/win/WinFiles.h"

#include "platform/FileTransfer.h"
#include "platform/win/WinErrors.h"

#include <algorithm>

namespace brisko::platform {

namespace {

std::uint64_t wide(DWORD high, DWORD low) {
    return (static_cast<std::uint64_t>(high) << 32) | low;
}

FileIdentity identityIn(const BY_HANDLE_FILE_INFORMATION& info) {
    return FileIdentity{info.dwVolumeSerialNumber, wide(info.nFileIndexHigh, info.nFileIndexLow)};
}

} // namespace

std::int64_t WinInputFile::read(std::byte* buffer, std::size_t size) {
    if (!handle_.valid()) {
        lastError_ = closedFile();
        return -1;
    }
    DWORD count = 0;
    const auto wanted = static_cast<DWORD>(std::min(size, kMaxTransfer));
    if (!ReadFile(handle_.get(), buffer, wanted, &count, nullptr)) {
        lastError_ = lastWinFailure();
        return -1;
    }
    return static_cast<std::int64_t>(count);
}

std::optional<FileVersion> WinInputFile::version() const {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!handle_.valid() || !GetFileInformationByHandle(handle_.get(), &info))
        return std::nullopt;
    const FILETIME& written = info.ftLastWriteTime;
    FileVersion version{
        static_cast<std::int64_t>(wide(info.nFileSizeHigh, info.nFileSizeLow)),
        static_cast<std::int64_t>(wide(written.dwHighDateTime, written.dwLowDateTime)), 0,
        identityIn(info)};
    // The change time, where the file system keeps one (NTFS does).
    FILE_BASIC_INFO basic{};
    if (GetFileInformationByHandleEx(handle_.get(), FileBasicInfo, &basic, sizeof basic))
        version.changed = basic.ChangeTime.QuadPart;
    return version;
}

FsResult WinOutputFile::write(const std::byte* data, std::size_t size) {
    if (!handle_.valid())
        return closedFile();
    while (size > 0) {
        const auto chunk = static_cast<DWORD>(std::min(size, kMaxTransfer));
        DWORD count = 0;
        if (!WriteFile(handle_.get(), data, chunk, &count, nullptr))
            return lastWinFailure();
        if (count == 0)
            return resultFromWinError(ERROR_DISK_FULL); // no progress: the disk takes no more
        data += count;
        size -= count;
    }
    return FsResult::success();
}

FsResult WinOutputFile::flush() {
    if (!handle_.valid())
        return closedFile();
    return FlushFileBuffers(handle_.get()) ? FsResult::success() : lastWinFailure();
}

FsResult WinOutputFile::close() {
    return handle_.reset() ? FsResult::success() : lastWinFailure();
}

std::optional<FileIdentity> WinOutputFile::identity() const {
    return handle_.valid() ? identityOfHandle(handle_.get()) : std::nullopt;
}

std::optional<FileIdentity> identityOfHandle(HANDLE handle) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(handle, &info))
        return std::nullopt;
    return identityIn(info);
}

} // namespace brisko::platform
