#include "launcher/TProcThread.h"

#include <utility>

namespace brisko::launcher {

TProcThread::TProcThread(std::shared_ptr<ChildProcess> process, int waitMs,
                         const StopSignal& giveUp, ProcOutcome names, QObject* receiver,
                         CompletionHandler handler)
    : process_(std::move(process)), waitMs_(waitMs), giveUp_(giveUp), outcome_(std::move(names)),
      receiver_(receiver), handler_(std::move(handler)) {}

void TProcThread::run() {
    switch (process_->waitForEnd(waitMs_, &giveUp_)) {
    case ChildProcess::WaitOutcome::GaveUp:
        return;
    case ChildProcess::WaitOutcome::Ended:
        outcome_.retValue = process_->collectExitCode();
        outcome_.timedOut = false;
        break;
    case ChildProcess::WaitOutcome::TimedOut:
        outcome_.retValue = waitMs_ / 1000;
        outcome_.timedOut = true;
        break;
    }
    if (handler_)
        QMetaObject::invokeMethod(
            receiver_, [handler = handler_, outcome = outcome_] { handler(outcome); },
            Qt::QueuedConnection);
}

} // namespace brisko::launcher
