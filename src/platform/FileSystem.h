#pragma once

#include "DosStamp.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace brisko::platform {

// Why an operation on the file system did not succeed. "Does not exist" (NotFound) and
// "cannot be read" (AccessDenied, IoError, Ambiguous, ...) are different answers: only
// NotFound may ever be taken as missing.
enum class FsStatus {
    Ok,
    NotFound,      // nothing of that name (or a folder on the way is missing)
    AccessDenied,  // exists but permission refused
    IoError,       // exists but the device failed
    NoSpace,       // the disk is full
    AlreadyExists, // the name is taken
    NotEmpty,      // a folder that still holds entries
    Ambiguous,     // several names differ from it only in case: never guessed between
    InvalidName,   // a name the path model cannot carry (for example one holding '\')
    NotAFolder,    // a file where a folder was expected, or the other way round
    Unsupported,   // a link, device, FIFO or socket where a file or folder was expected
    InUse,         // another live run holds the file (its lock), or another program has it open
};

// The outcome of an operation, with the system's own words for a failure.
struct FsResult {
    FsStatus status = FsStatus::Ok;
    std::string detail; // for example "Permission denied"; empty on success

    bool ok() const { return status == FsStatus::Ok; }
    static FsResult success() { return {}; }
};

// A short English text for a status ("does not exist", "permission denied", ...).
std::string describe(FsStatus status);

struct FileAttributes {
    bool directory = false;
    bool readOnly = false; // POSIX: the owner's write bit is clear
    bool hidden = false;   // POSIX: the name begins with '.'
    bool link = false;     // a symbolic link: an entry of its own, never followed
    bool system = false;   // Windows only: the system's own file
    bool archive = false;  // Windows only: changed since the last backup
};

// Which file a name holds: two names with equal identities hold the same file.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    bool operator==(const FileIdentity&) const = default;
};

// One file or folder as a directory search reports it.
struct DirEntry {
    std::string name; // the name on disk (UTF-8 where the disk has UTF-8)
    FileAttributes attributes;
    std::int64_t size = 0;
    DosStamp stamp = 0;     // a link's own stamp for a link
    std::string linkTarget; // links only: the text the link holds
    // Which file it is, where the search tells (an inode of 0 where it does not).
    FileIdentity identity;
};

// A name that a directory search passed over, and why.
struct SkippedEntry {
    std::string name;
    std::string reason;   // e.g. "name contains a backslash", "named pipe", "cannot be read"
    bool special = false; // a device, pipe or socket: passed over by design, not a failure
};

// Whether the last name of a path is followed when it is a symbolic link.
enum class LinkPolicy {
    Refuse, // a link is not followed: opening it fails with Unsupported
    Follow, // a link is followed (script files, which users often keep behind links)
};

struct Listing {
    FsResult result;                   // failure to list the folder itself
    std::vector<DirEntry> entries;     // files and folders, "." and ".." left out
    std::vector<SkippedEntry> skipped; // names passed over (never silently)
};

// Looking at one path: an entry when it exists, NotFound when it does not, any other status
// when it exists but cannot be looked at.
struct PathInfo {
    FsResult result;
    DirEntry entry; // valid when result.ok(); name is the last component as on disk
};

// What an open file is at one moment. Every write moves its change time (ctime on POSIX,
// ChangeTime on Windows), which no program can put back as it can the modification time: two
// equal versions mean the file was not rewritten in between.
struct FileVersion {
    std::int64_t size = 0;
    // The times in the system's own finest units (nanoseconds on POSIX, 100 nanoseconds on
    // Windows), only ever compared with each other.
    std::int64_t modified = 0;
    std::int64_t changed = 0; // 0 where the system keeps no change time
    FileIdentity identity;
    bool operator==(const FileVersion&) const = default;
};

// Sequential reading of one file.
class InputFile {
public:
    virtual ~InputFile() = default;
    // Reads up to size bytes; returns the count read (0 at the end) or -1 on an error (see
    // lastError()).
    virtual std::int64_t read(std::byte* buffer, std::size_t size) = 0;
    virtual std::int64_t size() const = 0;
    virtual FsResult lastError() const = 0;
    // The open file as it is now; nothing where the file system cannot tell.
    virtual std::optional<FileVersion> version() const { return std::nullopt; }
};

// What one step of copying from one file into another came to.
struct CopyStep {
    std::int64_t count = 0; // bytes copied; 0 at the end of the input and on a failure
    FsResult readFailure;   // the input could not be read
    FsResult writeFailure;  // the output could not be written (a full disk gives NoSpace)
};

// Sequential writing of one new file.
class OutputFile {
public:
    virtual ~OutputFile() = default;
    // Writes all of the bytes or reports why not (a full disk gives NoSpace).
    virtual FsResult write(const std::byte* data, std::size_t size) = 0;
    // Copies up to buffer.size() bytes from the input's position onward to the end of this
    // file. This plain way reads them into buffer and writes them; a file system may instead
    // copy them inside the system, without a trip through the program.
    virtual CopyStep copyFrom(InputFile& input, std::span<std::byte> buffer);
    // Puts the written data on the disk.
    virtual FsResult flush() = 0;
    virtual FsResult close() = 0;
    // The file being written, so that a caller can check that a name still holds it.
    virtual std::optional<FileIdentity> identity() const { return std::nullopt; }
};

