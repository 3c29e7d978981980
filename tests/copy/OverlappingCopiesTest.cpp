#include "CopyFixture.h"
#include "platform/Unicode.h"
#include "run/TemporaryFile.h"
#include "support/CasePrinter.h"

#include <functional>

namespace brisko::test {
namespace {

constexpr std::chrono::milliseconds kSlowFlush{20};
// Long enough that an abort clicked as the third copy begins comes before the first flush ends.
constexpr std::chrono::milliseconds kFlushOutlastingAnAbort{300};

bool holdsTemporaryFile(const TreeListing& files) {
    for (const auto& [name, content] : files)
        if (name.ends_with(run::TemporaryFile::kName))
            return true;
    return false;
}

// Every temporary file is flushed before each rename away from its name, and each folder is
// flushed after its last rename.
void expectFlushBeforeEveryRename(const std::vector<std::string>& events) {
    const std::string temporary = run::TemporaryFile::kName;
    std::map<std::string, bool> flushed;        // temporary path -> flushed since its last rename
    std::map<std::string, std::size_t> renamed; // folder -> index of its last rename
    for (std::size_t i = 0; i < events.size(); ++i) {
        const std::string event = platform::toUpper(events[i]);
        if (event.starts_with("FLUSH FOLDER ")) {
            EXPECT_TRUE(renamed.contains(event.substr(13))) << events[i];
            renamed.erase(event.substr(13));
        } else if (event.starts_with("FLUSH ")) {
            flushed[event.substr(6)] = true;
        } else if (event.starts_with("RENAME ")) {
            const std::string from = event.substr(7, event.find(" -> ") - 7);
            EXPECT_TRUE(flushed[from]) << events[i];
            flushed[from] = false;
            renamed[from.substr(0, from.size() - temporary.size() - 1)] = i;
        }
    }
    EXPECT_TRUE(renamed.empty()) << "a folder was not flushed after its last copy";
}

TEST_F(CopyTest, CopiesSideBySideAreFlushedBeforeTheirRenameAndNeverShareAName) {
    // Four folders of three copies each; the first copy of each replaces a target kept as its
    // backup, and the last copy into SUB0 names that folder in other letter case.
    TreeListing expected;
    std::vector<std::string> names;
    for (int n = 0; n < 3; ++n)
        for (char folder = '0'; folder < '4'; ++folder) {
            const std::string sub = std::string("SUB") + folder;
            const std::string name = std::string("N") + folder + std::to_string(n);
            if (n == 0) {
                right(sub + "/" + name + ".DAT", "old");
                expected[sub + "/" + name + ".DAT.DB1"] = "old";
            }
            left(name + ".DAT", name);
            planCopy(name + ".DAT", "DB1",
                     (n == 2 && folder == '0' ? "R:\\sub" : "R:\\SUB") + std::string(1, folder));
            names.push_back(name);
            expected[sub + "/" + name + ".DAT"] = name;
        }
    fileSystem.flushDelay = kSlowFlush;

    copyPlannedFiles();

    for (std::size_t i = 0; i < names.size(); ++i)
        EXPECT_EQ(copyRow(i).status, "File copied") << names[i];
    EXPECT_EQ(rightFiles(), expected);
    expectFlushBeforeEveryRename(fileSystem.events());
    EXPECT_GE(fileSystem.mostFlushesAtOnce(), 2); // the copies did overlap
    EXPECT_EQ(fileSystem.mostWritersOfOneName(), 1);
}
TEST_F(CopyTest, AbortWithCopiesPendingLeavesEveryTargetAndNoTemporaryFile) {
    for (char folder = '0'; folder < '5'; ++folder) {
        const std::string sub = std::string("SUB") + folder;
        right(sub + "/DATA.DBF", "old");
        right(sub + "/DATA.DB1", "older");
    }
    tree.lay({{"left/DATA.DBF", "new"}, {"left/MORE.DBF", "more"}});
    for (int n = 0; n < 2; ++n)
        for (char folder = '0'; folder < '5'; ++folder)
            planCopy(n == 0 ? "DATA.DBF" : "MORE.DBF", "DB1", std::string("R:\\SUB") + folder);
    const TreeListing before = rightFiles();
    fileSystem.flushDelay = kFlushOutlastingAnAbort;
    int pumps = 0;
    display.onPump = [&] {
        if (++pumps == 3) // as the third folder's copy begins, two are under way
            context().abortAll();
    };

    copyPlannedFiles();

    EXPECT_EQ(pumps, 3);
    EXPECT_EQ(rightFiles(), before); // no temporary file, every target and backup as it was
    for (std::size_t i = 0; i < 10; ++i)
        EXPECT_EQ(copyRow(i).status, "File to be copied");
    EXPECT_EQ(context().status().counter(Counter::UpFiles), 0);
    EXPECT_EQ(context().failedActions(), 2); // the two under way
    for (const std::string& event : fileSystem.events())
        EXPECT_FALSE(event.starts_with("rename")) << event;
    EXPECT_FALSE(display.directionVisible);
}

struct FaultCase {
    const char* title;
    std::function<void(FaultyFileSystem&, ScriptedOperator&)> arrange;
    const char* faultOutcome; // of FAULT.DAT in R:\B
    const char* nextOutcome;  // of the copy after it in R:\B
};
PRINT_CASE_AS(FaultCase, c.title);

class FaultAmongOverlappingCopiesTest : public CopyTest,
                                        public ::testing::WithParamInterface<FaultCase> {};

TEST_P(FaultAmongOverlappingCopiesTest, OnlyTheFaultyCopysRowSaysSo) {
    const FaultCase& example = GetParam();
    for (const char* folder : {"A", "B", "C"})
        right(std::string(folder) + "/KEEP.TXT", "keep");
    tree.lay({{"left/ONE.DAT", "one"},
              {"left/FAULT.DAT", std::string(1000, 'f')},
              {"left/TWO.DAT", "two"},
              {"left/THREE.DAT", "three"},
              {"left/FOUR.DAT", "four"}});
    planCopy("ONE.DAT", "", "R:\\A");
    planCopy("FAULT.DAT", "", "R:\\B");
    planCopy("TWO.DAT", "", "R:\\C");
    planCopy("THREE.DAT", "", "R:\\A");
    planCopy("FOUR.DAT", "", "R:\\B");
    fileSystem.flushDelay = kSlowFlush;
    example.arrange(fileSystem, asker);

    copyPlannedFiles();

    EXPECT_EQ(copyRow(1).status, example.faultOutcome);
    EXPECT_EQ(copyRow(1).colour, RowColour::Red);
    EXPECT_EQ(copyRow(4).status, example.nextOutcome);
    for (std::size_t i : {0u, 2u, 3u})
        EXPECT_EQ(copyRow(i).status, "File copied") << i;
    const TreeListing after = rightFiles();
    EXPECT_FALSE(holdsTemporaryFile(after));
    EXPECT_EQ(after.at("A/THREE.DAT"), "three");
    EXPECT_EQ(after.at("C/TWO.DAT"), "two");
}

INSTANTIATE_TEST_SUITE_P(
    Faults, FaultAmongOverlappingCopiesTest,
    ::testing::Values(
        FaultCase{"DiskFull",
                  [](FaultyFileSystem& files, ScriptedOperator&) {
                      files.writeFailure = {platform::FsStatus::NoSpace, "No space left"};
                      files.failWritesAfter = 100; // FAULT.DAT only
                      files.writeFailureStays = true;
                  },
                  "Could not write the copy - disk full", "File copied"},
        FaultCase{"UnreadableSource",
                  [](FaultyFileSystem& files, ScriptedOperator& asker) {
                      files.unreadable = "FAULT.DAT";
                      asker.answers.push_back(DialogAnswer::Ignore);
                  },
                  "Could not read from the file - skipped", "File copied"},
        FaultCase{"RenameRefused",
                  [](FaultyFileSystem& files, ScriptedOperator&) {
                      files.refuseRename = [](std::string_view, std::string_view to) {
                          return to.ends_with("FAULT.DAT");
                      };
                  },
                  "Could not rename the copy to the target name", "File copied"},
        FaultCase{"FolderFlushFails",
                  [](FaultyFileSystem& files, ScriptedOperator&) {
                      files.folderFlushFailure =
                          platform::FsResult{platform::FsStatus::IoError, "I/O error"};
                      files.folderFlushFailureIn = "R:\\B";
                  },
                  "Copied but the folder could not be flushed - I/O error",
                  "Copied but the folder could not be flushed - I/O error"}),
    [](const auto& testInfo) { return std::string(testInfo.param.title); });

} // namespace
} // namespace brisko::test
