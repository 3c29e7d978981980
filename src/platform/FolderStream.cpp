#include "platform/FolderStream.h"

#include "platform/PosixErrors.h"
#include "platform/UniqueFd.h"

#include <fcntl.h>
#include <sys/stat.h>

namespace brisko::platform {

namespace {

// Why a name could not be opened as a folder, told from what it is.
FsResult notOpenable(const std::string& host, int error) {
    if (error != ENOTDIR && error != ELOOP)
        return resultFromErrno(error);
    struct stat info {};
    if (lstat(host.c_str(), &info) != 0)
        return resultFromErrno(errno);
    if (S_ISLNK(info.st_mode))
        return {FsStatus::Unsupported, "symbolic link"};
    if (!S_ISDIR(info.st_mode))
        return {FsStatus::NotAFolder, systemMessage(ENOTDIR)};
    return resultFromErrno(error);
}

} // namespace

FolderStream::FolderStream(const std::string& host, FinalLink links) {
    const int flags =
        O_RDONLY | O_DIRECTORY | O_CLOEXEC | (links == FinalLink::Refuse ? O_NOFOLLOW : 0);
    UniqueFd fd(retryOnInterrupt([&] { return ::open(host.c_str(), flags); }));
    if (!fd.valid()) {
        result_ = notOpenable(host, errno);
        return;
    }
    dir_ = fdopendir(fd.get());
    if (dir_ == nullptr) {
        result_ = resultFromErrno(errno);
        return;
    }
    fd.release(); // the stream owns it now
}

FolderStream::~FolderStream() {
    if (dir_ != nullptr)
        closedir(dir_);
}

int FolderStream::fd() const {
    return dir_ != nullptr ? dirfd(dir_) : -1;
}

const char* FolderStream::next() {
    if (dir_ == nullptr || !result_.ok())
        return nullptr;
    errno = 0;
    const dirent* entry = readdir(dir_);
    if (entry == nullptr) {
        if (errno != 0)
            result_ = resultFromErrno(errno == ENOENT ? EIO : errno);
        return nullptr;
    }
    return entry->d_name;
}

} // namespace brisko::platform
