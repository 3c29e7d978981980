#include "engine/BinaryCompare.h"

#include "ScanFixture.h"

#include <gtest/gtest.h>

namespace brisko::engine::test {
namespace {

using test::PrintTo;

constexpr std::size_t kBlock = 65536;

struct CompareCase {
    const char* name;
    std::string first;
    std::string second;
    bool same;
};

std::string withByte(std::string text, std::size_t at, char value) {
    text[at] = value;
    return text;
}

const std::string kTwoBlocks(2 * kBlock + 100, 'b');

const CompareCase kCases[] = {
    {"EqualFiles", kTwoBlocks, kTwoBlocks, true},
    {"EmptyFiles", "", "", true},
    {"FirstByte", kTwoBlocks, withByte(kTwoBlocks, 0, 'x'), false},
    {"LastByte", kTwoBlocks, withByte(kTwoBlocks, kTwoBlocks.size() - 1, 'x'), false},
    {"LastByteOfABlock", kTwoBlocks, withByte(kTwoBlocks, kBlock - 1, 'x'), false},
    // A file that goes on after the other ends at a block boundary is not the same file.
    {"LongerAtABlockBoundary", std::string(kBlock, 'c'), std::string(kBlock + 1, 'c'), false},
    {"ShorterAtABlockBoundary", std::string(kBlock + 1, 'c'), std::string(kBlock, 'c'), false},
    {"ShorterWithinABlock", "abcdef", "abc", false},
};

class BinaryCompareTest : public ScanFixture, public ::testing::WithParamInterface<CompareCase> {};

TEST_P(BinaryCompareTest, StopsAtTheFirstDifference) {
    const CompareCase& c = GetParam();
    lay({{"left/A.BIN", c.first}, {"right/A.BIN", c.second}});
    EngineContext engine = context();
    for (bool fromDisk : {false, true}) {
        EXPECT_EQ(binaryCompare(engine, "L:\\A.BIN", "R:\\A.BIN",
                                static_cast<std::int64_t>(c.first.size()), fromDisk),
                  c.same);
        EXPECT_EQ(host.progressDone, 0);
        EXPECT_EQ(host.progressTotal, static_cast<std::int64_t>(c.first.size()));
    }
    EXPECT_TRUE(operatorPort.questions.empty());
}

INSTANTIATE_TEST_SUITE_P(Files, BinaryCompareTest, ::testing::ValuesIn(kCases), CaseName());

TEST_F(ScanFixture, BinaryCompareOfAFileThatCannotBeOpenedCountsAsEqual) {
    lay({{"left/A.BIN", "a"}});
    EngineContext engine = context();
    EXPECT_TRUE(binaryCompare(engine, "L:\\A.BIN", "R:\\MISSING.BIN", 1));
    // A copy that cannot be read back is not verified.
    EXPECT_FALSE(binaryCompare(engine, "L:\\A.BIN", "R:\\MISSING.BIN", 1, true));
    operatorPort.questions.resize(1);
    ASSERT_EQ(operatorPort.questions.size(), 1u);
    EXPECT_EQ(operatorPort.questions[0].kind(), DialogKind::Standard);
    EXPECT_EQ(operatorPort.questions[0].as<StandardQuestion>().message,
              "Could not open Source or Target File for Binary Compare");
    EXPECT_EQ(operatorPort.questions[0].timeoutSeconds, 60);
}

TEST_F(ScanFixture, BinaryCompareStopsOnAbortBetweenBlocks) {
    const std::string content(4 * kBlock, 'd');
    lay({{"left/A.BIN", content}, {"right/A.BIN", withByte(content, content.size() - 1, 'x')}});
    host.abortAtPump = 2;
    EngineContext engine = context();
    // Stopped after the first block, before the difference was reached.
    EXPECT_TRUE(binaryCompare(engine, "L:\\A.BIN", "R:\\A.BIN", 4 * kBlock));
    EXPECT_EQ(host.pumps, 2);
    EXPECT_EQ(host.progressDone, 0);
}

} // namespace
} // namespace brisko::engine::test
