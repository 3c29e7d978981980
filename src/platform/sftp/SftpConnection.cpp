#include "platform/sftp/SftpConnection.h"

#include <algorithm>
#include <cerrno>
#include <sys/socket.h>
#include <system_error>

namespace brisko::platform::sftp {

namespace {

constexpr std::size_t kMargin = 1024;
// The longest packet taken from a server whose limits are not known: OpenSSH's own limit.
constexpr std::size_t kDefaultPacket = 256 * 1024;
// However large a packet a server claims to take, we take no larger one than this.
constexpr std::size_t kLargestPacket = 16 * 1024 * 1024;
// What every server of version 3 must take, for one that does not say.
constexpr Limits kDefaultLimits{34000, 32768, 32768, 0};
// How long ssh has, once the connection is gone, to end and leave its reason.
constexpr std::chrono::milliseconds kLastWordsWait{2000};

const char* const kClosed = "the connection to the server was closed";
const char* const kClosedByUs = "the connection was closed";
const char* const kConfused = "the server sent an answer that cannot be understood";
const char* const kBadLength = "the server sent a packet of a length no answer has";

bool sendAll(int socket, std::span<const std::byte> bytes) {
    while (!bytes.empty()) {
        const ssize_t sent = ::send(socket, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes = bytes.subspan(static_cast<std::size_t>(sent));
    }
    return true;
}

template <class T> std::future<Outcome<T>> answeredAt(Outcome<T> outcome) {
    std::promise<Outcome<T>> promise;
    promise.set_value(std::move(outcome));
    return promise.get_future();
}

// Why the server's VERSION did not come; for a transport that ended, its last words.
std::string whyNoVersion(PipedChild& child, const std::string& program,
                         PacketReader::Result result) {
    switch (result) {
    case PacketReader::Result::TimedOut:
        return program + " did not answer as an SFTP server within " +
               std::to_string(Connection::kAnswerWait.count()) + " seconds";
    case PacketReader::Result::Ended:
        if (std::string words = child.lastWords(kLastWordsWait); !words.empty())
            return words;
        return program + " ended without answering as an SFTP server";
    case PacketReader::Result::Packet:
    case PacketReader::Result::BadLength:
        break;
    }
    return program + " does not answer as an SFTP server";
}

} // namespace

// A request waiting for its reply.
struct Connection::Pending {
    virtual ~Pending() = default;
    // False (and nothing answered) when the reply is no answer to this request.
    virtual bool complete(const wire::Reply& reply) = 0;
    virtual void fail(const Error& error) = 0;
};

template <class T> struct Connection::PendingOf final : Pending {
    explicit PendingOf(wire::Decoder<T> decoder) : decode(decoder) {}

    bool complete(const wire::Reply& reply) override {
        auto outcome = decode(reply);
        if (!outcome)
            return false;
        promise.set_value(std::move(*outcome));
        return true;
    }
    void fail(const Error& error) override { promise.set_value(Outcome<T>::failed(error)); }

    wire::Decoder<T> decode;
    std::promise<Outcome<T>> promise;
};

std::unique_ptr<Client> Connection::start(const Transport& transport, std::string& why) {
    const std::string program =
        transport.arguments.empty() ? std::string("the transport") : transport.arguments.front();
    std::unique_ptr<PipedChild> child;
    if (const int error = PipedChild::start(
            {transport.arguments, transport.environment, transport.onTerminal}, child);
        error != 0) {
        why = "cannot start " + program + ": " + std::generic_category().message(error);
        return nullptr;
    }
    wire::PacketBuilder init(wire::type::kInit);
    init.u32(wire::kVersion3);
    PacketReader replies(child->socket(), child->endFd());
    std::vector<std::byte> packet;
    const auto result = sendAll(child->socket(), std::move(init).finish())
                            ? replies.next(packet, kDefaultPacket + kMargin,
                                           std::chrono::steady_clock::now() + kAnswerWait)
                            : PacketReader::Result::Ended;
    std::optional<wire::Version> version;
    if (result == PacketReader::Result::Packet)
        version = wire::parseVersion(packet);
    if (!version) {
        why = whyNoVersion(*child, program, result);
        return nullptr;
    }
    if (version->version != wire::kVersion3) {
        why = "the server speaks SFTP version " + std::to_string(version->version) +
              ", not version 3";
        return nullptr;
    }
    std::unique_ptr<Connection> connection(
        new Connection(std::move(child), std::move(replies), std::move(version->extensions)));
    auto limits = connection->extended<Limits>("limits@openssh.com", "1", wire::decodeLimits,
                                               [](wire::PacketBuilder&) {});
    if (limits.wait_for(kAnswerWait) != std::future_status::ready) {
        why = program + " did not answer as an SFTP server within " +
              std::to_string(kAnswerWait.count()) + " seconds";
        return nullptr;
    }
    const Outcome<Limits> outcome = limits.get();
    if (outcome.error && outcome.error->lost) {
        why = outcome.error->message;
        return nullptr;
    }
    if (outcome.ok()) {
        std::lock_guard lock(connection->mutex_);
        connection->limits_ = outcome.value;
        connection->limitsKnown_ = true;
    }
    return connection;
}

Connection::Connection(std::unique_ptr<PipedChild> child, PacketReader replies,
                       std::map<std::string, std::string> extensions)
    : child_(std::move(child)), replies_(std::move(replies)), linesBefore_(child_->linesWritten()),
      extensions_(std::move(extensions)) {
    reader_ = std::thread([this] { readReplies(); });
}

Connection::~Connection() {
    closing_ = true;
    child_->end();
    reader_.join();
}

Limits Connection::limits() const {
    std::lock_guard lock(mutex_);
    return limitsKnown_ ? limits_ : kDefaultLimits;
}

bool Connection::alive() const {
    std::lock_guard lock(mutex_);
    return !lost_;
}

std::string Connection::lostReason() const {
    std::lock_guard lock(mutex_);
    return lostReason_;
}

std::size_t Connection::maxIncoming() const {
    std::lock_guard lock(mutex_);
    if (!limitsKnown_ || limits_.maxPacket == 0)
        return kDefaultPacket + kMargin;
    return std::clamp<std::size_t>(limits_.maxPacket, kDefaultPacket, kLargestPacket) + kMargin;
}

template <class T, class Fill>
std::future<Outcome<T>> Connection::request(std::uint8_t type, wire::Decoder<T> decode, Fill fill) {
    auto pending = std::make_unique<PendingOf<T>>(decode);
    auto future = pending->promise.get_future();
    std::uint32_t id = 0;
    {
        std::lock_guard lock(mutex_);
        if (lost_) {
            pending->fail(Error{Code::ConnectionLost, lostReason_, true});
            return future;
        }
        id = nextId_++;
        pending_.emplace(id, std::move(pending));
        if (losing_)
            return future; // failed with the others in a moment
    }
    wire::PacketBuilder packet(type, id);
    fill(packet);
    transmit(std::move(packet).finish());
    return future;
}

template <class T, class Fill>
std::future<Outcome<T>> Connection::extended(const char* name, const char* version,
                                             wire::Decoder<T> decode, Fill fill) {
    if (!hasExtension(name, version))
        return answeredAt(Outcome<T>::failed(
            Error{Code::OpUnsupported, std::string("the server does not offer ") + name, false}));
    return request<T>(wire::type::kExtended, decode, [&](wire::PacketBuilder& packet) {
        packet.string(name);
        fill(packet);
    });
}

void Connection::transmit(const std::vector<std::byte>& packet) {
    bool sent = false;
    {
        std::lock_guard lock(sendMutex_);
        sent = sendAll(child_->socket(), packet);
    }
    if (!sent)
        lose(reasonFor(kClosed));
}

void Connection::readReplies() {
    std::vector<std::byte> packet;
    for (;;) {
        switch (replies_.next(packet, maxIncoming(), std::nullopt)) {
        case PacketReader::Result::Packet:
            if (!deliver(packet))
                return;
            break;
        case PacketReader::Result::Ended:
            lose(reasonFor(kClosed));
            return;
        case PacketReader::Result::BadLength:
            lose(kBadLength);
            return;
        case PacketReader::Result::TimedOut:
            break;
        }
    }
}

bool Connection::deliver(std::span<const std::byte> packet) {
    const auto reply = wire::parseReply(packet);
    std::unique_ptr<Pending> pending;
    if (reply) {
        std::lock_guard lock(mutex_);
        if (auto found = pending_.find(reply->id); found != pending_.end()) {
            pending = std::move(found->second);
            pending_.erase(found);
        }
    }
    if (pending && pending->complete(*reply))
        return true;
    lose(kConfused);
    if (pending)
        pending->fail(Error{Code::ConnectionLost, lostReason(), true});
    return false;
}

std::string Connection::reasonFor(const std::string& plain) {
    if (closing_)
        return kClosedByUs;
    {
        std::lock_guard lock(mutex_);
        losing_ = true;
    }
    const std::string words = child_->lastWords(kLastWordsWait, linesBefore_);
    return words.empty() ? plain : words;
}

void Connection::lose(const std::string& reason) {
    std::map<std::uint32_t, std::unique_ptr<Pending>> failed;
    {
        std::lock_guard lock(mutex_);
        if (lost_)
            return;
        lost_ = losing_ = true;
        lostReason_ = reason;
        failed.swap(pending_);
    }
    shutdown(child_->socket(), SHUT_RDWR);
    const Error error{Code::ConnectionLost, reason, true};
    for (auto& [id, pending] : failed)
        pending->fail(error);
}

std::future<Outcome<Handle>> Connection::open(const std::string& path, std::uint32_t flags,
                                              const Attributes& attributes) {
    return request<Handle>(wire::type::kOpen, wire::decodeHandle, [&](wire::PacketBuilder& p) {
        p.string(path).u32(flags).attributes(attributes);
    });
}

std::future<Outcome<Done>> Connection::close(const Handle& handle) {
    return request<Done>(wire::type::kClose, wire::decodeStatus,
                         [&](wire::PacketBuilder& p) { p.string(handle); });
}

std::future<Outcome<std::vector<std::byte>>>
Connection::read(const Handle& handle, std::uint64_t offset, std::uint32_t length) {
    return request<std::vector<std::byte>>(
        wire::type::kRead, wire::decodeData,
        [&](wire::PacketBuilder& p) { p.string(handle).u64(offset).u32(length); });
}

std::future<Outcome<Done>> Connection::write(const Handle& handle, std::uint64_t offset,
                                             std::span<const std::byte> data) {
    return request<Done>(wire::type::kWrite, wire::decodeStatus, [&](wire::PacketBuilder& p) {
        p.string(handle).u64(offset).string(data);
    });
}

std::future<Outcome<Attributes>> Connection::lstat(const std::string& path) {
    return request<Attributes>(wire::type::kLstat, wire::decodeAttributes,
                               [&](wire::PacketBuilder& p) { p.string(path); });
}

std::future<Outcome<Attributes>> Connection::stat(const std::string& path) {
    return request<Attributes>(wire::type::kStat, wire::decodeAttributes,
                               [&](wire::PacketBuilder& p) { p.string(path); });
}

std::future<Outcome<Attributes>> Connection::fstat(const Handle& handle) {
    return request<Attributes>(wire::type::kFstat, wire::decodeAttributes,
                               [&](wire::PacketBuilder& p) { p.string(handle); });
}

std::future<Outcome<Done>> Connection::setstat(const std::string& path,
                                               const Attributes& attributes) {
    return request<Done>(wire::type::kSetstat, wire::decodeStatus,
                         [&](wire::PacketBuilder& p) { p.string(path).attributes(attributes); });
}

std::future<Outcome<Done>> Connection::fsetstat(const Handle& handle,
                                                const Attributes& attributes) {
    return request<Done>(wire::type::kFsetstat, wire::decodeStatus,
                         [&](wire::PacketBuilder& p) { p.string(handle).attributes(attributes); });
}

std::future<Outcome<Handle>> Connection::opendir(const std::string& path) {
    return request<Handle>(wire::type::kOpendir, wire::decodeHandle,
                           [&](wire::PacketBuilder& p) { p.string(path); });
}

std::future<Outcome<std::vector<NameEntry>>> Connection::readdir(const Handle& handle) {
    return request<std::vector<NameEntry>>(wire::type::kReaddir, wire::decodeNames,
                                           [&](wire::PacketBuilder& p) { p.string(handle); });
}

std::future<Outcome<Done>> Connection::remove(const std::string& path) {
    return request<Done>(wire::type::kRemove, wire::decodeStatus,
                         [&](wire::PacketBuilder& p) { p.string(path); });
}

std::future<Outcome<Done>> Connection::mkdir(const std::string& path,
                                             const Attributes& attributes) {
    return request<Done>(wire::type::kMkdir, wire::decodeStatus,
                         [&](wire::PacketBuilder& p) { p.string(path).attributes(attributes); });
}

std::future<Outcome<Done>> Connection::rmdir(const std::string& path) {
    return request<Done>(wire::type::kRmdir, wire::decodeStatus,
                         [&](wire::PacketBuilder& p) { p.string(path); });
}

std::future<Outcome<std::string>> Connection::realpath(const std::string& path) {
    return request<std::string>(wire::type::kRealpath, wire::decodeOneName,
                                [&](wire::PacketBuilder& p) { p.string(path); });
}

std::future<Outcome<std::string>> Connection::readlink(const std::string& path) {
    return request<std::string>(wire::type::kReadlink, wire::decodeOneName,
                                [&](wire::PacketBuilder& p) { p.string(path); });
}

std::future<Outcome<Done>> Connection::symlink(const std::string& linkPath,
                                               const std::string& targetText) {
    // OpenSSH's server takes the target first, the other way round from the protocol's text.
    return request<Done>(wire::type::kSymlink, wire::decodeStatus,
                         [&](wire::PacketBuilder& p) { p.string(targetText).string(linkPath); });
}

std::future<Outcome<Done>> Connection::posixRename(const std::string& from, const std::string& to) {
    return extended<Done>("posix-rename@openssh.com", "1", wire::decodeStatus,
                          [&](wire::PacketBuilder& p) { p.string(from).string(to); });
}

std::future<Outcome<Done>> Connection::hardlink(const std::string& existing,
                                                const std::string& newName) {
    return extended<Done>("hardlink@openssh.com", "1", wire::decodeStatus,
                          [&](wire::PacketBuilder& p) { p.string(existing).string(newName); });
}

std::future<Outcome<Done>> Connection::fsync(const Handle& handle) {
    return extended<Done>("fsync@openssh.com", "1", wire::decodeStatus,
                          [&](wire::PacketBuilder& p) { p.string(handle); });
}

std::future<Outcome<Done>> Connection::lsetstat(const std::string& path,
                                                const Attributes& attributes) {
    return extended<Done>("lsetstat@openssh.com", "1", wire::decodeStatus,
                          [&](wire::PacketBuilder& p) { p.string(path).attributes(attributes); });
}

std::future<Outcome<FileSystemSpace>> Connection::statvfs(const std::string& path) {
    return extended<FileSystemSpace>("statvfs@openssh.com", "2", wire::decodeSpace,
                                     [&](wire::PacketBuilder& p) { p.string(path); });
}

} // namespace brisko::platform::sftp
