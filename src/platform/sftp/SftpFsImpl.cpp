#include "platform/sftp/SftpFsImpl.h"

#include "platform/DrivePath.h"
#include "platform/PathNames.h"
#include "platform/Refusals.h"
#include "platform/sftp/SftpFsErrors.h"
#include "platform/sftp/SftpFsIdentity.h"

namespace brisko::platform::sftp {

namespace {

constexpr std::size_t kSessions = 4;

std::string folderWithoutSlash(std::string path) {
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path.empty() ? std::string(".") : path;
}

std::string serverOf(const SftpLocation& location) {
    return location.host + ":" + std::to_string(location.port);
}

} // namespace

SftpFileSystem::Impl::Impl(SftpLocation where, Connector connect)
    : location(std::move(where)), base(folderWithoutSlash(location.path)),
      server(serverOf(location)), sessions(location.text(), std::move(connect), kSessions) {}

bool SftpFileSystem::Impl::parse(std::string_view path, HostRoute& route, FsResult& failure) const {
    if (!drive_path::hasDrive(path)) {
        failure = {FsStatus::InvalidName, "not a path of " + location.text()};
        return false;
    }
    route.base = base;
    route.components.clear();
    appendPathNames(path.substr(drive_path::driveOrShare(path).size()), 0, route.components);
    return true;
}

ServerTarget SftpFileSystem::Impl::locate(std::string_view path, Need need, bool exactLast) {
    ServerTarget target;
    HostRoute route;
    if (!parse(path, route, target.result))
        return target;
    if (route.components.empty()) {
        // The location's own folder, followed as the server follows it.
        target.driveFolder = true;
        target.host = base;
        const HostLookup folder = names.lookUp(base, LinkHandling::Follow);
        if (folder.outcome == HostLookup::Outcome::Found)
            target.status = folder.status;
        else if (folder.outcome == HostLookup::Outcome::Missing)
            target.result = {FsStatus::NotFound, location.text() + " does not exist"};
        else
            target.result = folder.failure;
        return target;
    }
    const Resolution resolution = resolver.resolve(route, exactLast);
    target.result = resolution.result;
    target.host = resolution.host;
    target.status = resolution.status;
    target.requestedName = route.components.back();
    target.onlyLastMissing = resolution.onlyLastMissing();
    if (need == Need::Creatable && resolution.onlyLastMissing()) {
        target.result = FsResult::success();
        target.missing = true;
    } else if (target.ok() && !target.status) {
        // Found through a case variant: looked at now.
        const HostLookup found = names.lookUp(target.host, LinkHandling::Inspect);
        if (found.outcome == HostLookup::Outcome::Found)
            target.status = found.status;
        else if (found.outcome == HostLookup::Outcome::Missing)
            target.result = {FsStatus::NotFound, describe(FsStatus::NotFound)};
        else
            target.result = found.failure;
    }
    return target;
}

ServerTarget SftpFileSystem::Impl::plainEntry(std::string_view path, bool exactLast) {
    ServerTarget target = locate(path, Need::Existing, exactLast);
    if (!target.ok())
        return target;
    const mode_t mode = target.status->st_mode;
    if (!S_ISREG(mode) && !S_ISDIR(mode) && !S_ISLNK(mode))
        target.result = {FsStatus::Unsupported, "a device, pipe or socket"};
    return target;
}

ServerTarget SftpFileSystem::Impl::locateToChange(std::string_view path, Need need,
                                                  bool exactLast) {
    ServerTarget target = locate(path, need, exactLast);
    if (target.ok() && !target.driveFolder)
        target.result = noLinkTo(target.host.substr(0, target.host.rfind('/')));
    return target;
}

ServerTarget SftpFileSystem::Impl::plainEntryToChange(std::string_view path, bool exactLast) {
    ServerTarget target = plainEntry(path, exactLast);
    if (target.ok() && !target.driveFolder)
        target.result = noLinkTo(target.host.substr(0, target.host.rfind('/')));
    return target;
}

FsResult SftpFileSystem::Impl::noLinkTo(const std::string& folder) {
    return noLinkTo(askNoLinkTo(folder));
}

SftpFileSystem::Impl::LinkCheck SftpFileSystem::Impl::askNoLinkTo(const std::string& folder) {
    LinkCheck check;
    check.folder = folder;
    if (folder.size() <= base.size())
        return check; // the location's own folder, which may be a link
    check.expected = resolvedBase();
    if (check.expected.back() == '/')
        check.expected.pop_back();
    check.expected += folder.substr(base.size());
    std::shared_ptr<Client> session = client(check.failure);
    if (session)
        check.real = session->realpath(folder);
    return check;
}

FsResult SftpFileSystem::Impl::noLinkTo(LinkCheck check) {
    if (!check.real)
        return check.failure;
    const Outcome<std::string> real = await(std::move(*check.real));
    if (!real.ok())
        return resultOf(*real.error);
    if (real.value != check.expected)
        return refusal::linkOnTheWay();
    return FsResult::success();
}

std::shared_ptr<Client> SftpFileSystem::Impl::clientFor(const std::string& host,
                                                        FsResult& failure) {
    if (std::shared_ptr<Client> writing = writers->sessionOf(host))
        return writing;
    return client(failure);
}

FsResult SftpFileSystem::Impl::setMode(const ServerTarget& target, mode_t mode) {
    if (target.isLink())
        return FsResult::success();
    FsResult failure;
    std::shared_ptr<Client> session = clientFor(target.host, failure);
    if (!session)
        return failure;
    Attributes attributes;
    attributes.permissions = mode & 07777;
    return resultOf(await(session->setstat(target.host, attributes)));
}

std::string SftpFileSystem::Impl::resolvedBase() {
    {
        const std::lock_guard lock(mutex_);
        if (resolvedBase_)
            return *resolvedBase_;
    }
    FsResult failure;
    std::shared_ptr<Client> session = client(failure);
    if (!session)
        return base;
    const Outcome<std::string> real = await(session->realpath(base));
    if (!real.ok())
        return base; // asked again next time
    const std::lock_guard lock(mutex_);
    resolvedBase_ = folderWithoutSlash(real.value);
    return *resolvedBase_;
}

std::optional<SftpFileSystem::Impl::RecentLook>& SftpFileSystem::Impl::recentLook() {
    thread_local std::optional<RecentLook> recent;
    return recent;
}

FileIdentity SftpFileSystem::Impl::identityOf(const std::string& host) {
    std::string resolved = resolvedBase();
    if (host.size() > base.size()) {
        if (resolved.back() == '/' && host[base.size()] == '/')
            resolved.pop_back();
        resolved += host.substr(base.size());
    }
    return identityAt(server, resolved);
}

} // namespace brisko::platform::sftp
