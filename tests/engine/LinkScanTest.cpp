#include "ScanFixture.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace brisko::engine::test {
namespace {

using Lines = std::vector<std::string>;

// Links, pipes and folders met by real scans: the file system reports a symbolic link as an
// entry of its own and never follows it.
class LinkScanTest : public ScanFixture {
protected:
    void SetUp() override {
        if (!brisko::test::hostMakesSymlinks())
            GTEST_SKIP() << "the system makes no symbolic links here";
    }
    Lines sortedProblems() const {
        Lines lines = problems();
        std::sort(lines.begin(), lines.end());
        return lines;
    }
};

TEST_F(LinkScanTest, ALinkIsCopiedAsALinkAndNeverReadThrough) {
    // The link leads out of the tree, to a file that must never be copied into the other tree.
    const std::string outside = tree.write("outside/secret", "secret").string();
    lay({{"left/DATA/A.TXT", "a"}, {"right/DATA/SECRET", "->" + outside}});
    execute(script::UpdateMode::Update);

    ASSERT_EQ(copies(),
              (Lines{"L:\\DATA\\A.TXT > R:\\DATA\\A.TXT", "R:\\DATA\\SECRET > L:\\DATA\\SECRET"}));
    const CopyAction& link = plan.filesToCopy()[1];
    EXPECT_TRUE(link.link);
    EXPECT_EQ(link.linkTarget, outside);
    EXPECT_EQ(link.sourceSize, 0);
    EXPECT_EQ(host.history[1].status, "Link to be copied");
}

TEST_F(LinkScanTest, ALinkFacingAFolderKeepsBothAndIsReportedOnce) {
    tree.makeFolder("outside");
    lay({{"left/DATA/X/A.TXT", "a"},
         {"right/DATA/X", "->" + tree.path("outside").string()},
         {"left/DATA/Y", "->nowhere"},
         {"right/DATA/Y/B.TXT", "b"}});
    execute(script::UpdateMode::LMaster);

    EXPECT_TRUE(planIsEmpty());
    const std::string clash = "Passed over - a link faces a file or folder of the same name";
    EXPECT_EQ(sortedProblems(), (Lines{"L:\\DATA\\Y: " + clash, "R:\\DATA\\X: " + clash}));
}

TEST_F(LinkScanTest, PipesArePassedOverInPlainRows) {
    lay({{"left/DATA/A.TXT", "a"}});
#ifdef _WIN32
    GTEST_SKIP() << "a FIFO is a POSIX thing";
#else
    ASSERT_EQ(mkfifo(tree.path("left/DATA/PIPE").c_str(), 0600), 0);
#endif
    execute(script::UpdateMode::OneLTR);
    EXPECT_EQ(copies(), Lines{"L:\\DATA\\A.TXT > R:\\DATA\\A.TXT"});
    ASSERT_EQ(host.problems.size(), 1u);
    EXPECT_EQ(host.problems[0].colour, RowColour::Plain);
}

} // namespace
} // namespace brisko::engine::test
