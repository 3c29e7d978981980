#include "platform/win/WinFileSystem.h"

#include "platform/win/WinShell.h"

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <thread>
#include <vector>
#include <windows.h>

namespace brisko::platform {
namespace {

namespace fs = std::filesystem;

// A fresh folder of the system's temporary folder, named in drive form ("C:\...\brisko-N").
class WinFileSystemTest : public ::testing::Test {
protected:
    WinFileSystemTest() {
        static int made = 0;
        root_ = fs::temp_directory_path() /
                ("brisko-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++made));
        fs::create_directories(root_);
        root = root_.string();
    }
    // Through the backend itself, whose long paths reach beyond the old limit.
    ~WinFileSystemTest() override { removeTree(root); }
    void removeTree(const std::string& folder) {
        for (const DirEntry& entry : files.list(folder).entries) {
            const std::string inside = folder + "\\" + entry.name;
            if (entry.attributes.directory && !entry.attributes.link) {
                removeTree(inside);
            } else {
                files.clearAttributes(inside);
                files.removeFile(inside);
            }
        }
        files.removeFolder(folder);
    }

    std::string path(const std::string& relative) const { return root + "\\" + relative; }
    std::wstring wide(const std::string& relative) const { return (root_ / relative).wstring(); }
    void write(const std::string& relative, const std::string& content) const {
        std::ofstream(root_ / relative, std::ios::binary) << content;
    }
    std::string read(const std::string& relative) const {
        std::ifstream in(root_ / relative, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    // The stamp the system itself makes of a file's last-write time.
    DosStamp systemStamp(const std::string& relative) const {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        FILETIME local{};
        WORD date = 0;
        WORD time = 0;
        EXPECT_TRUE(GetFileAttributesExW(wide(relative).c_str(), GetFileExInfoStandard, &data));
        EXPECT_TRUE(FileTimeToLocalFileTime(&data.ftLastWriteTime, &local));
        EXPECT_TRUE(FileTimeToDosDateTime(&local, &date, &time));
        return static_cast<DosStamp>(date) << 16 | time;
    }

    std::string root;
    WinFileSystem files;

private:
    fs::path root_;
};

const DirEntry* find(const Listing& listing, const std::string& name) {
    for (const DirEntry& entry : listing.entries) {
        if (entry.name == name)
            return &entry;
    }
    return nullptr;
}

TEST_F(WinFileSystemTest, ListingCarriesTheSystemsAttributesSizesAndStamps) {
    struct Case {
        const char* name;
        DWORD attributes;
        bool readOnly, hidden, system, archive;
    };
    const Case cases[] = {
        {"plain.txt", FILE_ATTRIBUTE_NORMAL, false, false, false, false},
        {"locked.txt", FILE_ATTRIBUTE_READONLY, true, false, false, false},
        {"secret.txt", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE, false, true, false, true},
        {"boot.ini", FILE_ATTRIBUTE_SYSTEM, false, false, true, false},
    };
    for (const Case& c : cases) {
        write(c.name, "12345");
        ASSERT_TRUE(SetFileAttributesW(wide(c.name).c_str(), c.attributes));
    }
    const DosStamp stamp = packDosStamp({2024, 3, 4, 17, 30, 10});
    ASSERT_TRUE(files.setStamp(path("plain.txt"), stamp).ok());
    fs::create_directory(root + "\\Sub");

    const Listing listing = files.list(root);
    ASSERT_TRUE(listing.result.ok()) << listing.result.detail;
    ASSERT_EQ(listing.entries.size(), 5u);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const DirEntry* entry = find(listing, c.name);
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(entry->size, 5);
        EXPECT_FALSE(entry->attributes.directory);
        EXPECT_EQ(entry->attributes.readOnly, c.readOnly);
        EXPECT_EQ(entry->attributes.hidden, c.hidden);
        EXPECT_EQ(entry->attributes.system, c.system);
        if (c.archive) { // Wine keeps no archive bit of its own: every file has it there
            EXPECT_TRUE(entry->attributes.archive);
        }
        EXPECT_EQ(entry->stamp, systemStamp(c.name));
    }
    EXPECT_EQ(find(listing, "plain.txt")->stamp, stamp);
    ASSERT_NE(find(listing, "Sub"), nullptr);
    EXPECT_TRUE(find(listing, "Sub")->attributes.directory);
}

TEST_F(WinFileSystemTest, NamesAreComparedByTheSystemAndLongPathsWork) {
    write("Report.TXT", "x");
    const PathInfo info = files.stat(root + "/sub/../REPORT.txt");
    ASSERT_TRUE(info.result.ok()) << info.result.detail;
    EXPECT_EQ(info.entry.name, "Report.TXT"); // the name as on disk
    // Two spellings of one file give one host path; missing names stay as written.
    fs::create_directory(root + "\\Sub");
    const std::string stored = files.hostPath(root).value();
    EXPECT_EQ(files.hostPath(root + "/sub/../report.txt"), stored + "\\Report.TXT");
    EXPECT_EQ(files.hostPath(root + "/SUB/./a/../New.Txt"), stored + "\\Sub\\New.Txt");
    EXPECT_EQ(files.stat(path("missing.txt")).result.status, FsStatus::NotFound);
    EXPECT_EQ(files.stat(path("missing\\deeper.txt")).result.status, FsStatus::NotFound);
    EXPECT_EQ(files.stat(path("what?.txt")).result.status, FsStatus::InvalidName);

    // Far beyond the 260 characters of the old limit.
    std::string deep = root;
    for (int i = 0; i < 12; ++i)
        deep += "\\a-folder-name-of-some-length-" + std::to_string(i);
    ASSERT_TRUE(files.createFolders(deep).ok());
    FsResult created;
    auto output = files.createFresh(deep + "\\file.txt", created);
    ASSERT_TRUE(created.ok()) << created.detail;
    ASSERT_TRUE(output->write(reinterpret_cast<const std::byte*>("abc"), 3).ok());
    ASSERT_TRUE(output->close().ok());
    EXPECT_EQ(files.stat(deep + "\\FILE.TXT").entry.size, 3);
    EXPECT_TRUE(files.folderExists(deep));
}

TEST_F(WinFileSystemTest, ReplacingRenameWritesThroughAndKeepsTheLinkedBackup) {
    write("target.txt", "old");
    write("temp.tmp", "new");
    ASSERT_TRUE(files.link(path("target.txt"), path("target.bak")).ok());
    EXPECT_EQ(files.identityOf(path("target.txt")), files.identityOf(path("target.bak")));
    EXPECT_NE(files.identityOf(path("target.txt")), files.identityOf(path("temp.tmp")));

    ASSERT_TRUE(files.rename(path("temp.tmp"), path("target.txt")).ok());
    EXPECT_EQ(read("target.txt"), "new");
    EXPECT_EQ(read("target.bak"), "old");
    EXPECT_FALSE(files.fileExists(path("temp.tmp")));
}

TEST_F(WinFileSystemTest, FileInUseIsReportedAsInUse) {
    write("target.txt", "old");
    write("temp.tmp", "new");
    // Another program holds the target open and shares nothing.
    HANDLE held = CreateFileW(wide("target.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    const FsResult renamed = files.rename(path("temp.tmp"), path("target.txt"));
    const FsResult removed = files.removeFile(path("target.txt"));
    CloseHandle(held);
    EXPECT_EQ(renamed.status, FsStatus::InUse);
    EXPECT_NE(renamed.detail.find("in use"), std::string::npos) << renamed.detail;
    EXPECT_EQ(removed.status, FsStatus::InUse);
    EXPECT_EQ(read("target.txt"), "old");
}

TEST_F(WinFileSystemTest, TemporaryFileIsCreatedNewAndLockedWhileWritten) {
    write("leftover.tmp", "stale");
    SetFileAttributesW(wide("leftover.tmp").c_str(), FILE_ATTRIBUTE_READONLY);
    FsResult result;
    auto first = files.createFresh(path("leftover.tmp"), result);
    ASSERT_TRUE(result.ok()) << result.detail; // a leftover is replaced
    ASSERT_TRUE(first->write(reinterpret_cast<const std::byte*>("fresh"), 5).ok());
    ASSERT_TRUE(first->flush().ok());

    // Another run that wants the name while it is written is refused.
    EXPECT_EQ(files.createFresh(path("leftover.tmp"), result), nullptr);
    EXPECT_EQ(result.status, FsStatus::InUse);
    // The writer itself may still stamp, set attributes and remove it.
    EXPECT_TRUE(files.setStamp(path("leftover.tmp"), packDosStamp({2020, 1, 2, 3, 4, 6})).ok());
    EXPECT_TRUE(first->close().ok());
    EXPECT_EQ(read("leftover.tmp"), "fresh");
    EXPECT_EQ(files.stat(path("leftover.tmp")).entry.stamp, packDosStamp({2020, 1, 2, 3, 4, 6}));

    fs::create_directory(root + "\\folder");
    EXPECT_EQ(files.createFresh(path("folder"), result), nullptr);
    EXPECT_EQ(result.status, FsStatus::NotAFolder);
    EXPECT_TRUE(files.folderExists(path("folder")));
}

TEST_F(WinFileSystemTest, AttributesAreSetClearedAndCopied) {
    write("source.txt", "s");
    write("target.txt", "t");
    SetFileAttributesW(wide("source.txt").c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    ASSERT_TRUE(files.copyAttributes(path("source.txt"), path("target.txt")).ok());
    EXPECT_EQ(GetFileAttributesW(wide("target.txt").c_str()) &
                  (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN),
              DWORD{FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN});
    ASSERT_TRUE(files.clearAttributes(path("target.txt")).ok());
    EXPECT_FALSE(files.stat(path("target.txt")).entry.attributes.readOnly);
    EXPECT_FALSE(files.stat(path("target.txt")).entry.attributes.hidden);
    ASSERT_TRUE(files.setReadOnly(path("target.txt"), true).ok());
    EXPECT_TRUE(files.stat(path("target.txt")).entry.attributes.readOnly);
}

TEST_F(WinFileSystemTest, FoldersFilesAndDrivesAreToldApart) {
    fs::create_directory(root + "\\folder");
    write("folder\\inner.txt", "x");
    EXPECT_EQ(files.removeFolder(path("folder")).status, FsStatus::NotEmpty);
    EXPECT_EQ(files.removeFile(path("folder")).status, FsStatus::NotAFolder);
    EXPECT_EQ(files.removeFolder(path("folder\\inner.txt")).status, FsStatus::NotAFolder);
    EXPECT_EQ(files.list(path("folder\\inner.txt")).result.status, FsStatus::NotAFolder);
    EXPECT_FALSE(files.createFolders(path("folder\\inner.txt\\below")).ok());
    FsResult opened;
    EXPECT_EQ(files.openRead(path("folder"), opened), nullptr);
    EXPECT_EQ(opened.status, FsStatus::NotAFolder);
    EXPECT_TRUE(files.removeFile(path("folder\\inner.txt")).ok());
    EXPECT_TRUE(files.removeFolder(path("folder")).ok());

    const std::string drive = root.substr(0, 2);
    EXPECT_TRUE(files.driveExists(drive));
    EXPECT_GT(files.freeBytes(drive).value_or(0), 0);
    EXPECT_FALSE(files.driveExists("Q:"));
    EXPECT_FALSE(files.freeBytes("Q:"));
}

TEST_F(WinFileSystemTest, SymbolicLinksAreNeverFollowed) {
    write("real.txt", "real");
    const FsResult made = files.createLink(path("link.txt"), "real.txt");
    if (made.status == FsStatus::Unsupported) {
        // The system refuses links to this user: said plainly, and nothing is left behind.
        EXPECT_FALSE(made.detail.empty());
        EXPECT_FALSE(files.stat(path("link.txt")).result.ok());
        return;
    }
    ASSERT_TRUE(made.ok()) << made.detail;
    const PathInfo info = files.stat(path("link.txt"));
    ASSERT_TRUE(info.result.ok()) << info.result.detail;
    EXPECT_TRUE(info.entry.attributes.link);
    EXPECT_EQ(info.entry.linkTarget, "real.txt");
    FsResult opened;
    EXPECT_EQ(files.openRead(path("link.txt"), opened), nullptr);
    EXPECT_EQ(opened.status, FsStatus::Unsupported);
    EXPECT_EQ(files.createFresh(path("link.txt"), opened), nullptr);
    EXPECT_EQ(files.createLink(path("link.txt"), "other").status, FsStatus::AlreadyExists);
    ASSERT_TRUE(files.removeFile(path("link.txt")).ok());
    EXPECT_EQ(read("real.txt"), "real");
}

// Makes the empty folder at link a junction to the folder target; false where the system cannot.
bool makeJunction(const std::wstring& link, const std::wstring& target) {
    const std::wstring substitute = L"\\??\\" + target;
    const std::size_t names = (substitute.size() + 1 + target.size() + 1) * sizeof(wchar_t);
    std::vector<BYTE> buffer(8 + 8 + names);
    auto put16 = [&](std::size_t at, std::size_t value) {
        const auto word = static_cast<WORD>(value);
        std::memcpy(buffer.data() + at, &word, sizeof word);
    };
    const DWORD tag = IO_REPARSE_TAG_MOUNT_POINT;
    std::memcpy(buffer.data(), &tag, sizeof tag);
    put16(4, 8 + names);                                  // the data after the header
    put16(8, 0);                                          // the substitute name
    put16(10, substitute.size() * sizeof(wchar_t));       // and its length
    put16(12, (substitute.size() + 1) * sizeof(wchar_t)); // the name to print
    put16(14, target.size() * sizeof(wchar_t));           // and its length
    std::memcpy(buffer.data() + 16, substitute.c_str(), (substitute.size() + 1) * sizeof(wchar_t));
    std::memcpy(buffer.data() + 16 + (substitute.size() + 1) * sizeof(wchar_t), target.c_str(),
                (target.size() + 1) * sizeof(wchar_t));
    if (!CreateDirectoryW(link.c_str(), nullptr))
        return false;
    HANDLE folder = CreateFileW(link.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    DWORD returned = 0;
    const bool made =
        folder != INVALID_HANDLE_VALUE &&
        DeviceIoControl(folder, FSCTL_SET_REPARSE_POINT, buffer.data(),
                        static_cast<DWORD>(buffer.size()), nullptr, 0, &returned, nullptr);
    if (folder != INVALID_HANDLE_VALUE)
        CloseHandle(folder);
    if (!made)
        RemoveDirectoryW(link.c_str());
    return made;
}

TEST_F(WinFileSystemTest, NothingIsDoneThroughALinkOnTheWay) {
    fs::create_directories(wide("outside\\inner"));
    write("outside\\file.txt", "precious");
    write("mine.txt", "mine");
    const FsResult made = files.createLink(path("hop"), path("outside"));
    if (!made.ok() && !makeJunction(wide("hop"), wide("outside")))
        GTEST_SKIP() << "no folder link or junction here: " << made.detail;
    ASSERT_TRUE(files.stat(path("hop")).entry.attributes.link);
    const std::string hop = path("hop") + "\\";
    auto readFailure = [&](const std::string& name) {
        FsResult result;
        return files.openRead(name, result) ? FsResult::success() : result;
    };
    auto writeFailure = [&](const std::string& name) {
        FsResult result;
        return files.createFresh(name, result) ? FsResult::success() : result;
    };
    for (const FsResult& result :
         {files.removeFile(hop + "file.txt"), files.rename(path("mine.txt"), hop + "file.txt"),
          files.rename(hop + "file.txt", path("moved.txt")), writeFailure(hop + "new.txt"),
          files.createFolders(hop + "new\\deep"), files.removeFolder(hop + "inner"),
          files.setStamp(hop + "file.txt", 0x285D645Cu), files.setReadOnly(hop + "file.txt", true),
          files.list(hop + "inner").result, files.stat(hop + "file.txt").result,
          readFailure(hop + "file.txt")}) {
        EXPECT_EQ(result.status, FsStatus::Unsupported);
        EXPECT_EQ(result.detail, "a symbolic link is on the way");
    }
    EXPECT_EQ(read("outside\\file.txt"), "precious");
    EXPECT_TRUE(fs::is_directory(wide("outside\\inner")));
    EXPECT_EQ(std::distance(fs::directory_iterator(wide("outside")), fs::directory_iterator()), 2);
    EXPECT_EQ(read("mine.txt"), "mine");
    EXPECT_TRUE(files.stat(path("outside\\file.txt")).result.ok()); // the real way still works
}

TEST_F(WinFileSystemTest, ShellStartsProgramsInTheWorkingFolder) {
    WinShell shell;
    const FsResult started = shell.open("cmd.exe", {"/c", "echo started> out.txt"}, root);
    ASSERT_TRUE(started.ok()) << started.detail;
    for (int i = 0; i < 100 && read("out.txt").empty(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(read("out.txt").substr(0, 7), "started");
    EXPECT_EQ(shell.open("no-such-program-here", {}, root).status, FsStatus::NotFound);
}

} // namespace
} // namespace brisko::platform
