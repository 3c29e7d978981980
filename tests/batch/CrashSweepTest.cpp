#include "BatchProcess.h"
#include "support/MappedTree.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <sstream>
#include <sys/stat.h>

namespace brisko::test {
namespace {

namespace fs = std::filesystem;

constexpr std::time_t kOldest = 1400000000;
constexpr std::time_t kOlder = 1500000000;
constexpr std::time_t kOld = 1600000000;
constexpr std::time_t kNew = 1700000000;
constexpr const char* kTemporary = "$BRISKO$.$$$";

// A mirror with two backups of every replaced file, then a one-way update likewise: files and
// links replaced, created and deleted, folders created and deleted, a copy bigger than one block,
// an executable and a read-only file.
const std::vector<TreeEntry> kTrees = {
    {"left/mirror/same.txt", "same", kOld},
    {"right/mirror/same.txt", "same", kOld},
    {"left/mirror/chain.txt", "chain 3", kNew},
    {"right/mirror/chain.txt", "chain 2", kOld},
    {"right/mirror/chain.txt.BK1", "chain 1", kOlder},
    {"right/mirror/chain.txt.BK2", "chain 0", kOldest},
    {"left/mirror/half.txt", "half 2", kNew},
    {"right/mirror/half.txt", "half 1", kOld},
    {"right/mirror/half.txt.BK1", "half 0", kOlder},
    {"left/mirror/plain.txt", "plain 2", kNew},
    {"right/mirror/plain.txt", "plain 1", kOld},
    {"left/mirror/big.bin", std::string(600000, 'N'), kNew},
    {"right/mirror/big.bin", std::string(500000, 'O'), kOld},
    {"right/mirror/big.bin.BK1", std::string(400000, 'P'), kOlder},
    {"left/mirror/tool.sh", "#!/bin/sh\n", kNew},
    {"right/mirror/tool.sh", "#!/bin/false\n", kOld},
    {"left/mirror/locked.txt", "locked 2", kNew},
    {"right/mirror/locked.txt", "locked 1", kOld},
    {"left/mirror/empty.txt", "", kNew},
    {"left/mirror/created.txt", "created", kNew},
    {"left/mirror/newdir/inner.txt", "inner", kNew},
    {"left/mirror/newdir/deeper/leaf.txt", "leaf", kNew},
    {"left/mirror/emptydir/"},
    {"left/mirror/link", "->same.txt", kNew},
    {"left/mirror/relink", "->plain.txt", kNew},
    {"right/mirror/relink", "->same.txt", kOld},
    {"right/mirror/gone.txt", "gone", kOld},
    {"right/mirror/gone.txt.BK1", "gone 0", kOlder},
    {"right/mirror/olddir/a.txt", "a", kOld},
    {"right/mirror/olddir/sub/b.txt", "b", kOld},
    {"right/mirror/oldlink", "->gone.txt", kOld},
    {"left/update/upd.txt", "upd 3", kNew},
    {"right/update/upd.txt", "upd 2", kOld},
    {"right/update/upd.txt.BK1", "upd 1", kOlder},
    {"right/update/upd.txt.BK2", "upd 0", kOldest},
    {"left/update/fresh.txt", "fresh", kNew},
    {"left/update/newsub/x.txt", "x", kNew},
    {"left/update/same.txt", "same", kOld},
    {"right/update/same.txt", "same", kOld},
    {"right/update/kept.txt", "kept", kOld},
};

const char* const kScript = "LeftRoot=L:\nRightRoot=R:\n"
                            "FileSpec=*.*\nBackup=BK1,BK2\nMissingFile=Create\n"
                            "LeftPath=\\mirror\nRightPath=\\mirror\nUpdateMode=LMaster\nExecute\n"
                            "LeftPath=\\update\nRightPath=\\update\nUpdateMode=1LTR\n"
                            "MissingFolder=Auto\nExecute\n";

// One entry as it lies on disk: a folder, a file with its content or a link with its target
// text; files and links with their own time stamp and permission bits.
struct Entry {
    char kind = 'f';
    std::string content;
    std::time_t time = 0;
    unsigned mode = 0;
    bool operator==(const Entry&) const = default;
};
using Snapshot = std::map<std::string, Entry>;

std::ostream& operator<<(std::ostream& out, const Entry& entry) {
    const std::string shown =
        entry.content.size() > 20 ? entry.content.substr(0, 8) + "..." : entry.content;
    return out << entry.kind << " \"" << shown << "\" (" << entry.content.size() << " bytes) @"
               << entry.time << " mode " << std::oct << entry.mode << std::dec;
}

Snapshot snapshot(const fs::path& top) {
    Snapshot found;
    for (const auto& item : fs::recursive_directory_iterator(top)) {
        struct stat info {};
        if (lstat(item.path().c_str(), &info) != 0)
            continue;
        Entry entry;
        if (S_ISDIR(info.st_mode)) {
            entry.kind = 'd';
        } else {
            entry.time = info.st_mtim.tv_sec;
            entry.mode = info.st_mode & 07777;
            if (S_ISLNK(info.st_mode)) {
                entry.kind = 'l';
                entry.content = fs::read_symlink(item.path()).string();
                entry.mode = 0;
            } else {
                std::ifstream in(item.path(), std::ios::binary);
                std::ostringstream text;
                text << in.rdbuf();
                entry.content = text.str();
            }
        }
        found[item.path().lexically_relative(top).generic_string()] = entry;
    }
    return found;
}

// "x.txt.BK2" -> "x.txt"; empty for a name that is not a backup.
std::string backedUpName(const std::string& name) {
    for (const char* extension : {".BK1", ".BK2"})
        if (name.ends_with(extension))
            return name.substr(0, name.size() - 4);
    return {};
}

// Every content a file and its backups hold in a tree.
std::set<std::string> versions(const Snapshot& tree, const std::string& name) {
    std::set<std::string> found;
    for (const std::string& each : {name, name + ".BK1", name + ".BK2"})
        if (auto it = tree.find(each); it != tree.end() && it->second.kind == 'f')
            found.insert(it->second.content);
    return found;
}

// Where two trees differ, one line a name.
std::string differences(const Snapshot& expected, const Snapshot& found) {
    std::ostringstream text;
    std::set<std::string> names;
    for (const auto& [name, entry] : expected)
        names.insert(name);
    for (const auto& [name, entry] : found)
        names.insert(name);
    for (const std::string& name : names) {
        const auto want = expected.find(name);
        const auto got = found.find(name);
        if (want == expected.end())
            text << "  " << name << ": unexpected " << got->second << "\n";
        else if (got == found.end())
            text << "  " << name << ": missing, expected " << want->second << "\n";
        else if (!(want->second == got->second))
            text << "  " << name << ": expected " << want->second << ", found " << got->second
                 << "\n";
    }
    return text.str();
}

// What a copy side may hold when the run was cut short anywhere: each name whole as it was or
// whole as the run leaves it, backups holding whole earlier versions, no version lost that the
// run keeps, and nothing else but the temporary file.
std::string brokenPromises(const Snapshot& before, const Snapshot& after, const Snapshot& killed) {
    std::ostringstream text;
    for (const auto& [name, entry] : killed) {
        const std::string file = fs::path(name).filename().string();
        const std::string owner = backedUpName(name);
        const auto old = before.find(name);
        const auto done = after.find(name);
        if (file == kTemporary)
            continue;
        if (!owner.empty() && before.contains(owner)) {
            if (!versions(before, owner).contains(entry.content))
                text << "  " << name << ": holds no earlier version: " << entry << "\n";
        } else if (!(old != before.end() && old->second == entry) &&
                   !(done != after.end() && done->second == entry)) {
            text << "  " << name << ": neither old nor new: " << entry << "\n";
        }
    }
    for (const auto& [name, entry] : after) {
        if (backedUpName(name).empty() && before.contains(name) && !killed.contains(name))
            text << "  " << name << ": missing, though the run keeps it\n";
        if (!backedUpName(name).empty() && before.contains(backedUpName(name)) &&
            !versions(killed, backedUpName(name)).contains(entry.content))
            text << "  " << name << ": version lost: " << entry << "\n";
    }
    return text.str();
}

// The trees of the run laid in a fresh temporary folder, L: and R: mapped to its two sides, and
// the runner started on them with the crash library preloaded.
class Trees {
public:
    Trees() {
        tree.lay(kTrees);
        fs::permissions(tree.path("left/mirror/tool.sh"), fs::perms(0755));
        fs::permissions(tree.path("left/mirror/locked.txt"), fs::perms(0444));
        tree.write("job.brk", kScript);
    }
    ProcessResult run(std::vector<std::string> environment) const {
        std::vector<std::string> arguments = tree.driveOptions();
        arguments.push_back(tree.path("job.brk").string());
        environment.push_back(std::string("LD_PRELOAD=") + BRISKO_CRASH_LIBRARY);
        return runBatchProcess(arguments, environment);
    }
    Snapshot left() const { return snapshot(tree.path("left")); }
    Snapshot right() const { return snapshot(tree.path("right")); }

