#include "run/CopyStretches.h"

#include "platform/Unicode.h"

#include <map>
#include <set>
#include <string>

namespace brisko::run {

namespace {

// Names each folder by where it is on the host, each spelling looked up once.
class FolderKeys {
public:
    explicit FolderKeys(platform::FileSystem& fileSystem) : fileSystem_(fileSystem) {}

    const std::string& of(const std::string& folder) {
        auto found = keys_.find(folder);
        if (found == keys_.end()) {
            const auto host = fileSystem_.hostPath(folder);
            found = keys_.emplace(folder, host ? *host : platform::toUpper(folder)).first;
        }
        return found->second;
    }

private:
    platform::FileSystem& fileSystem_;
    std::map<std::string, std::string> keys_;
};

} // namespace

std::vector<CopyStretch> copyStretches(const engine::BlockList<engine::CopyAction>& copies,
                                       platform::FileSystem& fileSystem) {
    FolderKeys keys(fileSystem);
    std::vector<CopyStretch> stretches;
    std::map<std::string, std::size_t> targets; // folder -> its place in the stretch
    std::set<std::string> sources;
    for (const engine::CopyAction& action : copies) {
        const std::string& source = keys.of(action.sourceFolder);
        const std::string& target = keys.of(action.targetFolder);
        if (stretches.empty() || targets.contains(source) || sources.contains(target)) {
            stretches.emplace_back();
            targets.clear();
            sources.clear();
        }
        CopyStretch& stretch = stretches.back();
        const auto [place, added] = targets.emplace(target, stretch.size());
        if (added)
            stretch.emplace_back();
        stretch[place->second].copies.push_back(&action);
        sources.insert(source);
    }
    return stretches;
}

} // namespace brisko::run
