#pragma once

#include "engine/Session.h"

#include <optional>
#include <string>

namespace brisko::engine {

// Whether a pass from a tree would carry anything over: a file or link it selects, in the root
// or in any folder it enters. Folders that hold nothing of that kind are no content; a name or
// folder that cannot be looked at counts as content, since it is never taken as nothing.
// Nothing when the root cannot be listed. The listings go back to the session's cache for the
// first pass.
std::optional<bool> carriesContent(Session& session, const std::string& root);

} // namespace brisko::engine
