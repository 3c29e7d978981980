#pragma once

#include "FaultyFileSystem.h"
#include "support/RunWorld.h"

#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace brisko::test {

// Two temporary trees mapped as drives L: and R: behind a file system that can be told to
// fail, and a run context over them. Plans are built directly; the history lists them.
class CopyTest : public ::testing::Test, public RunWorld {
protected:
    CopyTest();
    ~CopyTest() override;

    run::RunContext& context() { return *context_; }
    // The run as the engine reaches it while scanning: the plan, the projection, the counters.
    engine::EngineContext engine() { return context().engineContext(engineSettings_); }

    // Writes a file into the left (L:) or right (R:) tree; relative paths use '/'.
    void left(std::string_view relative, std::string_view content);
    void right(std::string_view relative, std::string_view content);
    std::string leftHost(std::string_view relative) const;
    std::string rightHost(std::string_view relative) const;
    std::string readRight(std::string_view relative) const {
        return tree.read(rightRelative(relative));
    }
    bool rightHas(std::string_view relative) const { return tree.exists(rightRelative(relative)); }
    // Everything under the right tree ("SUB/NAME" -> content).
    TreeListing rightFiles() const { return tree.listing("right"); }

    // A copy of a left file (L:\name) into R:\ (or a folder under it); the sizes and what is
    // at the target are taken from the trees, as a scan does.
    engine::CopyAction copyOf(const std::string& name, const std::string& backupList = "",
                              const std::string& targetFolder = "R:");
    // Plans a copy, as copyOf() describes it or as given.
    void planCopy(const std::string& name, const std::string& backupList = "",
                  const std::string& targetFolder = "R:") {
        planCopy(copyOf(name, backupList, targetFolder));
    }
    void planCopy(const engine::CopyAction& action);
    // Plans the deletion of a file (drive form), recording what is there now as a scan does.
    void planDeletion(const std::string& path);
    // Plans the deletion of a folder as a scan does, recording what its tree holds now.
    void planFolderDeletion(const std::string& path);
    // Gives every planned action its history row, as the end of a scan does.
    void listPlan();
    // The history row of an action: its status and colour.
    HistoryRow row(int number) const;
    HistoryRow copyRow(std::size_t index) const;

    // Carries out the planned copies (the copy phase on its own, as in a run).
    void copyPlannedFiles();

    FaultyFileSystem fileSystem{realFileSystem};

private:
    static std::string rightRelative(std::string_view relative) {
        return "right/" + std::string(relative);
    }
    script::SessionSettings engineSettings_;
    std::unique_ptr<run::RunContext> context_ = makeContext(fileSystem);
};

// Content of a given size, different at every position of a block.
std::string patternedContent(std::size_t size, char seed = 'a');

} // namespace brisko::test
