#include "platform/win/WinFileSystem.h"

#include "platform/Refusals.h"
#include "platform/win/WinEntry.h"
#include "platform/win/WinErrors.h"
#include "platform/win/WinFiles.h"
#include "platform/win/WinHandle.h"
#include "platform/win/WinHeldFolders.h"
#include "platform/win/WinPaths.h"
#include "platform/win/WinStoredCase.h"
#include "platform/win/WinText.h"

#include <limits>

namespace brisko::platform {

namespace {

#ifndef SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE
constexpr DWORD SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE = 0x2;
#endif

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// The attributes that copying a file carries over and that clearing takes away.
constexpr DWORD kCopiedAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                                    FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE;
constexpr DWORD kClearedAttributes =
    FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

FsResult succeededIf(BOOL done) {
    return done ? FsResult::success() : lastWinFailure();
}

// Opens a name itself, never what a link points to; attribute access only unless more is asked.
WinHandle openEntry(const std::wstring& longPath, DWORD access, DWORD share = kShareAll) {
    return WinHandle(CreateFileW(longPath.c_str(), access, share, nullptr, OPEN_EXISTING,
                                 FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT,
                                 nullptr));
}

FsResult setAttributes(const WinPath& path, DWORD attributes) {
    return succeededIf(SetFileAttributesW(path.longPath.c_str(),
                                          attributes == 0 ? FILE_ATTRIBUTE_NORMAL : attributes));
}

FsResult refusalToReplace(const WinEntry& existing) {
    if (existing.isLink())
        return refusal::linkHasThatName();
    return refusal::folderHasThatName();
}

// Removes the regular file at path so that a new one can take its name, unless a live run is
// writing it: its handle refuses to share writing, so an open that refuses it too fails.
FsResult removeUnheldFile(const WinPath& path) {
    const WinEntry existing = lookUpEntry(path);
    if (existing.result.status == FsStatus::NotFound)
        return FsResult::success();
    if (!existing.result.ok())
        return existing.result;
    if (existing.isLink() || existing.entry.attributes.directory)
        return refusalToReplace(existing);
    WinHandle handle = openEntry(path.longPath, GENERIC_READ | DELETE | FILE_WRITE_ATTRIBUTES,
                                 FILE_SHARE_READ | FILE_SHARE_DELETE);
    if (!handle.valid()) {
        const DWORD error = GetLastError();
        if (error == ERROR_SHARING_VIOLATION)
            return refusal::inUse();
        return error == ERROR_FILE_NOT_FOUND ? FsResult::success() : resultFromWinError(error);
    }
    if (existing.entry.attributes.readOnly) { // a read-only file cannot be marked for deletion
        FILE_BASIC_INFO basic{};              // times of zero are left as they are
        basic.FileAttributes = existing.systemAttributes & ~DWORD{FILE_ATTRIBUTE_READONLY};
        if (basic.FileAttributes == 0)
            basic.FileAttributes = FILE_ATTRIBUTE_NORMAL;
        if (!SetFileInformationByHandle(handle.get(), FileBasicInfo, &basic, sizeof basic))
            return lastWinFailure();
    }
    FILE_DISPOSITION_INFO disposition{TRUE};
    if (!SetFileInformationByHandle(handle.get(), FileDispositionInfo, &disposition,
                                    sizeof disposition))
        return lastWinFailure();
    return FsResult::success(); // the name goes when the handle closes
}

// Why a name could not be replaced or removed. The system says only "access denied" when another
// program holds the file open without sharing its deletion: that is told apart, as "in use".
FsResult failureAt(const WinPath& path, DWORD error) {
    if (error == ERROR_ACCESS_DENIED) {
        WinHandle probe = openEntry(path.longPath, DELETE);
        if (!probe.valid() && GetLastError() == ERROR_SHARING_VIOLATION)
            error = ERROR_SHARING_VIOLATION;
    }
    return resultFromWinError(error);
}

// Whether a link's text names a folder, taken from the folder the link is in.
bool namesFolder(const WinPath& link, std::string_view targetText) {
    const std::string folder(link.display.substr(0, link.display.find_last_of('\\')));
    const WinEntry target = lookUpEntry(winPath(targetText, folder));
    return target.result.ok() && target.entry.attributes.directory;
}

} // namespace

std::optional<std::string> WinFileSystem::hostPath(std::string_view path) {
    const WinPath parsed = pathOf(path);
    if (!parsed.result.ok())
        return std::nullopt;
    return storedSpelling(parsed);
}

PathInfo WinFileSystem::stat(std::string_view path) {
    const HeldPath parsed = held(path);
    if (!parsed.ok())
        return {parsed.result(), {}};
    WinEntry found = lookUpEntry(parsed.path);
    return {std::move(found.result), std::move(found.entry)};
}

std::optional<FileIdentity> WinFileSystem::identityOf(std::string_view path) {
    const HeldPath parsed = held(path);
    if (!parsed.ok())
        return std::nullopt;
    WinHandle handle = openEntry(parsed.path.longPath, FILE_READ_ATTRIBUTES);
    return handle.valid() ? identityOfHandle(handle.get()) : std::nullopt;
}

bool WinFileSystem::driveExists(std::string_view drive) {
    const std::wstring root = driveRoot(drive);
    if (root.empty())
        return false;
    const DWORD attributes = GetFileAttributesW(root.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

FsResult WinFileSystem::setReadOnly(std::string_view path, bool readOnly) {
    const HeldPath heldPath = held(path);
    if (!heldPath.ok())
        return heldPath.result();
    const WinPath& parsed = heldPath.path;
    const WinEntry found = lookUpEntry(parsed);
    if (!found.result.ok() || found.isLink())
        return found.result;
    const DWORD attributes = readOnly ? found.systemAttributes | FILE_ATTRIBUTE_READONLY
                                      : found.systemAttributes & ~DWORD{FILE_ATTRIBUTE_READONLY};
    if (attributes == found.systemAttributes)
        return FsResult::success();
    return setAttributes(parsed, attributes);
}

FsResult WinFileSystem::clearAttributes(std::string_view path) {
    const HeldPath heldPath = held(path);
    if (!heldPath.ok())
        return heldPath.result();
    const WinPath& parsed = heldPath.path;
    const WinEntry found = lookUpEntry(parsed);
    if (!found.result.ok() || found.isLink())
        return found.result;
    if ((found.systemAttributes & kClearedAttributes) == 0)
        return FsResult::success();
    return setAttributes(parsed, found.systemAttributes & ~kClearedAttributes);
}

FsResult WinFileSystem::copyAttributes(std::string_view from, std::string_view to) {
    const PathPair paths = pathsOf(from, to);
    if (!paths.result.ok())
        return paths.result;
    const WinEntry source = lookUpEntry(paths.from.path);
    if (!source.result.ok() || source.isLink())
        return source.result;
    const WinPath& targetPath = paths.to.path;
    const WinEntry target = lookUpEntry(targetPath);
    if (!target.result.ok() || target.isLink())
        return target.result;
    const DWORD attributes = (target.systemAttributes & ~kCopiedAttributes) |
                             (source.systemAttributes & kCopiedAttributes);
    return setAttributes(targetPath, attributes);
}

FsResult WinFileSystem::removeFile(std::string_view path) {
    const HeldPath heldPath = held(path);
    if (!heldPath.ok())
        return heldPath.result();
    const WinPath& parsed = heldPath.path;
    const WinEntry found = lookUpEntry(parsed);
    if (!found.result.ok())
        return found.result;
    if (found.isFolderLink()) // the link goes, the folder it names stays
        return succeededIf(RemoveDirectoryW(parsed.longPath.c_str()));
    if (found.entry.attributes.directory)
        return refusal::folderNotFile();
    if (DeleteFileW(parsed.longPath.c_str()))
        return FsResult::success();
    return failureAt(parsed, GetLastError());
}

FsResult WinFileSystem::rename(std::string_view from, std::string_view to) {
    const PathPair paths = pathsOf(from, to);
    if (!paths.result.ok())
        return paths.result;
    const WinPath& source = paths.from.path;
    const WinPath& target = paths.to.path;
    // Written through: the call returns once the new name is on the disk.
    if (MoveFileExW(source.longPath.c_str(), target.longPath.c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return FsResult::success();
    const DWORD error = GetLastError();
    const FsResult sourceFailure = failureAt(source, error);
    return sourceFailure.status == FsStatus::InUse ? sourceFailure : failureAt(target, error);
}

FsResult WinFileSystem::link(std::string_view existing, std::string_view newName) {
    const PathPair paths = pathsOf(existing, newName);
    if (!paths.result.ok())
        return paths.result;
    const WinPath& source = paths.from.path;
    const WinPath& target = paths.to.path;
    if (CreateHardLinkW(target.longPath.c_str(), source.longPath.c_str(), nullptr))
        return FsResult::success();
    const DWORD error = GetLastError();
    switch (error) {
    case ERROR_NOT_SAME_DEVICE:
    case ERROR_INVALID_FUNCTION:
    case ERROR_NOT_SUPPORTED:
    case ERROR_TOO_MANY_LINKS:
        return {FsStatus::Unsupported, winErrorMessage(error)};
    default:
        return resultFromWinError(error);
    }
}

FsResult WinFileSystem::createLink(std::string_view path, std::string_view targetText) {
    const HeldPath heldPath = held(path);
    if (!heldPath.ok())
        return heldPath.result();
    const WinPath& parsed = heldPath.path;
    const WinEntry existing = lookUpEntry(parsed);
    if (existing.result.ok())
        return refusal::nameTaken();
    if (existing.result.status != FsStatus::NotFound)
        return existing.result;
    const std::optional<std::wstring> text = wideFromUtf8(targetText);
    if (!text || text->empty())
        return {FsStatus::InvalidName, "not a link text"};
    DWORD flags = SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE;
    if (namesFolder(parsed, targetText))
        flags |= SYMBOLIC_LINK_FLAG_DIRECTORY;
    const FsResult refused = {FsStatus::Unsupported,
                              "this system does not allow making a symbolic link here"};
    if (!CreateSymbolicLinkW(parsed.longPath.c_str(), text->c_str(), flags)) {
        const DWORD error = GetLastError();
        if (error == ERROR_PRIVILEGE_NOT_HELD || error == ERROR_INVALID_PARAMETER ||
            error == ERROR_NOT_SUPPORTED || error == ERROR_INVALID_FUNCTION)
            return refused;
        return resultFromWinError(error);
    }
    // Some systems (Wine among them) say a link was made when none was.
    return lookUpEntry(parsed).isLink() ? FsResult::success() : refused;
}

FsResult WinFileSystem::createFolders(std::string_view path) {
    const HeldPath heldPath = held(path);
    const WinPath& parsed = heldPath.path;
    if (!parsed.result.ok())
        return parsed.result;
    if (heldPath.ok()) {
        const WinEntry found = lookUpEntry(parsed);
        if (found.result.ok()) {
            if (found.isLink())
                return refusal::linkHasThatName();
            if (!found.entry.attributes.directory)
                return refusal::fileHasThatName();
            return FsResult::success();
        }
        if (found.result.status != FsStatus::NotFound || parsed.root)
            return found.result;
    } else if (heldPath.result().status != FsStatus::NotFound) {
        return heldPath.result(); // a link on the way
    }
    // Each folder on the way, from the top down; those that are there already are kept. Each
    // is held before the next is made in it, so none is made through a link.
    const std::wstring& full = parsed.longPath;
    HeldFolders folders;
    for (std::size_t end = full.find(L'\\', longPathTopEnd(full) + 1);;
         end = full.find(L'\\', end + 1)) {
        const std::wstring folder = full.substr(0, end);
        if (!CreateDirectoryW(folder.c_str(), nullptr)) {
            const DWORD error = GetLastError();
            if (error != ERROR_ALREADY_EXISTS && error != ERROR_ACCESS_DENIED)
                return resultFromWinError(error);
            const DWORD attributes = GetFileAttributesW(folder.c_str());
            if (attributes == INVALID_FILE_ATTRIBUTES)
                return resultFromWinError(error);
            if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
                return refusal::fileHasThatName();
        }
        if (const FsResult hold = folders.hold(folder); !hold.ok())
            return hold;
        if (end == std::wstring::npos)
            return FsResult::success();
    }
}

FsResult WinFileSystem::removeFolder(std::string_view path) {
    const HeldPath heldPath = held(path);
    if (!heldPath.ok())
        return heldPath.result();
    const WinPath& parsed = heldPath.path;
    const WinEntry found = lookUpEntry(parsed);
    if (!found.result.ok())
        return found.result;
    if (found.isLink())
        return refusal::linkNotFolder();
    if (!found.entry.attributes.directory)
        return refusal::fileNotFolder();
    if (RemoveDirectoryW(parsed.longPath.c_str()))
        return FsResult::success();
    const DWORD error = GetLastError();
    if (error == ERROR_DIR_NOT_EMPTY)
        return {FsStatus::NotEmpty, winErrorMessage(error)};
    return resultFromWinError(error);
}

std::optional<std::int64_t> WinFileSystem::freeBytes(std::string_view drive) {
    const std::wstring root = driveRoot(drive);
    ULARGE_INTEGER available{};
    if (root.empty() || !GetDiskFreeSpaceExW(root.c_str(), &available, nullptr, nullptr))
        return std::nullopt;
    constexpr auto kMax = static_cast<unsigned long long>(std::numeric_limits<std::int64_t>::max());
    return static_cast<std::int64_t>(std::min<unsigned long long>(available.QuadPart, kMax));
}

std::unique_ptr<InputFile> WinFileSystem::openRead(std::string_view path, FsResult& result,
                                                   LinkPolicy links) {
    const HeldPath heldPath = held(path);
    result = heldPath.result();
    if (!result.ok())
        return nullptr;
    const WinPath& parsed = heldPath.path;
    const DWORD linkFlag = links == LinkPolicy::Follow ? 0 : FILE_FLAG_OPEN_REPARSE_POINT;
    WinHandle handle(
        CreateFileW(parsed.longPath.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                    FILE_FLAG_SEQUENTIAL_SCAN | FILE_FLAG_BACKUP_SEMANTICS | linkFlag, nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!handle.valid() || !GetFileInformationByHandle(handle.get(), &info)) {
        result = lastWinFailure();
        return nullptr;
    }
    if ((info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 && linkFlag != 0) {
        FILE_ATTRIBUTE_TAG_INFO tag{};
        if (GetFileInformationByHandleEx(handle.get(), FileAttributeTagInfo, &tag, sizeof tag) &&
            (tag.ReparseTag == IO_REPARSE_TAG_SYMLINK ||
             tag.ReparseTag == IO_REPARSE_TAG_MOUNT_POINT)) {
            result = refusal::aLink();
            return nullptr;
        }
    }
    if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        result = refusal::folderNotFile();
        return nullptr;
    }
    result = FsResult::success();
    const auto size = static_cast<std::int64_t>(
        (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow);
    return std::make_unique<WinInputFile>(std::move(handle), size);
}

std::unique_ptr<OutputFile> WinFileSystem::createFresh(std::string_view path, FsResult& result) {
    const HeldPath heldPath = held(path);
    result = heldPath.result();
    if (!result.ok())
        return nullptr;
    const WinPath& parsed = heldPath.path;
    if (parsed.root) {
        result = refusal::folderHasThatName();
        return nullptr;
    }
    for (bool lookedAgain = false;; lookedAgain = true) {
        // Created new, so that nothing planted at the name is ever written through; writing
        // is not shared, which is the lock other runs respect.
        WinHandle handle(CreateFileW(parsed.longPath.c_str(), GENERIC_WRITE | DELETE,
                                     FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
        if (handle.valid()) {
            result = FsResult::success();
            return std::make_unique<WinOutputFile>(std::move(handle));
        }
        const DWORD error = GetLastError();
        if ((error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) || lookedAgain) {
            result = resultFromWinError(error);
            return nullptr;
        }
        // A regular file is replaced by a new one (a second link to it, such as a backup,
        // keeps the old contents); anything else is left alone.
        result = removeUnheldFile(parsed);
        if (!result.ok())
            return nullptr;
    }
}

// Windows has no call that drops one file's cached pages: a later read may come from memory.
void WinFileSystem::dropCache(std::string_view) {}

// NTFS journals its folder entries, and the rename that put a file in place was written
// through: there is nothing left to flush.
FsResult WinFileSystem::flushFolder(std::string_view folder) {
    const HeldPath heldFolder = held(folder);
    if (!heldFolder.ok())
        return heldFolder.result();
    return lookUpEntry(heldFolder.path).result;
}

FsResult WinFileSystem::setStamp(std::string_view path, DosStamp stamp) {
    const HeldPath heldPath = held(path);
    if (!heldPath.ok())
        return heldPath.result();
    const WinPath& parsed = heldPath.path;
    FILETIME time{};
    if (!fileTimeFromDosStamp(stamp, time))
        return refusal::invalidStamp();
    WinHandle handle =
        parsed.root
            ? WinHandle(CreateFileW(parsed.longPath.c_str(), FILE_WRITE_ATTRIBUTES, kShareAll,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr))
            : openEntry(parsed.longPath, FILE_WRITE_ATTRIBUTES);
    if (!handle.valid())
        return lastWinFailure();
    return succeededIf(SetFileTime(handle.get(), nullptr, &time, &time));
}

std::string WinFileSystem::currentFolder() {
    return currentHostFolder();
}

FsResult WinFileSystem::setCurrentFolder(std::string_view path) {
    const HeldPath heldPath = held(path);
    if (!heldPath.ok())
        return heldPath.result();
    const WinPath& parsed = heldPath.path;
    const std::optional<std::wstring> folder = wideFromUtf8(parsed.display);
    return succeededIf(SetCurrentDirectoryW(folder->c_str()));
}

} // namespace brisko::platform
