#include "engine/TargetIndex.h"

#include "engine/ScanReports.h"
#include "platform/Unicode.h"

namespace brisko::engine {

bool TargetIndex::load(ListingCache& listings, std::string_view folder) {
    exact_.clear();
    folded_.clear();
    foldedBuilt_ = false;
    listing_ = listings.list(folder);
    if (!listing_.result.ok()) {
        // Whatever was read before the failure stays unused: a partial listing is no listing.
        listing_.entries.clear();
        listing_.skipped.clear();
        return listing_.result.status == platform::FsStatus::NotFound;
    }
    const std::size_t entryCount = listing_.entries.size();
    exact_.reserve(entryCount + listing_.skipped.size());
    for (std::size_t i = 0; i < entryCount; ++i)
        exact_.emplace(listing_.entries[i].name, i);
    for (std::size_t i = 0; i < listing_.skipped.size(); ++i)
        exact_.emplace(listing_.skipped[i].name, entryCount + i);
    return true;
}

void TargetIndex::loadMissing() {
    exact_.clear();
    folded_.clear();
    foldedBuilt_ = false;
    listing_ = {};
    listing_.result = {platform::FsStatus::NotFound, {}};
}

platform::Listing TargetIndex::release() {
    exact_.clear();
    folded_.clear();
    foldedBuilt_ = false;
    platform::Listing listing = std::move(listing_);
    listing_ = {};
    return listing;
}

void TargetIndex::buildFolded() const {
    folded_.reserve(exact_.size());
    for (const auto& [name, position] : exact_) {
        auto [it, added] = folded_.emplace(platform::toUpper(name), position);
        if (!added)
            it->second = kSeveral;
    }
    foldedBuilt_ = true;
}

TargetIndex::Found TargetIndex::foundAt(std::size_t position) const {
    const std::size_t entryCount = listing_.entries.size();
    if (position >= entryCount) {
        const platform::SkippedEntry& skipped = listing_.skipped[position - entryCount];
        return {Found::Kind::Unusable, nullptr, passedOverBecause(skipped.reason)};
    }
    const platform::DirEntry& entry = listing_.entries[position];
    const Found::Kind kind = entry.attributes.link        ? Found::Kind::Link
                             : entry.attributes.directory ? Found::Kind::Folder
                                                          : Found::Kind::File;
    return {kind, &entry, {}};
}

TargetIndex::Found TargetIndex::find(std::string_view name, bool exactOnly) const {
    if (const auto it = exact_.find(name); it != exact_.end())
        return foundAt(it->second);
    if (exact_.empty() || exactOnly)
        return {};
    if (!foldedBuilt_)
        buildFolded();
    const auto it = folded_.find(platform::toUpper(name));
    if (it == folded_.end())
        return {};
    if (it->second == kSeveral)
        return {Found::Kind::Missing, nullptr, {}, true};
    return foundAt(it->second);
}

bool TargetIndex::hasCaseVariants(std::string_view name) const {
    if (exact_.size() < 2)
        return false;
    if (!foldedBuilt_)
        buildFolded();
    const auto it = folded_.find(platform::toUpper(name));
    return it != folded_.end() && it->second == kSeveral;
}

} // namespace brisko::engine
