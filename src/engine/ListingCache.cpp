#include "engine/ListingCache.h"

namespace brisko::engine {

platform::Listing ListingCache::list(std::string_view folder) {
    if (!kept_.empty()) {
        const auto found = kept_.find(folder);
        if (found != kept_.end()) {
            platform::Listing listing = std::move(found->second);
            kept_.erase(found);
            return listing;
        }
    }
    return fileSystem_.list(folder);
}

void ListingCache::handBack(const std::string& folder, platform::Listing&& listing) {
    if (!keeping_ || !listing.result.ok() || changed_.contains(folder))
        return;
    const std::size_t entries = listing.entries.size() + listing.skipped.size();
    if (keptEntries_ + entries > kEntryBudget)
        return;
    if (kept_.try_emplace(folder, std::move(listing)).second)
        keptEntries_ += entries;
}

void ListingCache::forget(const std::string& folder) {
    changed_.insert(folder);
    kept_.erase(folder);
}

} // namespace brisko::engine
