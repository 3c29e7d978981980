#pragma once

#include "platform/posix/CaseResolver.h"
#include "platform/posix/PosixFileSystemImpl.h"
#include "platform/sftp/SftpFileSystem.h"
#include "platform/sftp/SftpFsAhead.h"
#include "platform/sftp/SftpFsSessions.h"
#include "platform/sftp/SftpFsWriters.h"
#include "platform/sftp/SftpNames.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <future>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <vector>

namespace brisko::platform::sftp {

// A program path as a path on the server, or why it is not one.
struct ServerTarget {
    FsResult result;
    std::string host;                  // the path on the server, names as found there
    std::string requestedName;         // the last name as the caller wrote it
    bool missing = false;              // (Creatable) nothing of that name exists yet
    bool onlyLastMissing = false;      // the folder is there, the last name is not
    bool driveFolder = false;          // the location's own folder: followed if a link
    std::optional<struct stat> status; // the entry's own status (the folder's for driveFolder)

    bool ok() const { return result.ok(); }
    bool isLink() const { return status && !driveFolder && S_ISLNK(status->st_mode); }
    bool isFolder() const { return status && S_ISDIR(status->st_mode); }
};

// What the views of one SFTP file system share: the location, its sessions, and the case
// resolver over the server's names. It turns program paths into paths on the server.
struct SftpFileSystem::Impl {
    static constexpr std::size_t kListingsAtOnce = 48;
    static constexpr std::size_t kListingsKept = 1024;

    Impl(SftpLocation where, Connector connect);

    SftpLocation location;
    std::string base;   // the location's folder on the server, without a trailing '/'
    std::string server; // the server as people name it (host and port), for identities
    SftpFsSessions sessions;
    SftpHostNames names{sessions};
    CaseResolver resolver{names};
    std::shared_ptr<SftpFsWriters> writers = std::make_shared<SftpFsWriters>();
    // The server's free space as last asked.
    struct FreeSpace {
        // The answer while it holds, less what was written since (written: bytes in all).
        std::optional<std::int64_t> known(std::int64_t written) {
            const std::lock_guard lock(mutex);
            if (!bytes || std::chrono::steady_clock::now() - at > std::chrono::seconds(1))
                return std::nullopt;
            return std::max<std::int64_t>(0, *bytes - (written - writtenAt));
        }
        void found(std::int64_t free, std::int64_t written) {
            const std::lock_guard lock(mutex);
            bytes = free;
            writtenAt = written;
            at = std::chrono::steady_clock::now();
        }
        void forget() {
            const std::lock_guard lock(mutex);
            bytes.reset();
        }

    private:
        std::mutex mutex;
        std::optional<std::int64_t> bytes;
        std::int64_t writtenAt = 0;
        std::chrono::steady_clock::time_point at;
    };
    FreeSpace space;
    // The folder chains last found, by program path: the checks before and during a scan ask
    // for the same few, each costing three round trips. An answer holds a moment, and until the
    // names kept are forgotten.
    struct HeldChains {
        std::optional<std::vector<FileIdentity>> find(std::string_view folder) {
            const std::lock_guard lock(mutex);
            const auto held = chains.find(std::string(folder));
            if (held == chains.end() ||
                std::chrono::steady_clock::now() - held->second.first > std::chrono::seconds(1))
                return std::nullopt;
            return held->second.second;
        }
        void keep(std::string_view folder, const std::vector<FileIdentity>& chain) {
            const std::lock_guard lock(mutex);
            if (chains.size() > 64)
                chains.clear();
            chains[std::string(folder)] = {std::chrono::steady_clock::now(), chain};
        }
        void forget() {
            const std::lock_guard lock(mutex);
            chains.clear();
        }

    private:
        std::mutex mutex;
        std::map<std::string,
                 std::pair<std::chrono::steady_clock::time_point, std::vector<FileIdentity>>>
            chains;
    };
    HeldChains heldChains;
    // When driveExists last found the location's folder (steady clock ticks; 0: not found).
    std::atomic<std::int64_t> driveSeenAt{0};

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
    // The same in two steps, so that other requests go out while the server answers.
    struct LinkCheck {
        std::string folder;
        std::string expected; // the folder's path with the location's folder resolved
        std::optional<std::future<Outcome<std::string>>> real;
        FsResult failure; // when the question could not be asked
    };
    LinkCheck askNoLinkTo(const std::string& folder);
    FsResult noLinkTo(LinkCheck check);
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
    // The entries of a folder on the server, by its path there.
    Listing listHost(const std::string& host);
    // Something is about to change, or changed, through this file system: listings read ahead
    // may be out of date.
    void changing() {
        ahead.forget();
        driveSeenAt = 0;
    }
    // The last look at a path by stat on this thread, for a rename that follows it at once
    // (a copy's target is looked at just before the copy takes its name): the name as found on
    // the server then. Any change made on this thread in between drops it.
    struct RecentLook {
        const Impl* impl = nullptr;
        std::string path;
        bool exactLast = false;
        ServerTarget target; // as Need::Creatable would find it
    };
    static std::optional<RecentLook>& recentLook();
    // Puts a file being written here in place (recent: the look at to just before, if any).
    FsResult renameWritten(const std::string& from, SftpWrite& write, std::string_view to,
                           bool exactLast, const std::optional<RecentLook>& recent);

    // Says so before and after a change.
    struct Changing {
        explicit Changing(Impl& impl) : impl_(impl) {
            impl_.changing();
            recentLook().reset();
        }
        ~Changing() { impl_.changing(); }
        Changing(const Changing&) = delete;
        Changing& operator=(const Changing&) = delete;

    private:
        Impl& impl_;
    };

private:
    std::mutex mutex_;
    std::optional<std::string> resolvedBase_;

public:
    // Last, so that its threads end first.
    SftpListingsAhead ahead{[this](const std::string& host) { return listHost(host); },
                            kListingsAtOnce, kListingsKept};
};

} // namespace brisko::platform::sftp
