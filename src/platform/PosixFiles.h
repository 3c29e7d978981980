#pragma once

#include "platform/FileSystem.h"
#include "platform/UniqueFd.h"

namespace brisko::platform {

// Reading an open regular file.
class PosixInputFile final : public InputFile {
public:
    PosixInputFile(UniqueFd fd, std::int64_t size) : fd_(std::move(fd)), size_(size) {}
    std::int64_t read(std::byte* buffer, std::size_t size) override;
    std::int64_t size() const override { return size_; }
    FsResult lastError() const override { return lastError_; }

private:
    UniqueFd fd_;
    std::int64_t size_;
    FsResult lastError_;
};

// Writing a newly created regular file.
class PosixOutputFile final : public OutputFile {
public:
    explicit PosixOutputFile(UniqueFd fd) : fd_(std::move(fd)) {}
    FsResult write(const std::byte* data, std::size_t size) override;
    FsResult flush() override;
    FsResult close() override;

private:
    UniqueFd fd_;
};

} // namespace brisko::platform
