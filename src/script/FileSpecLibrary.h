#pragma once

#include "script/ScriptContext.h"

#include <string>

namespace brisko::script {

// Reads a FileSpec library into the FileSpec tables; a missing, unreadable or bad library stops
// the run.
void loadFileSpecLibrary(ScriptContext& context, const std::string& fileName);

} // namespace brisko::script
