#pragma once

#include <cstddef>
#include <cstdint>
#include <future>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace brisko::platform::sftp {

// The status codes of SFTP version 3, and two of our own for a connection that is gone.
enum class Code : std::uint32_t {
    Ok = 0,
    Eof = 1,
    NoSuchFile = 2,
    PermissionDenied = 3,
    Failure = 4,
    BadMessage = 5,
    NoConnection = 6,
    ConnectionLost = 7,
    OpUnsupported = 8,
};

// Why a request did not succeed: the server's status and its message, or why the connection is
// gone (then lost is set and message holds ssh's own last words where it left any).
struct Error {
    Code code = Code::Failure;
    std::string message;
    bool lost = false;
};

// The answer to one request: a value, or an error.
template <class T> struct Outcome {
    std::optional<Error> error;
    T value{};

    bool ok() const { return !error; }
    static Outcome failed(Error why) { return {std::move(why), {}}; }
};

struct Done {}; // the value of a request that answers with a status only

// The attributes of SFTP version 3; each is present only when the server sent it.
struct Attributes {
    std::optional<std::uint64_t> size;
    std::optional<std::uint32_t> uid;
    std::optional<std::uint32_t> gid;
    std::optional<std::uint32_t> permissions; // the file type bits (S_IFMT) included
    std::optional<std::uint32_t> accessTime;  // seconds since 1970
    std::optional<std::uint32_t> modifyTime;
};

// One name of a folder as READDIR reports it. The name is as the server sent it: the caller
// decides whether it can be a name at all.
struct NameEntry {
    std::string name;
    Attributes attributes;
};

// What statvfs@openssh.com reports of a file system.
struct FileSystemSpace {
    std::uint64_t blockSize = 0;
    std::uint64_t fragmentSize = 0;
    std::uint64_t blocks = 0;
    std::uint64_t freeBlocks = 0;
    std::uint64_t availableBlocks = 0; // free for an unprivileged user
    std::uint64_t readOnly = 0;        // the ST_RDONLY flag
};

// What limits@openssh.com reports; 0 where the server sets no limit.
struct Limits {
    std::uint64_t maxPacket = 0;
    std::uint64_t maxRead = 0;
    std::uint64_t maxWrite = 0;
    std::uint64_t maxOpenHandles = 0;
};

// The open flags of SFTP version 3.
namespace open_flags {
inline constexpr std::uint32_t kRead = 0x01;
inline constexpr std::uint32_t kWrite = 0x02;
inline constexpr std::uint32_t kAppend = 0x04;
inline constexpr std::uint32_t kCreate = 0x08;
inline constexpr std::uint32_t kTruncate = 0x10;
inline constexpr std::uint32_t kExclusive = 0x20;
} // namespace open_flags

using Handle = std::string; // opaque, as the server gave it

// How to start the program that carries the SFTP session over its standard input and output
// (ssh ... -s sftp, or a server program itself in tests).
struct Transport {
    std::vector<std::string> arguments;                           // arguments[0]: the program
    std::vector<std::pair<std::string, std::string>> environment; // set for it, beside ours
    // Keep it in our session and terminal, so that ssh can ask on the terminal; otherwise it
    // runs in a session of its own without one.
    bool onTerminal = false;
};

// One SFTP version 3 session over a started transport. Every request is sent at once and
// answered through a future, so that many may be in flight; replies are matched by id. Several
// threads may send at once. When the connection is lost, every pending request and every later
// one fails with lost set, at once, never waiting. The transport is ended when the client goes
// (closed, then killed if it does not end within a short time).
class Client {
public:
    // Starts the transport and agrees on version 3. Nothing (and why set to the reason, ssh's
    // own last words where it left any) when it cannot be started or does not answer as an
    // SFTP server.
    static std::unique_ptr<Client> connect(const Transport& transport, std::string& why);

    virtual ~Client() = default;

    // The extensions the server announced: name -> version text ("1", "2").
    virtual const std::map<std::string, std::string>& extensions() const = 0;
    bool hasExtension(std::string_view name, std::string_view version) const;
    // The server's limits (from limits@openssh.com where offered, else safe defaults).
    virtual Limits limits() const = 0;
    // False once the connection is lost; lostReason() then says why.
    virtual bool alive() const = 0;
    virtual std::string lostReason() const = 0;

    virtual std::future<Outcome<Handle>> open(const std::string& path, std::uint32_t flags,
                                              const Attributes& attributes) = 0;
    virtual std::future<Outcome<Done>> close(const Handle& handle) = 0;
    // Up to length bytes at offset; empty at the end of the file.
    virtual std::future<Outcome<std::vector<std::byte>>>
    read(const Handle& handle, std::uint64_t offset, std::uint32_t length) = 0;
    virtual std::future<Outcome<Done>> write(const Handle& handle, std::uint64_t offset,
                                             std::span<const std::byte> data) = 0;
    virtual std::future<Outcome<Attributes>> lstat(const std::string& path) = 0;
    virtual std::future<Outcome<Attributes>> stat(const std::string& path) = 0;
    virtual std::future<Outcome<Attributes>> fstat(const Handle& handle) = 0;
    virtual std::future<Outcome<Done>> setstat(const std::string& path,
                                               const Attributes& attributes) = 0;
    virtual std::future<Outcome<Done>> fsetstat(const Handle& handle,
                                                const Attributes& attributes) = 0;
    virtual std::future<Outcome<Handle>> opendir(const std::string& path) = 0;
    // One batch of names; the Eof error at the end of the folder.
    virtual std::future<Outcome<std::vector<NameEntry>>> readdir(const Handle& handle) = 0;
    virtual std::future<Outcome<Done>> remove(const std::string& path) = 0;
    virtual std::future<Outcome<Done>> mkdir(const std::string& path,
                                             const Attributes& attributes) = 0;
    virtual std::future<Outcome<Done>> rmdir(const std::string& path) = 0;
    virtual std::future<Outcome<std::string>> realpath(const std::string& path) = 0;
    virtual std::future<Outcome<std::string>> readlink(const std::string& path) = 0;
    // Makes a symbolic link at linkPath holding targetText (the client sends them in the order
    // OpenSSH's server expects).
    virtual std::future<Outcome<Done>> symlink(const std::string& linkPath,
                                               const std::string& targetText) = 0;

    // The extensions; each fails with OpUnsupported, without asking, when not announced.
    virtual std::future<Outcome<Done>> posixRename(const std::string& from,
                                                   const std::string& to) = 0;
    virtual std::future<Outcome<Done>> hardlink(const std::string& existing,
                                                const std::string& newName) = 0;
    virtual std::future<Outcome<Done>> fsync(const Handle& handle) = 0;
    // setstat that changes a symbolic link itself, never its target (lsetstat@openssh.com).
    virtual std::future<Outcome<Done>> lsetstat(const std::string& path,
                                                const Attributes& attributes) = 0;
    virtual std::future<Outcome<FileSystemSpace>> statvfs(const std::string& path) = 0;

    // Every name of a folder (opendir, readdir to the end, close).
    Outcome<std::vector<NameEntry>> listFolder(const std::string& path);
};

} // namespace brisko::platform::sftp
