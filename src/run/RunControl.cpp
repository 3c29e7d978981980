#include "run/RunControl.h"

#include "run/ActionDriver.h"

#include <exception>

namespace brisko::run {

namespace {

// Carries the plan out now, or waits for Continue or Abort All when the operator asked for a
// pause and there is something to do.
void carryOut(RunContext& context) {
    if (context.options().stopBetweenScanAndCopy && !context.plan().empty()) {
        context.refreshScreen(false);
        context.setRunState(RunState::Waiting);
        while (context.runState() == RunState::Waiting)
            context.display().waitForInput();
        return;
    }
    runActions(context.actionContext());
}

WindowAfterRun decideWindow(RunContext& context) {
    if (!context.closeWhenFinished())
        return WindowAfterRun::Stay;
    if (!context.settings().exitProgram.empty())
        return WindowAfterRun::Close;
    const Question closing{.details = ClosingQuestion{}, .timeoutSeconds = 30};
    if (context.services().operatorPort.ask(closing) == DialogAnswer::Abort)
        return WindowAfterRun::Close;
    context.setCloseWhenFinished(false);
    return WindowAfterRun::Stay;
}

} // namespace

RunResult executeRun(RunContext& context) {
    RunResult result;
    context.display().setCurrentFile("");
    context.setRunning(true);
    context.beginRun();
    try {
        result.scriptCompleted = context.scan();
        if (result.scriptCompleted)
            carryOut(context);
    } catch (const std::exception& failure) {
        // Whatever went wrong, the run still ends properly: nothing further is carried out.
        context.abortAll();
        context.services().operatorPort.notify(std::string("The run stopped: ") + failure.what());
    }
    result.aborted = context.wasAborted();
    result.failedActions = context.failedActions();

    context.refreshScreen(false);
    context.setRunState(RunState::Idle);
    context.setRunning(false);
    if (!context.script().loadFolder.empty())
        context.services().fileSystem.setCurrentFolder(context.script().loadFolder);
    result.window = decideWindow(context);
    return result;
}

void requestStop(RunContext& context) {
    context.window().showExecutePage();
    if (context.services().operatorPort.confirm(
            "Are you sure you want to Interrupt your Update Session"))
        context.abortAll();
}

void continueRun(RunContext& context) {
    if (context.runState() == RunState::Waiting)
        runActions(context.actionContext());
}

void abortAllWaiting(RunContext& context) {
    context.setCloseWhenFinished(false);
    context.setRunState(RunState::Idle);
    context.abortAll();
}

} // namespace brisko::run
