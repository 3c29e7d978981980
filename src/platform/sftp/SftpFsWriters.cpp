#include "platform/sftp/SftpFsWriters.h"

namespace brisko::platform::sftp {

void SftpFsWriters::opened(const std::string& host, const std::shared_ptr<Client>& session) {
    const std::lock_guard lock(mutex_);
    sessions_[host] = session;
}

void SftpFsWriters::closed(const std::string& host) {
    const std::lock_guard lock(mutex_);
    sessions_.erase(host);
}

std::shared_ptr<Client> SftpFsWriters::sessionOf(const std::string& host) {
    const std::lock_guard lock(mutex_);
    const auto found = sessions_.find(host);
    return found == sessions_.end() ? nullptr : found->second.lock();
}

} // namespace brisko::platform::sftp
