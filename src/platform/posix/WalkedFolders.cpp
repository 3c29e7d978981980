#include "platform/posix/WalkedFolders.h"

#include <sys/stat.h>

namespace brisko::platform {

namespace {

// Enough for the target folders of the copies in flight and their parents.
constexpr std::size_t kMaxKept = 256;

} // namespace

HeldFolder WalkedFolders::find(const std::string& host) {
    Kept kept;
    {
        std::lock_guard lock(mutex_);
        const auto found = kept_.find(host);
        if (found == kept_.end())
            return {};
        kept = found->second;
    }
    struct stat now {};
    if (::stat(host.c_str(), &now) != 0 || static_cast<std::uint64_t>(now.st_dev) != kept.device ||
        static_cast<std::uint64_t>(now.st_ino) != kept.inode)
        return {};
    return HeldFolder(std::move(kept.fd));
}

void WalkedFolders::keep(const std::string& host, const HeldFolder& folder) {
    struct stat info {};
    if (!folder.valid() || fstat(folder.get(), &info) != 0)
        return;
    std::lock_guard lock(mutex_);
    if (kept_.size() >= kMaxKept)
        kept_.clear();
    kept_[host] = Kept{folder.shared(), static_cast<std::uint64_t>(info.st_dev),
                       static_cast<std::uint64_t>(info.st_ino)};
}

void WalkedFolders::clear() {
    std::lock_guard lock(mutex_);
    kept_.clear();
}

} // namespace brisko::platform
