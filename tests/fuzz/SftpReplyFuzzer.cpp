// A server's bytes through the SFTP packet reader and every reply decoder: the input is the
// stream the server sends, read from a socket pair in this process as the connection reads it.

#include "platform/sftp/SftpNames.h"
#include "platform/sftp/SftpPacketReader.h"
#include "platform/sftp/SftpWire.h"

#include <cstdlib>
#include <span>
#include <sys/socket.h>
#include <unistd.h>

namespace {

using namespace brisko::platform::sftp;

// The largest packet the connection takes before the server states its limits.
constexpr std::size_t kMaxPacket = 256 * 1024 + 1024;

void decodeReply(const wire::Reply& reply) {
    wire::decodeStatus(reply);
    wire::decodeHandle(reply);
    wire::decodeData(reply);
    if (const auto attributes = wire::decodeAttributes(reply); attributes && attributes->ok())
        statOf(attributes->value);
    if (const auto names = wire::decodeNames(reply); names && names->ok()) {
        for (const NameEntry& entry : names->value) {
            whyNotAName(entry.name);
            statOf(entry.attributes);
        }
    }
    wire::decodeOneName(reply);
    wire::decodeSpace(reply);
    wire::decodeLimits(reply);
}

// Writes the whole stream and closes the sending side, so that the reader meets its end.
bool sendStream(int socket, std::span<const std::uint8_t> bytes) {
    while (!bytes.empty()) {
        const ssize_t sent = write(socket, bytes.data(), bytes.size());
        if (sent <= 0)
            return false;
        bytes = bytes.subspan(static_cast<std::size_t>(sent));
    }
    return close(socket) == 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A socket's buffer holds the whole of an input of the size the fuzzer is given.
    int sockets[2];
    int ended[2];
    if (socketpair(AF_UNIX, SOCK_STREAM, 0, sockets) != 0 || pipe(ended) != 0)
        std::abort();
    if (!sendStream(sockets[1], {data, size}))
        std::abort();

    PacketReader reader(sockets[0], ended[0]);
    std::vector<std::byte> packet;
    while (reader.next(packet, kMaxPacket, std::nullopt) == PacketReader::Result::Packet) {
        wire::parseVersion(packet);
        if (const auto reply = wire::parseReply(packet))
            decodeReply(*reply);
    }
    for (const int fd : {sockets[0], ended[0], ended[1]})
        close(fd);
    return 0;
}
