#include "platform/sftp/SftpWire.h"

#include <functional>
#include <gtest/gtest.h>

namespace brisko::platform::sftp::wire {
namespace {

// A reply's bytes as the reader hands them over: without the length in front.
std::vector<std::byte> replyBytes(PacketBuilder&& packet) {
    std::vector<std::byte> bytes = std::move(packet).finish();
    bytes.erase(bytes.begin(), bytes.begin() + 4);
    return bytes;
}

template <auto decode> bool decodes(std::span<const std::byte> packet) {
    const auto reply = parseReply(packet);
    return reply && decode(*reply).has_value();
}

struct MalformedCase {
    const char* what;
    std::vector<std::byte> packet;
    std::function<bool(std::span<const std::byte>)> parses;
};

TEST(SftpWire, MalformedRepliesAreRefusedWithoutReadingPastThem) {
    const auto names = decodes<decodeNames>;
    const std::vector<MalformedCase> cases = {
        {"no bytes", {}, names},
        {"no whole id", replyBytes(PacketBuilder(type::kStatus)), decodes<decodeStatus>},
        {"status without its code", replyBytes(PacketBuilder(type::kStatus, 1)),
         decodes<decodeStatus>},
        {"names counted beyond the packet",
         replyBytes(std::move(PacketBuilder(type::kName, 1).u32(0x10000000))), names},
        {"a name longer than the packet",
         replyBytes(std::move(PacketBuilder(type::kName, 1).u32(1).u32(0xffffffff))), names},
        {"a name without attributes",
         replyBytes(std::move(PacketBuilder(type::kName, 1).u32(1).string("a").string("a"))),
         names},
        {"a handle longer than the packet",
         replyBytes(std::move(PacketBuilder(type::kHandle, 1).u32(100).u32(0))),
         decodes<decodeHandle>},
        {"data longer than the packet",
         replyBytes(std::move(PacketBuilder(type::kData, 1).u32(50).string("abc"))),
         decodes<decodeData>},
        {"a size cut short", replyBytes(std::move(PacketBuilder(type::kAttrs, 1).u32(0x01).u32(0))),
         decodes<decodeAttributes>},
        {"extended attributes counted beyond the packet",
         replyBytes(std::move(PacketBuilder(type::kAttrs, 1).u32(0x80000000).u32(0x7fffffff))),
         decodes<decodeAttributes>},
        {"an Ok status where a handle is due",
         replyBytes(std::move(PacketBuilder(type::kStatus, 1).u32(0).string("").string(""))),
         decodes<decodeHandle>},
        {"data where attributes are due",
         replyBytes(std::move(PacketBuilder(type::kData, 1).string("x"))),
         decodes<decodeAttributes>},
        {"two names where one is due",
         replyBytes(std::move(PacketBuilder(type::kName, 1)
                                  .u32(2)
                                  .string("a")
                                  .string("a")
                                  .u32(0)
                                  .string("b")
                                  .string("b")
                                  .u32(0))),
         decodes<decodeOneName>},
        {"file system space cut short",
         replyBytes(std::move(PacketBuilder(type::kExtendedReply, 1).u64(1).u64(2))),
         decodes<decodeSpace>},
        {"limits cut short",
         replyBytes(std::move(PacketBuilder(type::kExtendedReply, 1).u64(1).u64(2).u64(3))),
         decodes<decodeLimits>},
        {"a version whose extension has no version text",
         replyBytes(std::move(PacketBuilder(type::kVersion, 3).string("fsync@openssh.com"))),
         [](std::span<const std::byte> packet) { return parseVersion(packet).has_value(); }},
    };
    for (const MalformedCase& malformed : cases)
        EXPECT_FALSE(malformed.parses(malformed.packet)) << malformed.what;
}

TEST(SftpWire, AttributesAndStatusesReadAsWritten) {
    Attributes all;
    all.size = 0x1'0000'0002;
    all.uid = 1000;
    all.gid = 100;
    all.permissions = 0100644;
    all.accessTime = 7;
    all.modifyTime = 1'700'000'000;
    const auto packet = replyBytes(std::move(PacketBuilder(type::kAttrs, 9).attributes(all)));
    const auto reply = parseReply(packet);
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->id, 9u);
    const auto decoded = decodeAttributes(*reply);
    ASSERT_TRUE(decoded && decoded->ok());
    EXPECT_EQ(decoded->value.size, all.size);
    EXPECT_EQ(decoded->value.gid, all.gid);
    EXPECT_EQ(decoded->value.permissions, all.permissions);
    EXPECT_EQ(decoded->value.accessTime, all.accessTime);
    EXPECT_EQ(decoded->value.modifyTime, all.modifyTime);

    // A lone modification time is sent as the access time too, never dropped.
    Attributes stamp;
    stamp.modifyTime = 42;
    const auto stamped = replyBytes(std::move(PacketBuilder(type::kAttrs, 1).attributes(stamp)));
    const auto times = decodeAttributes(*parseReply(stamped));
    ASSERT_TRUE(times && times->ok());
    EXPECT_EQ(times->value.accessTime, 42u);
    EXPECT_FALSE(times->value.size);

    // A status without its message, as some servers send it, is still an error of its code;
    // the end of a file is no data rather than an error.
    const auto bare = replyBytes(std::move(PacketBuilder(type::kStatus, 1).u32(2)));
    const auto status = decodeStatus(*parseReply(bare));
    ASSERT_TRUE(status && status->error);
    EXPECT_EQ(status->error->code, Code::NoSuchFile);
    EXPECT_FALSE(status->error->message.empty());
    const auto end = replyBytes(std::move(PacketBuilder(type::kStatus, 1).u32(1)));
    const auto data = decodeData(*parseReply(end));
    ASSERT_TRUE(data && data->ok());
    EXPECT_TRUE(data->value.empty());
}

} // namespace
} // namespace brisko::platform::sftp::wire
