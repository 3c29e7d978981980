#include "platform/posix/CaseResolver.h"

#include "NameTrees.h"
#include "support/CasePrinter.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <ostream>

namespace brisko::test {
namespace {

using platform::FsStatus;
using platform::Resolution;

struct Host {
    const char* name;
    std::unique_ptr<NameTree> (*make)();
};

// The rules of matching names without regard to case, over an in-memory host and over real
// folders alike.
class CaseResolverTest : public ::testing::TestWithParam<Host> {
protected:
    // path: names separated by '/' below the tree's root.
    Resolution resolve(std::string_view path, bool exactLast = false) {
        platform::HostRoute route{tree->root(), {}};
        for (std::size_t start = 0; start <= path.size();) {
            const std::size_t end = std::min(path.find('/', start), path.size());
            route.components.emplace_back(path.substr(start, end - start));
            start = end + 1;
        }
        return resolver.resolve(route, exactLast);
    }
    // The host path a path leads to; "" when it leads nowhere.
    std::string hostOf(std::string_view path) {
        const Resolution resolution = resolve(path);
        return resolution.result.ok() ? resolution.host : std::string();
    }
    FsStatus statusOf(std::string_view path, bool exactLast = false) {
        return resolve(path, exactLast).result.status;
    }

    // Changes the tree and reports the change, as the file system does for those it makes.
    void addFileReported(std::string_view relative) {
        tree->addFile(relative);
        resolver.nameAdded(tree->host(relative));
    }
    void removeReported(std::string_view relative) {
        tree->remove(relative);
        resolver.nameRemoved(tree->host(relative));
    }

