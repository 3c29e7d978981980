#include "platform/PosixFileSystem.h"

#include "platform/CaseResolver.h"
#include "platform/FolderStream.h"
#include "platform/FolderWalk.h"
#include "platform/HostEntry.h"
#include "platform/ListingOrder.h"
#include "platform/PosixErrors.h"
#include "platform/PosixFiles.h"
#include "platform/ProgramPath.h"
#include "platform/WalkedFolders.h"

#include <algorithm>
#include <climits>
#include <fcntl.h>
#include <limits>
#include <optional>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace brisko::platform {

namespace {

enum class Need {
    Existing,  // the path must name something that exists
    Creatable, // its last name may be missing: something is about to be made there
};

// A program path as a host path, or why it is not one. Calls on it are made relative to the
// folder that holds its last name, reached one folder at a time from the drive's own folder
// without following a link on the way (a host path follows them, as the system does).
struct Target {
    FsResult result;
    std::string host;
    std::string requestedName;         // the last name as the caller wrote it
    bool missing = false;              // (Creatable) nothing of that name exists yet
    bool driveFolder = false;          // the path names a drive's own folder: followed if a link
    std::optional<struct stat> status; // the entry's own status, when resolving read it
    HeldFolder folder;                 // the folder holding name; none for a drive's own folder
    std::string name;                  // the last name within folder, as on disk
    std::string folderKey;             // the folder as the path wrote it (see folderKeyOf)

