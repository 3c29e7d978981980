#pragma once

#include "engine/Session.h"
#include "platform/FileSystem.h"

#include <string>
#include <string_view>

namespace brisko::engine {

// What stands at the path of a folder that a pass is to read from or write into.
struct FolderFound {
    enum class Kind {
        Folder,   // a folder that can be looked at
        Missing,  // nothing of that name
        Unusable, // something that cannot be looked at, or is not a folder: never missing
    };
    Kind kind = Kind::Missing;
    std::string problem; // Unusable: the status it is reported with
};

// Looks at a folder path; unreadableStatus is the status reported when it cannot be looked at.
FolderFound folderFoundAt(platform::FileSystem& fileSystem, std::string_view path,
                          std::string_view unreadableStatus);

// Whether a path begins with a drive letter and colon of a drive that exists. Anything else
// (a path beginning "\\" included) has no drive.
bool pathDriveExists(platform::FileSystem& fileSystem, std::string_view path);

// Whether a pass may start on its source root. A missing drive asks the operator, a missing
// folder is handled by the MissingFolder rule, a folder that cannot be read is reported.
bool checkSourceRoot(Session& session, const std::string& source, std::string_view passName);

// Whether a master session may be mirrored: not when its master root folder exists and holds
// nothing the session would carry over while the copy root holds something, unless the
// operator says so (or the run allows an empty master). Declining skips the session with a red row;
// Abort aborts the run. The root listings stay in the session's cache for the first pass.
bool checkMasterNotEmpty(Session& session);

// Whether a scan may go into a target folder: it exists, or is listed for creation, or the
// case is settled so that the scan may go on (which may list the target for creation or the
// source for deletion, or ask the operator). known is what the caller already found at the
// target path; without it the path is looked at here.
bool checkTargetFolder(Session& session, const std::string& target, bool leftToRight,
                       bool mayCreate, const std::string& source,
                       const FolderFound* known = nullptr);

} // namespace brisko::engine
