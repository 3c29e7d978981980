#include "CopyFixture.h"

#include "engine/ActionList.h"
#include "engine/BackupNames.h"
#include "run/FileCopier.h"

#include <filesystem>

namespace brisko::test {

namespace fs = std::filesystem;

CopyTest::CopyTest()
    : RunWorld({{'L', "left"}, {'R', "right"}}, kFifthOfMarch2024, std::chrono::seconds(1)) {}

CopyTest::~CopyTest() = default;

void CopyTest::left(std::string_view relative, std::string_view content) {
    tree.write("left/" + std::string(relative), content);
}

void CopyTest::right(std::string_view relative, std::string_view content) {
    tree.write(rightRelative(relative), content);
}

std::string CopyTest::leftHost(std::string_view relative) const {
    return tree.path("left/" + std::string(relative)).string();
}

std::string CopyTest::rightHost(std::string_view relative) const {
    return tree.path(rightRelative(relative)).string();
}

engine::CopyAction CopyTest::copyOf(const std::string& name, const std::string& backupList,
                                    const std::string& targetFolder) {
    engine::CopyAction action;
    action.sourceFolder = "L:";
    action.targetFolder = targetFolder;
    action.name = name;
    action.backupList = backupList;
    std::error_code error;
    const auto sourceSize = fs::file_size(tree.path("left/" + name), error);
    action.sourceSize = error ? 0 : static_cast<std::int64_t>(sourceSize);
    action.session = 1;
    const platform::PathInfo target = realFileSystem.stat(action.targetPath());
    if (target.result.ok()) {
        action.targetExisted = true;
        action.targetSize = target.entry.size;
        action.targetStamp = target.entry.stamp;
    }
    // As the planner decides it, with the FileSpecs of engine().settings.
    action.takesOverEarlierBackups =
        !backupList.empty() && engine::ownsEarlierBackups(realFileSystem, engineSettings_.tables,
                                                          targetFolder, name, backupList);
    return action;
}

void CopyTest::planCopy(const engine::CopyAction& action) {
    engine::Plan& plan = engine().plan;
    plan.addCopy(action);
    plan.addSessionBytes(action.session, action.sourceSize);
}

void CopyTest::planDeletion(const std::string& path) {
    const platform::PathInfo seen = realFileSystem.stat(path);
    engine::PathAction file;
    file.path = path;
    file.size = seen.entry.size;
    file.stamp = seen.entry.stamp;
    file.link = seen.entry.attributes.link;
    engine().plan.addFileToDelete(file);
}

void CopyTest::planFolderDeletion(const std::string& path) {
    engine::EngineContext scan = engine();
    engine::listFolderDelete(scan, path);
}

void CopyTest::listPlan() {
    context().listPlan();
}

HistoryRow CopyTest::row(int number) const {
    EXPECT_LE(number, context_->history().rowCount());
    return number <= context_->history().rowCount() ? context_->history().row(number)
                                                    : HistoryRow{};
}

HistoryRow CopyTest::copyRow(std::size_t index) const {
    return row(context_->history().rowOf(run::PlanList::FilesToCopy, index));
}

void CopyTest::copyPlannedFiles() {
    listPlan();
    context().setRunState(RunState::Copying);
    run::FileCopier(context().actionContext()).copyPendingFiles();
}

std::string patternedContent(std::size_t size, char seed) {
    std::string content(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        content[i] = static_cast<char>(seed + static_cast<char>((i * 7 + i / 251) % 26));
    return content;
}

} // namespace brisko::test
