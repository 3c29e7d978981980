#pragma once

#include "engine/ListingCache.h"
#include "platform/FileSystem.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>

namespace brisko::engine {

// The entries of a target folder, listed once and looked up by the names met in the source
// folder: the exact name first, else the one name that differs from it only in case. Several
// such names are never guessed between: a name that has none of them exactly is missing, and
// is to be written under its own name only.
class TargetIndex {
public:
    struct Found {
        enum class Kind {
            Missing,  // nothing of that name
            File,     // entry holds it
            Folder,   // entry holds it
            Link,     // entry holds it: a symbolic link, never followed
            Unusable, // there, but not to be used; problem says why
        };
        Kind kind = Kind::Missing;
        const platform::DirEntry* entry = nullptr;
        std::string problem;
        // Missing exactly, while several names differ from it only in case.
        bool severalByCase = false;
    };

    // Lists the folder. A folder that does not exist gives an empty index; false when it
    // exists but cannot be listed (nothing in it may then be taken as missing).
    bool load(ListingCache& listings, std::string_view folder);
    // An empty index for a folder known not to exist, without a look at the disk.
    void loadMissing();
    // Gives the listing up (the index is empty afterwards).
    platform::Listing release();

    // exactOnly: the exact name alone counts (a name that has case twins in its own folder).
    Found find(std::string_view name, bool exactOnly = false) const;
    // Whether several names differ from name only in case (name itself among them or not).
    bool hasCaseVariants(std::string_view name) const;

private:
    static constexpr std::size_t kSeveral = static_cast<std::size_t>(-1);

    Found foundAt(std::size_t position) const;
    void buildFolded() const;

    platform::Listing listing_;
    // Positions: entries first, then the names the listing passed over.
    std::unordered_map<std::string_view, std::size_t> exact_;
    // Upper-cased names, made on the first name that is not found exactly.
    mutable std::unordered_map<std::string, std::size_t> folded_;
    mutable bool foldedBuilt_ = false;
};

} // namespace brisko::engine
