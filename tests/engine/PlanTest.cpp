#include "engine/Plan.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace brisko::engine {
namespace {

std::vector<std::string> pathsOf(const std::vector<PathAction>& actions) {
    std::vector<std::string> paths;
    for (const PathAction& action : actions)
        paths.push_back(action.path);
    return paths;
}

CopyAction copyOf(std::string source, std::string target, std::string name) {
    CopyAction copy;
    copy.sourceFolder = std::move(source);
    copy.targetFolder = std::move(target);
    copy.name = std::move(name);
    return copy;
}

TEST(PlanTest, PathListsKeepOrderAndRefuseExactDuplicates) {
    Plan plan;
    EXPECT_TRUE(plan.addFolderToCreate("C:\\B"));
    EXPECT_TRUE(plan.addFolderToCreate("C:\\A"));
    EXPECT_FALSE(plan.addFolderToCreate("C:\\B"));
    EXPECT_TRUE(plan.addFolderToCreate("C:\\b")); // paths compare exactly, case included
    EXPECT_EQ(pathsOf(plan.foldersToCreate()),
              (std::vector<std::string>{"C:\\B", "C:\\A", "C:\\b"}));

    EXPECT_TRUE(plan.addFolderToDelete("D:\\OLD"));
    EXPECT_FALSE(plan.addFolderToDelete("D:\\OLD"));
    EXPECT_EQ(pathsOf(plan.foldersToDelete()), (std::vector<std::string>{"D:\\OLD"}));

    EXPECT_TRUE(plan.addFileToDelete("C:\\X.TXT", 10));
    EXPECT_FALSE(plan.addFileToDelete("C:\\X.TXT", 20));
    ASSERT_EQ(plan.filesToDelete().size(), 1u);
    EXPECT_EQ(plan.filesToDelete()[0].size, 10); // the first listing stands

    // Each list has an index of its own.
    EXPECT_TRUE(plan.hasFolderToCreate("C:\\A"));
    EXPECT_FALSE(plan.hasFolderToDelete("C:\\A"));
    EXPECT_FALSE(plan.hasFileToDelete("C:\\A"));
    EXPECT_TRUE(plan.hasFolderToDelete("D:\\OLD"));
    EXPECT_TRUE(plan.hasFileToDelete("C:\\X.TXT"));
    EXPECT_FALSE(plan.hasFileToDelete("c:\\x.txt"));
}

TEST(PlanTest, OneCopyPerTargetPath) {
    Plan plan;
    EXPECT_TRUE(plan.addCopy(copyOf("C:\\L", "D:\\R", "A.TXT")));
    EXPECT_FALSE(plan.addCopy(copyOf("E:\\OTHER", "D:\\R", "A.TXT"))); // whatever its source
    EXPECT_TRUE(plan.addCopy(copyOf("D:\\R", "C:\\L", "A.TXT")));      // the other way
    EXPECT_TRUE(plan.addCopy(copyOf("C:\\L", "D:\\R", "a.txt")));
    ASSERT_EQ(plan.filesToCopy().size(), 3u);
    EXPECT_EQ(plan.filesToCopy()[1].sourceFolder, "D:\\R");

    EXPECT_TRUE(plan.isCopyTarget("D:\\R\\A.TXT"));
    EXPECT_TRUE(plan.isCopyTarget("C:\\L\\A.TXT"));
    EXPECT_FALSE(plan.isCopyTarget("E:\\OTHER\\A.TXT"));
    EXPECT_FALSE(plan.isCopyTarget("D:\\R"));
}

TEST(PlanTest, EmptyClearAndSessionTotals) {
    Plan plan;
    EXPECT_TRUE(plan.empty());
    EXPECT_EQ(plan.totalBytes(), 0);

    plan.addCopy(copyOf("C:\\L", "D:\\R", "A.TXT"));
    EXPECT_FALSE(plan.empty());
    plan.addSessionBytes(1, 3'000'000'000);
    plan.addSessionBytes(2, 5);
    EXPECT_EQ(plan.totalBytes(), 3'000'000'005);

    plan.addFolderToCreate("C:\\NEW");
    plan.addFolderToDelete("C:\\OLD");
    plan.addFileToDelete("C:\\OLD.TXT", 1);
    plan.clear();
    EXPECT_TRUE(plan.empty());
    EXPECT_EQ(plan.sessionBytes(), std::vector<std::int64_t>{0});
    EXPECT_FALSE(plan.isCopyTarget("D:\\R\\A.TXT"));
    EXPECT_FALSE(plan.hasFolderToCreate("C:\\NEW"));
    EXPECT_FALSE(plan.hasFolderToDelete("C:\\OLD"));
    EXPECT_FALSE(plan.hasFileToDelete("C:\\OLD.TXT"));
    // After clearing, the same paths can be listed again.
    EXPECT_TRUE(plan.addCopy(copyOf("C:\\L", "D:\\R", "A.TXT")));
}

TEST(PlanTest, LargePlanAnswersEveryMembershipTest) {
    constexpr int kEntries = 100'000;
    Plan plan;
    ASSERT_TRUE(plan.addCopy(copyOf("C:\\FIRST", "D:\\FIRST", "F.DAT")));
    const CopyAction* first = &plan.filesToCopy()[0];
    for (int i = 1; i < kEntries; ++i) {
        const std::string name = "F" + std::to_string(i) + ".DAT";
        ASSERT_TRUE(plan.addCopy(copyOf("C:\\SRC\\SUB", "D:\\DST\\SUB", name)));
        ASSERT_TRUE(plan.addFileToDelete("D:\\OLD\\" + name, i));
    }
    ASSERT_EQ(plan.filesToCopy().size(), static_cast<std::size_t>(kEntries));
    EXPECT_EQ(&plan.filesToCopy()[0], first); // copies stay where they were listed
    int hits = 0;
    int refused = 0;
    int placed = 0;
    for (int i = 1; i < kEntries; ++i) {
        const std::string name = "F" + std::to_string(i) + ".DAT";
        hits += plan.isCopyTarget("D:\\DST\\SUB\\" + name) ? 1 : 0;
        hits += plan.hasFileToDelete("D:\\OLD\\" + name) ? 1 : 0;
        hits += plan.isCopyTarget("C:\\SRC\\SUB\\" + name) ? 1 : 0; // sources are not targets
        refused += plan.addCopy(copyOf("E:\\ELSE", "D:\\DST\\SUB", name)) ? 0 : 1;
        const auto index = static_cast<std::size_t>(i);
        placed += plan.copyIndex(plan.filesToCopy()[index]) == index ? 1 : 0;
    }
    EXPECT_EQ(hits, 2 * (kEntries - 1));
    EXPECT_EQ(refused, kEntries - 1);
    EXPECT_EQ(placed, kEntries - 1);
    EXPECT_TRUE(plan.isCopyTarget("D:\\FIRST\\F.DAT"));
    // Order of listing kept.
    EXPECT_EQ(plan.filesToCopy()[1].name, "F1.DAT");
    EXPECT_EQ(plan.filesToCopy().back().name, "F99999.DAT");
    EXPECT_EQ(plan.filesToDelete()[12344].path, "D:\\OLD\\F12345.DAT");
}

} // namespace
} // namespace brisko::engine
