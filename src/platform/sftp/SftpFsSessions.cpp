#include "platform/sftp/SftpFsSessions.h"

#include <thread>

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

void SftpFsSessions::startMore(std::unique_lock<std::mutex>& lock) {
    (void)lock; // held
    {
        // The sessions started meanwhile join the others.
        const std::lock_guard taking(arrivals_->mutex);
        starting_ -= arrivals_->clients.size() + arrivals_->failed;
        for (std::unique_ptr<Client>& client : arrivals_->clients)
            clients_.push_back(std::move(client));
        arrivals_->clients.clear();
        if (arrivals_->failed > 0)
            moreFailed_ = true;
        arrivals_->failed = 0;
    }
    while (!moreFailed_ && clients_.size() + starting_ < count_) {
        ++starting_;
        // Nobody waits for the thread: a session that comes after the file system has gone
        // is closed by it.
        std::thread([arrivals = arrivals_, start = start_] {
            std::string why;
            std::unique_ptr<Client> client = start(why);
            const std::lock_guard arrived(arrivals->mutex);
            if (client)
                arrivals->clients.push_back(std::move(client));
            else
                ++arrivals->failed;
        }).detach();
    }
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
