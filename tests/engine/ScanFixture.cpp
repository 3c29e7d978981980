#include "ScanFixture.h"

#include "script/Roots.h"

#include <fstream>

namespace brisko::engine::test {

namespace {

platform::DriveMap drivesOf(const TempTree& tree) {
    platform::DriveMap map(tree.root().string());
    map.addEntry("L=" + tree.path("left").string());
    map.addEntry("R=" + tree.path("right").string());
    return map;
}

std::vector<std::string> pathsOf(const std::vector<PathAction>& actions) {
    std::vector<std::string> paths;
    for (const PathAction& action : actions)
        paths.push_back(action.path);
    return paths;
}

} // namespace

ScanFixture::ScanFixture()
    : fileSystem(drivesOf(tree)), runner([this](script::SessionSettings& standing) {
          EngineContext made{fileSystem, clock,      operatorPort, host, standing,
                             plan,       projection, ',',          {}};
          made.allowEmptyMaster = allowEmptyMaster;
          made.buildFullPaths = [&standing] {
              standing.leftFullPath = script::joinRootAndPath(standing.leftRoot, standing.leftPath);
              standing.rightFullPath =
                  script::joinRootAndPath(standing.rightRoot, standing.rightPath);
              return !standing.leftFullPath.empty() && !standing.rightFullPath.empty();
          };
          return made;
      }) {
    tree.makeFolder("left");
    tree.makeFolder("right");
    settings.leftRoot = "L:";
    settings.leftPath = "DATA";
    settings.rightRoot = "R:";
    settings.rightPath = "DATA";
    settings.missingFolder = script::MissingFolderRule::Auto;
    for (script::FileSpec& spec : settings.tables.fileSpecs)
        spec.missingFile = script::MissingFileRule::Create;
}

std::string ScanFixture::hostPath(std::string_view drive, std::string_view relative) const {
    const std::string side = drive == "L" ? "left/" : "right/";
    return side + std::string(relative);
}

void ScanFixture::write(std::string_view drive, std::string_view relative, std::string_view content,
                        std::time_t time) {
    const std::string path = hostPath(drive, relative);
    tree.write(path, content);
    tree.setTime(path, time);
}

void ScanFixture::makeFolder(std::string_view drive, std::string_view relative) {
    tree.makeFolder(hostPath(drive, relative));
}

void ScanFixture::execute(script::UpdateMode mode) {
    settings.updateMode = mode;
    ++settings.sessionCount;
    runner.executeSession(settings);
}

std::vector<std::string> ScanFixture::copies() const {
    std::vector<std::string> lines;
    for (const CopyAction& copy : plan.filesToCopy())
        lines.push_back(copy.sourcePath() + " > " + copy.targetPath());
    return lines;
}

std::vector<std::string> ScanFixture::filesToDelete() const {
    return pathsOf(plan.filesToDelete());
}
std::vector<std::string> ScanFixture::foldersToCreate() const {
    return pathsOf(plan.foldersToCreate());
}
std::vector<std::string> ScanFixture::foldersToDelete() const {
    return pathsOf(plan.foldersToDelete());
}

std::vector<std::string> ScanFixture::problems() const {
    std::vector<std::string> lines;
    for (const HistoryRow& row : host.problems)
        lines.push_back(row.from + ": " + row.status);
    return lines;
}

std::vector<DialogKind> ScanFixture::questionKinds() const {
    std::vector<DialogKind> kinds;
    for (const Question& question : operatorPort.questions)
        kinds.push_back(question.kind());
    return kinds;
}

EngineContext ScanFixture::context() {
    EngineContext made{fileSystem, clock, operatorPort, host, settings, plan, projection, ',', {}};
    return made;
}

} // namespace brisko::engine::test
