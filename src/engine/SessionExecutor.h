#pragma once

#include "script/SessionSettings.h"

namespace brisko::engine {

// Runs one session with the settings standing at its Execute row and adds its work to the plan.
class SessionExecutor {
public:
    virtual ~SessionExecutor() = default;
    virtual void executeSession(script::SessionSettings& settings) = 0;
};

} // namespace brisko::engine
