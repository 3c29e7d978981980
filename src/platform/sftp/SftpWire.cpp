#include "platform/sftp/SftpWire.h"

#include <algorithm>

namespace brisko::platform::sftp::wire {

namespace {

namespace attribute_flags {
constexpr std::uint32_t kSize = 0x01;
constexpr std::uint32_t kUidGid = 0x02;
constexpr std::uint32_t kPermissions = 0x04;
constexpr std::uint32_t kTimes = 0x08;
constexpr std::uint32_t kExtended = 0x80000000;
} // namespace attribute_flags

// The fewest bytes one entry of a NAME reply takes: two empty strings and empty attributes.
constexpr std::size_t kSmallestNameEntry = 12;
// The fewest bytes one extended attribute takes: two empty strings.
constexpr std::size_t kSmallestExtendedAttribute = 8;
// The fields of a statvfs@openssh.com reply.
constexpr std::size_t kSpaceFields = 11;
constexpr std::uint64_t kReadOnlyFlag = 0x1;

// The error of a STATUS reply; Ok stays nothing. Nothing at all when the reply is malformed.
// The message and its language tag may be left out, as some servers do.
std::optional<std::optional<Error>> statusOf(const Reply& reply) {
    FieldReader fields(reply.body);
    std::uint32_t code = 0;
    if (!fields.u32(code))
        return std::nullopt;
    Error error{static_cast<Code>(code), {}, false};
    if (fields.left() > 0 && !fields.string(error.message))
        return std::nullopt;
    if (code == static_cast<std::uint32_t>(Code::Ok))
        return std::optional<Error>();
    if (error.message.empty())
        error.message = "the server answered with status " + std::to_string(code);
    return std::optional<Error>(std::move(error));
}

// The outcome of a STATUS reply to a request that expects a value: its error. An Ok status is
// no answer to such a request.
template <class T> std::optional<Outcome<T>> failureOf(const Reply& reply) {
    const auto status = statusOf(reply);
    if (!status || !*status)
        return std::nullopt;
    return Outcome<T>::failed(std::move(**status));
}

template <class T> std::optional<Outcome<T>> valueOf(T value) {
    return Outcome<T>{std::nullopt, std::move(value)};
}

} // namespace

PacketBuilder::PacketBuilder(std::uint8_t type) {
    bytes_.resize(4); // the length, filled in at the end
    bytes_.push_back(static_cast<std::byte>(type));
}

PacketBuilder::PacketBuilder(std::uint8_t type, std::uint32_t id) : PacketBuilder(type) {
    u32(id);
}

PacketBuilder& PacketBuilder::u32(std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        bytes_.push_back(static_cast<std::byte>((value >> shift) & 0xff));
    return *this;
}

PacketBuilder& PacketBuilder::u64(std::uint64_t value) {
    u32(static_cast<std::uint32_t>(value >> 32));
    return u32(static_cast<std::uint32_t>(value));
}

PacketBuilder& PacketBuilder::string(std::string_view text) {
    return string(std::as_bytes(std::span(text.data(), text.size())));
}

PacketBuilder& PacketBuilder::string(std::span<const std::byte> data) {
    u32(static_cast<std::uint32_t>(data.size()));
    bytes_.insert(bytes_.end(), data.begin(), data.end());
    return *this;
}

PacketBuilder& PacketBuilder::attributes(const Attributes& attributes) {
    namespace f = attribute_flags;
    const bool owners = attributes.uid && attributes.gid;
    const bool times = attributes.accessTime || attributes.modifyTime;
    const std::uint32_t flags = (attributes.size ? f::kSize : 0) | (owners ? f::kUidGid : 0) |
                                (attributes.permissions ? f::kPermissions : 0) |
                                (times ? f::kTimes : 0);
    u32(flags);
    if (attributes.size)
        u64(*attributes.size);
    if (owners)
        u32(*attributes.uid).u32(*attributes.gid);
    if (attributes.permissions)
        u32(*attributes.permissions);
    if (times) {
        const std::uint32_t modified = attributes.modifyTime.value_or(*attributes.accessTime);
        u32(attributes.accessTime.value_or(modified)).u32(modified);
    }
    return *this;
}

std::vector<std::byte> PacketBuilder::finish() && {
    const auto length = static_cast<std::uint32_t>(bytes_.size() - 4);
    for (std::size_t i = 0; i < 4; ++i)
        bytes_[i] = static_cast<std::byte>((length >> (24 - 8 * i)) & 0xff);
    return std::move(bytes_);
}

std::span<const std::byte> FieldReader::take(std::size_t count) {
    if (failed_ || count > bytes_.size() - position_) {
        failed_ = true;
        return {};
    }
    const auto taken = bytes_.subspan(position_, count);
    position_ += count;
    return taken;
}

bool FieldReader::u8(std::uint8_t& value) {
    const auto bytes = take(1);
    if (bytes.empty())
        return false;
    value = static_cast<std::uint8_t>(bytes[0]);
    return true;
}

bool FieldReader::u32(std::uint32_t& value) {
    const auto bytes = take(4);
    if (bytes.empty())
        return false;
    value = packetLength(bytes.first<4>());
    return true;
}

bool FieldReader::u64(std::uint64_t& value) {
    std::uint32_t high = 0, low = 0;
    if (!u32(high) || !u32(low))
        return false;
    value = (std::uint64_t{high} << 32) | low;
    return true;
}

bool FieldReader::string(std::string& text) {
    std::uint32_t length = 0;
    if (!u32(length))
        return false;
    const auto bytes = take(length);
    if (failed_)
        return false;
    text.assign(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return true;
}

bool FieldReader::data(std::vector<std::byte>& data) {
    std::uint32_t length = 0;
    if (!u32(length))
        return false;
    const auto bytes = take(length);
    if (failed_)
        return false;
    data.assign(bytes.begin(), bytes.end());
    return true;
}

bool FieldReader::attributes(Attributes& attributes) {
    namespace f = attribute_flags;
    std::uint32_t flags = 0;
    if (!u32(flags))
        return false;
    attributes = {};
    std::uint32_t first = 0, second = 0;
    if (flags & f::kSize) {
        std::uint64_t size = 0;
        if (!u64(size))
            return false;
        attributes.size = size;
    }
    if (flags & f::kUidGid) {
        if (!u32(first) || !u32(second))
            return false;
        attributes.uid = first;
        attributes.gid = second;
    }
    if (flags & f::kPermissions) {
        if (!u32(first))
            return false;
        attributes.permissions = first;
    }
    if (flags & f::kTimes) {
        if (!u32(first) || !u32(second))
            return false;
        attributes.accessTime = first;
        attributes.modifyTime = second;
    }
    if (flags & f::kExtended) {
        std::uint32_t count = 0;
        if (!u32(count))
            return false;
        if (count > left() / kSmallestExtendedAttribute) {
            failed_ = true;
            return false;
        }
        std::string ignored;
        for (std::uint32_t i = 0; i < count; ++i) {
            if (!string(ignored) || !string(ignored))
                return false;
        }
    }
    return true;
}

std::uint32_t packetLength(std::span<const std::byte, 4> prefix) {
    std::uint32_t value = 0;
    for (const std::byte b : prefix)
        value = (value << 8) | static_cast<std::uint32_t>(b);
    return value;
}

std::optional<Reply> parseReply(std::span<const std::byte> packet) {
    FieldReader fields(packet);
    Reply reply;
    if (!fields.u8(reply.type) || !fields.u32(reply.id))
        return std::nullopt;
    reply.body = packet.subspan(5);
    return reply;
}

std::optional<Version> parseVersion(std::span<const std::byte> packet) {
    FieldReader fields(packet);
    std::uint8_t kind = 0;
    Version version;
    if (!fields.u8(kind) || kind != type::kVersion || !fields.u32(version.version))
        return std::nullopt;
    while (fields.left() > 0) {
        std::string name, data;
        if (!fields.string(name) || !fields.string(data))
            return std::nullopt;
        version.extensions.emplace(std::move(name), std::move(data));
    }
    return version;
}

std::optional<Outcome<Done>> decodeStatus(const Reply& reply) {
    if (reply.type != type::kStatus)
        return std::nullopt;
    auto status = statusOf(reply);
    if (!status)
        return std::nullopt;
    return Outcome<Done>{std::move(*status), {}};
}

std::optional<Outcome<Handle>> decodeHandle(const Reply& reply) {
    if (reply.type != type::kHandle)
        return failureOf<Handle>(reply);
    FieldReader fields(reply.body);
    Handle handle;
    if (!fields.string(handle))
        return std::nullopt;
    return valueOf(std::move(handle));
}

std::optional<Outcome<std::vector<std::byte>>> decodeData(const Reply& reply) {
    if (reply.type == type::kStatus) {
        const auto status = statusOf(reply);
        if (status && *status && (*status)->code == Code::Eof)
            return valueOf(std::vector<std::byte>());
        return failureOf<std::vector<std::byte>>(reply);
    }
    if (reply.type != type::kData)
        return std::nullopt;
    FieldReader fields(reply.body);
    std::vector<std::byte> data;
    if (!fields.data(data))
        return std::nullopt;
    return valueOf(std::move(data));
}

std::optional<Outcome<Attributes>> decodeAttributes(const Reply& reply) {
    if (reply.type != type::kAttrs)
        return failureOf<Attributes>(reply);
    FieldReader fields(reply.body);
    Attributes attributes;
    if (!fields.attributes(attributes))
        return std::nullopt;
    return valueOf(std::move(attributes));
}

std::optional<Outcome<std::vector<NameEntry>>> decodeNames(const Reply& reply) {
    if (reply.type != type::kName)
        return failureOf<std::vector<NameEntry>>(reply);
    FieldReader fields(reply.body);
    std::uint32_t count = 0;
    if (!fields.u32(count) || count > fields.left() / kSmallestNameEntry)
        return std::nullopt;
    std::vector<NameEntry> names(count);
    std::string longName;
    for (NameEntry& entry : names) {
        if (!fields.string(entry.name) || !fields.string(longName) ||
            !fields.attributes(entry.attributes))
            return std::nullopt;
    }
    return valueOf(std::move(names));
}

std::optional<Outcome<std::string>> decodeOneName(const Reply& reply) {
    auto names = decodeNames(reply);
    if (!names)
        return std::nullopt;
    if (!names->ok())
        return Outcome<std::string>::failed(std::move(*names->error));
    if (names->value.size() != 1)
        return std::nullopt;
    return valueOf(std::move(names->value.front().name));
}

std::optional<Outcome<FileSystemSpace>> decodeSpace(const Reply& reply) {
    if (reply.type != type::kExtendedReply)
        return failureOf<FileSystemSpace>(reply);
    FieldReader fields(reply.body);
    std::uint64_t values[kSpaceFields] = {};
    for (std::uint64_t& value : values) {
        if (!fields.u64(value))
            return std::nullopt;
    }
    // bsize, frsize, blocks, bfree, bavail, files, ffree, favail, fsid, flag, namemax
    FileSystemSpace space;
    space.blockSize = values[0];
    space.fragmentSize = values[1];
    space.blocks = values[2];
    space.freeBlocks = values[3];
    space.availableBlocks = values[4];
    space.readOnly = values[9] & kReadOnlyFlag;
    return valueOf(space);
}

std::optional<Outcome<Limits>> decodeLimits(const Reply& reply) {
    if (reply.type != type::kExtendedReply)
        return failureOf<Limits>(reply);
    FieldReader fields(reply.body);
    Limits limits;
    if (!fields.u64(limits.maxPacket) || !fields.u64(limits.maxRead) ||
        !fields.u64(limits.maxWrite) || !fields.u64(limits.maxOpenHandles))
        return std::nullopt;
    return valueOf(limits);
}

} // namespace brisko::platform::sftp::wire
