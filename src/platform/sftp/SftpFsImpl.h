#pragma once

#include "platform/posix/CaseResolver.h"
#include "platform/posix/PosixFileSystemImpl.h"
#include "platform/sftp/SftpFileSystem.h"
#include "platform/sftp/SftpFsSessions.h"
#include "platform/sftp/SftpFsWriters.h"
#include "platform/sftp/SftpNames.h"

#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <sys/stat.h>

namespace brisko::platform::sftp {

// A program path as a path on the server, or why it is not one.
struct ServerTarget {
    FsResult result;
    std::string host;                  // the path on the server, names as found there
    std::string requestedName;         // the last name as the caller wrote it
    bool missing = false;              // (Creatable) nothing of that name exists yet
    bool driveFolder = false;          // the location's own folder: followed if a link
    std::optional<struct stat> status; // the entry's own status (the folder's for driveFolder)

    bool ok() const { return result.ok(); }
    bool isLink() const { return status && !driveFolder && S_ISLNK(status->st_mode); }
    bool isFolder() const { return status && S_ISDIR(status->st_mode); }
};

// What the views of one SFTP file system share: the location, its sessions, and the case
// resolver over the server's names. It turns program paths into paths on the server.
struct SftpFileSystem::Impl {
    Impl(SftpLocation where, Connector connect);

    SftpLocation location;
    std::string base;   // the location's folder on the server, without a trailing '/'
    std::string server; // the server as people name it (host and port), for identities
    SftpFsSessions sessions;
    SftpHostNames names{sessions};
    CaseResolver resolver{names};
    std::shared_ptr<SftpFsWriters> writers = std::make_shared<SftpFsWriters>();

    // The route below the location's folder of a drive-form or share-form path; false (failure
    // set) for any other path, which cannot name anything here.
    bool parse(std::string_view path, HostRoute& route, FsResult& failure) const;
    // Matches a path against the server's names (exactly first, then by case) and looks at it.
    ServerTarget locate(std::string_view path, Need need, bool exactLast);
    // A file, folder or link that exists; anything else (a device, a pipe) is refused.
    ServerTarget plainEntry(std::string_view path, bool exactLast);
    // The same for a call that changes something or reads a file's content: the folders on the
    // way must hold no link now. The server follows links wherever they are, so a folder swapped
    // for one after the scan would take the call outside the tree; it is refused instead.
    ServerTarget locateToChange(std::string_view path, Need need, bool exactLast);
    ServerTarget plainEntryToChange(std::string_view path, bool exactLast);
    // Whether a folder found below the location's folder is reached through no link: its path
    // with every link resolved by the server is the path it was found under.
    FsResult noLinkTo(const std::string& folder);
    std::shared_ptr<Client> client(FsResult& failure) { return sessions.next(failure); }
    // The session for a request by name about host: the session of the file being written
    // there, so that the request follows its writes; else the next one.
    std::shared_ptr<Client> clientFor(const std::string& host, FsResult& failure);
    // The identity of a path on the server found through locate (no link on the way below the
    // location's folder is resolved: the scan never goes through one).
    FileIdentity identityOf(const std::string& host);
    // Sets the permission bits of a file or folder (SETSTAT), never through a link: a link (the
    // target's own entry, looked at just before) is left as it is and counts as done.
    FsResult setMode(const ServerTarget& target, mode_t mode);
    // The location's folder with its links resolved, asked once.
    std::string resolvedBase();

private:
    std::mutex mutex_;
    std::optional<std::string> resolvedBase_;
};

} // namespace brisko::platform::sftp
