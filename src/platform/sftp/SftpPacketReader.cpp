#include "platform/sftp/SftpPacketReader.h"

#include "platform/sftp/SftpWire.h"

#include <algorithm>
#include <cerrno>
#include <poll.h>
#include <sys/socket.h>

namespace brisko::platform::sftp {

namespace {

constexpr std::size_t kReadSize = 64 * 1024;

int remainingMs(const PacketReader::Deadline& deadline) {
    if (!deadline)
        return -1;
    const auto left =
        std::chrono::ceil<std::chrono::milliseconds>(*deadline - std::chrono::steady_clock::now());
    return static_cast<int>(std::max<std::int64_t>(left.count(), 0));
}

} // namespace

PacketReader::Result PacketReader::next(std::vector<std::byte>& packet, std::size_t maxLength,
                                        Deadline deadline) {
    for (;;) {
        const std::size_t buffered = buffer_.size() - start_;
        if (buffered >= 4) {
            const std::uint32_t length =
                wire::packetLength(std::span(buffer_).subspan(start_).first<4>());
            if (length == 0 || length > maxLength)
                return Result::BadLength;
            if (buffered >= 4 + std::size_t{length}) {
                const auto begin = buffer_.begin() + static_cast<std::ptrdiff_t>(start_ + 4);
                packet.assign(begin, begin + length);
                start_ += 4 + std::size_t{length};
                return Result::Packet;
            }
        }
        switch (fill(deadline)) {
        case Fill::Read:
            break;
        case Fill::Ended:
            return Result::Ended;
        case Fill::TimedOut:
            return Result::TimedOut;
        }
    }
}

PacketReader::Fill PacketReader::fill(Deadline deadline) {
    if (start_ > 0 && start_ >= buffer_.size() / 2) {
        buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(start_));
        start_ = 0;
    }
    for (;;) {
        pollfd watched[2] = {{socket_, POLLIN, 0}, {endFd_, POLLIN, 0}};
        const int ready = poll(watched, 2, remainingMs(deadline));
        if (ready == -1 && errno == EINTR)
            continue;
        if (ready == 0)
            return Fill::TimedOut;
        if (ready < 0)
            return Fill::Ended;
        if (watched[0].revents == 0)
            return Fill::Ended; // the program has ended and left nothing more to read
        const std::size_t used = buffer_.size();
        buffer_.resize(used + kReadSize);
        const ssize_t got = recv(socket_, buffer_.data() + used, kReadSize, MSG_DONTWAIT);
        buffer_.resize(used + static_cast<std::size_t>(std::max<ssize_t>(got, 0)));
        if (got > 0)
            return Fill::Read;
        if (got == -1 && (errno == EINTR || errno == EAGAIN))
            continue;
        return Fill::Ended;
    }
}

} // namespace brisko::platform::sftp
