#pragma once

#include "platform/sftp/SftpClient.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

namespace brisko::platform::sftp {

class SftpWrite;

// The files being written, by the path the program named them by and by their path on the
// server. The server serves one session's requests in order, but not those of different
// sessions: a request by name about a file being written (its rename) goes to the file's own
// session, so that it comes after every write sent before it. Calls about a file being written
// (its stamp, its permissions) go to its handle.
class SftpFsWriters {
public:
    void opened(const std::string& path, const std::shared_ptr<SftpWrite>& write);
    // The file no longer goes by path (closed, or renamed); a later file of that path is kept.
    void gone(const std::string& path, const SftpWrite* write);
    // The file being written under the program's path; nothing when none is.
    std::shared_ptr<SftpWrite> writing(const std::string& path);
    // Bytes handed to the files in all, for telling how much of the free space they took.
    void wrote(std::size_t bytes) { written_ += static_cast<std::int64_t>(bytes); }
    std::int64_t written() const { return written_; }
    // Whether any file is being written.
    bool any();
    // The session of the file being written at host; nothing when none is.
    std::shared_ptr<Client> sessionOf(const std::string& host);

private:
    std::atomic<std::int64_t> written_ = 0;
    std::mutex mutex_;
    std::unordered_map<std::string, std::weak_ptr<SftpWrite>> byPath_;
    std::unordered_map<std::string, std::weak_ptr<SftpWrite>> byHost_;
};

} // namespace brisko::platform::sftp
