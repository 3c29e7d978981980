#include "platform/posix/TargetFiles.h"

#include "platform/Refusals.h"
#include "platform/posix/PosixErrors.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace brisko::platform {

namespace {

// Why an existing name cannot be replaced by a new regular file.
FsResult refusalToReplace(mode_t mode) {
    if (S_ISDIR(mode))
        return refusal::folderHasThatName();
    if (S_ISLNK(mode))
        return refusal::linkHasThatName();
    return {FsStatus::Unsupported, "a device, pipe or socket has that name"};
}

} // namespace

// Takes the exclusive advisory lock of an open file without waiting. False only when another
// holder has it: a file system without such locks has no holder to tell of.
bool takeLock(int fd) {
    return flock(fd, LOCK_EX | LOCK_NB) == 0 || errno != EWOULDBLOCK;
}

// Sets the permission bits of a file or folder, never through a link: a link (even one planted
// since the name was looked at) is left as it is and counts as done.
FsResult changeModeOfEntry(const Target& target, mode_t mode) {
    if (fchmodat(target.at(), target.entry(), mode, AT_SYMLINK_NOFOLLOW) == 0)
        return FsResult::success();
    if (errno != EOPNOTSUPP)
        return lastFailure();
    // Either a link, or a system that cannot change a mode by name without following.
    UniqueFd fd(retryOnInterrupt([&] {
        return ::openat(target.at(), target.entry(),
                        O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    }));
    if (!fd.valid())
        return errno == ELOOP ? FsResult::success() : lastFailure();
    return fchmod(fd.get(), mode) == 0 ? FsResult::success() : lastFailure();
}

// Opens an existing regular file; a FIFO is never waited on. A link at the last name is
// followed only when links say so.
UniqueFd openRegularFile(const Target& target, LinkHandling links, FsResult& result,
                         struct stat& info) {
    const int openFlags = O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK |
                          (links == LinkHandling::Follow ? 0 : O_NOFOLLOW);
    UniqueFd fd(retryOnInterrupt([&] { return ::openat(target.at(), target.entry(), openFlags); }));
    if (!fd.valid() && errno == ELOOP && links == LinkHandling::Inspect) {
        result = refusal::aLink();
        return {};
    }
    if (!fd.valid() || fstat(fd.get(), &info) != 0) {
        result = lastFailure();
        return {};
    }
    if (S_ISDIR(info.st_mode)) {
        result = refusal::folderNotFile();
        return {};
    }
    if (!S_ISREG(info.st_mode)) {
        result = {FsStatus::Unsupported, "not a regular file"};
        return {};
    }
    // Reads wait again as usual; the other flags are the ones it was opened with.
    if (fcntl(fd.get(), F_SETFL, openFlags & ~O_NONBLOCK) == -1) {
        result = lastFailure();
        return {};
    }
    result = FsResult::success();
    return fd;
}

// Removes the regular file at host so that a new one can take its name, unless a live run is
// writing it (it holds the file's lock). The lock is taken, and held while the name is removed,
// so that no run starts writing it meanwhile. Anything but a regular file is left alone.
FsResult removeUnheldFile(const Target& target) {
    UniqueFd fd(retryOnInterrupt([&] {
        return ::openat(target.at(), target.entry(),
                        O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    }));
    struct stat info {};
    if (fd.valid()) {
        if (fstat(fd.get(), &info) != 0)
            return lastFailure();
        if (!S_ISREG(info.st_mode))
            return refusalToReplace(info.st_mode);
        if (!takeLock(fd.get()))
            return refusal::inUse();
        struct stat named {};
        if (fstatat(target.at(), target.entry(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
            (named.st_dev != info.st_dev || named.st_ino != info.st_ino))
            return refusal::inUse(); // another run replaced it meanwhile
    } else if (errno == ELOOP) {
        return refusalToReplace(S_IFLNK);
    } else if (errno == ENOENT) {
        return FsResult::success();
    } else if (errno == EACCES) {
        // Not readable, so not a file that a run writes: it is replaced without a look.
        if (fstatat(target.at(), target.entry(), &info, AT_SYMLINK_NOFOLLOW) != 0)
            return errno == ENOENT ? FsResult::success() : lastFailure();
        if (!S_ISREG(info.st_mode))
            return refusalToReplace(info.st_mode);
    } else {
        return lastFailure();
    }
    if (unlinkat(target.at(), target.entry(), 0) != 0 && errno != ENOENT)
        return lastFailure();
    return FsResult::success();
}

} // namespace brisko::platform
