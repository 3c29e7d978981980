#pragma once

#include "platform/posix/PipedChild.h"
#include "platform/sftp/SftpClient.h"
#include "platform/sftp/SftpPacketReader.h"
#include "platform/sftp/SftpWire.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace brisko::platform::sftp {

// The client over the pipes of a started program. One thread reads the replies and hands each
// to the request of its id; requests are sent whole, one at a time. A reply that cannot be
// understood, or one to no request, ends the connection: nothing the server says after it could
// be trusted.
class Connection final : public Client {
public:
    // How long the server has to answer INIT and limits@openssh.com.
    static constexpr std::chrono::seconds kAnswerWait{60};

    // Starts the transport and agrees on version 3 (see Client::connect).
    static std::unique_ptr<Client> start(const Transport& transport, std::string& why);
    ~Connection() override;

    const std::map<std::string, std::string>& extensions() const override { return extensions_; }
    Limits limits() const override;
    bool alive() const override;
    std::string lostReason() const override;

    std::future<Outcome<Handle>> open(const std::string& path, std::uint32_t flags,
                                      const Attributes& attributes) override;
    std::future<Outcome<Done>> close(const Handle& handle) override;
    std::future<Outcome<std::vector<std::byte>>> read(const Handle& handle, std::uint64_t offset,
                                                      std::uint32_t length) override;
    std::future<Outcome<Done>> write(const Handle& handle, std::uint64_t offset,
                                     std::span<const std::byte> data) override;
    std::future<Outcome<Attributes>> lstat(const std::string& path) override;
    std::future<Outcome<Attributes>> stat(const std::string& path) override;
    std::future<Outcome<Attributes>> fstat(const Handle& handle) override;
    std::future<Outcome<Done>> setstat(const std::string& path,
                                       const Attributes& attributes) override;
    std::future<Outcome<Done>> fsetstat(const Handle& handle,
                                        const Attributes& attributes) override;
    std::future<Outcome<Handle>> opendir(const std::string& path) override;
    std::future<Outcome<std::vector<NameEntry>>> readdir(const Handle& handle) override;
    std::future<Outcome<Done>> remove(const std::string& path) override;
    std::future<Outcome<Done>> mkdir(const std::string& path,
                                     const Attributes& attributes) override;
    std::future<Outcome<Done>> rmdir(const std::string& path) override;
    std::future<Outcome<std::string>> realpath(const std::string& path) override;
    std::future<Outcome<std::string>> readlink(const std::string& path) override;
    std::future<Outcome<Done>> symlink(const std::string& linkPath,
                                       const std::string& targetText) override;
    std::future<Outcome<Done>> posixRename(const std::string& from, const std::string& to) override;
    std::future<Outcome<Done>> hardlink(const std::string& existing,
                                        const std::string& newName) override;
    std::future<Outcome<Done>> fsync(const Handle& handle) override;
    std::future<Outcome<Done>> lsetstat(const std::string& path,
                                        const Attributes& attributes) override;
    std::future<Outcome<FileSystemSpace>> statvfs(const std::string& path) override;

private:
    struct Pending;
    template <class T> struct PendingOf;

    Connection(std::unique_ptr<PipedChild> child, PacketReader replies,
               std::map<std::string, std::string> extensions);

    // Sends a request of the given type; fill adds its fields after the id.
    template <class T, class Fill>
    std::future<Outcome<T>> request(std::uint8_t type, wire::Decoder<T> decode, Fill fill);
    // An extended request, or OpUnsupported at once when the server did not announce it.
    template <class T, class Fill>
    std::future<Outcome<T>> extended(const char* name, const char* version, wire::Decoder<T> decode,
                                     Fill fill);
    void transmit(const std::vector<std::byte>& packet);
    void readReplies();
    // False when the packet is no reply to a pending request.
    bool deliver(std::span<const std::byte> packet);
    // The reason a connection is gone: ssh's last words when it left any, else plain.
    std::string reasonFor(const std::string& plain);
    // Fails every pending request, and every later one, with the reason; once.
    void lose(const std::string& reason);
    std::size_t maxIncoming() const;

    std::unique_ptr<PipedChild> child_;
    PacketReader replies_; // used by the reading thread only
    // The lines ssh wrote before the session began (warnings, not reasons for its end).
    std::size_t linesBefore_;
    std::map<std::string, std::string> extensions_;
    std::atomic<bool> closing_ = false;

    std::mutex sendMutex_;
    mutable std::mutex mutex_; // guards what follows
    std::map<std::uint32_t, std::unique_ptr<Pending>> pending_;
    std::uint32_t nextId_ = 1;
    bool losing_ = false; // the connection is being lost: nothing more is sent
    bool lost_ = false;
    std::string lostReason_;
    Limits limits_;
    bool limitsKnown_ = false;

    std::thread reader_;
};

} // namespace brisko::platform::sftp
