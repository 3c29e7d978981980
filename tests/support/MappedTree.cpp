#include "support/MappedTree.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#ifdef _WIN32
#include "platform/win/WinFileSystem.h"

#include <windows.h>
#else
#include "platform/sftp/SftpDrives.h"
#include "support/SftpDrives.h"

#include <fcntl.h>
#include <sys/stat.h>
#endif

namespace brisko::test {

namespace fs = std::filesystem;

namespace {

// Sets a link's own time; its target, if any, is left alone.
void setLinkTime(const fs::path& link, std::time_t time) {
#ifdef _WIN32
    const HANDLE handle =
        CreateFileW(link.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING,
                    FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    // Seconds since 1601 in steps of 100 ns.
    const auto ticks = static_cast<ULONGLONG>(time + 11644473600LL) * 10000000ULL;
    const FILETIME stamp{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    const bool done =
        handle != INVALID_HANDLE_VALUE && SetFileTime(handle, nullptr, &stamp, &stamp) != FALSE;
    if (handle != INVALID_HANDLE_VALUE)
        CloseHandle(handle);
#else
    const struct timespec times[2] = {{time, 0}, {time, 0}};
    const bool done = utimensat(AT_FDCWD, link.c_str(), times, AT_SYMLINK_NOFOLLOW) == 0;
#endif
    if (!done)
        throw std::runtime_error("cannot set the time of " + utf8Of(link));
}

} // namespace

bool hostMakesSymlinks() {
    static const bool makes = [] {
        const TempTree probe;
        std::error_code error;
        fs::create_symlink("target", probe.path("link"), error);
        return !error;
    }();
    return makes;
}

MappedTree::MappedTree(std::vector<Drive> drives) : drives_(std::move(drives)) {
    for (const Drive& drive : drives_) {
        makeFolder(drive.folder);
#ifdef _WIN32
        systemDrives_.push_back(
            std::make_unique<SystemDriveLetter>(drive.letter, path(drive.folder)));
#endif
    }
#ifdef _WIN32
    for (const auto& letter : systemDrives_)
        letter->awaitOwnVolume();
#endif
}

std::string MappedTree::target(const Drive& drive) const {
    const std::string folder = utf8Of(path(drive.folder));
#ifndef _WIN32
    if (auto url = sftpUrlOf(folder))
        return *url;
#endif
    return folder;
}

platform::DriveMap MappedTree::driveMap() const {
    platform::DriveMap map(utf8Of(root()));
    for (const Drive& drive : drives_) {
        if (!map.addEntry(std::string(1, drive.letter) + "=" + target(drive)))
            throw std::runtime_error("cannot map drive " + std::string(1, drive.letter));
    }
    return map;
}

std::unique_ptr<platform::FileSystem> MappedTree::hostFileSystem() const {
#ifdef _WIN32
    return std::make_unique<platform::WinFileSystem>();
#else
    platform::sftp::SshSettings ssh;
    if (drivesOverSftp()) {
        std::string why;
        ssh = platform::sftp::sshSettingsFrom(std::string(std::getenv("BRISKO_SSH")), why).value();
    }
    return platform::sftp::hostWithLocations(driveMap(), ssh);
#endif
}

std::vector<std::string> MappedTree::driveOptions() const {
    std::vector<std::string> options;
#ifndef _WIN32 // on Windows the drives are letters of the system already
    for (const Drive& drive : drives_) {
        options.push_back("--drive");
        options.push_back(std::string(1, drive.letter) + "=" + target(drive));
    }
#endif
    return options;
}

void MappedTree::lay(const std::vector<TreeEntry>& entries,
                     std::optional<std::time_t> defaultTime) {
    for (const TreeEntry& entry : entries) {
        const auto time = entry.time ? entry.time : defaultTime;
        if (entry.path.ends_with('/')) {
            makeFolder(entry.path);
        } else if (entry.content.starts_with("->")) {
            makeFolder(utf8Of(hostPathOf(entry.path).parent_path()));
            fs::create_symlink(hostPathOf(entry.content.substr(2)), path(entry.path));
            if (time)
                setLinkTime(path(entry.path), *time);
        } else {
            write(entry.path, entry.content);
            if (time)
                setTime(entry.path, *time);
        }
    }
}

TreeListing MappedTree::listing(std::string_view folder) const {
    TreeListing found;
    const fs::path top = path(folder);
    for (const auto& entry : fs::recursive_directory_iterator(top)) {
        const std::u8string generic = entry.path().lexically_relative(top).generic_u8string();
        const std::string relative(generic.begin(), generic.end());
        if (entry.is_symlink())
            found[relative] = "->" + utf8Of(fs::read_symlink(entry.path()));
        else if (entry.is_directory() && fs::is_empty(entry.path()))
            found[relative + "/"] = "";
        else if (!entry.is_directory())
            found[relative] = read(utf8Of(hostPathOf(folder) / hostPathOf(relative)));
    }
    return found;
}

} // namespace brisko::test
