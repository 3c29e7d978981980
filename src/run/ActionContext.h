#pragma once

#include "engine/FreeSpaceProjection.h"
#include "engine/Plan.h"
#include "platform/FileSystem.h"
#include "platform/Shell.h"
#include "ports/Display.h"
#include "ports/Operator.h"
#include "run/ActionHost.h"
#include "run/RunStatus.h"
#include "script/ScriptState.h"
#include "script/SessionSettings.h"

#include <string>

namespace brisko::run {

// Everything carrying out the plan works on: the services, what it reads of the run, and the
// host it reports to. The run context builds one for each carrying out and hands it over.
struct ActionContext {
    platform::FileSystem& fileSystem;
    // The same file system matching every last name exactly, made before any copy begins.
    platform::FileSystem& exactNames;
    Operator& operatorPort;
    Display& display;
    platform::Shell* shell; // starts the ExitProgram; none: it cannot be started
    const engine::Plan& plan;
    const engine::FreeSpaceProjection& projection;
    const RunStatus& status;
    const script::ScriptState& script;
    const script::SessionSettings& settings;
    const script::RunOptions& options;
    // The host path of the running program's own file, which a copy never overwrites.
    const std::string& ownExecutable;
    ActionHost& host;

    // The file system as a planned file is addressed: by its exact spelling when it has case
    // twins, so that it is never taken for one of them.
    platform::FileSystem& filesFor(bool exactName) const {
        return exactName ? exactNames : fileSystem;
    }
};

} // namespace brisko::run
