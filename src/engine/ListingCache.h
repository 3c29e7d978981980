#pragma once

#include "platform/FileSystem.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

namespace brisko::engine {

// The folder listings of a session's first pass, kept for its second pass, which reads the same
// folders with source and target swapped: so each folder is read once per session, not twice.
// A kept listing is handed out once and dropped; past a budget nothing more is kept. Kept
// listings are packed (every name in one text, the rest in small records): a tree of a million
// files a side is kept whole in about a third of what its listings take.
class ListingCache {
public:
    explicit ListingCache(platform::FileSystem& fileSystem) : fileSystem_(fileSystem) {}

    // Whether listings handed back are kept (during a first pass that a second will follow).
    void setKeeping(bool keeping) { keeping_ = keeping; }

    // The listing of a folder: the kept one when there is one, else read now.
    platform::Listing list(std::string_view folder);
    // Hands a listing back after use; kept when keeping, complete and within the budget.
    void handBack(const std::string& folder, platform::Listing&& listing);
    // A folder whose entries were changed on disk (a file re-stamped): read it afresh.
    void forget(const std::string& folder);

    static constexpr std::size_t kEntryBudget = 3'000'000;

private:
    struct PackedEntry {
        std::int64_t size = 0;
        platform::DosStamp stamp = 0;
        std::uint32_t nameEnd = 0; // the name ends here in texts, its link target after it
        std::uint32_t textEnd = 0;
        platform::FileAttributes attributes;
    };
    struct PackedListing {
        std::string texts;
        std::vector<PackedEntry> entries;
        // The identities the listing gave its folders, by place (files' are not asked for).
        std::vector<std::pair<std::uint32_t, platform::FileIdentity>> folderIdentities;
        std::vector<platform::SkippedEntry> skipped;
    };
    static PackedListing pack(platform::Listing&& listing);
    static platform::Listing unpack(PackedListing&& packed);

    platform::FileSystem& fileSystem_;
    bool keeping_ = false;
    std::size_t keptEntries_ = 0;
    struct NameHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view name) const {
            return std::hash<std::string_view>{}(name);
        }
    };
    std::unordered_map<std::string, PackedListing, NameHash, std::equal_to<>> kept_;
    std::unordered_set<std::string> changed_;
};

} // namespace brisko::engine
