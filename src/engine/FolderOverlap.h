#pragma once

#include "engine/Session.h"

namespace brisko::engine {

// Whether a session's two folders lie apart on disk, compared by what the system resolves them
// to (drive mappings and links followed), a folder still to be created by the folders above
// it. Two folders that are one, or one within the other, skip the session with a red row: a
// mirror would delete its own master, and any pass would copy a tree into itself. Unless the
// inner folder is kept out of the pass that reads the outer tree (an exclusion, or no
// subfolders): then neither pass ever enters it.
bool checkFoldersApart(Session& session);

} // namespace brisko::engine