    std::unique_ptr<NameTree> tree = GetParam().make();
    platform::CaseResolver resolver{tree->names()};
};

PRINT_CASE_AS(Host, c.name);

INSTANTIATE_TEST_SUITE_P(Hosts, CaseResolverTest,
                         ::testing::Values(Host{"InMemory", &makeTreeInMemory},
                                           Host{"RealFolders", &makeTreeOfRealFolders}),
                         [](const auto& host) { return std::string(host.param.name); });

TEST_P(CaseResolverTest, UsesTheOnlyNameThatDiffersInCase) {
    tree->addFile("Data/Sub Folder/Report.TXT");
    for (const char* path : {"DATA/SUB FOLDER/REPORT.TXT", "data/sub folder/report.txt",
                             "Data/Sub Folder/report.TXT"}) {
        SCOPED_TRACE(path);
        const Resolution resolution = resolve(path);
        ASSERT_TRUE(resolution.result.ok()) << resolution.result.detail;
        EXPECT_EQ(resolution.host, tree->host("Data/Sub Folder/Report.TXT"));
        EXPECT_EQ(resolution.found, 3u);
    }
}

TEST_P(CaseResolverTest, ExactNameWinsOverCaseVariants) {
    tree->addFile("Notes/a.txt");
    tree->addFile("NOTES/a.txt");
    tree->addFile("notes/a.txt");
    EXPECT_EQ(hostOf("Notes/A.TXT"), tree->host("Notes/a.txt"));
    const Resolution exact = resolve("NOTES/a.txt");
    EXPECT_EQ(exact.host, tree->host("NOTES/a.txt"));
    ASSERT_TRUE(exact.status.has_value()); // looked at once, for the caller too
    EXPECT_TRUE(S_ISREG(exact.status->st_mode));
}

TEST_P(CaseResolverTest, SeveralCaseVariantsAreNeverGuessedBetween) {
    tree->addFile("Photos/x.jpg");
    tree->addFile("PHOTOS/x.jpg");
    tree->addFile("list/File.txt");
    tree->addFile("list/FILE.txt");
    for (const char* path : {"photos/x.jpg", "photos", "LIST/file.txt"}) {
        SCOPED_TRACE(path);
        EXPECT_EQ(statusOf(path), FsStatus::Ambiguous);
    }
    const std::string detail = resolve("list/file.txt").result.detail;
    EXPECT_NE(detail.find("\"File.txt\""), std::string::npos) << detail;
    EXPECT_NE(detail.find("\"FILE.txt\""), std::string::npos) << detail;
}

TEST_P(CaseResolverTest, AnExactLastNameIsNeverMatchedByCase) {
    tree->addFile("Data/Index.html");
    tree->addFile("list/File.txt");
    tree->addFile("list/FILE.txt");
    const Resolution missing = resolve("DATA/index.html", true);
    EXPECT_EQ(missing.result.status, FsStatus::NotFound);
    EXPECT_TRUE(missing.onlyLastMissing()); // so a file of that very name can be made
    EXPECT_EQ(missing.host, tree->host("Data/index.html"));
    EXPECT_EQ(statusOf("LIST/file.txt", true), FsStatus::NotFound);
    // Folders on the way still match by case.
    EXPECT_EQ(resolve("data/Index.html", true).host, tree->host("Data/Index.html"));
}

TEST_P(CaseResolverTest, MatchesNonAsciiNamesWithoutRegardToCase) {
    tree->addFile("Übersicht/Straße.txt");
    tree->addFile("Ωμέγα/файл.txt");
    for (const char* path : {"ÜBERSICHT", "übersicht", "ÜBERSICHT/STRAßE.TXT"})
        EXPECT_EQ(statusOf(path), FsStatus::Ok) << path;
    EXPECT_EQ(hostOf("ΩΜΈΓΑ/ФАЙЛ.TXT"), tree->host("Ωμέγα/файл.txt"));
    EXPECT_EQ(statusOf("ÜBERSICHT/STRASSE.TXT"), FsStatus::NotFound);
}

TEST_P(CaseResolverTest, MissingNamesAreNotFound) {
    tree->addFile("Data/file.txt");
    EXPECT_EQ(statusOf("DATA/FILE.TXT/BELOW"), FsStatus::NotFound);
    const Resolution none = resolve("NONE/FILE.TXT");
    EXPECT_EQ(none.result.status, FsStatus::NotFound);
    EXPECT_FALSE(none.onlyLastMissing());
    // The last name may be missing: that is where new files are made.
    const Resolution last = resolve("DATA/New.TXT");
    EXPECT_EQ(last.result.status, FsStatus::NotFound);
    EXPECT_TRUE(last.onlyLastMissing());
    EXPECT_EQ(last.host, tree->host("Data/New.TXT"));
    EXPECT_EQ(last.existing, tree->host("Data"));
}

TEST_P(CaseResolverTest, TheRootItselfIsTakenAsItStands) {
    const Resolution root = resolver.resolve({tree->root(), {}});
    EXPECT_TRUE(root.result.ok());
    EXPECT_EQ(root.host, tree->root());
    EXPECT_EQ(resolver.resolve({tree->host("none"), {}}).result.status, FsStatus::NotFound);
}

TEST_P(CaseResolverTest, AFolderThatCannotBeListedIsNotTakenForMissing) {
    tree->addFile("Locked/a.txt");
    tree->makeUnlistable("Locked");
    const int status = tree->asOrdinaryUser([&] {
        if (!resolve("Locked/a.txt").result.ok())
            return 100; // an exact name needs no listing
        return static_cast<int>(statusOf("Locked/A.TXT"));
    });
    if (status < 0)
        GTEST_SKIP() << "cannot give up root here";
    EXPECT_EQ(status, static_cast<int>(FsStatus::AccessDenied));
}

TEST_P(CaseResolverTest, KeptNamesFollowTheChangesReported) {
    tree->addFile("docs/readme.md");
    ASSERT_EQ(statusOf("DOCS/README.MD"), FsStatus::Ok);
    removeReported("docs/readme.md");
    EXPECT_EQ(statusOf("DOCS/README.MD"), FsStatus::NotFound);
    addFileReported("docs/Readme.md");
    EXPECT_EQ(hostOf("DOCS/README.MD"), tree->host("docs/Readme.md"));
}

TEST_P(CaseResolverTest, RemovingAFileThatHidAFolderFindsTheFolder) {
    tree->addFile("Data/x.txt");
    tree->addFile("DATA");
    EXPECT_EQ(statusOf("DATA/X.TXT"), FsStatus::NotFound);
    removeReported("DATA");
    EXPECT_EQ(hostOf("DATA/X.TXT"), tree->host("Data/x.txt"));
}

TEST_P(CaseResolverTest, ForgottenNamesShowWhatOthersChanged) {
    tree->addFolder("Data/Inner");
    ASSERT_EQ(hostOf("DATA"), tree->host("Data"));
    ASSERT_EQ(hostOf("DATA/INNER"), tree->host("Data/Inner"));
    tree->addFolder("data"); // by another program
    resolver.forgetListing(tree->root());
    EXPECT_EQ(statusOf("DATA"), FsStatus::Ambiguous);
    resolver.forgetAll();
    EXPECT_EQ(statusOf("DATA/INNER"), FsStatus::Ambiguous);
}

} // namespace
} // namespace brisko::test
