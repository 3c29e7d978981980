#pragma once

#include "script/ScriptContext.h"

#include <string_view>

namespace brisko::script {

// The preview of a LeftRoot, RightRoot, LeftPath or RightPath line met while loading (key in
// the table's spelling, value as written after expansion).
void showFolderPreview(ScriptContext& context, std::string_view key, std::string_view value);

} // namespace brisko::script
