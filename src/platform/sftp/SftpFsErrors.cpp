#include "platform/sftp/SftpFsErrors.h"

namespace brisko::platform::sftp {

namespace {

FsStatus statusOf(Code code) {
    switch (code) {
    case Code::Ok:
        return FsStatus::Ok;
    case Code::NoSuchFile:
        return FsStatus::NotFound;
    case Code::PermissionDenied:
        return FsStatus::AccessDenied;
    case Code::OpUnsupported:
        return FsStatus::Unsupported;
    default: // Failure, Eof, BadMessage and a lost connection: never "missing"
        return FsStatus::IoError;
    }
}

} // namespace

FsResult resultOf(const Error& error) {
    if (error.lost || error.code == Code::ConnectionLost || error.code == Code::NoConnection) {
        const std::string reason = error.message.empty() ? "the connection ended" : error.message;
        return {FsStatus::IoError, "connection lost: " + reason};
    }
    FsResult result{statusOf(error.code), error.message};
    if (result.detail.empty())
        result.detail = describe(result.status);
    return result;
}

FsResult extensionMissing(std::string_view extension) {
    return {FsStatus::Unsupported, "the server does not offer " + std::string(extension)};
}

} // namespace brisko::platform::sftp
