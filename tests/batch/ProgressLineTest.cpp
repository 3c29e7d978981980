#include "batch/ProgressLine.h"

#include "support/ManualClock.h"

#include <gtest/gtest.h>
#include <sstream>

namespace brisko::test {
namespace {

constexpr std::int64_t kMiB = 1024 * 1024;

TEST(ProgressLine, ShowsTheSpeedAndTheTimeLeftOnceBytesMove) {
    ManualClock clock;
    std::ostringstream out;
    batch::ProgressLine line(out, clock);
    line.setBytes(1 * kMiB, 100 * kMiB); // the copy starts here
    EXPECT_EQ(out.str().find("left"), std::string::npos) << out.str();
    clock.advance(std::chrono::seconds(2));
    line.setBytes(21 * kMiB, 100 * kMiB); // 10 MiB a second; 79 MiB to go
    EXPECT_NE(out.str().find("21 MiB/100 MiB  10 MiB/s, 0:07 left"), std::string::npos)
        << out.str();
}

TEST(ProgressLine, SummaryCountsAndTimesTheRun) {
    EXPECT_EQ(batch::runSummary(1, 0, 2, 3, std::chrono::seconds(3725)),
              "copied 1 file, deleted 0 files and 2 folders, 3 failed, in 1:02:05");
}

} // namespace
} // namespace brisko::test
