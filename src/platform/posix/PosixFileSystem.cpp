#include "platform/posix/PosixFileSystem.h"

#include "platform/DrivePath.h"
#include "platform/ListingOrder.h"
#include "platform/Refusals.h"
#include "platform/posix/FolderStream.h"
#include "platform/posix/FolderWalk.h"
#include "platform/posix/PosixErrors.h"
#include "platform/posix/PosixFileSystemImpl.h"
#include "platform/posix/PosixFiles.h"
#include "platform/posix/TargetFiles.h"

#include <fcntl.h>
#include <limits>
#include <optional>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace brisko::platform {

namespace {

FsResult succeededIf(bool done) {
    return done ? FsResult::success() : lastFailure();
}

} // namespace

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

std::string PosixFileSystem::whyNoDrive(std::string_view path) {
    const std::string drive(drive_path::driveOrShare(path));
    const auto folder = impl_->drives.folderOfDrive(path);
    if (!folder && drive_path::isShareForm(path))
        return drive + " is not mapped to a host folder: give --share " + drive +
               "=HOSTDIR or set BRISKO_SHARES";
    if (!folder)
        return drive + " is not mapped to a host folder: give --drive " + drive.substr(0, 1) +
               "=HOSTDIR or set BRISKO_DRIVES";
    struct stat info {};
    if (::stat(folder->c_str(), &info) != 0)
        return drive + " is mapped to " + *folder + ", which " + describe(lastFailure().status);
    if (!S_ISDIR(info.st_mode))
        return drive + " is mapped to " + *folder + ", which is not a folder";
    return {};
}

bool PosixFileSystem::driveExists(std::string_view drive) {
    auto folder = impl_->drives.folderOfDrive(drive);
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
    return setPermissions(to, info.st_mode);
}

std::optional<std::uint32_t> PosixFileSystem::permissions(std::string_view path) {
    struct stat info {};
    if (!impl_->ownEntry(path, info, exactLast_).ok() || S_ISLNK(info.st_mode))
        return std::nullopt;
    return info.st_mode & 0777;
}

FsResult PosixFileSystem::setPermissions(std::string_view path, std::uint32_t bits) {
    struct stat targetInfo {};
    Target target = impl_->ownEntry(path, targetInfo, exactLast_);
    if (!target.ok() || S_ISLNK(targetInfo.st_mode))
        return target.result;
    // Only the permission bits: set-user-ID and the like are never carried over.
    const mode_t mode = bits & 0777;
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
        return refusal::folderNotFile();
    if (unlinkat(target.at(), target.entry(), 0) != 0)
        return lastFailure();
    impl_->resolver.nameRemoved(target.host);
    return FsResult::success();
}

FsResult PosixFileSystem::rename(std::string_view from, std::string_view to) {
    auto [source, target, result] = impl_->locatePair(from, to, exactLast_);
    if (!result.ok())
        return result;
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
    const auto [source, target, result] = impl_->locatePair(existing, newName, exactLast_);
    if (!result.ok())
        return result;
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
        return refusal::nameTaken();
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
            return refusal::linkHasThatName();
        if (!entry.entry.attributes.directory)
            return refusal::fileHasThatName();
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
        return refusal::linkNotFolder();
    if (!S_ISDIR(info.st_mode))
        return refusal::fileNotFolder();
    if (unlinkat(target.at(), target.entry(), AT_REMOVEDIR) != 0) {
        if (errno == EEXIST || errno == ENOTEMPTY)
            return {FsStatus::NotEmpty, systemMessage(ENOTEMPTY)};
        return lastFailure();
    }
    impl_->resolver.forgetAll();
    return FsResult::success();
}

std::optional<std::int64_t> PosixFileSystem::freeBytes(std::string_view drive) {
    auto folder = impl_->drives.folderOfDrive(drive);
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
        result = refusal::folderHasThatName();
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
        result = refusal::inUse();
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
        return refusal::invalidStamp();
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
