#pragma once

#include "run/RunContext.h"
#include "support/Fakes.h"
#include "support/FixedEnvironment.h"
#include "support/ManualClock.h"
#include "support/MappedTree.h"

#include <chrono>
#include <ctime>
#include <filesystem>
#include <memory>
#include <vector>

namespace brisko::test {

// What a test of the run layer stands on: temporary trees mapped as drives, a manual clock, a
// fixed environment, a recording display (the window too) and a scripted operator.
struct RunWorld {
    RunWorld(std::vector<MappedTree::Drive> drives, std::time_t start,
             std::chrono::milliseconds stepPerLook = {})
        : tree(std::move(drives)), clock(start, stepPerLook) {}

    // A run context in this world that reaches the disk through files: the trees' own file
    // system, or one wrapped around it.
    std::unique_ptr<run::RunContext> makeContext(platform::FileSystem& files) {
        return std::make_unique<run::RunContext>(
            run::Services{files, clock, environment, display, asker, &display}, "Brisko 2.0");
    }

    MappedTree tree;
    std::unique_ptr<platform::FileSystem> hostFiles = tree.hostFileSystem();
    platform::FileSystem& realFileSystem = *hostFiles;
    ManualClock clock;
    FixedEnvironment environment;
    RecordingDisplay display;
    ScriptedOperator asker;

    // Loading a script makes its folder the current one: the folder of before comes back (before
    // the trees go, which a system may refuse while one of them is current).
    struct CurrentFolderKept {
        std::filesystem::path folder = std::filesystem::current_path();
        ~CurrentFolderKept() {
            std::error_code ignored;
            std::filesystem::current_path(folder, ignored);
        }
    } currentFolderKept;
};

} // namespace brisko::test
