#include "support/FakeHostNames.h"

#include "platform/posix/PosixErrors.h"

#include <utility>

namespace brisko::test {

using platform::FsResult;
using platform::HostLookup;

namespace {

std::pair<std::string, std::string> splitParent(const std::string& host) {
    const auto slash = host.rfind('/');
    return {slash == 0 ? std::string("/") : host.substr(0, slash), host.substr(slash + 1)};
}

HostLookup failedWith(int error) {
    HostLookup lookup;
    lookup.outcome = HostLookup::Outcome::Failed;
    lookup.failure = platform::resultFromErrno(error);
    return lookup;
}

HostLookup found(bool folder) {
    HostLookup lookup;
    lookup.outcome = HostLookup::Outcome::Found;
    lookup.status.st_mode = folder ? S_IFDIR | 0755 : S_IFREG | 0644;
    return lookup;
}

} // namespace

void FakeHostNames::addFolder(const std::string& host) {
    if (folders_.count(host) != 0)
        return;
    const auto [parent, name] = splitParent(host);
    addFolder(parent);
    folders_[parent].names[name] = true;
    folders_[host];
}

void FakeHostNames::addFile(const std::string& host) {
    const auto [parent, name] = splitParent(host);
    addFolder(parent);
    folders_[parent].names[name] = false;
}

void FakeHostNames::remove(const std::string& host) {
    const auto [parent, name] = splitParent(host);
    folders_[parent].names.erase(name);
    std::erase_if(folders_, [&](const auto& folder) {
        return folder.first == host || folder.first.starts_with(host + "/");
    });
}

void FakeHostNames::makeUnlistable(const std::string& folder) {
    folders_.at(folder).listable = false;
}

HostLookup FakeHostNames::lookUp(const std::string& host, platform::LinkHandling) {
    if (folders_.count(host) != 0)
        return found(true);
    const auto [parent, name] = splitParent(host);
    const HostLookup above = lookUp(parent, platform::LinkHandling::Inspect);
    if (above.outcome != HostLookup::Outcome::Found)
        return above;
    if (!S_ISDIR(above.status.st_mode))
        return failedWith(ENOTDIR);
    const auto& names = folders_.at(parent).names;
    const auto entry = names.find(name);
    return entry == names.end() ? HostLookup{} : found(entry->second);
}

FsResult FakeHostNames::listNames(const std::string& folder, std::vector<std::string>& names) {
    const auto listed = folders_.find(folder);
    if (listed == folders_.end())
        return platform::resultFromErrno(ENOENT);
    if (!listed->second.listable)
        return platform::resultFromErrno(EACCES);
    for (const auto& entry : listed->second.names)
        names.push_back(entry.first);
    return FsResult::success();
}

} // namespace brisko::test
