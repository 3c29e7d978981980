#include "platform/FileSystem.h"

namespace brisko::platform {

std::string describe(FsStatus status) {
    switch (status) {
    case FsStatus::Ok:
        return "done";
    case FsStatus::NotFound:
        return "does not exist";
    case FsStatus::AccessDenied:
        return "permission denied";
    case FsStatus::IoError:
        return "input/output error";
    case FsStatus::NoSpace:
        return "disk full";
    case FsStatus::AlreadyExists:
        return "already exists";
    case FsStatus::NotEmpty:
        return "folder not empty";
    case FsStatus::Ambiguous:
        return "several names differ only in case";
    case FsStatus::InvalidName:
        return "invalid name";
    case FsStatus::NotAFolder:
        return "not the expected kind (file or folder)";
    case FsStatus::Unsupported:
        return "not a plain file or folder";
    case FsStatus::InUse:
        return "another copy is in progress there";
    }
    return "unknown error";
}

CopyStep OutputFile::copyFrom(InputFile& input, std::span<std::byte> buffer) {
    CopyStep step;
    const std::int64_t count = input.read(buffer.data(), buffer.size());
    if (count < 0) {
        step.readFailure = input.lastError();
        if (step.readFailure.ok()) // a failure must never pass for the end of the input
            step.readFailure = {FsStatus::IoError, "the file could not be read"};
        return step;
    }
    if (count > 0) {
        step.writeFailure = write(buffer.data(), static_cast<std::size_t>(count));
        if (!step.writeFailure.ok())
            return step;
    }
    step.count = count;
    return step;
}

bool FileSystem::fileExists(std::string_view path) {
    const PathInfo info = stat(path);
    return info.result.ok() && !info.entry.attributes.directory;
}

bool FileSystem::folderExists(std::string_view path) {
    const PathInfo info = stat(path);
    return info.result.ok() && info.entry.attributes.directory;
}

} // namespace brisko::platform
