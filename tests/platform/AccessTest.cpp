#include "DriveTree.h"
#include "support/Unprivileged.h"

#include <sys/stat.h>

namespace brisko::test {
namespace {

using platform::FsStatus;

// Names that exist but cannot be looked at are never reported as missing.
class AccessTest : public DriveTreeTest {
protected:
    int statusOf(FsStatus status) { return static_cast<int>(status); }
    int unprivileged(const std::function<int()>& check) {
        return runUnprivileged(tree.root(), check);
    }
};

// Runs check without root's privileges and expects its result; skips the test when giving
// up root is impossible here.
#define EXPECT_UNPRIVILEGED(check, expected)                                                       \
    do {                                                                                           \
        const int code = unprivileged(check);                                                      \
        if (code < 0)                                                                              \
            GTEST_SKIP() << "cannot give up root here";                                            \
        EXPECT_EQ(code, expected);                                                                 \
    } while (false)

TEST_F(AccessTest, UnreadableFolderIsAccessDeniedNotMissing) {
    tree.write("locked/file.txt", "x");
    chmod(host("locked").c_str(), 0000);
    EXPECT_UNPRIVILEGED([&] { return statusOf(fs.list("C:\\locked").result.status); },
                        statusOf(FsStatus::AccessDenied));
    EXPECT_UNPRIVILEGED([&] { return statusOf(fs.stat("C:\\locked\\file.txt").result.status); },
                        statusOf(FsStatus::AccessDenied));
}

TEST_F(AccessTest, CaseVariantInUnlistableFolderIsAccessDenied) {
    tree.write("searchable/file.txt", "x");
    chmod(host("searchable").c_str(), 0711); // entered, but not listed, by others
    chmod(host("searchable/file.txt").c_str(), 0644);
    tree.write("other/x", "");
    EXPECT_UNPRIVILEGED(([&] {
                            if (!fs.stat("C:\\searchable\\file.txt").result.ok())
                                return 100; // the exact name still works
                            return statusOf(fs.stat("C:\\searchable\\FILE.TXT").result.status);
                        }),
                        statusOf(FsStatus::AccessDenied));
}

TEST_F(AccessTest, EntriesThatCannotBeExaminedAreReportedNotDropped) {
    tree.lay({{"listable/a.txt", "x"}, {"listable/b.txt", "y"}});
    chmod(host("listable").c_str(), 0744); // listed, but not entered, by others
    EXPECT_UNPRIVILEGED(([&] {
                            const auto listing = fs.list("C:\\listable");
                            if (!listing.result.ok())
                                return 100 + statusOf(listing.result.status);
                            if (!listing.entries.empty() || listing.skipped.size() != 2)
                                return 1;
                            for (const auto& entry : listing.skipped)
                                if (entry.reason != "cannot be read")
                                    return 2;
                            return 0;
                        }),
                        0);
}

} // namespace
} // namespace brisko::test
