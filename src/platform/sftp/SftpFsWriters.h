#pragma once

#include "platform/sftp/SftpClient.h"

#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

namespace brisko::platform::sftp {

// The files being written, each with the session it was opened on. The server serves one
// session's requests in order, but not those of different sessions: a request by name about a
// file being written (its stamp, its permissions, its rename) goes to the file's own session, so
// that it comes after every write sent before it (a later write would move the stamp again).
class SftpFsWriters {
public:
    void opened(const std::string& host, const std::shared_ptr<Client>& session);
    void closed(const std::string& host);
    // The session of the file being written at host; nothing when none is.
    std::shared_ptr<Client> sessionOf(const std::string& host);

private:
    std::mutex mutex_;
    std::unordered_map<std::string, std::weak_ptr<Client>> sessions_;
};

} // namespace brisko::platform::sftp
