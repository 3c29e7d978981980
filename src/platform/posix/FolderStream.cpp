#include "platform/posix/FolderStream.h"

#include "platform/posix/FolderWalk.h"
#include "platform/posix/PosixErrors.h"
#include "platform/posix/UniqueFd.h"

#include <fcntl.h>

namespace brisko::platform {

FolderStream::FolderStream(const std::string& host, FinalLink links)
    : FolderStream(AT_FDCWD, host.c_str(), links) {}

FolderStream::FolderStream(int parent, const char* name, FinalLink links) {
    UniqueFd fd = openFolderAt(
        parent, name, links == FinalLink::Follow ? LinkHandling::Follow : LinkHandling::Inspect,
        O_RDONLY, result_);
    if (!fd.valid())
        return;
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
