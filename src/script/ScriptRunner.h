#pragma once

#include "script/ScriptContext.h"

namespace brisko::script {

// Walks the loaded rows in order, applying every key and running every Execute row; false
// when the run was stopped (Abort All) before the last row.
bool runScript(ScriptContext& context);

// Reads a FileSpec library into the FileSpec tables; a missing, unreadable or bad library stops
// the run.
void loadFileSpecLibrary(ScriptContext& context, const std::string& fileName);

} // namespace brisko::script
