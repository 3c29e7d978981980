#include "platform/sftp/SftpFiles.h"

#include "platform/FileTransfer.h"
#include "platform/sftp/SftpFsErrors.h"

#include <algorithm>
#include <cstring>

namespace brisko::platform::sftp {

namespace {

constexpr std::uint32_t kLargestChunk = 255 * 1024;
constexpr std::size_t kReadsAhead = 16;
constexpr std::size_t kMaxBytesInFlight = std::size_t{8} << 20;
constexpr std::int64_t kNanoseconds = 1'000'000'000;

} // namespace

std::uint32_t chunkSize(std::uint64_t serverLimit) {
    if (serverLimit == 0)
        return kLargestChunk;
    return static_cast<std::uint32_t>(std::min<std::uint64_t>(serverLimit, kLargestChunk));
}

SftpInputFile::SftpInputFile(std::shared_ptr<Client> client, Handle handle, std::int64_t size,
                             FileIdentity identity)
    : client_(std::move(client)), handle_(std::move(handle)), size_(size), identity_(identity),
      chunk_(chunkSize(client_->limits().maxRead)) {}

SftpInputFile::~SftpInputFile() {
    // The reads still in flight are answered before the close; nothing waits for the answers.
    client_->close(handle_);
}

void SftpInputFile::askAhead() {
    // Up to the size known at the open, and one request beyond it to find the end (or growth).
    while (pending_.size() < kReadsAhead &&
           (nextOffset_ < static_cast<std::uint64_t>(size_) || pending_.empty())) {
        pending_.push_back({nextOffset_, chunk_, client_->read(handle_, nextOffset_, chunk_)});
        nextOffset_ += chunk_;
    }
}

std::int64_t SftpInputFile::read(std::byte* buffer, std::size_t size) {
    std::size_t copied = 0;
    while (copied < size) {
        if (position_ < data_.size()) {
            const std::size_t count = std::min(size - copied, data_.size() - position_);
            std::memcpy(buffer + copied, data_.data() + position_, count);
            position_ += count;
            copied += count;
            continue;
        }
        if (atEnd_)
            break;
        askAhead();
        Pending next = std::move(pending_.front());
        pending_.pop_front();
        Outcome<std::vector<std::byte>> reply = await(std::move(next.reply));
        if (!reply.ok()) {
            lastError_ = resultOf(*reply.error);
            pending_.clear();
            atEnd_ = true;
            data_.clear();
            return -1;
        }
        data_ = std::move(reply.value);
        position_ = 0;
        if (data_.empty()) {
            atEnd_ = true;
            pending_.clear(); // their answers are not needed
        } else if (data_.size() < next.length) {
            // A short answer: the rest of that chunk is asked again, and everything after it.
            pending_.clear();
            nextOffset_ = next.offset + data_.size();
        }
    }
    return static_cast<std::int64_t>(copied);
}

std::optional<FileVersion> SftpInputFile::version() const {
    const Outcome<Attributes> now = await(client_->fstat(handle_));
    if (!now.ok())
        return std::nullopt;
    return FileVersion{static_cast<std::int64_t>(now.value.size.value_or(0)),
                       static_cast<std::int64_t>(now.value.modifyTime.value_or(0)) * kNanoseconds,
                       0, identity_};
}

SftpWrite::SftpWrite(std::shared_ptr<Client> client, Handle handle, std::string path)
    : client_(std::move(client)), handle_(std::move(handle)), path_(std::move(path)),
      chunk_(chunkSize(client_->limits().maxWrite)) {}

FsResult SftpWrite::failureOf(const Error& error) {
    if (error.code == Code::Failure && !error.lost) {
        const Outcome<FileSystemSpace> space = await(client_->statvfs(path_));
        if (space.ok() && space.value.availableBlocks * space.value.fragmentSize < chunk_)
            return {FsStatus::NoSpace, "the server's disk is full"};
    }
    return resultOf(error);
}

void SftpWrite::settleOldest(std::unique_lock<std::mutex>& lock) {
    Pending oldest = std::move(pending_.front());
    pending_.pop_front();
    bytesInFlight_ -= oldest.size;
    lock.unlock(); // the answer is waited for without holding the others up
    const Outcome<Done> done = await(std::move(oldest.reply));
    std::optional<FsResult> failure;
    if (!done.ok() && (oldest.binding || done.error->lost))
        failure = failureOf(*done.error);
    lock.lock();
    if (failure && !failure_)
        failure_ = std::move(failure);
}

void SftpWrite::settleAll(std::unique_lock<std::mutex>& lock) {
    while (!pending_.empty())
        settleOldest(lock);
}

void SftpWrite::send(std::size_t size, std::future<Outcome<Done>> reply, bool binding) {
    pending_.push_back({size, std::move(reply), binding});
    bytesInFlight_ += size;
    flushed_ = false;
}

FsResult SftpWrite::write(const std::byte* data, std::size_t size) {
    std::unique_lock lock(mutex_);
    if (closed_)
        return closedFile();
    while (size > 0 && !failure_) {
        const std::size_t count = std::min<std::size_t>(size, chunk_);
        while (!pending_.empty() && bytesInFlight_ + count > kMaxBytesInFlight)
            settleOldest(lock);
        if (failure_)
            break;
        send(count, client_->write(handle_, offset_, {data, count}));
        offset_ += count;
        data += count;
        size -= count;
    }
    return failure_.value_or(FsResult::success());
}

void SftpWrite::setAttributes(const Attributes& attributes, bool binding) {
    const std::lock_guard lock(mutex_);
    if (closed_)
        return;
    if (attributes.permissions)
        permissions_ = *attributes.permissions;
    send(0, client_->fsetstat(handle_, attributes), binding);
}

std::optional<std::uint32_t> SftpWrite::permissions() {
    const std::lock_guard lock(mutex_);
    return permissions_;
}

FsResult SftpWrite::flush() {
    std::unique_lock lock(mutex_);
    if (closed_)
        return closedFile();
    if (!client_->hasExtension("fsync@openssh.com", "1"))
        return extensionMissing("fsync@openssh.com");
    // Sent behind everything before it: the server runs one session's requests in order, so the
    // data and attributes are in the file when it is flushed; every answer is looked at.
    if (!failure_)
        send(0, client_->fsync(handle_));
    settleAll(lock);
    flushed_ = !failure_;
    return failure_.value_or(FsResult::success());
}

FsResult SftpWrite::close() {
    std::unique_lock lock(mutex_);
    if (closed_)
        return FsResult::success();
    const bool onDisk = flushed_ && pending_.empty();
    settleAll(lock);
    closed_ = true;
    std::future<Outcome<Done>> closing = client_->close(handle_);
    if (onDisk)
        return FsResult::success();
    lock.unlock();
    const FsResult closed = resultOf(await(std::move(closing)));
    lock.lock();
    return failure_.value_or(closed);
}

void SftpWrite::abandon() {
    const std::lock_guard lock(mutex_);
    if (closed_)
        return;
    closed_ = true;
    // The requests still in flight are answered before the close; nothing waits for the answers.
    client_->close(handle_);
}

SftpOutputFile::SftpOutputFile(std::shared_ptr<SftpWrite> write, std::string programPath,
                               FileIdentity identity, std::shared_ptr<SftpFsWriters> writers)
    : write_(std::move(write)), programPath_(std::move(programPath)), identity_(identity),
      writers_(std::move(writers)) {
    writers_->opened(programPath_, write_);
}

SftpOutputFile::~SftpOutputFile() {
    if (!closed_) {
        writers_->gone(programPath_, write_.get());
        write_->abandon();
    }
}

FsResult SftpOutputFile::write(const std::byte* data, std::size_t size) {
    if (closed_)
        return closedFile();
    writers_->wrote(size);
    return write_->write(data, size);
}

FsResult SftpOutputFile::flush() {
    if (closed_)
        return closedFile();
    return write_->flush();
}

FsResult SftpOutputFile::close() {
    if (closed_)
        return FsResult::success();
    closed_ = true;
    writers_->gone(programPath_, write_.get());
    return write_->close();
}

} // namespace brisko::platform::sftp
