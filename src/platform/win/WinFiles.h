#pragma once

#include "platform/FileSystem.h"
#include "platform/win/WinHandle.h"

namespace brisko::platform {

// Reading an open regular file.
class WinInputFile final : public InputFile {
public:
    WinInputFile(WinHandle handle, std::int64_t size) : handle_(std::move(handle)), size_(size) {}
    std::int64_t read(std::byte* buffer, std::size_t size) override;
    std::int64_t size() const override { return size_; }
    FsResult lastError() const override { return lastError_; }
    std::optional<FileVersion> version() const override;

private:
    WinHandle handle_;
    std::int64_t size_;
    FsResult lastError_;
};

// Writing a newly created regular file. The handle shares reading and deleting but not writing:
// that is the lock another run looks for before it replaces the file. One thread at a time
// uses a file (it may be written on one thread and flushed on another after it), while other
// files and the file system are used on other threads.
class WinOutputFile final : public OutputFile {
public:
    explicit WinOutputFile(WinHandle handle) : handle_(std::move(handle)) {}
    FsResult write(const std::byte* data, std::size_t size) override;
    FsResult flush() override;
    FsResult close() override;
    std::optional<FileIdentity> identity() const override;

private:
    WinHandle handle_;
};

// Which file an open handle holds: the volume's serial number and the file's index on it.
std::optional<FileIdentity> identityOfHandle(HANDLE handle);

} // namespace brisko::platform
