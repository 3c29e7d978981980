#include "platform/ListingOrder.h"

#include "platform/Unicode.h"

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <string>
#include <vector>

namespace brisko::platform {

void sortListing(Listing& listing) {
    std::vector<DirEntry>& entries = listing.entries;
    // Each name is upper-cased once, not at every comparison; the entries move only once.
    std::vector<std::string> keys;
    keys.reserve(entries.size());
    for (const DirEntry& entry : entries)
        keys.push_back(toUpper(entry.name));
    std::vector<std::uint32_t> order(entries.size());
    std::iota(order.begin(), order.end(), std::uint32_t{0});
    std::sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
        const int byKey = keys[a].compare(keys[b]);
        return byKey != 0 ? byKey < 0 : entries[a].name < entries[b].name;
    });
    std::vector<DirEntry> sorted;
    sorted.reserve(entries.size());
    for (const std::uint32_t index : order)
        sorted.push_back(std::move(entries[index]));
    entries = std::move(sorted);
    std::sort(listing.skipped.begin(), listing.skipped.end(),
              [](const SkippedEntry& a, const SkippedEntry& b) { return a.name < b.name; });
}

} // namespace brisko::platform
