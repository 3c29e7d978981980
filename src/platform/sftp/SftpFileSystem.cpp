#include "platform/sftp/SftpFileSystem.h"

#include "platform/DrivePath.h"
#include "platform/ListingOrder.h"
#include "platform/Refusals.h"
#include "platform/sftp/SftpFiles.h"
#include "platform/sftp/SftpFsEntry.h"
#include "platform/sftp/SftpFsErrors.h"
#include "platform/sftp/SftpFsIdentity.h"
#include "platform/sftp/SftpFsImpl.h"
#include "platform/sftp/SftpFsLeftover.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <limits>

namespace brisko::platform::sftp {

namespace {

constexpr const char* kPosixRename = "posix-rename@openssh.com";
constexpr const char* kFsync = "fsync@openssh.com";
constexpr const char* kHardlink = "hardlink@openssh.com";
constexpr const char* kLsetstat = "lsetstat@openssh.com";
constexpr std::uint32_t kFreshFileMode = 0600; // until the source's attributes are copied

// Fills in the text of a link entry.
FsResult readLinkText(Client& client, const std::string& host, DirEntry& entry) {
    Outcome<std::string> text = await(client.readlink(host));
    if (!text.ok())
        return resultOf(*text.error);
    entry.linkTarget = std::move(text.value);
    return FsResult::success();
}

// Sets the permission bits of a file being written, on its handle, without waiting: a refusal is
// let pass, as the callers let it pass. Only the permission bits: set-user-ID and the like are
// never carried over.
FsResult setModeOf(SftpWrite& write, mode_t mode) {
    if (write.permissions() != (mode & 0777)) {
        Attributes attributes;
        attributes.permissions = mode & 0777;
        write.setAttributes(attributes, false);
    }
    return FsResult::success();
}

// A folder's names below the location's folder, as listings read ahead are known by.
std::string aheadKey(const HostRoute& route) {
    std::string key;
    for (const std::string& name : route.components)
        key.append(1, '/').append(name);
    return key;
}

} // namespace

SftpFileSystem::SftpFileSystem(SftpLocation location, Connector connect)
    : impl_(std::make_shared<Impl>(std::move(location), std::move(connect))) {}

SftpFileSystem::SftpFileSystem(std::shared_ptr<Impl> impl, bool exactLast)
    : impl_(std::move(impl)), exactLast_(exactLast) {}

SftpFileSystem::~SftpFileSystem() = default;

const SftpLocation& SftpFileSystem::location() const {
    return impl_->location;
}

FileSystem& SftpFileSystem::exactNames() {
    if (exactLast_)
        return *this;
    if (!exactView_)
        exactView_.reset(new SftpFileSystem(impl_, true));
    return *exactView_;
}

std::optional<std::string> SftpFileSystem::hostPath(std::string_view /*path*/) {
    return std::nullopt; // nothing here is a path of this machine
}

Listing SftpFileSystem::list(std::string_view folder) {
    Listing listing;
    HostRoute route;
    if (!impl_->parse(folder, route, listing.result))
        return listing;
    const std::string key = aheadKey(route);
    std::string host;
    if (std::optional<AheadListing> kept = impl_->ahead.take(key)) {
        host = std::move(kept->host);
        listing = std::move(kept->listing);
    } else {
        const ServerTarget target = impl_->locate(folder, Need::Existing, exactLast_);
        listing.result = target.result;
        if (!target.ok())
            return listing;
        if (target.isLink()) {
            listing.result = refusal::linkForFolder();
            return listing;
        }
        if (!target.isFolder()) {
            listing.result = refusal::fileNotFolder();
            return listing;
        }
        host = target.host;
        listing = impl_->listHost(host);
    }
    if (!listing.result.ok())
        return listing;
    impl_->resolver.forgetListing(host);
    // The subfolders are listed meanwhile: a scan asks for them next. Not while files are being
    // written here, whose sizes and stamps would be out of date in them.
    if (!impl_->writers->any()) {
        for (const DirEntry& entry : listing.entries) {
            if (entry.attributes.directory && !entry.attributes.link)
                impl_->ahead.ask(key + "/" + entry.name, joinHost(host, entry.name));
        }
    }
    return listing;
}

Listing SftpFileSystem::Impl::listHost(const std::string& host) {
    Listing listing;
    std::shared_ptr<Client> session = client(listing.result);
    if (!session)
        return listing;
    Outcome<std::vector<NameEntry>> listed = session->listFolder(host);
    if (!listed.ok()) {
        listing.result = resultOf(*listed.error);
        return listing; // a partial listing must never pass for the whole folder
    }
    DosStampCache stamps;
    // The texts of the links are asked all at once, then waited for.
    std::vector<std::pair<std::size_t, std::future<Outcome<std::string>>>> links;
    for (const NameEntry& name : listed.value) {
        if (name.name == "." || name.name == "..")
            continue; // every server lists them
        if (std::string why = whyNotAName(name.name); !why.empty()) {
            listing.skipped.push_back({name.name, std::move(why)});
            continue;
        }
        ServerEntry entry = entryOf(statOf(name.attributes), name.name, stamps);
        if (!entry.result.ok()) {
            listing.skipped.push_back({name.name, std::move(entry.reason), entry.special});
            continue;
        }
        if (entry.entry.attributes.link)
            links.emplace_back(listing.entries.size(),
                               session->readlink(joinHost(host, name.name)));
        listing.entries.push_back(std::move(entry.entry));
    }
    std::vector<bool> unread(listing.entries.size(), false);
    for (auto& [index, reply] : links) {
        Outcome<std::string> text = await(std::move(reply));
        DirEntry& entry = listing.entries[index];
        if (text.ok()) {
            entry.linkTarget = std::move(text.value);
            continue;
        }
        unread[index] = true;
        if (text.error->lost) {
            listing.result = resultOf(*text.error);
            return listing;
        }
        if (text.error->code != Code::NoSuchFile) // gone since it was listed
            listing.skipped.push_back({entry.name, refusal::kCannotBeRead});
    }
    const DirEntry* first = listing.entries.data(); // each is looked at in its own place
    std::erase_if(listing.entries, [&](const DirEntry& entry) { return unread[&entry - first]; });
    sortListing(listing);
    return listing;
}

PathInfo SftpFileSystem::stat(std::string_view path) {
    PathInfo info;
    const ServerTarget target = impl_->plainEntry(path, exactLast_);
    info.result = target.result;
    if (target.ok() || target.onlyLastMissing) {
        ServerTarget creatable = target;
        creatable.missing = !target.ok();
        creatable.result = FsResult::success();
        Impl::recentLook() =
            Impl::RecentLook{impl_.get(), std::string(path), exactLast_, creatable};
    }
    if (!target.ok())
        return info;
    DosStampCache stamps;
    ServerEntry entry = entryOf(*target.status, lastName(target.host), stamps);
    if (target.driveFolder)
        entry.entry.attributes.link = false;
    if (entry.entry.attributes.link) {
        FsResult failure;
        std::shared_ptr<Client> client = impl_->client(failure);
        if (client)
            failure = readLinkText(*client, target.host, entry.entry);
        if (!failure.ok()) {
            info.result = failure;
            return info;
        }
    }
    info.entry = std::move(entry.entry);
    return info;
}

std::optional<FileIdentity> SftpFileSystem::identityOf(std::string_view path) {
    if (const std::shared_ptr<SftpWrite> write = impl_->writers->writing(std::string(path)))
        return impl_->identityOf(write->path());
    // A folder a listing just showed, as the scan asks about every folder it enters.
    HostRoute route;
    FsResult failure;
    if (impl_->parse(path, route, failure) && !route.components.empty()) {
        if (const std::optional<std::string> host = impl_->ahead.seen(aheadKey(route)))
            return impl_->identityOf(*host);
    }
    const ServerTarget target = impl_->locate(path, Need::Existing, exactLast_);
    if (!target.ok())
        return std::nullopt;
    return impl_->identityOf(target.host);
}

std::vector<FileIdentity> SftpFileSystem::folderChain(std::string_view folder) {
    if (std::optional<std::vector<FileIdentity>> held = impl_->heldChains.find(folder))
        return *held;
    std::vector<FileIdentity> chain = findFolderChain(folder);
    if (!chain.empty())
        impl_->heldChains.keep(folder, chain);
    return chain;
}

std::vector<FileIdentity> SftpFileSystem::findFolderChain(std::string_view folder) {
    std::vector<FileIdentity> chain;
    const ServerTarget target = impl_->locate(folder, Need::Existing, exactLast_);
    FsResult failure;
    std::shared_ptr<Client> client = target.ok() ? impl_->client(failure) : nullptr;
    if (!client)
        return chain;
    // The path with every link and "." or ".." taken out, as the server resolves it.
    const Outcome<std::string> real = await(client->realpath(target.host));
    if (!real.ok() || real.value.empty() || real.value.front() != '/')
        return chain;
    std::vector<std::string> levels{real.value};
    while (levels.back() != "/")
        levels.push_back(parentOf(levels.back()));
    std::vector<std::future<Outcome<Attributes>>> looks;
    for (const std::string& level : levels)
        looks.push_back(client->stat(level));
    for (std::size_t i = 0; i < levels.size(); ++i) {
        const Outcome<Attributes> look = await(std::move(looks[i]));
        if (!look.ok() || !S_ISDIR(look.value.permissions.value_or(0)))
            break; // a folder above that cannot be looked at ends the chain
        chain.push_back(identityAt(impl_->server, levels[i]));
    }
    return chain;
}

bool SftpFileSystem::driveExists(std::string_view /*drive*/) {
    if (!impl_->sessions.reachable())
        return false;
    // The scan asks for every folder: an answer that the folder is there holds a moment.
    using Clock = std::chrono::steady_clock;
    constexpr std::chrono::seconds kHeld{1};
    const auto now = Clock::now();
    const std::int64_t seenAt = impl_->driveSeenAt.load();
    if (seenAt != 0 && now - Clock::time_point(Clock::duration(seenAt)) < kHeld)
        return true;
    const HostLookup folder = impl_->names.lookUp(impl_->base, LinkHandling::Follow);
    const bool there =
        folder.outcome == HostLookup::Outcome::Found && S_ISDIR(folder.status.st_mode);
    impl_->driveSeenAt = there ? now.time_since_epoch().count() : 0;
    return there;
}

std::string SftpFileSystem::whyNoDrive(std::string_view drive) {
    const std::string place = impl_->location.text();
    if (!impl_->sessions.reachable())
        return "cannot reach " + place + ": " + impl_->sessions.why();
    const std::string mapped =
        std::string(drive_path::driveOrShare(drive)) + " is mapped to " + place + ", which ";
    const HostLookup folder = impl_->names.lookUp(impl_->base, LinkHandling::Follow);
    if (folder.outcome == HostLookup::Outcome::Missing)
        return mapped + describe(FsStatus::NotFound);
    if (folder.outcome == HostLookup::Outcome::Failed && folder.failure.status == FsStatus::IoError)
        return "cannot reach " + place + ": " + folder.failure.detail; // a connection lost
    if (folder.outcome == HostLookup::Outcome::Failed)
        return mapped + describe(folder.failure.status) + " (" + folder.failure.detail + ")";
    if (!S_ISDIR(folder.status.st_mode))
        return mapped + "is not a folder";
    return {};
}

FsResult SftpFileSystem::setReadOnly(std::string_view path, bool readOnly) {
    const Impl::Changing changing(*impl_);
    constexpr mode_t kAnyWrite = S_IWUSR | S_IWGRP | S_IWOTH;
    if (const std::shared_ptr<SftpWrite> write = impl_->writers->writing(std::string(path))) {
        const auto now = static_cast<mode_t>(write->permissions().value_or(kFreshFileMode));
        return setModeOf(*write, readOnly ? (now & ~kAnyWrite) : (now | S_IWUSR));
    }
    const ServerTarget target = impl_->plainEntryToChange(path, exactLast_);
    if (!target.ok() || target.isLink())
        return target.result;
    const mode_t now = target.status->st_mode;
    const mode_t mode = readOnly ? (now & ~kAnyWrite) : (now | S_IWUSR);
    if ((mode & 07777) == (now & 07777))
        return FsResult::success();
    return impl_->setMode(target, mode);
}

FsResult SftpFileSystem::clearAttributes(std::string_view path) {
    return setReadOnly(path, false);
}

FsResult SftpFileSystem::copyAttributes(std::string_view from, std::string_view to) {
    const Impl::Changing changing(*impl_);
    const ServerTarget source = impl_->plainEntry(from, exactLast_);
    if (!source.ok() || source.isLink())
        return source.result;
    if (const std::shared_ptr<SftpWrite> write = impl_->writers->writing(std::string(to)))
        return setModeOf(*write, source.status->st_mode & 0777);
    const ServerTarget target = impl_->plainEntryToChange(to, exactLast_);
    if (!target.ok() || target.isLink())
        return target.result;
    // Only the permission bits: set-user-ID and the like are never carried over.
    const mode_t mode = source.status->st_mode & 0777;
    if ((target.status->st_mode & 07777) == mode)
        return FsResult::success();
    return impl_->setMode(target, mode);
}

std::optional<std::uint32_t> SftpFileSystem::permissions(std::string_view path) {
    const ServerTarget target = impl_->plainEntry(path, exactLast_);
    if (!target.ok() || target.isLink())
        return std::nullopt;
    return static_cast<std::uint32_t>(target.status->st_mode & 0777);
}

FsResult SftpFileSystem::setPermissions(std::string_view path, std::uint32_t bits) {
    const Impl::Changing changing(*impl_);
    if (const std::shared_ptr<SftpWrite> write = impl_->writers->writing(std::string(path)))
        return setModeOf(*write, static_cast<mode_t>(bits & 0777));
    const ServerTarget target = impl_->plainEntryToChange(path, exactLast_);
    if (!target.ok() || target.isLink())
        return target.result;
    // Only the permission bits: set-user-ID and the like are never carried over.
    const auto mode = static_cast<mode_t>(bits & 0777);
    if ((target.status->st_mode & 07777) == mode)
        return FsResult::success();
    return impl_->setMode(target, mode);
}

FsResult SftpFileSystem::removeFile(std::string_view path) {
    const Impl::Changing changing(*impl_);
    const ServerTarget target = impl_->locateToChange(path, Need::Existing, exactLast_);
    if (!target.ok())
        return target.result;
    if (target.isFolder())
        return refusal::folderNotFile();
    FsResult result;
    std::shared_ptr<Client> client = impl_->clientFor(target.host, result);
    if (!client)
        return result;
    result = resultOf(await(client->remove(target.host)));
    if (!result.ok())
        return result;
    impl_->resolver.nameRemoved(target.host);
    impl_->space.forget();
    if (const std::shared_ptr<SftpWrite> write = impl_->writers->writing(std::string(path)))
        impl_->writers->gone(std::string(path), write.get()); // its handle is all that is left
    return result;
}

FsResult SftpFileSystem::rename(std::string_view from, std::string_view to) {
    std::optional<Impl::RecentLook> recent = std::move(Impl::recentLook());
    const Impl::Changing changing(*impl_);
    FsResult result;
    std::shared_ptr<Client> client = impl_->client(result);
    if (!client)
        return result;
    if (!client->hasExtension(kPosixRename, "1"))
        return extensionMissing(kPosixRename); // a plain RENAME never replaces in one step
    if (const std::shared_ptr<SftpWrite> write = impl_->writers->writing(std::string(from)))
        return impl_->renameWritten(std::string(from), *write, to, exactLast_, recent);
    const ServerTarget source = impl_->locateToChange(from, Need::Existing, exactLast_);
    if (!source.ok())
        return source.result;
    ServerTarget target = impl_->locateToChange(to, Need::Creatable, exactLast_);
    if (!target.ok())
        return target.result;
    if (target.host == source.host && lastName(target.host) != target.requestedName)
        target.host = joinHost(parentOf(target.host), target.requestedName); // a change of case
    client = impl_->clientFor(source.host, result);
    if (!client)
        return result;
    result = resultOf(await(client->posixRename(source.host, target.host)));
    if (!result.ok())
        return result;
    if (!target.missing)
        impl_->space.forget(); // the file replaced is gone
    if (source.isFolder()) {
        impl_->resolver.forgetAll();
        impl_->heldChains.forget();
    } else {
        impl_->resolver.nameRemoved(source.host);
        impl_->resolver.nameAdded(target.host);
    }
    return result;
}

FsResult SftpFileSystem::Impl::renameWritten(const std::string& from, SftpWrite& write,
                                             std::string_view to, bool exactLast,
                                             const std::optional<RecentLook>& recent) {
    // The file was made here, exclusively, in a folder looked at then: a folder swapped for a
    // link since holds no such file, and the rename fails. Into that same folder the rename
    // needs no second look at the folder.
    const bool looked =
        recent && recent->impl == this && recent->path == to && recent->exactLast == exactLast;
    const ServerTarget target = looked ? recent->target : locate(to, Need::Creatable, exactLast);
    if (!target.ok())
        return target.result;
    if (target.driveFolder)
        return refusal::folderHasThatName();
    const std::string folder = parentOf(target.host);
    if (folder != parentOf(write.path())) {
        if (FsResult way = noLinkTo(folder); !way.ok())
            return way;
    }
    // On the file's own session, after every write and change of attributes sent before.
    FsResult result = resultOf(await(write.client()->posixRename(write.path(), target.host)));
    if (!result.ok())
        return result;
    writers->gone(from, &write);
    if (!target.missing)
        space.forget(); // the file replaced is gone
    resolver.nameRemoved(write.path());
    resolver.nameAdded(target.host);
    return result;
}

FsResult SftpFileSystem::link(std::string_view existing, std::string_view newName) {
    const Impl::Changing changing(*impl_);
    FsResult result;
    std::shared_ptr<Client> client = impl_->client(result);
    if (!client)
        return result;
    if (!client->hasExtension(kHardlink, "1"))
        return extensionMissing(kHardlink);
    const ServerTarget source = impl_->locateToChange(existing, Need::Existing, exactLast_);
    if (!source.ok())
        return source.result;
    const ServerTarget target = impl_->locateToChange(newName, Need::Creatable, exactLast_);
    if (!target.ok())
        return target.result;
    if (!target.missing)
        return refusal::nameTaken();
    result = resultOf(await(client->hardlink(source.host, target.host)));
    if (result.ok())
        impl_->resolver.nameAdded(target.host);
    return result;
}

FsResult SftpFileSystem::createLink(std::string_view path, std::string_view targetText) {
    const Impl::Changing changing(*impl_);
    const ServerTarget target = impl_->locateToChange(path, Need::Creatable, exactLast_);
    if (!target.ok())
        return target.result;
    if (!target.missing)
        return refusal::nameTaken();
    FsResult result;
    std::shared_ptr<Client> client = impl_->client(result);
    if (!client)
        return result;
    result = resultOf(await(client->symlink(target.host, std::string(targetText))));
    if (result.ok())
        impl_->resolver.nameAdded(target.host);
    return result;
}

FsResult SftpFileSystem::createFolders(std::string_view path) {
    const Impl::Changing changing(*impl_);
    const ServerTarget target = impl_->plainEntry(path, exactLast_);
    if (target.ok()) {
        if (target.isLink())
            return refusal::linkHasThatName();
        if (!target.isFolder())
            return refusal::fileHasThatName();
        return FsResult::success();
    }
    if (target.result.status != FsStatus::NotFound || target.driveFolder)
        return target.result;
    HostRoute route;
    FsResult result;
    if (!impl_->parse(path, route, result))
        return result;
    const Resolution resolution = impl_->resolver.resolveAbsent(route, exactLast_);
    if (resolution.result.status != FsStatus::NotFound)
        return resolution.result;
    if (FsResult way = impl_->noLinkTo(resolution.existing); !way.ok())
        return way;
    std::shared_ptr<Client> client = impl_->client(result);
    if (!client)
        return result;
    Attributes attributes;
    attributes.permissions = 0777; // less the server's umask
    std::string folder = resolution.existing;
    for (std::size_t i = resolution.found; i < resolution.count; ++i) {
        folder = joinHost(folder, route.components[i]);
        const Outcome<Done> made = await(client->mkdir(folder, attributes));
        // The listings kept stay true with the new name in them: the next folder made beside
        // this one needs no fresh listing of their parent.
        impl_->resolver.nameAdded(folder);
        if (made.ok())
            continue;
        // Made by another program meanwhile, or something else has that name.
        const HostLookup there = impl_->names.lookUp(folder, LinkHandling::Inspect);
        if (there.outcome != HostLookup::Outcome::Found)
            return resultOf(*made.error);
        if (S_ISLNK(there.status.st_mode))
            return refusal::linkOnTheWay();
        if (!S_ISDIR(there.status.st_mode))
            return refusal::fileHasThatName();
    }
    return FsResult::success();
}

FsResult SftpFileSystem::removeFolder(std::string_view path) {
    const Impl::Changing changing(*impl_);
    impl_->space.forget();
    const ServerTarget target = impl_->locateToChange(path, Need::Existing, exactLast_);
    if (!target.ok())
        return target.result;
    if (target.isLink())
        return refusal::linkNotFolder();
    if (!target.isFolder())
        return refusal::fileNotFolder();
    FsResult result;
    std::shared_ptr<Client> client = impl_->client(result);
    if (!client)
        return result;
    // Some servers remove a folder with all it holds: only an empty one is asked to go.
    const Outcome<std::vector<NameEntry>> names = client->listFolder(target.host);
    if (!names.ok())
        return resultOf(*names.error);
    for (const NameEntry& name : names.value) {
        if (name.name != "." && name.name != "..")
            return {FsStatus::NotEmpty, "Directory not empty"};
    }
    result = resultOf(await(client->rmdir(target.host)));
    if (result.ok()) {
        impl_->resolver.forgetAll();
        impl_->heldChains.forget();
    }
    return result;
}

std::optional<std::int64_t> SftpFileSystem::freeBytes(std::string_view /*drive*/) {
    // Asked before every copy: an answer holds a moment, less what was written here since.
    if (const std::optional<std::int64_t> known = impl_->space.known(impl_->writers->written()))
        return known;
    FsResult failure;
    std::shared_ptr<Client> client = impl_->client(failure);
    if (!client)
        return std::nullopt;
    const std::int64_t writtenBefore = impl_->writers->written();
    const Outcome<FileSystemSpace> space = await(client->statvfs(impl_->base));
    if (!space.ok()) {
        impl_->driveSeenAt = 0; // the location is asked again whether it is there
        return std::nullopt;
    }
    constexpr auto kMax = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
    const std::uint64_t size = space.value.fragmentSize;
    const std::uint64_t blocks = space.value.availableBlocks;
    const std::int64_t free = size != 0 && blocks > kMax / size
                                  ? std::numeric_limits<std::int64_t>::max()
                                  : static_cast<std::int64_t>(blocks * size);
    impl_->space.found(free, writtenBefore);
    return free;
}

std::unique_ptr<InputFile> SftpFileSystem::openRead(std::string_view path, FsResult& result,
                                                    LinkPolicy links) {
    const ServerTarget target = impl_->plainEntryToChange(path, exactLast_);
    result = target.result;
    if (!target.ok())
        return nullptr;
    if (target.isLink() && links == LinkPolicy::Refuse) {
        result = refusal::aLink();
        return nullptr;
    }
    if (target.isFolder()) {
        result = refusal::folderNotFile();
        return nullptr;
    }
    std::shared_ptr<Client> client = impl_->client(result);
    if (!client)
        return nullptr;
    Outcome<Handle> opened = await(client->open(target.host, open_flags::kRead, {}));
    if (!opened.ok()) {
        result = resultOf(*opened.error);
        return nullptr;
    }
    const Outcome<Attributes> info = await(client->fstat(opened.value));
    const mode_t mode = info.ok() ? info.value.permissions.value_or(0) : 0;
    if (!info.ok() || !S_ISREG(mode)) {
        client->close(opened.value);
        result = !info.ok()      ? resultOf(*info.error)
                 : S_ISDIR(mode) ? refusal::folderNotFile()
                                 : FsResult{FsStatus::Unsupported, "not a regular file"};
        return nullptr;
    }
    result = FsResult::success();
    return std::make_unique<SftpInputFile>(std::move(client), std::move(opened.value),
                                           static_cast<std::int64_t>(info.value.size.value_or(0)),
                                           impl_->identityOf(target.host));
}

std::unique_ptr<OutputFile> SftpFileSystem::createFresh(std::string_view path, FsResult& result) {
    const Impl::Changing changing(*impl_);
    // The file sticks to this session: its writes, fsync and close follow one another there.
    std::shared_ptr<Client> client = impl_->client(result);
    if (!client)
        return nullptr;
    // Never a weaker copy: without these the copy could be neither flushed nor put in place in
    // one step.
    for (const char* extension : {kPosixRename, kFsync}) {
        if (!client->hasExtension(extension, "1")) {
            result = extensionMissing(extension);
            return nullptr;
        }
    }
    // The folder is asked about as written while the name is looked for; asked again only when
    // it goes by another case on the server.
    HostRoute route;
    if (!impl_->parse(path, route, result))
        return nullptr;
    std::string guessed = route.base;
    for (std::size_t i = 0; i + 1 < route.components.size(); ++i)
        guessed = joinHost(guessed, route.components[i]);
    SftpFileSystem::Impl::LinkCheck check = impl_->askNoLinkTo(guessed);
    ServerTarget target = impl_->locate(path, Need::Creatable, exactLast_);
    result = target.result;
    if (!target.ok())
        return nullptr;
    if (!target.driveFolder) {
        const std::string folder = parentOf(target.host);
        result = folder == guessed ? impl_->noLinkTo(std::move(check)) : impl_->noLinkTo(folder);
        if (!result.ok())
            return nullptr;
    }
    if (target.driveFolder) {
        result = refusal::folderHasThatName();
        return nullptr;
    }
    Attributes fresh;
    fresh.permissions = kFreshFileMode;
    constexpr std::uint32_t kFlags =
        open_flags::kWrite | open_flags::kCreate | open_flags::kExclusive;
    Outcome<Handle> opened;
    for (bool lookedAgain = false;; lookedAgain = true) {
        if (!target.missing) {
            result = removeLeftover(*client, target.host, *target.status, std::time(nullptr));
            if (!result.ok())
                return nullptr;
            impl_->resolver.nameRemoved(target.host);
        }
        // EXCL fails on any name planted since the look above, a link included.
        opened = await(client->open(target.host, kFlags, fresh));
        if (opened.ok())
            break;
        const HostLookup there = impl_->names.lookUp(target.host, LinkHandling::Inspect);
        if (lookedAgain || opened.error->lost || there.outcome != HostLookup::Outcome::Found) {
            result = resultOf(*opened.error);
            return nullptr;
        }
        target.missing = false; // taken meanwhile: look at what took it once more
        target.status = there.status;
    }
    impl_->resolver.nameAdded(target.host);
    result = FsResult::success();
    auto write =
        std::make_shared<SftpWrite>(std::move(client), std::move(opened.value), target.host);
    return std::make_unique<SftpOutputFile>(std::move(write), std::string(path),
                                            impl_->identityOf(target.host), impl_->writers);
}

void SftpFileSystem::dropCache(std::string_view /*path*/) {}

FsResult SftpFileSystem::flushFolder(std::string_view /*folder*/) {
    // Nothing to do: SFTP cannot flush a folder, and the rename that put a copy in place follows
    // the copy's own fsync@openssh.com, so the file is on the disk before its name is.
    return FsResult::success();
}

FsResult SftpFileSystem::setStamp(std::string_view path, DosStamp stamp) {
    const Impl::Changing changing(*impl_);
    const std::time_t time = timeFromDosStamp(stamp);
    if (time < 0 || time > static_cast<std::time_t>(std::numeric_limits<std::uint32_t>::max()))
        return refusal::invalidStamp();
    Attributes times;
    times.modifyTime = static_cast<std::uint32_t>(time);
    // The access time says when the file was last worked on: a copy stamped with its source's
    // old time is not taken for the leftover of an ended run before it has its name.
    times.accessTime = static_cast<std::uint32_t>(std::time(nullptr));
    if (const std::shared_ptr<SftpWrite> write = impl_->writers->writing(std::string(path))) {
        write->setAttributes(times, true); // its answer comes with the flush
        return FsResult::success();
    }
    const ServerTarget target = impl_->plainEntryToChange(path, exactLast_);
    if (!target.ok())
        return target.result;
    FsResult result;
    std::shared_ptr<Client> client = impl_->clientFor(target.host, result);
    if (!client)
        return result;
    if (!target.isLink())
        return resultOf(await(client->setstat(target.host, times)));
    // A link's own stamp, never its target's.
    if (!client->hasExtension(kLsetstat, "1"))
        return extensionMissing(kLsetstat);
    return resultOf(await(client->lsetstat(target.host, times)));
}

void SftpFileSystem::forgetCachedNames() {
    impl_->resolver.forgetAll();
    impl_->ahead.forget();
    impl_->heldChains.forget();
}

std::string SftpFileSystem::currentFolder() {
    return currentHostFolder();
}

FsResult SftpFileSystem::setCurrentFolder(std::string_view /*path*/) {
    return {FsStatus::Unsupported, "a folder on another machine cannot be the current folder"};
}

} // namespace brisko::platform::sftp
