#include "platform/win/WinErrors.h"

#include "platform/win/WinText.h"

#include <windows.h>

namespace brisko::platform {

FsStatus statusFromWinError(unsigned long error) {
    switch (error) {
    case ERROR_SUCCESS:
        return FsStatus::Ok;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_NOT_READY:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
        return FsStatus::NotFound;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_PRIVILEGE_NOT_HELD:
        return FsStatus::AccessDenied;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_USER_MAPPED_FILE:
        return FsStatus::InUse;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return FsStatus::NoSpace;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        return FsStatus::AlreadyExists;
    case ERROR_DIR_NOT_EMPTY:
        return FsStatus::NotEmpty;
    case ERROR_DIRECTORY:
        return FsStatus::NotAFolder;
    case ERROR_NOT_SUPPORTED:
    case ERROR_INVALID_FUNCTION:
    case ERROR_NOT_SAME_DEVICE:
    case ERROR_CANT_ACCESS_FILE:
    case ERROR_CANT_RESOLVE_FILENAME:
        return FsStatus::Unsupported;
    case ERROR_INVALID_NAME:
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_BAD_PATHNAME:
    case ERROR_NO_UNICODE_TRANSLATION:
        return FsStatus::InvalidName;
    default:
        return FsStatus::IoError; // anything unexpected: never "missing"
    }
}

std::string winErrorMessage(unsigned long error) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, MAKELANGID(LANG_ENGLISH, SUBLANG_DEFAULT),
        reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text = length != 0 && buffer != nullptr ? std::wstring(buffer, length) : L"";
    if (buffer != nullptr)
        LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L'.'))
        text.pop_back();
    if (text.empty())
        return "error " + std::to_string(error);
    return utf8FromWide(text);
}

FsResult resultFromWinError(unsigned long error) {
    if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION)
        return {FsStatus::InUse, "the file is in use by another program"};
    return {statusFromWinError(error), winErrorMessage(error)};
}

FsResult lastWinFailure() {
    return resultFromWinError(GetLastError());
}

} // namespace brisko::platform
