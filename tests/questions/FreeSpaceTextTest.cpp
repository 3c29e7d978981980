#include "questions/FreeSpaceText.h"

#include <gtest/gtest.h>
#include <limits>

namespace brisko::test {
namespace {

TEST(FreeSpaceTextTest, ShortfallIsInMegabytesOf1024000RoundedUp) {
    const std::pair<std::int64_t, std::int64_t> cases[] = {
        {-1, 1},
        {-1'024'000, 1},
        {-1'024'001, 2},
        {-12 * 1'024'000, 12},
        {std::numeric_limits<std::int64_t>::min(), 9'007'199'254'741},
    };
    for (const auto& [balance, megabytes] : cases)
        EXPECT_EQ(questions::shortfallMegabytes(balance), megabytes) << balance;
}

TEST(FreeSpaceTextTest, EveryShortDriveHasARow) {
    const questions::FreeSpaceText text = questions::describeFreeSpace(
        {{"C:", -1}, {"D:", -2'048'000}, {"F:", -5}, {"\\\\NAS\\B", -1'024'001}});
    EXPECT_EQ(text.caption, "Free Space Warning !");
    EXPECT_EQ(text.intro, "You need to free space on:");
    EXPECT_EQ(text.rowLabel, "Drive");
    const std::vector<std::pair<std::string, std::string>> expected{
        {"C :", "1 Mb"}, {"D :", "2 Mb"}, {"F :", "1 Mb"}, {"\\\\NAS\\B :", "2 Mb"}};
    ASSERT_EQ(text.rows.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(text.rows[i].drive, expected[i].first);
        EXPECT_EQ(text.rows[i].amount, expected[i].second);
    }
}

} // namespace
} // namespace brisko::test
