#include "platform/sftp/SftpFsWriters.h"

#include "platform/sftp/SftpFiles.h"

namespace brisko::platform::sftp {

namespace {

using Writes = std::unordered_map<std::string, std::weak_ptr<SftpWrite>>;

void forget(Writes& writes, const std::string& key, const SftpWrite* write) {
    const auto found = writes.find(key);
    if (found == writes.end())
        return;
    const std::shared_ptr<SftpWrite> there = found->second.lock();
    if (!there || there.get() == write)
        writes.erase(found);
}

} // namespace

void SftpFsWriters::opened(const std::string& path, const std::shared_ptr<SftpWrite>& write) {
    const std::lock_guard lock(mutex_);
    byPath_[path] = write;
    byHost_[write->path()] = write;
}

void SftpFsWriters::gone(const std::string& path, const SftpWrite* write) {
    const std::lock_guard lock(mutex_);
    forget(byPath_, path, write);
    forget(byHost_, write->path(), write);
}

std::shared_ptr<SftpWrite> SftpFsWriters::writing(const std::string& path) {
    const std::lock_guard lock(mutex_);
    const auto found = byPath_.find(path);
    return found == byPath_.end() ? nullptr : found->second.lock();
}

bool SftpFsWriters::any() {
    const std::lock_guard lock(mutex_);
    return !byPath_.empty();
}

std::shared_ptr<Client> SftpFsWriters::sessionOf(const std::string& host) {
    const std::lock_guard lock(mutex_);
    const auto found = byHost_.find(host);
    if (found == byHost_.end())
        return nullptr;
    const std::shared_ptr<SftpWrite> write = found->second.lock();
    return write ? write->client() : nullptr;
}

} // namespace brisko::platform::sftp