// The operating system's file system as the program sees it. Every path is a program path:
// either drive form as scripts write it ("C:\DATA\SUB", any letter case), or a host path
// (on POSIX one beginning with '/', or relative to the current folder). Components are
// matched exactly first, then by the only name that differs in case. Several threads may call
// one file system at once, on different paths (exactNames() excepted: take the view first).
class FileSystem {
public:
    virtual ~FileSystem() = default;

    // The host path a program path resolves to (the last component may not exist yet).
    virtual std::optional<std::string> hostPath(std::string_view path) = 0;

    // Symbolic links are reported as entries of their own (attributes.link, linkTarget), never
    // read through; only a drive's own folder is followed.
    virtual Listing list(std::string_view folder) = 0;
    virtual PathInfo stat(std::string_view path) = 0;
    // The file a name holds (a link's own identity for a link); nothing when it cannot be
    // looked at.
    virtual std::optional<FileIdentity> identityOf(std::string_view path) = 0;
    // The identities of a folder and of every folder above it up to the host's root (or the
    // highest one that can be looked at), the folder first, as the system resolves the path:
    // links and drive mappings followed. Empty when the path names no folder that can be
    // looked at.
    virtual std::vector<FileIdentity> folderChain(std::string_view folder) = 0;
    // drive: any path that names its drive ("C:", "c:\DATA", "\\SERVER\SHARE\DATA"); only its
    // drive part counts.
    virtual bool driveExists(std::string_view drive) = 0;
    // Why a drive does not exist, in words that show the fix (a letter or share not mapped, or
    // mapped to a missing host folder); empty where the system's own drives leave nothing to add.
    virtual std::string whyNoDrive(std::string_view /*drive*/) { return {}; }

    bool fileExists(std::string_view path);
    bool folderExists(std::string_view path);

    // Sets or clears the read-only attribute; clearAttributes gives the owner write access.
    // Nothing is ever changed through a link: for a link these do nothing.
    virtual FsResult setReadOnly(std::string_view path, bool readOnly) = 0;
    virtual FsResult clearAttributes(std::string_view path) = 0;
    // Copies the permission bits (the attributes) of one file onto another.
    virtual FsResult copyAttributes(std::string_view from, std::string_view to) = 0;
    // The POSIX permission bits (0777) of a file, so that a copy between two file systems can
    // carry them; nothing for a link, where the system has none, or when it cannot be looked at.
    // setPermissions sets them (never through a link).
    virtual std::optional<std::uint32_t> permissions(std::string_view /*path*/) {
        return std::nullopt;
    }
    virtual FsResult setPermissions(std::string_view /*path*/, std::uint32_t /*bits*/) {
        return {FsStatus::Unsupported, "the system keeps no permission bits"};
    }

    virtual FsResult removeFile(std::string_view path) = 0;
    // Renames a file, replacing a file of the target name in one step.
    virtual FsResult rename(std::string_view from, std::string_view to) = 0;
    // A second name for an existing file (used to keep a backup without a moment in which
    // the target name is empty); Unsupported where links are impossible.
    virtual FsResult link(std::string_view existing, std::string_view newName) = 0;
    // Makes a symbolic link at a new name holding targetText; a taken name is refused.
    virtual FsResult createLink(std::string_view path, std::string_view targetText) = 0;
    virtual FsResult createFolders(std::string_view path) = 0; // with its parents
    virtual FsResult removeFolder(std::string_view path) = 0;  // an empty folder

    // Free bytes on the drive of a path that names its drive (as driveExists); nothing when the
    // drive does not exist.
    virtual std::optional<std::int64_t> freeBytes(std::string_view drive) = 0;

    virtual std::unique_ptr<InputFile> openRead(std::string_view path, FsResult& result,
                                                LinkPolicy links) = 0;
    // Opens a regular file for reading; a link at the last name is refused.
    std::unique_ptr<InputFile> openRead(std::string_view path, FsResult& result) {
        return openRead(path, result, LinkPolicy::Refuse);
    }
    // Creates a new regular file and holds an exclusive advisory lock on it until it is
    // closed. A regular file of that name is replaced unless another live run holds its lock
    // (InUse); anything else (a link, a folder, a device) is refused and left alone.
    virtual std::unique_ptr<OutputFile> createFresh(std::string_view path, FsResult& result) = 0;
    // Asks the system to forget the cached pages of a file, so that it is read from disk.
    virtual void dropCache(std::string_view path) = 0;
    // Flushes a folder's entries to disk (after a rename into it).
    virtual FsResult flushFolder(std::string_view folder) = 0;

    // Sets the last-write time; a link gets its own stamp, its target is left alone.
    virtual FsResult setStamp(std::string_view path, DosStamp stamp) = 0;

    // Forgets every folder listing and resolved name kept from earlier lookups, so that what
    // other programs changed since is seen.
    virtual void forgetCachedNames() {}

    // The same file system, except that the last name of every path is matched exactly, never
    // by case: for a name that has siblings differing from it only in case, so that each of
    // them is read, written and deleted under its own name.
    virtual FileSystem& exactNames() = 0;

    // The process's current folder, as a host path.
    virtual std::string currentFolder() = 0;
    virtual FsResult setCurrentFolder(std::string_view path) = 0;
};

} // namespace brisko::platform
