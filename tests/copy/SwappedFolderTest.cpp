#include "CopyFixture.h"
#include "run/ActionDriver.h"

#include <filesystem>

namespace brisko::test {
namespace {

namespace fs = std::filesystem;

constexpr std::time_t kSeen = 1700000000;

// Replaces a folder of the tree by a symbolic link to another folder of the tree.
void swapForLink(TempTree& tree, std::string_view folder, std::string_view other) {
    fs::remove_all(tree.path(folder));
    fs::create_directory_symlink(tree.path(other), tree.path(folder));
}

// Folders of both trees are swapped for links after the scan, to folders holding what the scan
// saw there (the same names, sizes and stamps): nothing is carried out through them.
TEST_F(CopyTest, FoldersSwappedForLinksAfterTheScanAreNeverFollowed) {
    if (!hostMakesSymlinks())
        GTEST_SKIP() << "this host makes no symbolic links";
    const std::vector<TreeEntry> seen = {
        {"OLD.TXT", "to delete", kSeen}, {"A.TXT", "old a", kSeen}, {"GONE/"}};
    for (const auto& [folder, entries] : {std::pair{"right/SUB/", seen},
                                          {"outside/", seen},
                                          {"left/SRC/", {{"B.TXT", "bbb", kSeen}}},
                                          {"elsewhere/", {{"B.TXT", "sss", kSeen}}}}) {
        for (const TreeEntry& entry : entries)
            tree.lay({{folder + entry.path, entry.content, entry.time}});
    }
    left("A.TXT", "new a");
    planDeletion("R:\\SUB\\OLD.TXT");
    engine().plan.addFolderToCreate("R:\\SUB\\NEW");
    engine().plan.addFolderToDelete("R:\\SUB\\GONE");
    planCopy("A.TXT", "", "R:\\SUB");
    engine::CopyAction fromSwapped = copyOf("B.TXT");
    fromSwapped.sourceFolder = "L:\\SRC";
    fromSwapped.sourceSize = 3;
    planCopy(fromSwapped);
    const TreeListing outside = tree.listing("outside");
    swapForLink(tree, "right/SUB", "outside");
    swapForLink(tree, "left/SRC", "elsewhere");

    listPlan();
    run::runActions(context().actionContext());

    EXPECT_EQ(tree.listing("outside"), outside);
    EXPECT_EQ(tree.time("outside/OLD.TXT"), kSeen);
    EXPECT_EQ(tree.time("outside/A.TXT"), kSeen);
    EXPECT_FALSE(rightHas("B.TXT"));
    ASSERT_EQ(context().history().rows().size(), 5u);
    for (const HistoryRow& done : context().history().rows())
        EXPECT_EQ(done.colour, RowColour::Red) << done.from << " " << done.status;
    EXPECT_EQ(context().failedActions(), 5);
    for (Counter done : {Counter::UpFiles, Counter::UpFolder, Counter::DlFiles, Counter::DlFolder})
        EXPECT_EQ(context().status().counter(done), 0);
}

} // namespace
} // namespace brisko::test
