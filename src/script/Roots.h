#pragma once

#include "script/ScriptContext.h"

#include <string>
#include <string_view>

namespace brisko::script {

// A LeftRoot or RightRoot row (value as written): "ROOT[,PRIORITY]". The root is kept as
// written and upper-cased.
void setRoot(SessionSettings& settings, Side side, std::string_view value);

// An "L=..." or "R=..." command-line parameter (as written, either case); anything else
// empties both roots.
void applyCommandLineRoot(ScriptContext& context, std::string_view parameter);

// Joins one side's root and path: backslash ends are dropped, a path written "#X:\..."
// stands alone, and an empty path gives an empty result (a root alone never names a folder).
std::string joinRootAndPath(std::string_view root, std::string_view path);

// Joins roots and paths into the two full paths; false when either comes out empty.
bool buildFullPaths(ScriptContext& context);

// Replaces the components of a path that contain '~' by the names found on disk.
void expandShortNames(ScriptContext& context, std::string& path);

} // namespace brisko::script
