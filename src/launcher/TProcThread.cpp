#include "launcher/TProcThread.h"

#include <utility>

namespace brisko::launcher {

TProcThread::TProcThread(std::shared_ptr<ChildProcess> process, int waitMs, int giveUpFd,
                         ProcOutcome names, QObject* receiver, CompletionHandler handler)
    : process_(std::move(process)), waitMs_(waitMs), giveUpFd_(giveUpFd),
      outcome_(std::move(names)), receiver_(receiver), handler_(std::move(handler)) {}

void TProcThread::run() {
    switch (process_->waitForEnd(waitMs_, giveUpFd_)) {
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
