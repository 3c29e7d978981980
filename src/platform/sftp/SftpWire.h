#pragma once

#include "platform/sftp/SftpClient.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The bytes of SFTP version 3: requests built, replies taken apart. Every reply parser takes one
// packet's bytes and never reads past them: a packet that does not hold what it claims (a
// truncated field, a string or a count of names beyond its end) is malformed, never a crash or a
// large allocation.
namespace brisko::platform::sftp::wire {

namespace type {
inline constexpr std::uint8_t kInit = 1;
inline constexpr std::uint8_t kVersion = 2;
inline constexpr std::uint8_t kOpen = 3;
inline constexpr std::uint8_t kClose = 4;
inline constexpr std::uint8_t kRead = 5;
inline constexpr std::uint8_t kWrite = 6;
inline constexpr std::uint8_t kLstat = 7;
inline constexpr std::uint8_t kFstat = 8;
inline constexpr std::uint8_t kSetstat = 9;
inline constexpr std::uint8_t kFsetstat = 10;
inline constexpr std::uint8_t kOpendir = 11;
inline constexpr std::uint8_t kReaddir = 12;
inline constexpr std::uint8_t kRemove = 13;
inline constexpr std::uint8_t kMkdir = 14;
inline constexpr std::uint8_t kRmdir = 15;
inline constexpr std::uint8_t kRealpath = 16;
inline constexpr std::uint8_t kStat = 17;
inline constexpr std::uint8_t kRename = 18;
inline constexpr std::uint8_t kReadlink = 19;
inline constexpr std::uint8_t kSymlink = 20;
inline constexpr std::uint8_t kStatus = 101;
inline constexpr std::uint8_t kHandle = 102;
inline constexpr std::uint8_t kData = 103;
inline constexpr std::uint8_t kName = 104;
inline constexpr std::uint8_t kAttrs = 105;
inline constexpr std::uint8_t kExtended = 200;
inline constexpr std::uint8_t kExtendedReply = 201;
} // namespace type

inline constexpr std::uint32_t kVersion3 = 3;

// Builds one packet: its length, its type, its id (every packet but INIT has one), then fields.
class PacketBuilder {
public:
    explicit PacketBuilder(std::uint8_t type);
    PacketBuilder(std::uint8_t type, std::uint32_t id);

    PacketBuilder& u32(std::uint32_t value);
    PacketBuilder& u64(std::uint64_t value);
    PacketBuilder& string(std::string_view text);
    PacketBuilder& string(std::span<const std::byte> data);
    // The times are sent together: when only one is given, it stands for the other too.
    PacketBuilder& attributes(const Attributes& attributes);
    // The packet with its length in front.
    std::vector<std::byte> finish() &&;

private:
    std::vector<std::byte> bytes_;
};

// Reads the fields of one packet in turn, never past its end. Once a field does not fit, it and
// every later one fail.
class FieldReader {
public:
    explicit FieldReader(std::span<const std::byte> bytes) : bytes_(bytes) {}

    bool u8(std::uint8_t& value);
    bool u32(std::uint32_t& value);
    bool u64(std::uint64_t& value);
    bool string(std::string& text);
    bool data(std::vector<std::byte>& data);
    bool attributes(Attributes& attributes);
    std::size_t left() const { return failed_ ? 0 : bytes_.size() - position_; }

private:
    std::span<const std::byte> take(std::size_t count);

    std::span<const std::byte> bytes_;
    std::size_t position_ = 0;
    bool failed_ = false;
};

// The length in front of a packet (big-endian), from its first four bytes.
std::uint32_t packetLength(std::span<const std::byte, 4> prefix);

// A reply taken apart: its type, its id and the fields that follow.
struct Reply {
    std::uint8_t type = 0;
    std::uint32_t id = 0;
    std::span<const std::byte> body;
};

// A packet (without its length) as a reply to a request; nothing when it is too short for one.
std::optional<Reply> parseReply(std::span<const std::byte> packet);

// The server's VERSION packet (without its length), with the extensions it announces.
struct Version {
    std::uint32_t version = 0;
    std::map<std::string, std::string> extensions;
};
std::optional<Version> parseVersion(std::span<const std::byte> packet);

// Each decoder takes a reply to one kind of request to its outcome: the value, or the error of a
// STATUS. Nothing when the reply is malformed or of a type that the request never gets.
template <class T> using Decoder = std::optional<Outcome<T>> (*)(const Reply& reply);

std::optional<Outcome<Done>> decodeStatus(const Reply& reply);
std::optional<Outcome<Handle>> decodeHandle(const Reply& reply);
// The end of the file (an Eof status) is no data, not an error.
std::optional<Outcome<std::vector<std::byte>>> decodeData(const Reply& reply);
std::optional<Outcome<Attributes>> decodeAttributes(const Reply& reply);
std::optional<Outcome<std::vector<NameEntry>>> decodeNames(const Reply& reply);
// A NAME reply of exactly one name (REALPATH, READLINK): that name.
std::optional<Outcome<std::string>> decodeOneName(const Reply& reply);
std::optional<Outcome<FileSystemSpace>> decodeSpace(const Reply& reply);
std::optional<Outcome<Limits>> decodeLimits(const Reply& reply);

} // namespace brisko::platform::sftp::wire
