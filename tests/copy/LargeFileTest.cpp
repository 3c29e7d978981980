#include "CopyFixture.h"

#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

namespace brisko::test {
namespace {

// Sizes beyond 32 bits: a sparse source of 2 GiB and one byte (cheap to make, and the byte at
// its end shows that nothing was cut off) is copied, verified, counted and shown.
TEST_F(CopyTest, FileOfTwoGibibytesAndMoreIsCopiedVerifiedAndCounted) {
    constexpr std::int64_t kSize = (std::int64_t{1} << 31) + 1;
    left("HUGE.BIN", "");
    {
        const int fd = ::open(leftHost("HUGE.BIN").c_str(), O_WRONLY);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(ftruncate(fd, kSize - 1), 0);
        ASSERT_EQ(pwrite(fd, "!", 1, kSize - 1), 1);
        ::close(fd);
    }
    planCopy("HUGE.BIN");
    ASSERT_EQ(context().plan().filesToCopy()[0].sourceSize, kSize);
    context().setBinaryCompareAfterCopy(true);

    copyPlannedFiles();

    EXPECT_EQ(copyRow(0).status, "File copied");
    EXPECT_EQ(static_cast<std::int64_t>(std::filesystem::file_size(rightHost("HUGE.BIN"))), kSize);
    {
        const int fd = ::open(rightHost("HUGE.BIN").c_str(), O_RDONLY);
        ASSERT_GE(fd, 0);
        char last = 0;
        EXPECT_EQ(pread(fd, &last, 1, kSize - 1), 1);
        ::close(fd);
        EXPECT_EQ(last, '!');
    }
    EXPECT_EQ(context().status().counter(Counter::UpFiles), 1);
    EXPECT_EQ(display.highestFileProgress, kSize);
    EXPECT_EQ(display.fileProgress.second, kSize);
    EXPECT_EQ(display.totalProgress, std::make_pair(kSize, kSize));
    EXPECT_EQ(display.stateTexts, (std::vector<std::string>{"Binary compare", "Copying"}));
}

} // namespace
} // namespace brisko::test
