#pragma once

#include "platform/FileSystem.h"
#include "platform/posix/UniqueFd.h"

namespace brisko::platform {

// Reading an open regular file.
class PosixInputFile final : public InputFile {
public:
    PosixInputFile(UniqueFd fd, std::int64_t size) : fd_(std::move(fd)), size_(size) {}
    std::int64_t read(std::byte* buffer, std::size_t size) override;
    std::int64_t size() const override { return size_; }
    FsResult lastError() const override { return lastError_; }
    std::optional<FileVersion> version() const override;
    int fd() const { return fd_.get(); }

private:
    UniqueFd fd_;
    std::int64_t size_;
    FsResult lastError_;
};

// Writing a newly created regular file. The descriptor carries the file's advisory lock, so it
// is held until the file is closed.
class PosixOutputFile final : public OutputFile {
public:
    explicit PosixOutputFile(UniqueFd fd) : fd_(std::move(fd)) {}
    FsResult write(const std::byte* data, std::size_t size) override;
    // From a file of this system the bytes are copied inside the system. At the first step
    // that copies nothing (the end, files it cannot copy between, a failure) the plain way
    // takes over for the rest of the file: it finds the end, or tells which side failed.
    CopyStep copyFrom(InputFile& input, std::span<std::byte> buffer) override;
    FsResult flush() override;
    FsResult close() override;
    std::optional<FileIdentity> identity() const override;

private:
    UniqueFd fd_;
    bool copyInside_ = true;
};

} // namespace brisko::platform
