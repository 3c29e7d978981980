#include "BatchProcess.h"
#include "support/MappedTree.h"

#include <gtest/gtest.h>

namespace brisko::test {
namespace {

constexpr std::time_t kOld = 1600000000;
constexpr std::time_t kNew = 1700000000;
constexpr std::time_t kNewer = 1710000000;

// Masks and backup names as a run of the console runner meets them, on L: and R:.
class MaskAndBackupTest : public ::testing::Test {
protected:
    void run(const std::string& sessionKeys) {
        tree.write("job.brk", "LeftRoot=L:\nRightRoot=R:\nLeftPath=\\\nRightPath=\\\n" +
                                  sessionKeys + "Execute\n");
        std::vector<std::string> arguments = tree.driveOptions();
        arguments.push_back(tree.path("job.brk").string());
        const ProcessResult result = runBatchProcess(arguments);
        EXPECT_EQ(result.exitStatus, 0) << result.out << result.err;
    }

    MappedTree tree{{{'L', "left"}, {'R', "right"}}};
};

TEST_F(MaskAndBackupTest, SessionMaskWithAnExtensionLeavesNamesWithoutOneAlone) {
    tree.lay({{"left/DATA.DBF", "data"},
              {"right/DATA.DBF", "data"},
              {"right/README", "copy side only"},
              {"right/OLD.DBF", "copy side only"}});
    run("SessionFiles=*.DBF\nMissingFile=Delete\n");
    EXPECT_EQ(tree.listing("right"),
              (TreeListing{{"DATA.DBF", "data"}, {"README", "copy side only"}}));
}

TEST_F(MaskAndBackupTest, ExcludedExtensionLeavesNamesWithoutOneInTheRun) {
    tree.lay({{"left/Makefile", "all:"},
              {"left/.bashrc", "set -o vi"},
              {"left/.git/HEAD", "ref: main"},
              {"left/a.tmp", "scratch"}});
    run("Exclude=*.tmp\nMissingFile=Create\nMissingFolder=Auto\nUpdateMode=1LTR\n");
    EXPECT_EQ(
        tree.listing("right"),
        (TreeListing{{"Makefile", "all:"}, {".bashrc", "set -o vi"}, {".git/HEAD", "ref: main"}}));
}

TEST_F(MaskAndBackupTest, EveryFileKeepsItsOwnBackupsAndNoFileIsTakenForOne) {
    const std::string keys = "Backup=OLD\nMissingFile=Create\nUpdateMode=1LTR\n";
    tree.lay({{"left/changelog.gz", "log 2", kNew},
              {"left/changelog.Debian.gz", "debian 2", kNew},
              {"left/Changes.old.gz", "changes", kNew},
              {"right/changelog.gz", "log 1", kOld},
              {"right/changelog.Debian.gz", "debian 1", kOld}});
    run(keys);
    tree.lay(
        {{"left/changelog.gz", "log 3", kNewer}, {"left/changelog.Debian.gz", "debian 3", kNewer}});
    run(keys);
    EXPECT_EQ(tree.listing("right"), (TreeListing{{"changelog.gz", "log 3"},
                                                  {"changelog.gz.OLD", "log 2"},
                                                  {"changelog.Debian.gz", "debian 3"},
                                                  {"changelog.Debian.gz.OLD", "debian 2"},
                                                  {"Changes.old.gz", "changes"}}));
}

} // namespace
} // namespace brisko::test
