#pragma once

#include "RecordingHost.h"
#include "platform/posix/PosixFileSystem.h"
#include "script/ScriptContext.h"
#include "support/Fakes.h"
#include "support/FixedEnvironment.h"
#include "support/ManualClock.h"
#include "support/MappedTree.h"

#include <gtest/gtest.h>
#include <string>
#include <string_view>
#include <vector>

namespace brisko::test {

// A temporary folder mapped as drive C, a clock standing on 5 March 2024, a fixed environment,
// the recording fakes of the ports and host, and the script state they work on.
class ScriptFixture : public ::testing::Test {
protected:
    ScriptFixture();

    // Writes a file below the temporary folder; returns its drive-form name ("C:\NAME").
    std::string writeFile(std::string_view relative, std::string_view content);
    // Writes a script and loads it as the window does (cleared first).
    void load(std::string_view relative, std::string_view content);
    // What the run context does before it walks the script: a full reset through the host,
    // and the messages of the previous run forgotten.
    void startRun();
    // The rows of the script grid as "key|sign|value" texts, "!" in front of highlighted ones.
    std::vector<std::string> shownRows() const;

    MappedTree tree;
    platform::PosixFileSystem fileSystem{tree.driveMap()};
    test::ManualClock clock{kFifthOfMarch2024};
    test::FixedEnvironment environment;
    RecordingDisplay display;
    ScriptedOperator operatorPort;
    script::ScriptState state;
    script::SessionSettings settings;
    script::RunOptions options;
    RecordingHost host{settings};
    WindowFeed window{&display};
    script::ScriptContext context{fileSystem, clock, environment, display, operatorPort,
                                  host,       state, settings,    options, window};
};

} // namespace brisko::test
