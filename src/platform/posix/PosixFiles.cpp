#include "platform/posix/PosixFiles.h"

#include "platform/FileTransfer.h"
#include "platform/posix/PosixErrors.h"

#include <algorithm>
#include <climits>
#include <sys/stat.h>
#include <unistd.h>

namespace brisko::platform {

std::int64_t PosixInputFile::read(std::byte* buffer, std::size_t size) {
    if (!fd_.valid()) {
        lastError_ = closedFile();
        return -1;
    }
    const std::size_t wanted = std::min(size, kMaxTransfer);
    const ssize_t count = retryOnInterrupt([&] { return ::read(fd_.get(), buffer, wanted); });
    if (count < 0) {
        lastError_ = resultFromErrno(errno);
        return -1;
    }
    return static_cast<std::int64_t>(count);
}

std::optional<FileVersion> PosixInputFile::version() const {
    struct stat info {};
    if (!fd_.valid() || fstat(fd_.get(), &info) != 0)
        return std::nullopt;
    constexpr std::int64_t kNanoseconds = 1'000'000'000;
    return FileVersion{
        static_cast<std::int64_t>(info.st_size),
        static_cast<std::int64_t>(info.st_mtim.tv_sec) * kNanoseconds + info.st_mtim.tv_nsec,
        static_cast<std::int64_t>(info.st_ctim.tv_sec) * kNanoseconds + info.st_ctim.tv_nsec,
        FileIdentity{static_cast<std::uint64_t>(info.st_dev),
                     static_cast<std::uint64_t>(info.st_ino)}};
}

FsResult PosixOutputFile::write(const std::byte* data, std::size_t size) {
    if (!fd_.valid())
        return closedFile();
    while (size > 0) {
        const std::size_t chunk = std::min(size, kMaxTransfer);
        const ssize_t count = retryOnInterrupt([&] { return ::write(fd_.get(), data, chunk); });
        if (count < 0)
            return resultFromErrno(errno);
        if (count == 0)
            return resultFromErrno(ENOSPC); // no progress: the device takes nothing more
        data += count;
        size -= static_cast<std::size_t>(count);
    }
    return FsResult::success();
}

CopyStep PosixOutputFile::copyFrom(InputFile& input, std::span<std::byte> buffer) {
    const auto* source = dynamic_cast<const PosixInputFile*>(&input);
    if (copyInside_ && source != nullptr && source->fd() >= 0 && fd_.valid()) {
        const std::size_t wanted = std::min(buffer.size(), kMaxTransfer);
        const ssize_t count = retryOnInterrupt([&] {
            return ::copy_file_range(source->fd(), nullptr, fd_.get(), nullptr, wanted, 0);
        });
        if (count > 0)
            return {static_cast<std::int64_t>(count), {}, {}};
        // Some files (those of /proc, for one) say nothing is left while reading still gives
        // data: only the plain way is trusted to find the end.
        copyInside_ = false;
    }
    return OutputFile::copyFrom(input, buffer);
}

FsResult PosixOutputFile::flush() {
    if (!fd_.valid())
        return closedFile();
    if (retryOnInterrupt([&] { return ::fsync(fd_.get()); }) != 0 && errno != EINVAL)
        return resultFromErrno(errno);
    return FsResult::success();
}

FsResult PosixOutputFile::close() {
    if (!fd_.valid())
        return FsResult::success();
    // A close interrupted by a signal has still released the descriptor (Linux): not retried.
    if (fd_.reset() != 0 && errno != EINTR)
        return resultFromErrno(errno);
    return FsResult::success();
}

std::optional<FileIdentity> PosixOutputFile::identity() const {
    struct stat info {};
    if (!fd_.valid() || fstat(fd_.get(), &info) != 0)
        return std::nullopt;
    return FileIdentity{static_cast<std::uint64_t>(info.st_dev),
                        static_cast<std::uint64_t>(info.st_ino)};
}

} // namespace brisko::platform
