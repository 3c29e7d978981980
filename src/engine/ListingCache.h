#pragma once

#include "platform/FileSystem.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

namespace brisko::engine {

// The folder listings of a session's first pass, kept for its second pass, which reads the same
// folders with source and target swapped: so each folder is read once per session, not twice.
// A kept listing is handed out once and dropped; past a budget nothing more is kept.
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

    static constexpr std::size_t kEntryBudget = 1'000'000;

private:
    platform::FileSystem& fileSystem_;
    bool keeping_ = false;
    std::size_t keptEntries_ = 0;
    struct NameHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view name) const {
            return std::hash<std::string_view>{}(name);
        }
    };
    std::unordered_map<std::string, platform::Listing, NameHash, std::equal_to<>> kept_;
    std::unordered_set<std::string> changed_;
};

} // namespace brisko::engine
