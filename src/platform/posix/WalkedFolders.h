#pragma once

#include "platform/posix/UniqueFd.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

namespace brisko::platform {

// A folder held open for calls relative to it: opened for one call, or shared from the folders
// already walked.
class HeldFolder {
public:
    HeldFolder() = default;
    explicit HeldFolder(UniqueFd own) : fd_(std::make_shared<const UniqueFd>(std::move(own))) {}
    explicit HeldFolder(std::shared_ptr<const UniqueFd> shared) : fd_(std::move(shared)) {}

    int get() const { return fd_ ? fd_->get() : -1; }
    bool valid() const { return fd_ && fd_->valid(); }
    const std::shared_ptr<const UniqueFd>& shared() const { return fd_; }

private:
    std::shared_ptr<const UniqueFd> fd_;
};

// The folders that walks without links reached, by host path, so that the next call into the
// same folder need not open every folder on the way again. A kept folder is handed out only
// while its host path still leads to that very folder (one look at the path), so a folder
// swapped for a link, or for another folder, is walked afresh. Several threads may use it.
class WalkedFolders {
public:
    HeldFolder find(const std::string& host);
    void keep(const std::string& host, const HeldFolder& folder);
    // Lets every kept folder go (so that no disk stays busy between runs).
    void clear();

private:
    struct Kept {
        std::shared_ptr<const UniqueFd> fd;
        std::uint64_t device = 0;
        std::uint64_t inode = 0;
    };
    std::mutex mutex_;
    std::unordered_map<std::string, Kept> kept_;
};

} // namespace brisko::platform
