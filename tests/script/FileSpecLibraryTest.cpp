#include "ScriptFixture.h"
#include "script/ScriptLoader.h"
#include "script/ScriptRunner.h"

#include <filesystem>

namespace brisko::test {
namespace {

class FileSpecLibrary : public ScriptFixture {
protected:
    // Loads a script and runs it from a fresh start, as the Execute button does.
    bool loadAndRun(std::string_view content) {
        load("MAIN.BRK", content);
        startRun();
        return script::runScript(context);
    }
};

TEST_F(FileSpecLibrary, AddsItsRecordsToTheTables) {
    writeFile("LIB.TXT", "; shared rules\n\nFileSpec=*.dbf\nCompare=b\nBackup=db1\n"
                         "Include=C:\\NOWHERE.BRK\nSessionFiles=*.X\nExecute\nFileSpec=*.MDB\n");
    EXPECT_TRUE(loadAndRun("FileSpecLibrary=c:\\lib.txt\nMissingFile=Create\nExecute\n"));
    ASSERT_EQ(host.sessions.size(), 1u); // the library's Execute ran nothing
    const script::FileSpecTables& tables = host.sessions[0].tables;
    ASSERT_EQ(tables.fileSpecs.size(), 4u);
    EXPECT_EQ(tables.fileSpecs[2].mask, "*.DBF");
    EXPECT_EQ(tables.fileSpecs[2].compare, script::CompareRule::Binary);
    EXPECT_EQ(tables.fileSpecs[2].backup, "DB1");
    // The last FileSpec of the library stays current for the script's rows.
    EXPECT_EQ(tables.fileSpecs[3].mask, "*.MDB");
    EXPECT_EQ(tables.fileSpecs[3].missingFile, script::MissingFileRule::Create);
    EXPECT_EQ(host.sessions[0].sessionFiles, "*.*"); // only FileSpec keys take effect
    EXPECT_TRUE(host.historyRows.empty());
    EXPECT_TRUE(operatorPort.notices.empty());
}

TEST_F(FileSpecLibrary, TitleLineChangesTheCaptionWhenRead) {
    writeFile("LIB.TXT", "Title=Library {YEAR4}\n");
    EXPECT_TRUE(loadAndRun("Title=Script\nFileSpecLibrary=C:\\LIB.TXT\n"));
    EXPECT_EQ(display.caption, "Library 2024");
}

TEST_F(FileSpecLibrary, MissingLibraryAbortsTheRun) {
    EXPECT_FALSE(loadAndRun("FileSpecLibrary=C:\\gone.txt\nExecute\n"));
    EXPECT_TRUE(host.sessions.empty());
    EXPECT_EQ(operatorPort.notices,
              std::vector<std::string>{
                  "FileSpecLibrary file C:\\GONE.TXT does not exist-Update is aborted"});
    EXPECT_EQ(host.historyRows,
              (std::vector<HistoryRow>{{"FileSpecLibrary", "C:\\GONE.TXT", "", "",
                                        "FileSpecLibrary does not exist", RowColour::Red}}));
    EXPECT_EQ(host.abortAllCalls, 1);
}

TEST_F(FileSpecLibrary, LibraryThatCannotBeReadAbortsTheRun) {
    tree.makeFolder("folder");
    std::filesystem::create_directory_symlink(tree.path("folder"), tree.path("LINK.TXT"));
    EXPECT_FALSE(loadAndRun("FileSpecLibrary=C:\\LINK.TXT\nExecute\n"));
    EXPECT_EQ(operatorPort.notices,
              std::vector<std::string>{
                  "FileSpecLibrary file C:\\LINK.TXT cannot be read-Update is aborted"});
    ASSERT_EQ(host.historyRows.size(), 1u);
    EXPECT_EQ(host.historyRows[0].status, "FileSpecLibrary cannot be read");
    EXPECT_EQ(host.abortAllCalls, 1);
}

TEST_F(FileSpecLibrary, BadLineAbortsTheRunAndStopsReading) {
    writeFile("LIB.TXT", "FileSpec=*.A\nCompare=sometimes\nFileSpec=*.B\n");
    EXPECT_FALSE(loadAndRun("FileSpecLibrary=C:\\LIB.TXT\nExecute\n"));
    EXPECT_EQ(
        operatorPort.notices,
        std::vector<std::string>{"Error in FileSpec Library C:\\LIB.TXT - Update is aborted"});
    EXPECT_EQ(host.historyRows, (std::vector<HistoryRow>{{"C:\\LIB.TXT", "Compare=sometimes", "",
                                                          "", "", RowColour::Red}}));
    EXPECT_EQ(settings.tables.fileSpecs.size(), 3u); // *.B was never read
    EXPECT_TRUE(host.sessions.empty());
}

} // namespace
} // namespace brisko::test
