#pragma once

#include "platform/Clock.h"
#include "platform/Environment.h"
#include "platform/FileSystem.h"
#include "ports/Display.h"
#include "ports/Operator.h"
#include "ports/WindowFeed.h"
#include "script/ScriptHost.h"
#include "script/ScriptState.h"
#include "script/SessionSettings.h"

namespace brisko::script {

// Everything the script language works on: the services of the platform, the ports, the host
// above it and the state it changes. The run context owns the parts and hands this out.
struct ScriptContext {
    platform::FileSystem& fileSystem;
    const platform::Clock& clock;
    const platform::Environment& environment;
    Display& display;
    Operator& operatorPort;
    ScriptHost& host;
    ScriptState& script;
    SessionSettings& settings;
    RunOptions& options;
    // The window's state and commands; they go nowhere for the console runner.
    WindowFeed& window;
};

} // namespace brisko::script
