#pragma once

#include "platform/FileSystem.h"
#include "platform/posix/HostNames.h"
#include "platform/posix/ProgramPath.h"

#include <mutex>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace brisko::platform {

// Where a route leads on disk.
struct Resolution {
    // Ok when every name exists; NotFound when one is missing; Ambiguous when several names
    // differ from one only in case; AccessDenied, IoError, ... when a folder cannot be read.
    FsResult result;
    std::string host;     // names as on disk, then the missing ones as written
    std::string existing; // the host path of the names that were found
    std::size_t found = 0;
    std::size_t count = 0;
    // The lstat of the whole path when it was found as written, so callers need not ask again.
    std::optional<struct stat> status;

    bool onlyLastMissing() const {
        return result.status == FsStatus::NotFound && found + 1 == count;
    }
};

// Matches every name of a route against the host's names: exactly first, then by the one name that
// differs from it only in case (Unicode-aware); several such names are never guessed between.
// Resolved folder prefixes and case-folded listings are kept, so that a big tree is not listed
// again for every path; the owner reports every change it makes so that they stay true. Several
// threads may use one resolver at once: a path found as written is looked at without touching
// what is kept; the rest takes turns.
class CaseResolver {
public:
    // host is used for every look at the names, and must outlive the resolver.
    explicit CaseResolver(HostNames& host) : host_(host) {}

    // exactLast: the last name is matched exactly only, never by case (a name that has
    // siblings differing from it only in case).
    Resolution resolve(const HostRoute& route, bool exactLast = false);
    // The same for a route that its caller found not to be there as written, so that it is not
    // looked at again.
    Resolution resolveAbsent(const HostRoute& route, bool exactLast = false);

    // A folder was listed afresh by a directory search: what is kept of it may be out of date,
    // so it is read again when needed.
    void forgetListing(const std::string& folder);
    // A file name appeared in or left a folder.
    void nameAdded(const std::string& host);
    void nameRemoved(const std::string& host);
    // Folders appeared, left or moved: nothing kept can be trusted.
    void forgetAll();

private:
    struct FoldedListing {
        std::unordered_map<std::string, std::vector<std::string>> namesByFold;
    };

    // The listing of a folder, read when it is not kept; nullptr (and failure set) when the
    // folder cannot be read.
    const FoldedListing* listingOf(const std::string& folder, FsResult& failure);
    void rememberListing(const std::string& folder, const std::vector<std::string>& names);
    // Matches name by name from the longest prefix kept; the whole requested path is known not to
    // be there as written (whole), so it is not looked up again.
    Resolution resolveSlowly(const HostRoute& route, const std::string& requested,
                             const HostLookup& whole, bool exactLast);
    // A file name came or went: prefixes kept through a name of the same case-fold may no longer
    // be the only match (or the exact one), so they are dropped; the rest stay true.
    void forgetPrefixesThrough(const std::string& name);
    void keepWithinBounds();

    HostNames& host_;
    std::mutex mutex_;                                      // guards everything kept below
    std::unordered_map<std::string, std::string> prefixes_; // requested prefix -> host path
    std::unordered_set<std::string> prefixFolds_;           // the case-folds of the prefixes' names
    std::unordered_map<std::string, FoldedListing> listings_;
    std::size_t listedNames_ = 0;
};

} // namespace brisko::platform
