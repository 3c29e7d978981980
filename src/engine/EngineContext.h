#pragma once

#include "engine/EngineHost.h"
#include "engine/FreeSpaceProjection.h"
#include "engine/Plan.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "ports/Operator.h"
#include "script/SessionSettings.h"

#include <functional>

namespace brisko::engine {

// Everything the engine works on: the platform's services, the operator, the host above it,
// the standing settings of the session and the plan being built. The run context owns the
// parts and hands this out.
struct EngineContext {
    platform::FileSystem& fileSystem;
    const platform::Clock& clock;
    Operator& operatorPort;
    EngineHost& host;
    script::SessionSettings& settings;
    Plan& plan;
    FreeSpaceProjection& projection;
    char thousandsSeparator = ',';
    // Joins the standing roots and paths into the two full paths of the session (with long
    // names expanded); false when either comes out empty.
    std::function<bool()> buildFullPaths;
    // A master root folder that is empty is mirrored without asking.
    bool allowEmptyMaster = false;
};

} // namespace brisko::engine
