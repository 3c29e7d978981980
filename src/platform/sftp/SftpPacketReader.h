#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <vector>

namespace brisko::platform::sftp {

// Reads length-prefixed packets from a socket, one at a time, until the socket closes or the
// program behind it ends (then what it wrote before is still read first).
class PacketReader {
public:
    enum class Result { Packet, Ended, BadLength, TimedOut };
    using Deadline = std::optional<std::chrono::steady_clock::time_point>;

    // endFd becomes readable when the program behind the socket has ended.
    PacketReader(int socket, int endFd) : socket_(socket), endFd_(endFd) {}

    // The next packet (without its length) in packet. BadLength for a packet of no bytes or of
    // more than maxLength: nothing more can be read from a peer that sends one.
    Result next(std::vector<std::byte>& packet, std::size_t maxLength, Deadline deadline);

private:
    enum class Fill { Read, Ended, TimedOut };
    Fill fill(Deadline deadline);

    int socket_;
    int endFd_;
    std::vector<std::byte> buffer_;
    std::size_t start_ = 0; // where the unread bytes of buffer_ begin
};

} // namespace brisko::platform::sftp
