#pragma once

#include "engine/EngineContext.h"
#include "engine/SessionExecutor.h"

#include <functional>

namespace brisko::engine {

// Runs each Execute row's session: full paths, drive and root checks, and the passes of its
// update mode, each scanning a source tree against a target tree into the plan.
class SessionRunner final : public SessionExecutor {
public:
    // The context is made afresh for every session (it refers to the settings passed in).
    using ContextFactory = std::function<EngineContext(script::SessionSettings&)>;
    explicit SessionRunner(ContextFactory makeContext) : makeContext_(std::move(makeContext)) {}

    void executeSession(script::SessionSettings& settings) override;
    // Start of a run: no session is being skipped.
    void reset() { skipSession_ = false; }

private:
    ContextFactory makeContext_;
    bool skipSession_ = false;
};

} // namespace brisko::engine
