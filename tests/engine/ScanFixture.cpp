#include "ScanFixture.h"

#include "script/Roots.h"

namespace brisko::engine::test {

namespace {

std::vector<std::string> pathsOf(const std::vector<PathAction>& actions) {
    std::vector<std::string> paths;
    for (const PathAction& action : actions)
        paths.push_back(action.path);
    return paths;
}

} // namespace

ScanFixture::ScanFixture()
    : runner([this](script::SessionSettings& standing) {
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
    settings.leftRoot = "L:";
    settings.leftPath = "DATA";
    settings.rightRoot = "R:";
    settings.rightPath = "DATA";
    settings.missingFolder = script::MissingFolderRule::Auto;
    for (script::FileSpec& spec : settings.tables.fileSpecs)
        spec.missingFile = script::MissingFileRule::Create;
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
