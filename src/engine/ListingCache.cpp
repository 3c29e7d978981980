#include "engine/ListingCache.h"

namespace brisko::engine {

platform::Listing ListingCache::list(std::string_view folder) {
    if (!kept_.empty()) {
        const auto found = kept_.find(folder);
        if (found != kept_.end()) {
            platform::Listing listing = unpack(std::move(found->second));
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
    if (kept_.try_emplace(folder, pack(std::move(listing))).second)
        keptEntries_ += entries;
}

ListingCache::PackedListing ListingCache::pack(platform::Listing&& listing) {
    PackedListing packed;
    std::size_t length = 0;
    for (const platform::DirEntry& entry : listing.entries)
        length += entry.name.size() + entry.linkTarget.size();
    packed.texts.reserve(length);
    packed.entries.reserve(listing.entries.size());
    for (const platform::DirEntry& entry : listing.entries) {
        PackedEntry kept;
        kept.size = entry.size;
        kept.stamp = entry.stamp;
        kept.attributes = entry.attributes;
        packed.texts += entry.name;
        kept.nameEnd = static_cast<std::uint32_t>(packed.texts.size());
        packed.texts += entry.linkTarget;
        kept.textEnd = static_cast<std::uint32_t>(packed.texts.size());
        if (entry.attributes.directory && entry.identity.inode != 0)
            packed.folderIdentities.emplace_back(packed.entries.size(), entry.identity);
        packed.entries.push_back(kept);
    }
    packed.skipped = std::move(listing.skipped);
    return packed;
}

platform::Listing ListingCache::unpack(PackedListing&& packed) {
    platform::Listing listing;
    listing.entries.reserve(packed.entries.size());
    const std::string_view texts = packed.texts;
    std::size_t start = 0;
    for (const PackedEntry& kept : packed.entries) {
        platform::DirEntry& entry = listing.entries.emplace_back();
        entry.name = texts.substr(start, kept.nameEnd - start);
        entry.linkTarget = texts.substr(kept.nameEnd, kept.textEnd - kept.nameEnd);
        entry.attributes = kept.attributes;
        entry.size = kept.size;
        entry.stamp = kept.stamp;
        start = kept.textEnd;
    }
    for (const auto& [place, identity] : packed.folderIdentities)
        listing.entries[place].identity = identity;
    listing.skipped = std::move(packed.skipped);
    return listing;
}

void ListingCache::forget(const std::string& folder) {
    changed_.insert(folder);
    kept_.erase(folder);
}

} // namespace brisko::engine
