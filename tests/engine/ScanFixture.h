#pragma once

#include "engine/EngineContext.h"
#include "engine/FreeSpaceProjection.h"
#include "engine/Plan.h"
#include "engine/SessionRunner.h"
#include "script/SessionSettings.h"
#include "support/EngineFakes.h"
#include "support/Fakes.h"
#include "support/ManualClock.h"
#include "support/MappedTree.h"

#include <ctime>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace brisko::engine::test {

using brisko::test::MappedTree;
using brisko::test::RecordingEngineHost;
using brisko::test::ScriptedOperator;

// 2024-03-10 11:00:00 in UTC, the zone the tests run in.
inline constexpr std::time_t kNow = 1710068400;
inline constexpr std::time_t kHour = 3600;

// Names the cases of a parameterised test after their name field.
struct CaseName {
    template <typename Case>
    std::string operator()(const ::testing::TestParamInfo<Case>& test) const {
        return test.param.name;
    }
};

// Prints a named case by its name, so that test lists show names rather than bytes. A file
// brings it into the namespace of its cases with `using test::PrintTo;`.
template <typename Case>
requires requires(const Case& c) {
    std::string_view(c.name);
}
void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}

// A host that asks for Abort All once it has been pumped a given number of times.
class AbortingHost : public RecordingEngineHost {
public:
    void pump() override {
        RecordingEngineHost::pump();
        if (abortAtPump > 0 && pumps >= abortAtPump)
            abortAll();
    }
    int abortAtPump = 0;
};

// Sessions between two real temporary trees: the folder "left" is drive L, "right" drive R,
// and the session's full paths are L:\DATA and R:\DATA. The clock stands at kNow; files are
// written an hour old unless a test says otherwise. MissingFolder=Auto and MissingFile=Create
// keep questions away unless a test asks for them.
class ScanFixture : public ::testing::Test {
protected:
    ScanFixture();

    // Lays entries out in the tree ("left/DATA/A.TXT"), an hour old unless they say otherwise.
    void lay(const std::vector<brisko::test::TreeEntry>& entries) {
        tree.lay(entries, kNow - kHour);
    }

    // Runs one Execute row in a mode with the standing settings.
    void execute(script::UpdateMode mode);

    // The plan, one text a line: "FROM > TO" for copies, the path for the other lists.
    std::vector<std::string> copies() const;
    std::vector<std::string> filesToDelete() const;
    std::vector<std::string> foldersToCreate() const;
    std::vector<std::string> foldersToDelete() const;
    bool planIsEmpty() const { return plan.empty(); }

    // The statuses of the problems reported, "PATH: STATUS".
    std::vector<std::string> problems() const;
    std::vector<DialogKind> questionKinds() const;

    EngineContext context();

    MappedTree tree{{{'L', "left"}, {'R', "right"}}};
    std::unique_ptr<platform::FileSystem> hostFiles = tree.hostFileSystem();
    platform::FileSystem& fileSystem = *hostFiles;
    brisko::test::ManualClock clock{kNow};
    ScriptedOperator operatorPort;
    AbortingHost host;
    script::SessionSettings settings;
    Plan plan;
    FreeSpaceProjection projection{fileSystem};
    SessionRunner runner;
    bool allowEmptyMaster = false;
};

} // namespace brisko::engine::test
