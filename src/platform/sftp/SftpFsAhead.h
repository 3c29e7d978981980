#pragma once

#include "platform/FileSystem.h"

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

namespace brisko::platform::sftp {

// A folder's listing read ahead, with the folder's path on the server.
struct AheadListing {
    std::string host;
    Listing listing;
};

// Listings of folders asked for before they are needed: when a folder is listed, its subfolders
// are listed meanwhile, several at once on threads of their own, and kept for the calls to come.
// Each is handed out once. The subfolders those listings showed are known as well, so that they
// need no look of their own. forget() drops what is kept and the answers still to come, so that
// a listing read before a change is never handed out after it.
class SftpListingsAhead {
public:
    // Lists a folder on the server by its path there.
    using Lister = std::function<Listing(const std::string& host)>;

    // threads: listings under way at once; bound: listings kept and under way in all.
    SftpListingsAhead(Lister lister, std::size_t threads, std::size_t bound)
        : lister_(std::move(lister)), threadCount_(threads), bound_(bound) {}
    SftpListingsAhead(const SftpListingsAhead&) = delete;
    SftpListingsAhead& operator=(const SftpListingsAhead&) = delete;

    ~SftpListingsAhead() {
        {
            const std::lock_guard lock(mutex_);
            stopping_ = true;
            queue_.clear();
        }
        wake_.notify_all();
        for (std::thread& thread : threads_)
            thread.join();
    }

    // Starts listing the folder known by key, at host on the server, unless it is kept already
    // or the bound is reached. The folder is known to be there until forget().
    void ask(const std::string& key, const std::string& host) {
        const std::lock_guard lock(mutex_);
        if (seen_.size() >= kMostSeen)
            seen_.clear();
        seen_[key] = host;
        if (stopping_ || kept_.size() >= bound_ || kept_.contains(key))
            return;
        kept_.emplace(key, Kept{host, State::Queued, std::nullopt});
        queue_.push_back(key);
        if (threads_.size() < threadCount_ && idle_ == 0)
            threads_.emplace_back([this] { work(); });
        wake_.notify_one();
    }

    // The listing of the folder known by key, waited for when under way; nothing when it was not
    // asked for (or not begun yet, or dropped since).
    std::optional<AheadListing> take(const std::string& key) {
        std::unique_lock lock(mutex_);
        const std::uint64_t generation = generation_;
        auto found = kept_.find(key);
        if (found == kept_.end())
            return std::nullopt;
        if (found->second.state == State::Queued) {
            kept_.erase(found); // listed by the caller itself, as soon as by a thread
            return std::nullopt;
        }
        wake_.wait(lock, [&] {
            found = kept_.find(key);
            return generation_ != generation || found == kept_.end() ||
                   found->second.state == State::Done;
        });
        if (generation_ != generation || found == kept_.end())
            return std::nullopt;
        AheadListing taken{std::move(found->second.host), std::move(*found->second.listing)};
        kept_.erase(found);
        return taken;
    }

    // The path on the server of a folder known by key that a listing showed; nothing when none did
    // since forget().
    std::optional<std::string> seen(const std::string& key) {
        const std::lock_guard lock(mutex_);
        const auto found = seen_.find(key);
        if (found == seen_.end())
            return std::nullopt;
        return found->second;
    }

    // Drops every listing kept, and those under way when they come.
    void forget() {
        {
            const std::lock_guard lock(mutex_);
            ++generation_;
            seen_.clear();
            kept_.clear();
            queue_.clear();
        }
        wake_.notify_all();
    }

private:
    static constexpr std::size_t kMostSeen = 200000;
    enum class State { Queued, Listing, Done };
    struct Kept {
        std::string host;
        State state = State::Queued;
        std::optional<Listing> listing;
    };

    void work() {
        std::unique_lock lock(mutex_);
        for (;;) {
            ++idle_;
            wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
            --idle_;
            if (stopping_)
                return;
            const std::string key = std::move(queue_.front());
            queue_.pop_front();
            const auto found = kept_.find(key);
            if (found == kept_.end() || found->second.state != State::Queued)
                continue;
            found->second.state = State::Listing;
            const std::string host = found->second.host;
            const std::uint64_t generation = generation_;
            lock.unlock();
            Listing listing = lister_(host);
            lock.lock();
            const auto still = kept_.find(key);
            if (generation_ == generation && still != kept_.end() &&
                still->second.state == State::Listing) {
                still->second.listing = std::move(listing);
                still->second.state = State::Done;
            }
            wake_.notify_all();
        }
    }

    Lister lister_;
    std::size_t threadCount_;
    std::size_t bound_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::unordered_map<std::string, Kept> kept_;
    std::unordered_map<std::string, std::string> seen_; // key -> path on the server
    std::deque<std::string> queue_;
    std::vector<std::thread> threads_;
    std::size_t idle_ = 0;
    std::uint64_t generation_ = 0;
    bool stopping_ = false;
};

} // namespace brisko::platform::sftp
