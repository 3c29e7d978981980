#pragma once

#include "platform/FileSystem.h"
#include "platform/sftp/SftpClient.h"
#include "platform/sftp/SftpFsWriters.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <future>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace brisko::platform::sftp {

// The most one READ or WRITE asks for: OpenSSH's own limit, and less where the server says so.
std::uint32_t chunkSize(std::uint64_t serverLimit);

// Reading an open file on the server. Several READ requests are kept in flight ahead of the
// reader, so that the time of a round trip is paid once, not for every chunk.
class SftpInputFile final : public InputFile {
public:
    SftpInputFile(std::shared_ptr<Client> client, Handle handle, std::int64_t size,
                  FileIdentity identity);
    ~SftpInputFile() override;

    std::int64_t read(std::byte* buffer, std::size_t size) override;
    std::int64_t size() const override { return size_; }
    FsResult lastError() const override { return lastError_; }
    // From FSTAT: the size and the modification time (whole seconds, the most SFTP version 3
    // tells); no change time.
    std::optional<FileVersion> version() const override;

private:
    struct Pending {
        std::uint64_t offset = 0;
        std::uint32_t length = 0;
        std::future<Outcome<std::vector<std::byte>>> reply;
    };
    void askAhead();

    std::shared_ptr<Client> client_;
    Handle handle_;
    std::int64_t size_;
    FileIdentity identity_;
    std::uint32_t chunk_;
    std::deque<Pending> pending_;
    std::uint64_t nextOffset_ = 0;
    std::vector<std::byte> data_; // the reply being handed out
    std::size_t position_ = 0;
    bool atEnd_ = false;
    FsResult lastError_;
};

// A new file being written on the server, shared by its OutputFile and the file system's calls
// about it. Writes, and changes of its attributes (FSETSTAT on its handle), are sent without
// waiting, many at once up to a bound of bytes in flight; the first that fails is reported by the
// next write, flush or close. The server says only "Failure" when its disk is full, so its free
// space is asked then.
class SftpWrite {
public:
    // path: the file's path on the server, for asking its free space.
    SftpWrite(std::shared_ptr<Client> client, Handle handle, std::string path);

    FsResult write(const std::byte* data, std::size_t size);
    // Sends new attributes for the file on its handle; a permission change is remembered.
    // binding: a refusal fails the next flush or close (a stamp); else it is let pass, as a
    // server that keeps its own permission bits refuses them.
    void setAttributes(const Attributes& attributes, bool binding);
    // The permission bits last sent; nothing before any were (the server's umask may have
    // changed those the file was made with).
    std::optional<std::uint32_t> permissions();
    // Asks the server to put the file on its disk (fsync@openssh.com) after everything sent
    // before, then waits for all of it.
    FsResult flush();
    // Closes the handle. After a flush that succeeded and nothing sent since, the answer is not
    // waited for: the data is on the disk, and the close frees only the server's handle.
    FsResult close();
    // Closes the handle without waiting, when not closed yet.
    void abandon();

    const std::shared_ptr<Client>& client() const { return client_; }
    const std::string& path() const { return path_; }

private:
    struct Pending {
        std::size_t size = 0;
        std::future<Outcome<Done>> reply;
        bool binding = true;
    };
    void settleOldest(std::unique_lock<std::mutex>& lock);
    void settleAll(std::unique_lock<std::mutex>& lock);
    void send(std::size_t size, std::future<Outcome<Done>> reply, bool binding = true);
    FsResult failureOf(const Error& error);

    std::shared_ptr<Client> client_;
    Handle handle_;
    std::string path_;
    std::uint32_t chunk_;
    std::mutex mutex_; // guards what follows
    std::deque<Pending> pending_;
    std::size_t bytesInFlight_ = 0;
    std::uint64_t offset_ = 0;
    std::optional<std::uint32_t> permissions_;
    std::optional<FsResult> failure_; // the first request that failed
    bool flushed_ = false;            // a flush succeeded and nothing was sent since
    bool closed_ = false;
};

// Writing a new file on the server through an SftpWrite; writers is told of the file until it
// is closed, under the path the program named it by.
class SftpOutputFile final : public OutputFile {
public:
    SftpOutputFile(std::shared_ptr<SftpWrite> write, std::string programPath, FileIdentity identity,
                   std::shared_ptr<SftpFsWriters> writers);
    ~SftpOutputFile() override;

    FsResult write(const std::byte* data, std::size_t size) override;
    FsResult flush() override;
    FsResult close() override;
    std::optional<FileIdentity> identity() const override { return identity_; }

private:
    std::shared_ptr<SftpWrite> write_;
    std::string programPath_;
    FileIdentity identity_;
    std::shared_ptr<SftpFsWriters> writers_;
    bool closed_ = false;
};

} // namespace brisko::platform::sftp
