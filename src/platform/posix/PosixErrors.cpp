#include "platform/posix/PosixErrors.h"

#include <cstring>

namespace brisko::platform {

FsStatus statusFromErrno(int error) {
    switch (error) {
    case 0:
        return FsStatus::Ok;
    case ENOENT:
    case ENOTDIR:
        return FsStatus::NotFound;
    case EACCES:
    case EPERM:
    case EROFS:
        return FsStatus::AccessDenied;
    case ENOSPC:
    case EDQUOT:
        return FsStatus::NoSpace;
    case EEXIST:
        return FsStatus::AlreadyExists;
    case ENOTEMPTY:
        return FsStatus::NotEmpty;
    case EISDIR:
        return FsStatus::NotAFolder;
    case ELOOP:
    case ENXIO:
    case ENODEV:
    case EXDEV:
    case EOPNOTSUPP:
        return FsStatus::Unsupported;
    case ENAMETOOLONG:
    case EILSEQ:
        return FsStatus::InvalidName;
    default:
        return FsStatus::IoError; // EIO and anything else unexpected: never "missing"
    }
}

namespace {
// strerror_r comes in two flavours; each overload takes the one this C library has.
[[maybe_unused]] std::string messageFrom(int result, const char* buffer, int error) {
    return result == 0 ? std::string(buffer) : "error " + std::to_string(error);
}
[[maybe_unused]] std::string messageFrom(const char* text, const char*, int) {
    return std::string(text);
}
} // namespace

std::string systemMessage(int error) {
    char buffer[256] = {};
    return messageFrom(strerror_r(error, buffer, sizeof buffer), buffer, error);
}

FsResult resultFromErrno(int error) {
    return {statusFromErrno(error), systemMessage(error)};
}

} // namespace brisko::platform
