#pragma once

#include "script/ScriptContext.h"

#include <string>

namespace brisko::script {

// Appends the rows of a script file (and of the files it includes), counts its errors and
// refreshes the caption, message line and error report.
void loadScript(ScriptContext& context, const std::string& fileName);

// Resets the window state before a load or reload.
void clearForLoad(ScriptContext& context);

} // namespace brisko::script
