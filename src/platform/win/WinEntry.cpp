#include "platform/win/WinEntry.h"

#include "platform/win/WinErrors.h"
#include "platform/win/WinHandle.h"
#include "platform/win/WinText.h"

#include <cstring>
#include <vector>
#include <winioctl.h>

namespace brisko::platform {

namespace {

// The header of a symbolic link's or a junction's reparse data; the names follow it.
struct ReparseHeader {
    ULONG tag;
    USHORT dataLength;
    USHORT reserved;
    USHORT substituteOffset;
    USHORT substituteLength;
    USHORT printOffset;
    USHORT printLength;
};

std::int64_t sizeOf(DWORD high, DWORD low) {
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(high) << 32) | low);
}

// The text a symbolic link or junction holds: the name it shows, else the one it follows.
bool readLinkText(const std::wstring& longPath, std::string& text, FsResult& failure) {
    WinHandle handle(
        CreateFileW(longPath.c_str(), FILE_READ_ATTRIBUTES,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                    FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    std::vector<BYTE> buffer(MAXIMUM_REPARSE_DATA_BUFFER_SIZE);
    DWORD size = 0;
    if (!handle.valid() ||
        !DeviceIoControl(handle.get(), FSCTL_GET_REPARSE_POINT, nullptr, 0, buffer.data(),
                         static_cast<DWORD>(buffer.size()), &size, nullptr)) {
        failure = lastWinFailure();
        return false;
    }
    ReparseHeader header{};
    if (size < sizeof header) {
        failure = {FsStatus::IoError, "the link cannot be read"};
        return false;
    }
    std::memcpy(&header, buffer.data(), sizeof header);
    // A symbolic link's names follow a flags word that a junction does not have.
    const std::size_t names = sizeof header + (header.tag == IO_REPARSE_TAG_SYMLINK ? 4 : 0);
    const bool printed = header.printLength != 0;
    const std::size_t offset = names + (printed ? header.printOffset : header.substituteOffset);
    const std::size_t length = printed ? header.printLength : header.substituteLength;
    if (offset + length > size) {
        failure = {FsStatus::IoError, "the link cannot be read"};
        return false;
    }
    std::wstring wide(length / sizeof(wchar_t), L'\0');
    std::memcpy(wide.data(), buffer.data() + offset, wide.size() * sizeof(wchar_t));
    if (wide.starts_with(L"\\??\\"))
        wide.erase(0, 4);
    text = utf8FromWide(wide);
    return true;
}

} // namespace

bool isLinkTag(DWORD tag) {
    return tag == IO_REPARSE_TAG_SYMLINK || tag == IO_REPARSE_TAG_MOUNT_POINT;
}

DosStamp dosStampFromFileTime(const FILETIME& time) {
    SYSTEMTIME utc{};
    SYSTEMTIME local{};
    if (!FileTimeToSystemTime(&time, &utc) ||
        !SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local))
        return packDosStamp(LocalDateTime{});
    LocalDateTime date;
    date.year = local.wYear;
    date.month = local.wMonth;
    date.day = local.wDay;
    date.hour = local.wHour;
    date.minute = local.wMinute;
    date.second = local.wSecond;
    return packDosStamp(date);
}

bool fileTimeFromDosStamp(DosStamp stamp, FILETIME& time) {
    const LocalDateTime date = unpackDosStamp(stamp);
    SYSTEMTIME local{};
    local.wYear = static_cast<WORD>(date.year);
    local.wMonth = static_cast<WORD>(date.month);
    local.wDay = static_cast<WORD>(date.day);
    local.wHour = static_cast<WORD>(date.hour);
    local.wMinute = static_cast<WORD>(date.minute);
    local.wSecond = static_cast<WORD>(date.second);
    SYSTEMTIME utc{};
    return TzSpecificLocalTimeToSystemTime(nullptr, &local, &utc) &&
           SystemTimeToFileTime(&utc, &time);
}

WinEntry entryFromFindData(const WIN32_FIND_DATAW& data, const std::wstring& longPath) {
    WinEntry found;
    found.systemAttributes = data.dwFileAttributes;
    DirEntry& entry = found.entry;
    FileAttributes& attributes = entry.attributes;
    entry.name = utf8FromWide(data.cFileName);
    attributes.directory = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    attributes.readOnly = (data.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0;
    attributes.hidden = (data.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) != 0;
    attributes.system = (data.dwFileAttributes & FILE_ATTRIBUTE_SYSTEM) != 0;
    attributes.archive = (data.dwFileAttributes & FILE_ATTRIBUTE_ARCHIVE) != 0;
    entry.size = attributes.directory ? 0 : sizeOf(data.nFileSizeHigh, data.nFileSizeLow);
    entry.stamp = dosStampFromFileTime(data.ftLastWriteTime);
    // Only symbolic links and junctions are links: other reparse points (deduplicated or
    // cloud files) are read as the files they stand for.
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 &&
        isLinkTag(data.dwReserved0)) {
        attributes.link = true;
        attributes.directory = false;
        attributes.readOnly = false;
        entry.size = 0;
        if (!readLinkText(longPath, entry.linkTarget, found.result))
            return found;
    }
    found.result = FsResult::success();
    return found;
}

WinEntry lookUpEntry(const WinPath& path) {
    WinEntry found;
    if (!path.result.ok()) {
        found.result = path.result;
        return found;
    }
    if (path.root) {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        if (!GetFileAttributesExW(path.longPath.c_str(), GetFileExInfoStandard, &data)) {
            found.result = lastWinFailure();
            return found;
        }
        found.systemAttributes = data.dwFileAttributes;
        found.entry.attributes.directory = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        found.entry.stamp = dosStampFromFileTime(data.ftLastWriteTime);
        return found;
    }
    WIN32_FIND_DATAW data{};
    HANDLE search = FindFirstFileExW(path.longPath.c_str(), FindExInfoBasic, &data,
                                     FindExSearchNameMatch, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        // A file on the way makes the rest of the path one that does not exist.
        found.result = resultFromWinError(error == ERROR_DIRECTORY ? ERROR_PATH_NOT_FOUND : error);
        return found;
    }
    FindClose(search);
    return entryFromFindData(data, path.longPath);
}

} // namespace brisko::platform
