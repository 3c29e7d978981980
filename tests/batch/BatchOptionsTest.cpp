#include "batch/BatchOptions.h"

#include "support/CasePrinter.h"

#include <gtest/gtest.h>

namespace brisko::batch {
namespace {

struct OptionCase {
    std::vector<std::string> arguments;
    bool ok;
    BatchMode mode;
    std::size_t parameterCount;
};
PRINT_CASE_AS(OptionCase, ::testing::PrintToString(c.arguments));

class BatchOptionsTable : public ::testing::TestWithParam<OptionCase> {};

TEST_P(BatchOptionsTable, ParsesOrRefuses) {
    const OptionCase& c = GetParam();
    ParseResult parsed = parseBatchOptions(c.arguments);
    EXPECT_EQ(parsed.error.empty(), c.ok) << parsed.error;
    if (c.ok) {
        EXPECT_EQ(parsed.options.mode, c.mode);
        EXPECT_EQ(parsed.options.parameters.size(), c.parameterCount);
    }
}

INSTANTIATE_TEST_SUITE_P(
    CommandLines, BatchOptionsTable,
    ::testing::Values(OptionCase{{"a.brk"}, true, BatchMode::Run, 1},
                      OptionCase{{"--check", "a.brk"}, true, BatchMode::Check, 1},
                      OptionCase{
                          {"--dry-run", "a.brk", "L=E:", "r=F:"}, true, BatchMode::DryRun, 3},
                      OptionCase{{"--check", "--dry-run", "a.brk"}, false, BatchMode::Run, 0},
                      OptionCase{{}, false, BatchMode::Run, 0},
                      OptionCase{{"--check"}, false, BatchMode::Run, 0},
                      OptionCase{{"--frobnicate", "a.brk"}, false, BatchMode::Run, 0},
                      OptionCase{{"a.brk", "X:"}, false, BatchMode::Run, 0},
                      OptionCase{{"a.brk", "L=E:", "R=F:", "L=G:"}, false, BatchMode::Run, 0},
                      OptionCase{{"--drive"}, false, BatchMode::Run, 0},
                      OptionCase{{"a.brk", "--share"}, false, BatchMode::Run, 0},
                      OptionCase{{"--", "-odd name.brk"}, true, BatchMode::Run, 1},
                      OptionCase{{"--allow-empty-master", "a.brk"}, true, BatchMode::Run, 1}));

TEST(BatchOptions, CollectsDrivesAndFlagsInOrder) {
    ParseResult parsed =
        parseBatchOptions({"--drive", "C=/srv", "--share", "\\\\NAS\\B=/mnt", "--drive=F=/media/b",
                           "--share=\\\\S\\X=x", "--verify", "--continue", "--dry-run",
                           "--allow-empty-master", "s.brk", "L=C:"});
    ASSERT_TRUE(parsed.error.empty()) << parsed.error;
    EXPECT_EQ(parsed.options.drives, (std::vector<std::string>{"C=/srv", "F=/media/b"}));
    EXPECT_EQ(parsed.options.shares, (std::vector<std::string>{"\\\\NAS\\B=/mnt", "\\\\S\\X=x"}));
    EXPECT_TRUE(parsed.options.verify);
    EXPECT_TRUE(parsed.options.continueAfterPause);
    EXPECT_TRUE(parsed.options.allowEmptyMaster);
    EXPECT_EQ(parsed.options.parameters, (std::vector<std::string>{"s.brk", "L=C:"}));
}

} // namespace
} // namespace brisko::batch
