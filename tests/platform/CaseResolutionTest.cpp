#include "DriveTree.h"

namespace brisko::test {
namespace {

using platform::FsStatus;

class CaseResolutionTest : public DriveTreeTest {};

// The rules of matching by case are tested over the resolver itself (CaseResolverTest); these
// show that the file system goes through it for every path form and every change it makes.
TEST_F(CaseResolutionTest, EveryPathFormIsMatchedByCase) {
    tree.write("Data/Sub Folder/Report.TXT", "x");
    for (const char* path :
         {"C:\\DATA\\SUB FOLDER\\REPORT.TXT", "c:\\data\\sub folder\\report.txt",
          "C:/Data/Sub Folder/report.TXT", "C:\\DATA\\.\\X\\..\\SUB FOLDER\\REPORT.TXT"}) {
        SCOPED_TRACE(path);
        EXPECT_EQ(fs.hostPath(path), host("Data/Sub Folder/Report.TXT"));
        const auto info = fs.stat(path);
        ASSERT_TRUE(info.result.ok()) << info.result.detail;
        EXPECT_EQ(info.entry.name, "Report.TXT");
    }
    EXPECT_EQ(fs.hostPath("C:\\DATA\\New.TXT"), host("Data/New.TXT"));
    EXPECT_EQ(fs.hostPath("C:\\NONE\\New.TXT"), std::nullopt);
}

TEST_F(CaseResolutionTest, SeveralCaseVariantsAreNeverGuessedBetween) {
    tree.lay({{"Photos/x.jpg", "1"},
              {"PHOTOS/x.jpg", "2"},
              {"list/File.txt", "3"},
              {"list/FILE.txt", "4"}});
    EXPECT_EQ(fs.stat("C:\\photos\\x.jpg").result.status, FsStatus::Ambiguous);
    EXPECT_EQ(fs.hostPath("C:\\photos\\x.jpg"), std::nullopt);
    EXPECT_EQ(fs.list("C:\\photos").result.status, FsStatus::Ambiguous);
    platform::FsResult result;
    EXPECT_EQ(fs.createFresh("C:\\LIST\\file.txt", result), nullptr);
    EXPECT_EQ(result.status, FsStatus::Ambiguous);
    EXPECT_EQ(fs.removeFile("C:\\LIST\\file.txt").status, FsStatus::Ambiguous);
    EXPECT_EQ(tree.listing("list"), (TreeListing{{"File.txt", "3"}, {"FILE.txt", "4"}}));
}

TEST_F(CaseResolutionTest, ExactNamesNeverReachACaseVariantOfTheLastName) {
    tree.lay({{"Data/Index.html", "first twin"}, {"Data/new.tmp", "second twin"}});
    platform::FileSystem& exact = fs.exactNames();
    EXPECT_EQ(exact.stat("C:\\DATA\\index.html").result.status, FsStatus::NotFound);
    EXPECT_EQ(exact.removeFile("C:\\DATA\\index.html").status, FsStatus::NotFound);
    ASSERT_TRUE(exact.rename("C:\\DATA\\new.tmp", "C:\\DATA\\index.html").ok());
    EXPECT_EQ(tree.listing("Data"),
              (TreeListing{{"Index.html", "first twin"}, {"index.html", "second twin"}}));
    // Folders on the way still match by case.
    EXPECT_EQ(exact.stat("C:\\data\\Index.html").entry.name, "Index.html");
}

TEST_F(CaseResolutionTest, DriveLettersGoThroughTheMap) {
    EXPECT_TRUE(fs.driveExists("C:"));
    EXPECT_TRUE(fs.driveExists("c:"));
    EXPECT_FALSE(fs.driveExists("D:"));
    EXPECT_FALSE(fs.driveExists("Z:")); // something is mapped, so Z: is no longer "/"
    EXPECT_EQ(fs.stat("D:\\X").result.status, FsStatus::NotFound);
    EXPECT_EQ(fs.list("D:").result.status, FsStatus::NotFound);
    EXPECT_EQ(fs.hostPath("D:\\X"), std::nullopt);
    EXPECT_EQ(fs.freeBytes("D:"), std::nullopt);
    EXPECT_GT(fs.freeBytes("C:").value_or(0), 0);
    EXPECT_EQ(fs.hostPath("C:"), tree.root().string());
    EXPECT_EQ(fs.hostPath("C:\\"), tree.root().string());
}

TEST_F(CaseResolutionTest, SharesGoThroughTheMapAndCannotBeLeft) {
    tree.write("nas/Data/a.txt", "x");
    platform::DriveMap map = tree.driveMap();
    ASSERT_TRUE(map.addShareEntry("\\\\NAS\\Backup=" + host("nas")));
    platform::PosixFileSystem shares(map);
    EXPECT_TRUE(shares.driveExists("\\\\nas\\BACKUP\\DATA"));
    EXPECT_GT(shares.freeBytes("\\\\NAS\\BACKUP").value_or(0), 0);
    EXPECT_EQ(shares.hostPath("\\\\NAS\\BACKUP\\..\\..\\DATA\\A.TXT"), host("nas/Data/a.txt"));
    EXPECT_FALSE(shares.driveExists("\\\\NAS\\OTHER"));
    EXPECT_EQ(shares.stat("\\\\NAS\\OTHER\\X").result.status, FsStatus::NotFound);
    EXPECT_EQ(shares.whyNoDrive("\\\\NAS\\OTHER\\X"),
              "\\\\NAS\\OTHER is not mapped to a host folder: give --share \\\\NAS\\OTHER=HOSTDIR "
              "or set BRISKO_SHARES");
}

TEST_F(CaseResolutionTest, ParentNamesCannotLeaveTheDrive) {
    tree.write("inside.txt", "x");
    EXPECT_EQ(fs.hostPath("C:\\..\\..\\INSIDE.TXT"), host("inside.txt"));
}

TEST_F(CaseResolutionTest, HostPathsAndRelativePathsAreResolvedToo) {
    tree.write("Work/Sub/Item.txt", "x");
    EXPECT_EQ(fs.hostPath(host("WORK/SUB/ITEM.TXT")), host("Work/Sub/Item.txt"));
    const std::string saved = fs.currentFolder();
    ASSERT_TRUE(fs.setCurrentFolder("C:\\WORK").ok());
    EXPECT_EQ(fs.currentFolder(), host("Work"));
    EXPECT_EQ(fs.hostPath("SUB\\ITEM.TXT"), host("Work/Sub/Item.txt"));
    EXPECT_EQ(fs.hostPath("sub/../Sub/item.txt"), host("Work/Sub/Item.txt"));
    ASSERT_TRUE(fs.setCurrentFolder(saved).ok());
}

TEST_F(CaseResolutionTest, RelativePathsFailWhenTheCurrentFolderIsGone) {
    tree.makeFolder("gone");
    const std::string saved = fs.currentFolder();
    ASSERT_TRUE(fs.setCurrentFolder("C:\\GONE").ok());
    std::filesystem::remove(host("gone"));
    EXPECT_EQ(fs.hostPath("file.txt"), std::nullopt);
    EXPECT_EQ(fs.stat("file.txt").result.status, FsStatus::NotFound);
    EXPECT_TRUE(fs.stat("C:").result.ok());
    ASSERT_TRUE(fs.setCurrentFolder(saved).ok());
}

TEST_F(CaseResolutionTest, ForgottenNamesShowWhatOtherProgramsChanged) {
    tree.makeFolder("Data");
    EXPECT_EQ(fs.hostPath("C:\\DATA"), host("Data"));
    std::filesystem::create_directory(host("data")); // by another program
    fs.forgetCachedNames();
    EXPECT_EQ(fs.stat("C:\\DATA").result.status, FsStatus::Ambiguous);
}

TEST_F(CaseResolutionTest, PathsLongerThanTheSystemTakesAreRefusedAtOnce) {
    std::string path = "C:";
    for (int i = 0; i < 100000; ++i)
        path += "\\a";
    EXPECT_EQ(fs.stat(path).result.status, FsStatus::InvalidName);
    EXPECT_EQ(fs.hostPath(path), std::nullopt);
}

TEST_F(CaseResolutionTest, ChangesMadeThroughTheFileSystemAreSeenAtOnce) {
    tree.write("docs/readme.md", "x");
    ASSERT_TRUE(fs.stat("C:\\DOCS\\README.MD").result.ok());
    ASSERT_TRUE(fs.removeFile("C:\\DOCS\\README.MD").ok());
    EXPECT_EQ(fs.stat("C:\\DOCS\\README.MD").result.status, FsStatus::NotFound);

    platform::FsResult result;
    ASSERT_NE(fs.createFresh("C:\\docs\\Readme.md", result), nullptr);
    EXPECT_EQ(fs.hostPath("C:\\DOCS\\README.MD"), host("docs/Readme.md"));

    ASSERT_TRUE(fs.rename("C:\\DOCS", "C:\\Papers").ok());
    EXPECT_EQ(fs.stat("C:\\DOCS\\README.MD").result.status, FsStatus::NotFound);
    EXPECT_EQ(fs.hostPath("C:\\PAPERS\\README.MD"), host("Papers/Readme.md"));

    ASSERT_TRUE(fs.createFolders("C:\\papers\\Inner").ok());
    EXPECT_EQ(fs.hostPath("C:\\PAPERS\\INNER"), host("Papers/Inner"));
    ASSERT_TRUE(fs.removeFolder("C:\\PAPERS\\INNER").ok());
    EXPECT_EQ(fs.stat("C:\\PAPERS\\INNER").result.status, FsStatus::NotFound);
}

} // namespace
} // namespace brisko::test
