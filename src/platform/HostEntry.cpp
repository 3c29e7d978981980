#include "platform/HostEntry.h"

#include "platform/PosixErrors.h"

#include <fcntl.h>
#include <sys/stat.h>

namespace brisko::platform {

namespace {

constexpr const char* kCannotBeRead = "cannot be read";

HostEntry passedOver(FsResult result, std::string reason) {
    HostEntry host;
    host.result = std::move(result);
    host.reason = std::move(reason);
    return host;
}

HostEntry unreadable(int error) {
    if (error == ENOENT)
        return passedOver(resultFromErrno(error), "gone");
    return passedOver(resultFromErrno(error), kCannotBeRead);
}

// The reason a name that is neither a regular file nor a folder is passed over.
const char* kindOfSpecial(mode_t mode) {
    if (S_ISFIFO(mode))
        return "named pipe";
    if (S_ISSOCK(mode))
        return "socket";
    return "device";
}

HostEntry fromStat(const struct stat& info, std::string_view displayName, DosStampCache& stamps) {
    HostEntry host;
    DirEntry& entry = host.entry;
    entry.name = displayName;
    entry.attributes.directory = S_ISDIR(info.st_mode);
    entry.attributes.readOnly = (info.st_mode & S_IWUSR) == 0;
    entry.attributes.hidden = !displayName.empty() && displayName.front() == '.';
    entry.size = entry.attributes.directory ? 0 : static_cast<std::int64_t>(info.st_size);
    entry.stamp = stamps.stampOf(info.st_mtim.tv_sec);
    return host;
}

} // namespace

HostEntry inspectEntry(int folderFd, const char* name, std::string_view displayName,
                       LinkHandling links) {
    DosStampCache stamps;
    return inspectEntry(folderFd, name, displayName, links, stamps);
}

HostEntry inspectEntry(int folderFd, const char* name, std::string_view displayName,
                       LinkHandling links, DosStampCache& stamps) {
    struct stat info {};
    const int flags = links == LinkHandling::Follow ? 0 : AT_SYMLINK_NOFOLLOW;
    if (fstatat(folderFd, name, &info, flags) != 0)
        return unreadable(errno);
    return inspectEntry(info, folderFd, name, displayName, stamps);
}

HostEntry inspectEntry(const struct stat& linkStatus, int folderFd, const char* name,
                       std::string_view displayName, DosStampCache& stamps) {
    struct stat info = linkStatus;
    if (S_ISLNK(info.st_mode)) {
        if (fstatat(folderFd, name, &info, 0) != 0) {
            if (errno == ENOENT || errno == ELOOP)
                return passedOver({FsStatus::Unsupported, systemMessage(errno)}, "broken link");
            return unreadable(errno);
        }
        if (S_ISDIR(info.st_mode))
            return passedOver({FsStatus::Unsupported, "symbolic link"}, "link to a folder");
    }
    if (!S_ISREG(info.st_mode) && !S_ISDIR(info.st_mode))
        return passedOver({FsStatus::Unsupported, kindOfSpecial(info.st_mode)},
                          kindOfSpecial(info.st_mode));
    return fromStat(info, displayName, stamps);
}

} // namespace brisko::platform
