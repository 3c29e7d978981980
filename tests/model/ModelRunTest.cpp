#include "RandomTrees.h"
#include "SyncModel.h"
#include "run/RunControl.h"
#include "support/RunWorld.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace brisko::test::model {

// An entry as the failure of an expectation shows it.
void PrintTo(const Node& node, std::ostream* out) {
    *out << (node.kind == Node::Kind::Folder ? "folder"
             : node.kind == Node::Kind::Link ? "link "
                                             : "file ")
         << " \"" << node.content << "\" @" << node.time - kFirstStamp;
}

namespace {

namespace fs = std::filesystem;

constexpr std::uint32_t kSeedsByDefault = 200;
constexpr int kRunsPerSeed = 3;
constexpr int kFailuresShown = 3;
constexpr std::array<const char*, 2> kSideFolders = {"left", "right"};

// BRISKO_MODEL_SEED=S runs that seed alone; BRISKO_MODEL_SEEDS=N the seeds 1 to N.
std::vector<std::uint32_t> seedsToRun() {
    if (const char* one = std::getenv("BRISKO_MODEL_SEED"))
        return {static_cast<std::uint32_t>(std::stoul(one))};
    std::uint32_t count = kSeedsByDefault;
    if (const char* many = std::getenv("BRISKO_MODEL_SEEDS"))
        count = static_cast<std::uint32_t>(std::stoul(many));
    std::vector<std::uint32_t> seeds;
    for (std::uint32_t seed = 1; seed <= count; ++seed)
        seeds.push_back(seed);
    return seeds;
}

// The drive folders L: and R:, laid out from trees and read back whole.
class ModelWorld : public RunWorld {
public:
    ModelWorld()
        : RunWorld({{'L', kSideFolders[kLeft]}, {'R', kSideFolders[kRight]}}, kFifthOfMarch2024) {}

    void lay(const Trees& trees) {
        for (int side : {kLeft, kRight}) {
            for (const auto& entry : fs::directory_iterator(tree.path(kSideFolders[side])))
                fs::remove_all(entry.path());
            std::vector<TreeEntry> entries;
            const std::string folder = std::string(kSideFolders[side]) + "/";
            for (const auto& [path, node] : trees[side]) {
                if (node.kind == Node::Kind::Folder)
                    entries.emplace_back(folder + path + "/");
                else if (node.kind == Node::Kind::Link)
                    entries.emplace_back(folder + path, "->" + node.content, node.time);
                else
                    entries.emplace_back(folder + path, node.content, node.time);
            }
            tree.lay(entries);
        }
    }

    Trees read() const {
        Trees trees;
        for (int side : {kLeft, kRight}) {
            const std::string folder = std::string(kSideFolders[side]) + "/";
            for (const auto& [path, content] : tree.listing(kSideFolders[side])) {
                // Folders show through what they hold, or as "path/" when empty.
                for (std::size_t slash = path.find('/'); slash != std::string::npos;
                     slash = path.find('/', slash + 1))
                    trees[side][path.substr(0, slash)] = Node{Node::Kind::Folder, {}, 0};
                if (path.ends_with('/'))
                    continue;
                struct stat seen {};
                lstat(tree.path(folder + path).c_str(), &seen);
                const bool link = content.starts_with("->");
                trees[side][path] = Node{link ? Node::Kind::Link : Node::Kind::File,
                                         link ? content.substr(2) : content, seen.st_mtime};
            }
        }
        return trees;
    }

    // Runs the session's script with the engine; the trees as it leaves them.
    Trees run(const Session& session) {
        tree.write("job.brk", scriptOf(session));
        context->loadScript(tree.path("job.brk").string());
        EXPECT_TRUE(context->canRun());
        run::executeRun(*context);
        return read();
    }

private:
    std::unique_ptr<run::RunContext> context = makeContext(realFileSystem);
};

std::string report(std::uint32_t seed, int run, const Session& session, const Trees& before,
                   const Trees& expected, const Trees& found) {
    std::string script = scriptOf(session);
    std::ranges::replace(script, '\n', ' ');
    return "seed " + std::to_string(seed) + ", run " + std::to_string(run) + ": " + script +
           "\n  before   L:" + describe(before[kLeft]) +
           "\n           R:" + describe(before[kRight]) +
           "\n  expected L:" + describe(expected[kLeft]) +
           "\n           R:" + describe(expected[kRight]) +
           "\n  found    L:" + describe(found[kLeft]) + "\n           R:" + describe(found[kRight]);
}

// Random trees on both sides, then runs of random sessions with random changes between them;
// the first run that leaves the trees otherwise than the model of the modes expects, said.
std::optional<std::string> runSeed(std::uint32_t seed) {
    TreeMaker maker(seed);
    ModelWorld world;
    Trees trees = maker.initialTrees();
    for (int run = 1; run <= kRunsPerSeed; ++run) {
        if (run > 1)
            maker.changeBetweenRuns(trees);
        world.lay(trees);
        const Session session = maker.session();
        const Trees expected = expectedAfter(trees, session);
        const Trees found = world.run(session);
        if (found != expected)
            return report(seed, run, session, trees, expected, found);
        trees = found;
    }
    return std::nullopt;
}

TEST(ModelRunTest, EveryRunLeavesTheTreesTheModelExpects) {
    int failures = 0;
    for (const std::uint32_t seed : seedsToRun()) {
        if (const auto failure = runSeed(seed)) {
            ADD_FAILURE() << *failure;
            if (++failures == kFailuresShown)
                return;
        }
    }
}

// A copy onto a.txt beside A.txt: the chain of a.txt.BK1 belongs to a.txt alone.
TEST(ModelRunTest, ACopyBesideACaseTwinLeavesTheTwinsBackupsAlone) {
    const std::time_t stamp = kFirstStamp;
    const Trees trees = {Tree{{"A.txt", {Node::Kind::File, "", stamp}},
                              {"a.txt", {Node::Kind::File, "yy", stamp}},
                              {"a.txt.BK1", {Node::Kind::File, "old", stamp}}},
                         Tree{{"A.txt", {Node::Kind::File, "x", stamp + 2}}}};
    const Session session{Mode::RightToLeft, MissingFile::Ask, MissingFolder::UserAsk, true};
    ModelWorld world;
    world.lay(trees);
    const Trees found = world.run(session);
    EXPECT_EQ(found, expectedAfter(trees, session));
    EXPECT_EQ(found[kLeft].count("a.txt.BK1"), 1u);
}

} // namespace
} // namespace brisko::test::model
