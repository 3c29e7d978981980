#include "platform/posix/CaseResolver.h"

#include "platform/Unicode.h"
#include "platform/posix/PosixErrors.h"

#include <algorithm>

namespace brisko::platform {

namespace {

// Bounds on what is kept; past them everything is dropped and read again as needed.
constexpr std::size_t kMaxKeptPrefixes = 100000;
constexpr std::size_t kMaxKeptListings = 4096;
constexpr std::size_t kMaxListedNames = 2000000;

using Outcome = HostLookup::Outcome;

FsResult missing() {
    return resultFromErrno(ENOENT);
}

// Adds one name to a host path in place.
void extend(std::string& host, const std::string& name) {
    if (host.empty() || host.back() != '/')
        host.push_back('/');
    host.append(name);
}

// host joined with names[from] up to (not including) names[to].
std::string joinAll(std::string host, const std::vector<std::string>& names, std::size_t from,
                    std::size_t to) {
    for (std::size_t i = from; i < to; ++i)
        extend(host, names[i]);
    return host;
}

std::string joinAll(std::string host, const std::vector<std::string>& names, std::size_t from) {
    return joinAll(std::move(host), names, from, names.size());
}

std::pair<std::string, std::string> splitParent(const std::string& host) {
    const auto slash = host.rfind('/');
    if (slash == std::string::npos)
        return {std::string(), host};
    return {slash == 0 ? std::string("/") : host.substr(0, slash), host.substr(slash + 1)};
}

std::string ambiguity(const std::vector<std::string>& names) {
    std::string text = "several names differ only in case:";
    for (const auto& name : names)
        text += " \"" + name + "\"";
    return text;
}

} // namespace

Resolution CaseResolver::resolve(const HostRoute& route, bool exactLast) {
    Resolution resolution;
    resolution.count = route.components.size();
    const std::string requested = joinAll(route.base, route.components, 0);
    if (route.components.empty()) {
        // The drive's own folder: followed as the system follows it.
        const HostLookup folder = host_.lookUp(requested, LinkHandling::Follow);
        resolution.host = resolution.existing = requested;
        if (folder.outcome != Outcome::Found)
            resolution.result = folder.outcome == Outcome::Missing ? missing() : folder.failure;
        return resolution;
    }
    const HostLookup whole = host_.lookUp(requested, LinkHandling::Inspect);
    if (whole.outcome == Outcome::Found) {
        resolution.host = resolution.existing = requested;
        resolution.found = resolution.count;
        resolution.status = whole.status;
        return resolution;
    }
    const std::lock_guard lock(mutex_);
    return resolveSlowly(route, requested, whole, exactLast);
}

Resolution CaseResolver::resolveAbsent(const HostRoute& route, bool exactLast) {
    const HostLookup whole; // Missing
    const std::lock_guard lock(mutex_);
    return resolveSlowly(route, joinAll(route.base, route.components, 0), whole, exactLast);
}

Resolution CaseResolver::resolveSlowly(const HostRoute& route, const std::string& requested,
                                       const HostLookup& whole, bool exactLast) {
    const auto& names = route.components;
    Resolution resolution;
    resolution.count = names.size();

    // The longest requested prefix of the folders on the way that is already resolved; prefixes
    // are built one at a time, as the walk needs them.
    std::string current = route.base;
    std::size_t i = 0;
    std::string prefix = route.base;
    for (std::size_t k = 0; k + 1 < names.size(); ++k) {
        extend(prefix, names[k]);
        auto kept = prefixes_.find(prefix);
        if (kept != prefixes_.end()) {
            current = kept->second;
            i = k + 1;
        }
    }
    prefix = joinAll(route.base, names, 0, i);

    auto stop = [&](FsResult result) {
        resolution.result = std::move(result);
        resolution.existing = current;
        resolution.found = i;
        resolution.host = joinAll(current, names, i);
        return resolution;
    };

    for (; i < names.size(); ++i) {
        const std::string candidate = joinHost(current, names[i]);
        extend(prefix, names[i]);
        const bool lookedUp = i + 1 == names.size() && candidate == requested;
        const HostLookup exact = lookedUp ? whole : host_.lookUp(candidate, LinkHandling::Inspect);
        if (exact.outcome == Outcome::Found) {
            current = candidate;
        } else {
            if (exact.outcome == Outcome::Failed) // a file on the way is not found, and final
                return stop(exact.failure);
            if (exactLast && i + 1 == names.size())
                return stop(missing());
            FsResult failure;
            const FoldedListing* listing = listingOf(current, failure);
            if (listing == nullptr)
                return stop(failure); // cannot tell whether a variant exists: not "missing"
            auto match = listing->namesByFold.find(toUpper(names[i]));
            if (match == listing->namesByFold.end() || match->second.empty())
                return stop(missing());
            if (match->second.size() > 1)
                return stop({FsStatus::Ambiguous, ambiguity(match->second)});
            current = joinHost(current, match->second.front());
        }
        if (i + 1 < names.size()) {
            prefixes_[prefix] = current;
            prefixFolds_.insert(toUpper(names[i]));
        }
    }
    keepWithinBounds();
    resolution.host = resolution.existing = current;
    resolution.found = resolution.count;
    return resolution;
}

const CaseResolver::FoldedListing* CaseResolver::listingOf(const std::string& folder,
                                                           FsResult& failure) {
    auto kept = listings_.find(folder);
    if (kept != listings_.end())
        return &kept->second;
    std::vector<std::string> names;
    FsResult listed = host_.listNames(folder, names);
    if (!listed.ok()) {
        failure = std::move(listed);
        return nullptr;
    }
    rememberListing(folder, names);
    return &listings_.at(folder);
}

void CaseResolver::rememberListing(const std::string& folder,
                                   const std::vector<std::string>& names) {
    keepWithinBounds();
    FoldedListing listing;
    for (const auto& name : names) {
        if (name == "." || name == ".." || name.find('\\') != std::string::npos)
            continue; // names a program path cannot reach
        listing.namesByFold[toUpper(name)].push_back(name);
    }
    auto& slot = listings_[folder];
    listedNames_ += names.size();
    slot = std::move(listing);
}

void CaseResolver::forgetListing(const std::string& folder) {
    const std::lock_guard lock(mutex_);
    listings_.erase(folder);
}

void CaseResolver::forgetPrefixesThrough(const std::string& name) {
    if (prefixFolds_.count(toUpper(name)) != 0) {
        prefixes_.clear();
        prefixFolds_.clear();
    }
}

void CaseResolver::nameAdded(const std::string& host) {
    const std::lock_guard lock(mutex_);
    const auto [folder, name] = splitParent(host);
    forgetPrefixesThrough(name);
    auto kept = listings_.find(folder);
    if (kept == listings_.end() || name.find('\\') != std::string::npos)
        return;
    auto& variants = kept->second.namesByFold[toUpper(name)];
    if (std::find(variants.begin(), variants.end(), name) == variants.end()) {
        variants.push_back(name);
        ++listedNames_;
    }
}

void CaseResolver::nameRemoved(const std::string& host) {
    const std::lock_guard lock(mutex_);
    const auto [folder, name] = splitParent(host);
    forgetPrefixesThrough(name);
    auto kept = listings_.find(folder);
    if (kept == listings_.end())
        return;
    auto variants = kept->second.namesByFold.find(toUpper(name));
    if (variants == kept->second.namesByFold.end())
        return;
    std::erase(variants->second, name);
    if (variants->second.empty())
        kept->second.namesByFold.erase(variants);
}

void CaseResolver::forgetAll() {
    const std::lock_guard lock(mutex_);
    prefixes_.clear();
    prefixFolds_.clear();
    listings_.clear();
    listedNames_ = 0;
}

void CaseResolver::keepWithinBounds() {
    if (prefixes_.size() > kMaxKeptPrefixes) {
        prefixes_.clear();
        prefixFolds_.clear();
    }
    if (listings_.size() > kMaxKeptListings || listedNames_ > kMaxListedNames) {
        listings_.clear();
        listedNames_ = 0;
    }
}

} // namespace brisko::platform