    MappedTree tree{{{'L', "left"}, {'R', "right"}}};
};

bool holdsTemporaryFile(const Snapshot& tree) {
    return std::ranges::any_of(
        tree, [](const auto& item) { return fs::path(item.first).filename() == kTemporary; });
}

TEST(CrashSweepTest, CrashAfterAnyChangeCostsNothingAndTheNextRunFinishes) {
    const Trees reference;
    const Snapshot masters = reference.left();
    const Snapshot before = reference.right();
    const ProcessResult whole =
        reference.run({"BRISKO_CRASH_COUNT=" + reference.tree.path("count").string()});
    ASSERT_EQ(whole.exitStatus, 0) << whole.out << whole.err;
    const Snapshot after = reference.right();
    ASSERT_FALSE(holdsTemporaryFile(after));
    ASSERT_EQ(after.at("mirror/chain.txt.BK2").content, "chain 1");
    const long changes = std::stol(reference.tree.read("count"));
    ASSERT_GT(changes, 40);

    for (long k = 1; k <= changes; ++k) {
        SCOPED_TRACE("killed after change " + std::to_string(k) + " of " + std::to_string(changes));
        const Trees trees;
        const ProcessResult killed = trees.run({"BRISKO_CRASH_AFTER=" + std::to_string(k)});
        EXPECT_EQ(killed.exitStatus, -1) << "the run was not killed";
        EXPECT_TRUE(trees.left() == masters) << differences(masters, trees.left());
        const std::string broken = brokenPromises(before, after, trees.right());
        EXPECT_TRUE(broken.empty()) << broken;

        const ProcessResult again = trees.run({});
        EXPECT_EQ(again.exitStatus, 0) << again.out << again.err;
        EXPECT_TRUE(trees.left() == masters) << differences(masters, trees.left());
        const Snapshot ended = trees.right();
        EXPECT_TRUE(ended == after) << differences(after, ended);
        EXPECT_FALSE(holdsTemporaryFile(ended));
        if (HasFailure())
            break; // the first k that fails says enough
    }
}

} // namespace
} // namespace brisko::test
