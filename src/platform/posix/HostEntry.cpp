#include "platform/posix/HostEntry.h"

#include "platform/Refusals.h"
#include "platform/posix/PosixErrors.h"

#include <algorithm>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace brisko::platform {

namespace {

HostEntry passedOver(FsResult result, std::string reason) {
    HostEntry host;
    host.result = std::move(result);
    host.reason = std::move(reason);
    return host;
}

HostEntry unreadable(int error) {
    if (error == ENOENT)
        return passedOver(resultFromErrno(error), "gone");
    return passedOver(resultFromErrno(error), refusal::kCannotBeRead);
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
    entry.identity = {static_cast<std::uint64_t>(info.st_dev),
                      static_cast<std::uint64_t>(info.st_ino)};
    return host;
}

// The whole text a link holds, however long; false (errno set) when it cannot be read.
bool readLinkText(int folderFd, const char* name, std::size_t sizeHint, std::string& text) {
    std::string buffer(std::max<std::size_t>(sizeHint + 1, 256), '\0');
    for (;;) {
        const ssize_t count = readlinkat(folderFd, name, buffer.data(), buffer.size());
        if (count < 0)
            return false;
        if (static_cast<std::size_t>(count) < buffer.size()) {
            buffer.resize(static_cast<std::size_t>(count));
            text = std::move(buffer);
            return true;
        }
        buffer.resize(buffer.size() * 2); // the link changed, or its size was not told
    }
}

// A link as an entry of its own: its own stamp, no size, never read-only.
HostEntry fromLink(const struct stat& info, int folderFd, const char* name,
                   std::string_view displayName, DosStampCache& stamps) {
    HostEntry host = fromStat(info, displayName, stamps);
    DirEntry& entry = host.entry;
    entry.attributes.link = true;
    entry.attributes.directory = false;
    entry.attributes.readOnly = false;
    entry.size = 0;
    if (!readLinkText(folderFd, name, static_cast<std::size_t>(info.st_size), entry.linkTarget))
        return unreadable(errno);
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
    const mode_t mode = linkStatus.st_mode;
    if (S_ISLNK(mode))
        return fromLink(linkStatus, folderFd, name, displayName, stamps);
    if (!S_ISREG(mode) && !S_ISDIR(mode)) {
        HostEntry special =
            passedOver({FsStatus::Unsupported, kindOfSpecial(mode)}, kindOfSpecial(mode));
        special.special = true;
        return special;
    }
    return fromStat(linkStatus, displayName, stamps);
}

} // namespace brisko::platform
