#pragma once

#include "engine/EngineContext.h"
#include "engine/ListingCache.h"

#include <string>
#include <unordered_set>

namespace brisko::engine {

// One session between its two full paths, as its passes, scans and rules see it: the context
// it works in, the flag that keeps its second pass from running and the folder listings that
// its first pass keeps for the second.
struct Session {
    EngineContext& context;
    bool& skipSession;
    ListingCache& listings;
    // Upper-cased paths already reported as passed over (a link facing a file or folder, a
    // folder that loops back): both passes may meet one, and it is one problem.
    std::unordered_set<std::string> reportedOnce = {};

    script::UpdateMode mode() const { return context.settings.updateMode; }
    bool masterMode() const {
        return mode() == script::UpdateMode::LMaster || mode() == script::UpdateMode::RMaster;
    }
    // The root of the master tree (LMaster: the left one); only meaningful in a master mode.
    const std::string& masterRoot() const {
        return mode() == script::UpdateMode::LMaster ? context.settings.leftFullPath
                                                     : context.settings.rightFullPath;
    }
    // The root of the copy tree, the other one; only meaningful in a master mode.
    const std::string& copyRoot() const {
        return mode() == script::UpdateMode::LMaster ? context.settings.rightFullPath
                                                     : context.settings.leftFullPath;
    }
    // The root of the tree a pass reads from.
    const std::string& sourceRoot(bool leftToRight) const {
        return leftToRight ? context.settings.leftFullPath : context.settings.rightFullPath;
    }
};

} // namespace brisko::engine
