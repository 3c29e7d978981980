#pragma once

#include "script/ScriptContext.h"

namespace brisko::script {

// Walks the loaded rows in order, applying every key and running every Execute row; false
// when the run was stopped (Abort All) before the last row.
bool runScript(ScriptContext& context);

} // namespace brisko::script
