#include "platform/PosixFileSystem.h"

#include "platform/CaseResolver.h"
#include "platform/FolderStream.h"
#include "platform/HostEntry.h"
#include "platform/ListingOrder.h"
#include "platform/PosixErrors.h"
#include "platform/PosixFiles.h"
#include "platform/ProgramPath.h"

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

// A program path as a host path, or why it is not one.
struct Target {
    FsResult result;
    std::string host;
    std::string requestedName;         // the last name as the caller wrote it
    bool missing = false;              // (Creatable) nothing of that name exists yet
    bool driveFolder = false;          // the path names a drive's own folder: followed if a link
    std::optional<struct stat> status; // the lstat of host, when resolving read it

    bool ok() const { return result.ok(); }
    LinkHandling links() const {
        return driveFolder ? LinkHandling::Follow : LinkHandling::Inspect;
    }
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

FsResult lastFailure() {
    return resultFromErrno(errno);
}

FsResult succeededIf(bool done) {
    return done ? FsResult::success() : lastFailure();
}

// Sets the permission bits of a file or folder, never through a link: a link (even one planted
// since the name was looked at) is left as it is and counts as done.
FsResult changeModeOfEntry(const std::string& host, mode_t mode) {
    if (fchmodat(AT_FDCWD, host.c_str(), mode, AT_SYMLINK_NOFOLLOW) == 0)
        return FsResult::success();
    if (errno != EOPNOTSUPP)
        return lastFailure();
    // Either a link, or a system that cannot change a mode by name without following.
    UniqueFd fd(retryOnInterrupt([&] {
        return ::open(host.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
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
UniqueFd openRegularFile(const std::string& host, LinkHandling links, FsResult& result,
                         struct stat& info) {
    const int openFlags = O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK |
                          (links == LinkHandling::Follow ? 0 : O_NOFOLLOW);
    UniqueFd fd(retryOnInterrupt([&] { return ::open(host.c_str(), openFlags); }));
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
FsResult removeUnheldFile(const std::string& host) {
    UniqueFd fd(retryOnInterrupt([&] {
        return ::open(host.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
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
        if (lstat(host.c_str(), &named) == 0 &&
            (named.st_dev != info.st_dev || named.st_ino != info.st_ino))
            return inUse(); // another run replaced it meanwhile
    } else if (errno == ELOOP) {
        return refusalToReplace(S_IFLNK);
    } else if (errno == ENOENT) {
        return FsResult::success();
    } else if (errno == EACCES) {
        // Not readable, so not a file that a run writes: it is replaced without a look.
        if (lstat(host.c_str(), &info) != 0)
            return errno == ENOENT ? FsResult::success() : lastFailure();
        if (!S_ISREG(info.st_mode))
            return refusalToReplace(info.st_mode);
    } else {
        return lastFailure();
    }
    if (unlink(host.c_str()) != 0 && errno != ENOENT)
        return lastFailure();
    return FsResult::success();
}

} // namespace

struct PosixFileSystem::Impl {
    explicit Impl(DriveMap map) : drives(std::move(map)) {}

    DriveMap drives;
    PosixHostNames hostNames;
    CaseResolver resolver{hostNames};

    // Takes a program path apart and matches it against the disk.
    Resolution resolve(std::string_view path, ParsedPath& parsed, bool exactLast) {
        std::string current;
        if (isRelativeProgramPath(path)) {
            current = currentHostFolder();
            if (current.empty()) {
                Resolution failed;
                failed.result = {FsStatus::NotFound, "the current folder no longer exists"};
                parsed.result = failed.result;
                return failed;
            }
        }
        parsed = parseProgramPath(path, drives, current);
        if (!parsed.result.ok()) {
            Resolution failed;
            failed.result = parsed.result;
            return failed;
        }
        return resolver.resolve(parsed.route, exactLast);
    }

    Target locate(std::string_view path, Need need, bool exactLast) {
        ParsedPath parsed;
        Resolution resolution = resolve(path, parsed, exactLast);
        Target target;
        if (!parsed.result.ok()) {
            target.result = parsed.result;
            return target;
        }
        const auto& names = parsed.route.components;
        target.result = resolution.result;
        target.host = resolution.host;
        target.driveFolder = names.empty();
        target.status = resolution.status;
        if (!names.empty())
            target.requestedName = names.back();
        if (need == Need::Creatable && resolution.onlyLastMissing()) {
            target.result = FsResult::success();
            target.missing = true;
        }
        return target;
    }

    // An existing file, folder or link (a link is the entry itself, not its target); anything
    // else is refused.
    Target plainEntry(std::string_view path, HostEntry& entry, bool exactLast) {
        Target target = locate(path, Need::Existing, exactLast);
        if (!target.ok())
            return target;
        if (target.status && target.links() == LinkHandling::Inspect) {
            DosStampCache stamps;
            entry = inspectEntry(*target.status, AT_FDCWD, target.host.c_str(),
                                 lastName(target.host), stamps);
        } else {
            entry =
                inspectEntry(AT_FDCWD, target.host.c_str(), lastName(target.host), target.links());
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
        const int flags = target.driveFolder ? 0 : AT_SYMLINK_NOFOLLOW;
        if (fstatat(AT_FDCWD, target.host.c_str(), &info, flags) != 0)
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
    Target target = impl_->locate(path, Need::Creatable, exactLast_);
    if (target.ok() || (target.driveFolder && target.result.status == FsStatus::NotFound))
        return target.host;
    return std::nullopt;
}

Listing PosixFileSystem::list(std::string_view folder) {
    Listing listing;
    Target target = impl_->locate(folder, Need::Existing, exactLast_);
    if (!target.ok()) {
        listing.result = target.result;
        return listing;
    }
    FolderStream stream(target.host, target.driveFolder ? FinalLink::Follow : FinalLink::Refuse);
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
    if (target.status && !target.driveFolder)
        info = *target.status; // looked at while the path was matched
    else if (lstat(target.host.c_str(), &info) != 0)
        return std::nullopt;
    return FileIdentity{static_cast<std::uint64_t>(info.st_dev),
                        static_cast<std::uint64_t>(info.st_ino)};
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
    return changeModeOfEntry(target.host, mode & 07777);
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
    return changeModeOfEntry(target.host, mode);
}

FsResult PosixFileSystem::removeFile(std::string_view path) {
    Target target = impl_->locate(path, Need::Existing, exactLast_);
    if (!target.ok())
        return target.result;
    struct stat info {};
    if (lstat(target.host.c_str(), &info) != 0)
        return lastFailure();
    if (S_ISDIR(info.st_mode))
        return {FsStatus::NotAFolder, "a folder, not a file"};
    if (unlink(target.host.c_str()) != 0)
        return lastFailure();
    impl_->resolver.nameRemoved(target.host);
    return FsResult::success();
}

FsResult PosixFileSystem::rename(std::string_view from, std::string_view to) {
    Target source = impl_->locate(from, Need::Existing, exactLast_);
    if (!source.ok())
        return source.result;
    Target target = impl_->locate(to, Need::Creatable, exactLast_);
    if (!target.ok())
        return target.result;
    if (target.host == source.host && lastName(target.host) != target.requestedName)
        target.host = joinHost(parentOf(target.host), target.requestedName); // a change of case
    struct stat info {};
    if (source.status && !source.driveFolder)
        info = *source.status; // looked at while the path was matched
    else if (lstat(source.host.c_str(), &info) != 0)
        return lastFailure();
    if (::rename(source.host.c_str(), target.host.c_str()) != 0)
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
    Target target = impl_->locate(newName, Need::Creatable, exactLast_);
    if (!target.ok())
        return target.result;
    if (::link(source.host.c_str(), target.host.c_str()) != 0) {
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
    if (symlink(std::string(targetText).c_str(), target.host.c_str()) != 0)
        return lastFailure();
    impl_->resolver.nameAdded(target.host);
    return FsResult::success();
}

FsResult PosixFileSystem::createFolders(std::string_view path) {
    ParsedPath parsed;
    Resolution resolution = impl_->resolve(path, parsed, exactLast_);
    if (resolution.result.ok()) {
        HostEntry entry =
            inspectEntry(AT_FDCWD, resolution.host.c_str(), "",
                         resolution.count == 0 ? LinkHandling::Follow : LinkHandling::Inspect);
        if (!entry.result.ok())
            return entry.result;
        if (entry.entry.attributes.link)
            return {FsStatus::Unsupported, "a symbolic link has that name"};
        if (!entry.entry.attributes.directory)
            return {FsStatus::NotAFolder, "a file has that name"};
        return FsResult::success();
    }
    if (resolution.result.status != FsStatus::NotFound || resolution.count == 0)
        return resolution.result;
    impl_->resolver.forgetAll();
    std::string folder = resolution.existing;
    for (std::size_t i = resolution.found; i < resolution.count; ++i) {
        folder = joinHost(folder, parsed.route.components[i]);
        if (mkdir(folder.c_str(), 0777) == 0)
            continue;
        struct stat info {};
        if (errno != EEXIST)
            return lastFailure();
        if (lstat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
            return {FsStatus::NotAFolder, "a file has that name"};
    }
    return FsResult::success();
}

FsResult PosixFileSystem::removeFolder(std::string_view path) {
    Target target = impl_->locate(path, Need::Existing, exactLast_);
    if (!target.ok())
        return target.result;
    struct stat info {};
    if (lstat(target.host.c_str(), &info) != 0)
        return lastFailure();
    if (S_ISLNK(info.st_mode))
        return {FsStatus::Unsupported, "a symbolic link, not a folder"};
    if (!S_ISDIR(info.st_mode))
        return {FsStatus::NotAFolder, "a file, not a folder"};
    if (rmdir(target.host.c_str()) != 0) {
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
    UniqueFd fd = openRegularFile(
        target.host, follow ? LinkHandling::Follow : LinkHandling::Inspect, result, info);
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
            result = removeUnheldFile(target.host);
            if (!result.ok())
                return nullptr;
            impl_->resolver.nameRemoved(target.host);
        }
        // O_EXCL never follows a link and fails on any name planted since the check above.
        fd = UniqueFd(retryOnInterrupt([&] {
            return ::open(target.host.c_str(),
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
    UniqueFd fd = openRegularFile(target.host, LinkHandling::Inspect, ignored, info);
    if (fd.valid())
        posix_fadvise(fd.get(), 0, 0, POSIX_FADV_DONTNEED);
}

FsResult PosixFileSystem::flushFolder(std::string_view folder) {
    Target target = impl_->locate(folder, Need::Existing, exactLast_);
    if (!target.ok())
        return target.result;
    FolderStream stream(target.host, target.driveFolder ? FinalLink::Follow : FinalLink::Refuse);
    if (!stream.ok())
        return stream.result();
    // Some file systems cannot flush a folder; there is nothing more to be done there.
    if (retryOnInterrupt([&] { return fsync(stream.fd()); }) != 0 && errno != EINVAL &&
        errno != EROFS)
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
    const int flags = target.driveFolder ? 0 : AT_SYMLINK_NOFOLLOW;
    return succeededIf(retryOnInterrupt([&] {
                           return utimensat(AT_FDCWD, target.host.c_str(), times, flags);
                       }) == 0);
}

void PosixFileSystem::forgetCachedNames() {
    impl_->resolver.forgetAll();
}

std::string PosixFileSystem::currentFolder() {
    return currentHostFolder();
}

FsResult PosixFileSystem::setCurrentFolder(std::string_view path) {
    Target target = impl_->locate(path, Need::Existing, exactLast_);
    if (!target.ok())
        return target.result;
    return succeededIf(chdir(target.host.c_str()) == 0);
}

} // namespace brisko::platform