    bool ok() const { return result.ok(); }
    LinkHandling links() const {
        return driveFolder ? LinkHandling::Follow : LinkHandling::Inspect;
    }
    // The folder and name for the *at() calls: the whole host path for a drive's own folder.
    int at() const { return folder.valid() ? folder.get() : AT_FDCWD; }
    const char* entry() const { return folder.valid() ? name.c_str() : host.c_str(); }
    // The flag of the *at() calls that do not follow a link at the last name.
    int noFollow() const { return driveFolder ? 0 : AT_SYMLINK_NOFOLLOW; }
};

std::string lastName(const std::string& host) {
    const auto slash = host.rfind('/');
    return slash == std::string::npos ? host : host.substr(slash + 1);
}

std::string parentOf(const std::string& host) {
    const auto slash = host.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? std::string("/") : host.substr(0, slash);
}

// The host path of names below base.
std::string joinNames(const std::string& base, const std::vector<std::string>& names,
                      std::size_t count) {
    std::string host = base;
    for (std::size_t i = 0; i < count && i < names.size(); ++i)
        host = joinHost(host, names[i]);
    return host;
}

std::string joinNames(const std::string& base, const std::vector<std::string>& names) {
    return joinNames(base, names, names.size());
}

// The names of host below base (host begins with base).
std::vector<std::string> namesBelow(const std::string& base, const std::string& host) {
    std::vector<std::string> names;
    for (std::size_t start = std::min(base.size(), host.size()); start < host.size();) {
        const std::size_t end = std::min(host.find('/', start), host.size());
        if (end > start)
            names.push_back(host.substr(start, end - start));
        start = end + 1;
    }
    return names;
}

// The folder of a parsed path's last name as written: two paths with the same key name the same
// folder.
std::string folderKeyOf(const ParsedPath& parsed) {
    const auto& names = parsed.route.components;
    std::string key = parsed.route.base;
    key += parsed.driveForm ? '|' : '/';
    for (std::size_t i = 0; i + 1 < names.size(); ++i)
        key += names[i] + '/';
    return key;
}

FsResult lastFailure() {
    return resultFromErrno(errno);
}

// The lstat of a target: the one read while its path was matched, else read now (false, errno
// set, when it cannot be).
bool linkStatus(const Target& target, struct stat& info) {
    if (target.status && !target.driveFolder) {
        info = *target.status;
        return true;
    }
    return fstatat(target.at(), target.entry(), &info, AT_SYMLINK_NOFOLLOW) == 0;
}

FsResult succeededIf(bool done) {
    return done ? FsResult::success() : lastFailure();
}

// Sets the permission bits of a file or folder, never through a link: a link (even one planted
// since the name was looked at) is left as it is and counts as done.
FsResult changeModeOfEntry(const Target& target, mode_t mode) {
    if (fchmodat(target.at(), target.entry(), mode, AT_SYMLINK_NOFOLLOW) == 0)
        return FsResult::success();
    if (errno != EOPNOTSUPP)
        return lastFailure();
    // Either a link, or a system that cannot change a mode by name without following.
    UniqueFd fd(retryOnInterrupt([&] {
        return ::openat(target.at(), target.entry(),
                        O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    }));
    if (!fd.valid())
        return errno == ELOOP ? FsResult::success() : lastFailure();
    return succeededIf(fchmod(fd.get(), mode) == 0);
}

std::string currentHostFolder() {
    std::string buffer(PATH_MAX, '\0');
    for (;;) {
        if (getcwd(buffer.data(), buffer.size()) != nullptr)
            return buffer.c_str();
        if (errno != ERANGE)
            return std::string();
        buffer.resize(buffer.size() * 2);
    }
}

// Opens an existing regular file; a FIFO is never waited on. A link at the last name is
// followed only when links say so.
UniqueFd openRegularFile(const Target& target, LinkHandling links, FsResult& result,
                         struct stat& info) {
    const int openFlags = O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK |
                          (links == LinkHandling::Follow ? 0 : O_NOFOLLOW);
    UniqueFd fd(retryOnInterrupt([&] { return ::openat(target.at(), target.entry(), openFlags); }));
    if (!fd.valid() && errno == ELOOP && links == LinkHandling::Inspect) {
        result = {FsStatus::Unsupported, "a symbolic link"};
        return {};
    }
    if (!fd.valid() || fstat(fd.get(), &info) != 0) {
        result = lastFailure();
        return {};
    }
    if (S_ISDIR(info.st_mode)) {
        result = {FsStatus::NotAFolder, "a folder, not a file"};
        return {};
    }
    if (!S_ISREG(info.st_mode)) {
        result = {FsStatus::Unsupported, "not a regular file"};
        return {};
    }
    // Reads wait again as usual; the other flags are the ones it was opened with.
    if (fcntl(fd.get(), F_SETFL, openFlags & ~O_NONBLOCK) == -1) {
        result = lastFailure();
        return {};
    }
    result = FsResult::success();
    return fd;
}

// Why an existing name cannot be replaced by a new regular file.
FsResult refusalToReplace(mode_t mode) {
    if (S_ISDIR(mode))
        return {FsStatus::NotAFolder, "a folder has that name"};
    if (S_ISLNK(mode))
        return {FsStatus::Unsupported, "a symbolic link has that name"};
    return {FsStatus::Unsupported, "a device, pipe or socket has that name"};
}

FsResult inUse() {
    return {FsStatus::InUse, "another copy is in progress there"};
}

// Takes the exclusive advisory lock of an open file without waiting. False only when another
// holder has it: a file system without such locks has no holder to tell of.
bool takeLock(int fd) {
    return flock(fd, LOCK_EX | LOCK_NB) == 0 || errno != EWOULDBLOCK;
}

// Removes the regular file at host so that a new one can take its name, unless a live run is
// writing it (it holds the file's lock). The lock is taken, and held while the name is removed,
// so that no run starts writing it meanwhile. Anything but a regular file is left alone.
FsResult removeUnheldFile(const Target& target) {
    UniqueFd fd(retryOnInterrupt([&] {
        return ::openat(target.at(), target.entry(),
                        O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    }));
    struct stat info {};
    if (fd.valid()) {
        if (fstat(fd.get(), &info) != 0)
            return lastFailure();
        if (!S_ISREG(info.st_mode))
            return refusalToReplace(info.st_mode);
        if (!takeLock(fd.get()))
            return inUse();
        struct stat named {};
        if (fstatat(target.at(), target.entry(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
            (named.st_dev != info.st_dev || named.st_ino != info.st_ino))
            return inUse(); // another run replaced it meanwhile
    } else if (errno == ELOOP) {
        return refusalToReplace(S_IFLNK);
    } else if (errno == ENOENT) {
        return FsResult::success();
    } else if (errno == EACCES) {
        // Not readable, so not a file that a run writes: it is replaced without a look.
        if (fstatat(target.at(), target.entry(), &info, AT_SYMLINK_NOFOLLOW) != 0)
            return errno == ENOENT ? FsResult::success() : lastFailure();
        if (!S_ISREG(info.st_mode))
            return refusalToReplace(info.st_mode);
    } else {
        return lastFailure();
    }
    if (unlinkat(target.at(), target.entry(), 0) != 0 && errno != ENOENT)
        return lastFailure();
    return FsResult::success();
}

} // namespace

struct PosixFileSystem::Impl {
    explicit Impl(DriveMap map) : drives(std::move(map)) {}

    DriveMap drives;
    PosixHostNames hostNames;
    CaseResolver resolver{hostNames};
    WalkedFolders walkedFolders;

    // Takes a program path apart; false (parsed.result says why) when it is not one.
    bool parse(std::string_view path, ParsedPath& parsed) {
        std::string current;
        if (isRelativeProgramPath(path)) {
            current = currentHostFolder();
            if (current.empty()) {
                parsed.result = {FsStatus::NotFound, "the current folder no longer exists"};
                return false;
            }
        }
        parsed = parseProgramPath(path, drives, current);
        return parsed.result.ok();
    }

    static LinkHandling onTheWay(const ParsedPath& parsed) {
        return parsed.driveForm ? LinkHandling::Inspect : LinkHandling::Follow;
    }

    // The folder of names[0, count) below the route's base, reached without a link on the way
    // (for drive-form paths); a folder walked before is taken again while its path still leads
    // to it.
    HeldFolder walkTo(const ParsedPath& parsed, const std::vector<std::string>& names,
                      std::size_t count, FsResult& result) {
        const LinkHandling links = onTheWay(parsed);
        if (links == LinkHandling::Follow)
            return HeldFolder(walkFolders(parsed.route.base, names, count, links, result));
        const std::string host = joinNames(parsed.route.base, names, count);
        if (HeldFolder kept = walkedFolders.find(host); kept.valid()) {
            result = FsResult::success();
            return kept;
        }
        HeldFolder folder(walkFolders(parsed.route.base, names, count, links, result));
        walkedFolders.keep(host, folder);
        return folder;
    }

    // Matches a route against the disk and opens the folder of its last name into target. The
    // names are walked as written first; only when something is not there as written does the
    // resolver match them by case, and the names it found are walked.
    // When sibling (the other path of a call that takes two) is in the same folder, its handle
    // is shared instead of walking again.
    Resolution reach(const ParsedPath& parsed, bool exactLast, Target& target,
                     const Target* sibling) {
        const HostRoute& route = parsed.route;
        const auto& names = route.components;
        if (names.empty())
            return resolver.resolve(route, exactLast); // the drive's own folder
        const std::size_t folders = names.size() - 1;
        FsResult walked;
        HeldFolder folder;
        target.folderKey = folderKeyOf(parsed);
        if (sibling != nullptr && sibling->folder.valid() && sibling->folderKey == target.folderKey)
            folder = sibling->folder;
        if (!folder.valid())
            folder = walkTo(parsed, names, folders, walked);
        struct stat info {};
        if (folder.valid()) {
            if (fstatat(folder.get(), names.back().c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0) {
                Resolution found;
                found.count = found.found = names.size();
                found.host = found.existing = joinNames(route.base, names);
                found.status = info;
                target.folder = std::move(folder);
                target.name = names.back();
                return found;
            }
            walked = lastFailure();
        }
        if (walked.status != FsStatus::NotFound) {
            Resolution failed;
            failed.result = std::move(walked);
            failed.count = names.size();
            failed.host = joinNames(route.base, names);
            return failed;
        }
        Resolution resolution = resolver.resolveAbsent(route, exactLast);
        if (!resolution.result.ok() && !resolution.onlyLastMissing())
            return resolution;
        const std::vector<std::string> onDisk = namesBelow(route.base, resolution.host);
        if (onDisk.size() != names.size()) {
            resolution.result = {FsStatus::InvalidName, "a name the path cannot carry"};
            return resolution;
        }
        if (!folder.valid() ||
            !std::equal(names.begin(), names.begin() + folders, onDisk.begin())) {
            folder = walkTo(parsed, onDisk, folders, walked);
            if (!folder.valid()) {
                resolution.result = std::move(walked);
                return resolution;
            }
        }
        if (resolution.result.ok()) {
            if (fstatat(folder.get(), onDisk.back().c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
                resolution.result = lastFailure();
                return resolution;
            }
            resolution.status = info;
        }
        target.folder = std::move(folder);
        target.name = onDisk.back();
        return resolution;
    }

    Target locate(std::string_view path, Need need, bool exactLast,
                  const Target* sibling = nullptr) {
        Target target;
        ParsedPath parsed;
        if (!parse(path, parsed)) {
            target.result = parsed.result;
            return target;
        }
        const auto& names = parsed.route.components;
        Resolution resolution = reach(parsed, exactLast, target, sibling);
        target.result = resolution.result;
        target.host = resolution.host;
        target.driveFolder = names.empty();
        target.status = resolution.status;
        if (!names.empty())
            target.requestedName = names.back();
        // Something is made only in a folder that the walk reached.
        if (need == Need::Creatable && resolution.onlyLastMissing() && target.folder.valid()) {
            target.result = FsResult::success();
            target.missing = true;
        }
        return target;
    }

    // Makes the folders of a path that are missing, each below the one before.
    FsResult makeFolders(std::string_view path, bool exactLast) {
        ParsedPath parsed;
        if (!parse(path, parsed))
            return parsed.result;
        const HostRoute& route = parsed.route;
        Resolution resolution = resolver.resolveAbsent(route, exactLast);
        if (resolution.result.status != FsStatus::NotFound || resolution.count == 0)
            return resolution.result;
        resolver.forgetAll();
        const std::vector<std::string> existing = namesBelow(route.base, resolution.existing);
        FsResult result;
        UniqueFd folder =
            walkFolders(route.base, existing, existing.size(), onTheWay(parsed), result);
        for (std::size_t i = resolution.found; i < resolution.count && folder.valid(); ++i) {
            const char* name = route.components[i].c_str();
            if (mkdirat(folder.get(), name, 0777) != 0 && errno != EEXIST)
                return lastFailure();
            folder = openFolderAt(folder.get(), name, onTheWay(parsed), O_PATH, result);
        }
        if (result.status == FsStatus::NotAFolder)
            return {FsStatus::NotAFolder, "a file has that name"};
        if (result.status == FsStatus::Unsupported)
            return {FsStatus::Unsupported, "a symbolic link is on the way"};
        return result;
    }

    // An existing file, folder or link (a link is the entry itself, not its target); anything
    // else is refused.
    Target plainEntry(std::string_view path, HostEntry& entry, bool exactLast) {
        Target target = locate(path, Need::Existing, exactLast);
        if (!target.ok())
            return target;
        if (target.status && !target.driveFolder) {
            DosStampCache stamps;
            entry = inspectEntry(*target.status, target.at(), target.entry(), lastName(target.host),
                                 stamps);
        } else {
            entry =
                inspectEntry(target.at(), target.entry(), lastName(target.host), target.links());
        }
        target.result = entry.result;
        return target;
    }

    Target plainEntry(std::string_view path, bool exactLast) {
        HostEntry ignored;
        return plainEntry(path, ignored, exactLast);
    }

    // The same, with the entry's own status (a link's, not its target's; a drive's own folder
    // followed).
    Target ownEntry(std::string_view path, struct stat& info, bool exactLast) {
        Target target = plainEntry(path, exactLast);
        if (!target.ok())
            return target;
        if (target.status && !target.driveFolder) {
            info = *target.status;
            return target;
        }
        if (fstatat(target.at(), target.entry(), &info, target.noFollow()) != 0)
            target.result = lastFailure();
        return target;
    }
};

PosixFileSystem::PosixFileSystem(DriveMap drives)
    : impl_(std::make_shared<Impl>(std::move(drives))) {}

PosixFileSystem::PosixFileSystem(std::shared_ptr<Impl> impl, bool exactLast)
    : impl_(std::move(impl)), exactLast_(exactLast) {}

FileSystem& PosixFileSystem::exactNames() {
    if (exactLast_)
        return *this;
    if (!exactView_)
        exactView_.reset(new PosixFileSystem(impl_, true));
    return *exactView_;
}

PosixFileSystem::~PosixFileSystem() = default;

const DriveMap& PosixFileSystem::drives() const {
    return impl_->drives;
}

std::optional<std::string> PosixFileSystem::hostPath(std::string_view path) {
    // Only names are wanted here: nothing is opened.
    ParsedPath parsed;
    if (!impl_->parse(path, parsed))
        return std::nullopt;
    const Resolution resolution = impl_->resolver.resolve(parsed.route, exactLast_);
    if (resolution.result.ok() || resolution.onlyLastMissing() ||
        (parsed.route.components.empty() && resolution.result.status == FsStatus::NotFound))
        return resolution.host;
    return std::nullopt;
}

Listing PosixFileSystem::list(std::string_view folder) {
    Listing listing;
    Target target = impl_->locate(folder, Need::Existing, exactLast_);
    if (!target.ok()) {
        listing.result = target.result;
        return listing;
    }
    FolderStream stream(target.at(), target.entry(),
                        target.driveFolder ? FinalLink::Follow : FinalLink::Refuse);
    DosStampCache stamps;
    while (const char* name = stream.next()) {
        const std::string_view view(name);
        if (view == "." || view == "..")
            continue;
        if (view.find('\\') != std::string_view::npos) {
            listing.skipped.push_back({std::string(view), "name contains a backslash"});
            continue;
        }
        HostEntry entry = inspectEntry(stream.fd(), name, view, LinkHandling::Inspect, stamps);
        if (entry.result.ok())
            listing.entries.push_back(std::move(entry.entry));
        else if (entry.result.status != FsStatus::NotFound) // gone since it was listed
            listing.skipped.push_back({std::string(view), std::move(entry.reason), entry.special});
    }
    listing.result = stream.result();
    if (!listing.result.ok())
        return listing; // a partial listing must never pass for the whole folder
    impl_->resolver.forgetListing(target.host);
    sortListing(listing);
    return listing;
}

PathInfo PosixFileSystem::stat(std::string_view path) {
    PathInfo info;
    HostEntry entry;
    Target target = impl_->plainEntry(path, entry, exactLast_);
    info.result = target.result;
    if (target.ok())
        info.entry = std::move(entry.entry);
    return info;
}

std::optional<FileIdentity> PosixFileSystem::identityOf(std::string_view path) {
    Target target = impl_->locate(path, Need::Existing, exactLast_);
    if (!target.ok())
        return std::nullopt;
    struct stat info {};
    if (!linkStatus(target, info))
        return std::nullopt;
    return FileIdentity{static_cast<std::uint64_t>(info.st_dev),
                        static_cast<std::uint64_t>(info.st_ino)};
}

std::string PosixFileSystem::whyNoDrive(char letter) {
    const std::string drive = std::string(1, letter) + ":";
    const auto folder = impl_->drives.hostFolder(letter);
    if (!folder)
        return drive + " is not mapped to a host folder: give --drive " + std::string(1, letter) +
               "=HOSTDIR or set BRISKO_DRIVES";
    struct stat info {};
    if (::stat(folder->c_str(), &info) != 0)
        return drive + " is mapped to " + *folder + ", which " + describe(lastFailure().status);
    if (!S_ISDIR(info.st_mode))
        return drive + " is mapped to " + *folder + ", which is not a folder";
    return {};
}

bool PosixFileSystem::driveExists(char letter) {
    auto folder = impl_->drives.hostFolder(letter);
    struct stat info {};
    return folder && ::stat(folder->c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

FsResult PosixFileSystem::setReadOnly(std::string_view path, bool readOnly) {
    struct stat info {};
    Target target = impl_->ownEntry(path, info, exactLast_);
    if (!target.ok() || S_ISLNK(info.st_mode))
        return target.result;
    constexpr mode_t kAnyWrite = S_IWUSR | S_IWGRP | S_IWOTH;
    const mode_t mode = readOnly ? (info.st_mode & ~kAnyWrite) : (info.st_mode | S_IWUSR);
    if ((mode & 07777) == (info.st_mode & 07777))
        return FsResult::success();
    return changeModeOfEntry(target, mode & 07777);
}

FsResult PosixFileSystem::clearAttributes(std::string_view path) {
    return setReadOnly(path, false);
}

FsResult PosixFileSystem::copyAttributes(std::string_view from, std::string_view to) {
    struct stat info {};
    Target source = impl_->ownEntry(from, info, exactLast_);
    if (!source.ok() || S_ISLNK(info.st_mode))
        return source.result;
    struct stat targetInfo {};
    Target target = impl_->ownEntry(to, targetInfo, exactLast_);
    if (!target.ok() || S_ISLNK(targetInfo.st_mode))
        return target.result;
    // Only the permission bits: set-user-ID and the like are never carried over.
    const mode_t mode = info.st_mode & 0777;
    if ((targetInfo.st_mode & 07777) == mode)
        return FsResult::success(); // already so: spares opening the file to change nothing
    return changeModeOfEntry(target, mode);
}

FsResult PosixFileSystem::removeFile(std::string_view path) {
    Target target = impl_->locate(path, Need::Existing, exactLast_);
    if (!target.ok())
        return target.result;
    struct stat info {};
    if (!linkStatus(target, info))
        return lastFailure();
    if (S_ISDIR(info.st_mode))
        return {FsStatus::NotAFolder, "a folder, not a file"};
    if (unlinkat(target.at(), target.entry(), 0) != 0)
        return lastFailure();
    impl_->resolver.nameRemoved(target.host);
    return FsResult::success();
}

FsResult PosixFileSystem::rename(std::string_view from, std::string_view to) {
    Target source = impl_->locate(from, Need::Existing, exactLast_);
    if (!source.ok())
        return source.result;
    Target target = impl_->locate(to, Need::Creatable, exactLast_, &source);
    if (!target.ok())
        return target.result;
    if (target.host == source.host && lastName(target.host) != target.requestedName) {
        // A change of case.
        target.host = joinHost(parentOf(target.host), target.requestedName);
        target.name = target.requestedName;
    }
    struct stat info {};
    if (!linkStatus(source, info))
        return lastFailure();
    if (renameat(source.at(), source.entry(), target.at(), target.entry()) != 0)
        return lastFailure();
    if (S_ISDIR(info.st_mode)) {
        impl_->resolver.forgetAll();
    } else {
        impl_->resolver.nameRemoved(source.host);
        impl_->resolver.nameAdded(target.host);
    }
    return FsResult::success();
}

FsResult PosixFileSystem::link(std::string_view existing, std::string_view newName) {
    Target source = impl_->locate(existing, Need::Existing, exactLast_);
    if (!source.ok())
        return source.result;
    Target target = impl_->locate(newName, Need::Creatable, exactLast_, &source);
    if (!target.ok())
        return target.result;
    if (linkat(source.at(), source.entry(), target.at(), target.entry(), 0) != 0) {
        switch (errno) {
        case EPERM:
        case EXDEV:
        case EMLINK:
        case ENOTSUP:
            return {FsStatus::Unsupported, systemMessage(errno)};
        default:
            return lastFailure();
        }
    }
    impl_->resolver.nameAdded(target.host);
    return FsResult::success();
}

FsResult PosixFileSystem::createLink(std::string_view path, std::string_view targetText) {
    Target target = impl_->locate(path, Need::Creatable, exactLast_);
    if (!target.ok())
        return target.result;
    if (!target.missing)
        return {FsStatus::AlreadyExists, "the name is taken"};
    if (symlinkat(std::string(targetText).c_str(), target.at(), target.entry()) != 0)
        return lastFailure();
    impl_->resolver.nameAdded(target.host);
    return FsResult::success();
}

FsResult PosixFileSystem::createFolders(std::string_view path) {
    HostEntry entry;
    Target target = impl_->plainEntry(path, entry, exactLast_);
    if (target.ok()) {
        if (entry.entry.attributes.link)
            return {FsStatus::Unsupported, "a symbolic link has that name"};
        if (!entry.entry.attributes.directory)
            return {FsStatus::NotAFolder, "a file has that name"};
        return FsResult::success();
    }
    if (target.result.status != FsStatus::NotFound || target.driveFolder)
        return target.result;
    return impl_->makeFolders(path, exactLast_);
}

FsResult PosixFileSystem::removeFolder(std::string_view path) {
    Target target = impl_->locate(path, Need::Existing, exactLast_);
    if (!target.ok())
        return target.result;
    struct stat info {};
    if (!linkStatus(target, info))
        return lastFailure();
    if (S_ISLNK(info.st_mode))
        return {FsStatus::Unsupported, "a symbolic link, not a folder"};
    if (!S_ISDIR(info.st_mode))
        return {FsStatus::NotAFolder, "a file, not a folder"};
    if (unlinkat(target.at(), target.entry(), AT_REMOVEDIR) != 0) {
        if (errno == EEXIST || errno == ENOTEMPTY)
            return {FsStatus::NotEmpty, systemMessage(ENOTEMPTY)};
        return lastFailure();
    }
    impl_->resolver.forgetAll();
    return FsResult::success();
}

std::optional<std::int64_t> PosixFileSystem::freeBytes(char drive) {
    auto folder = impl_->drives.hostFolder(drive);
    struct statvfs info {};
    if (!folder || retryOnInterrupt([&] { return statvfs(folder->c_str(), &info); }) != 0)
        return std::nullopt;
    constexpr auto kMax = static_cast<unsigned long long>(std::numeric_limits<std::int64_t>::max());
    const auto blockSize = static_cast<unsigned long long>(info.f_frsize);
    const auto blocks = static_cast<unsigned long long>(info.f_bavail);
    if (blockSize != 0 && blocks > kMax / blockSize)
        return std::numeric_limits<std::int64_t>::max();
    return static_cast<std::int64_t>(blocks * blockSize);
}

std::unique_ptr<InputFile> PosixFileSystem::openRead(std::string_view path, FsResult& result,
                                                     LinkPolicy links) {
    Target target = impl_->locate(path, Need::Existing, exactLast_);
    result = target.result;
    if (!target.ok())
        return nullptr;
    const bool follow = links == LinkPolicy::Follow || target.driveFolder;
    struct stat info {};
    UniqueFd fd = openRegularFile(target, follow ? LinkHandling::Follow : LinkHandling::Inspect,
                                  result, info);
    if (!fd.valid())
        return nullptr;
    return std::make_unique<PosixInputFile>(std::move(fd), static_cast<std::int64_t>(info.st_size));
}

std::unique_ptr<OutputFile> PosixFileSystem::createFresh(std::string_view path, FsResult& result) {
    Target target = impl_->locate(path, Need::Creatable, exactLast_);
    result = target.result;
    if (!target.ok())
        return nullptr;
    if (target.driveFolder) {
        result = {FsStatus::NotAFolder, "a folder has that name"};
        return nullptr;
    }
    UniqueFd fd;
    for (bool lookedAgain = false;; lookedAgain = true) {
        if (!target.missing) {
            // A regular file is replaced by a new one (a second link to it, such as a backup,
            // keeps the old contents); anything else is left alone.
            result = removeUnheldFile(target);
            if (!result.ok())
                return nullptr;
            impl_->resolver.nameRemoved(target.host);
        }
        // O_EXCL never follows a link and fails on any name planted since the check above.
        fd = UniqueFd(retryOnInterrupt([&] {
            return ::openat(target.at(), target.entry(),
                            O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, 0666);
        }));
        if (fd.valid())
            break;
        if (errno != EEXIST || lookedAgain) {
            result = lastFailure();
            return nullptr;
        }
        target.missing = false; // taken meanwhile: look at what took it once more
    }
    impl_->resolver.nameAdded(target.host);
    if (!takeLock(fd.get())) { // another run found it first and is replacing it
        result = inUse();
        return nullptr;
    }
    result = FsResult::success();
    return std::make_unique<PosixOutputFile>(std::move(fd));
}

void PosixFileSystem::dropCache(std::string_view path) {
    Target target = impl_->locate(path, Need::Existing, exactLast_);
    if (!target.ok())
        return;
    FsResult ignored;
    struct stat info {};
    UniqueFd fd = openRegularFile(target, LinkHandling::Inspect, ignored, info);
    if (fd.valid())
        posix_fadvise(fd.get(), 0, 0, POSIX_FADV_DONTNEED);
}

FsResult PosixFileSystem::flushFolder(std::string_view folder) {
    Target target = impl_->locate(folder, Need::Existing, exactLast_);
    if (!target.ok())
        return target.result;
    FsResult result;
    UniqueFd fd = openFolderAt(target.at(), target.entry(), target.links(), O_RDONLY, result);
    if (!fd.valid())
        return result;
    // Some file systems cannot flush a folder; there is nothing more to be done there.
    if (retryOnInterrupt([&] { return fsync(fd.get()); }) != 0 && errno != EINVAL && errno != EROFS)
        return lastFailure();
    return FsResult::success();
}

FsResult PosixFileSystem::setStamp(std::string_view path, DosStamp stamp) {
    Target target = impl_->plainEntry(path, exactLast_);
    if (!target.ok())
        return target.result;
    const std::time_t time = timeFromDosStamp(stamp);
    if (time == static_cast<std::time_t>(-1))
        return {FsStatus::IoError, "the time stamp is not a valid local time"};
    const struct timespec times[2] = {{time, 0}, {time, 0}}; // last access, last modification
    return succeededIf(retryOnInterrupt([&] {
                           return utimensat(target.at(), target.entry(), times, target.noFollow());
                       }) == 0);
}

void PosixFileSystem::forgetCachedNames() {
    impl_->resolver.forgetAll();
    impl_->walkedFolders.clear();
}

std::string PosixFileSystem::currentFolder() {
    return currentHostFolder();
}

FsResult PosixFileSystem::setCurrentFolder(std::string_view path) {
    Target target = impl_->locate(path, Need::Existing, exactLast_);
    if (!target.ok())
        return target.result;
    FsResult result;
    UniqueFd fd = openFolderAt(target.at(), target.entry(), LinkHandling::Follow, O_PATH, result);
    if (!fd.valid())
        return result;
    return succeededIf(fchdir(fd.get()) == 0);
}

} // namespace brisko::platform
