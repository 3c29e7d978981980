#pragma once

#include "script/ScriptContext.h"

#include <string>

namespace brisko::script {

// The window caption alone.
void setWindowCaption(ScriptContext& context, const std::string& text);
// The window caption and the application's (task-bar) title together.
void setCaptionAndTitle(ScriptContext& context, const std::string& text);

} // namespace brisko::script
