#include "platform/posix/FolderWalk.h"

#include "platform/Refusals.h"
#include "platform/posix/PosixErrors.h"

#include <fcntl.h>
#include <sys/stat.h>

namespace brisko::platform {

namespace {

// Why name could not be opened as a folder, told from what it is (looked at only after a
// failure, so that a folder that opens costs one call).
FsResult notOpenable(int parent, const char* name, int error) {
    if (error != ENOTDIR && error != ELOOP)
        return resultFromErrno(error);
    struct stat info {};
    if (fstatat(parent, name, &info, AT_SYMLINK_NOFOLLOW) != 0)
        return resultFromErrno(errno);
    if (S_ISLNK(info.st_mode))
        return refusal::linkForFolder();
    if (!S_ISDIR(info.st_mode))
        return {FsStatus::NotAFolder, systemMessage(ENOTDIR)};
    return resultFromErrno(error);
}

} // namespace

UniqueFd openFolderAt(int parent, const char* name, LinkHandling links, int access,
                      FsResult& result) {
    const int flags =
        access | O_DIRECTORY | O_CLOEXEC | (links == LinkHandling::Follow ? 0 : O_NOFOLLOW);
    UniqueFd fd(retryOnInterrupt([&] { return ::openat(parent, name, flags); }));
    result = fd.valid() ? FsResult::success() : notOpenable(parent, name, errno);
    return fd;
}

UniqueFd walkFolders(const std::string& base, const std::vector<std::string>& names,
                     std::size_t count, LinkHandling onTheWay, FsResult& result) {
    UniqueFd folder = openFolderAt(AT_FDCWD, base.c_str(), LinkHandling::Follow, O_PATH, result);
    for (std::size_t i = 0; i < count && folder.valid(); ++i)
        folder = openFolderAt(folder.get(), names[i].c_str(), onTheWay, O_PATH, result);
    if (result.status == FsStatus::Unsupported)
        result = refusal::linkOnTheWay();
    else if (result.status == FsStatus::NotAFolder)
        result = resultFromErrno(ENOTDIR); // a file on the way: nothing of that path exists
    return folder;
}

} // namespace brisko::platform
