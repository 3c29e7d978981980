#include "support/SystemDriveLetter.h"

#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>
#include <windows.h>
#include <winioctl.h>

namespace brisko::test {

namespace {

bool reachable(const wchar_t* device) {
    const std::wstring root = std::wstring(device) + L"\\";
    const DWORD attributes = GetFileAttributesW(root.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Wine keeps its drive letters as links of the prefix, which DefineDosDeviceW does not make; its
// mount manager makes them, given the folder's host path.
struct WineUnixDrive {
    ULONG size;
    ULONG type;
    ULONG fsType;
    DWORD serial;
    ULONGLONG unixDevice;
    WCHAR letter;
    USHORT mountPointOffset;
    USHORT deviceOffset;
    USHORT labelOffset;
};
constexpr DWORD wineDefineUnixDrive =
    CTL_CODE('m', 32, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS);

// Maps the letter to the folder, or unmaps it when the folder is empty.
bool defineWineDrive(wchar_t letter, const std::filesystem::path& folder) {
    using UnixNameOf = char*(CDECL*)(const wchar_t*);
    const auto unixNameOf = reinterpret_cast<UnixNameOf>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (unixNameOf == nullptr)
        return false;
    std::string unixName;
    if (!folder.empty()) {
        char* name = unixNameOf(folder.c_str());
        if (name == nullptr)
            return false;
        unixName = name;
        HeapFree(GetProcessHeap(), 0, name);
    }
    std::vector<char> request(sizeof(WineUnixDrive) + unixName.size() + 1, '\0');
    WineUnixDrive drive{};
    drive.size = static_cast<ULONG>(request.size());
    drive.type = unixName.empty() ? DRIVE_NO_ROOT_DIR : DRIVE_FIXED;
    drive.letter = letter;
    drive.mountPointOffset = unixName.empty() ? 0 : static_cast<USHORT>(sizeof(WineUnixDrive));
    std::memcpy(request.data(), &drive, sizeof drive);
    std::memcpy(request.data() + sizeof drive, unixName.c_str(), unixName.size());

    const HANDLE manager =
        CreateFileW(L"\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (manager == INVALID_HANDLE_VALUE)
        return false;
    DWORD returned = 0;
    const BOOL done =
        DeviceIoControl(manager, wineDefineUnixDrive, request.data(),
                        static_cast<DWORD>(request.size()), nullptr, 0, &returned, nullptr);
    CloseHandle(manager);
    return done != FALSE;
}

// The volume serial number the system gives for a folder, or 0.
DWORD volumeSerialOf(const std::filesystem::path& folder) {
    const HANDLE handle = CreateFileW(folder.c_str(), FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    BY_HANDLE_FILE_INFORMATION info{};
    const bool known = handle != INVALID_HANDLE_VALUE && GetFileInformationByHandle(handle, &info);
    if (handle != INVALID_HANDLE_VALUE)
        CloseHandle(handle);
    return known ? info.dwVolumeSerialNumber : 0;
}

} // namespace

SystemDriveLetter::SystemDriveLetter(char letter, const std::filesystem::path& folder)
    : device_{static_cast<wchar_t>(letter), L':', L'\0'}, folder_(folder) {
    if (reachable(device_))
        throw std::runtime_error(std::string("drive ") + letter + ": is taken already");
    if (DefineDosDeviceW(0, device_, folder_.c_str()) && reachable(device_))
        return;
    DefineDosDeviceW(DDD_REMOVE_DEFINITION, device_, nullptr);
    if (!defineWineDrive(device_[0], folder_) || !reachable(device_))
        throw std::runtime_error(std::string("cannot map drive ") + letter + ":");
    throughMountManager_ = true;
}

void SystemDriveLetter::awaitOwnVolume() const {
    if (!throughMountManager_)
        return;
    const std::filesystem::path folder = folder_.has_filename() ? folder_ : folder_.parent_path();
    const DWORD outer = volumeSerialOf(folder.parent_path());
    for (int tries = 0; tries < 150 && volumeSerialOf(folder) == outer; ++tries)
        Sleep(10);
}

SystemDriveLetter::~SystemDriveLetter() {
    if (throughMountManager_)
        defineWineDrive(device_[0], {});
    else
        DefineDosDeviceW(DDD_REMOVE_DEFINITION, device_, nullptr);
}

} // namespace brisko::test
