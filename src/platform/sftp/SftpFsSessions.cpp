#include "platform/sftp/SftpFsSessions.h"

namespace brisko::platform::sftp {

SftpFsSessions::SftpFsSessions(std::string place, Start start, std::size_t count)
    : place_(std::move(place)), start_(std::move(start)), count_(count == 0 ? 1 : count) {}

bool SftpFsSessions::startFirst(std::unique_lock<std::mutex>& lock) {
    (void)lock; // held throughout: every caller waits for the first answer
    if (!triedFirst_) {
        triedFirst_ = true;
        std::string why;
        std::unique_ptr<Client> client = start_ ? start_(why) : nullptr;
        if (client)
            clients_.push_back(std::move(client));
        else
            why_ = why.empty() ? "the connection could not be started" : why;
    }
    return !clients_.empty();
}

SftpFsSessions::~SftpFsSessions() {
    std::vector<std::thread> starters;
    {
        const std::lock_guard lock(mutex_);
        starters.swap(starters_);
    }
    for (std::thread& starter : starters)
        starter.join();
}

void SftpFsSessions::startMore(std::unique_lock<std::mutex>& lock) {
    (void)lock; // held
    while (!moreFailed_ && clients_.size() + starting_ < count_) {
        ++starting_;
        starters_.emplace_back([this] { startOne(); });
    }
}

void SftpFsSessions::startOne() {
    std::string why;
    std::unique_ptr<Client> client = start_(why);
    const std::lock_guard lock(mutex_);
    --starting_;
    if (client)
        clients_.push_back(std::move(client));
    else
        moreFailed_ = true;
}

std::shared_ptr<Client> SftpFsSessions::next(FsResult& failure) {
    std::unique_lock lock(mutex_);
    if (!startFirst(lock)) {
        failure = {FsStatus::IoError, "cannot reach " + place_ + ": " + why_};
        return nullptr;
    }
    startMore(lock);
    const std::size_t count = clients_.size();
    for (std::size_t i = 0; i < count; ++i) {
        const std::shared_ptr<Client>& client = clients_[(turn_ + i) % count];
        if (client->alive()) {
            turn_ = (turn_ + i + 1) % count;
            return client;
        }
    }
    // Every session is gone: the request fails at once with the reason.
    return clients_.front();
}

bool SftpFsSessions::reachable() {
    std::unique_lock lock(mutex_);
    return startFirst(lock);
}

std::string SftpFsSessions::why() {
    std::unique_lock lock(mutex_);
    startFirst(lock);
    return why_;
}

} // namespace brisko::platform::sftp
