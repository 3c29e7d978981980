#pragma once

#include "platform/ChildProcess.h"

#include <QString>
#include <QThread>
#include <functional>
#include <memory>

namespace brisko::launcher {

using platform::ChildProcess;
using platform::StopSignal;

// How a waited-for program ended.
struct ProcOutcome {
    QString fileName;
    QString identifier;
    int retValue = 0;
    bool timedOut = false;
};

// Waits for one started program, up to a limit, on a thread of its own. Unless told to give up
// first, it hands the outcome to the handler as a queued call on the receiver's thread; a
// receiver that is gone by then gets nothing.
class TProcThread : public QThread {
public:
    using CompletionHandler = std::function<void(const ProcOutcome&)>;

    // giveUp: raised once the waiting must end without a word; it outlives the thread.
    TProcThread(std::shared_ptr<ChildProcess> process, int waitMs, const StopSignal& giveUp,
                ProcOutcome names, QObject* receiver, CompletionHandler handler);

protected:
    void run() override;

private:
    std::shared_ptr<ChildProcess> process_;
    int waitMs_;
    const StopSignal& giveUp_;
    ProcOutcome outcome_;
    QObject* receiver_;
    CompletionHandler handler_; // empty: nothing is reported
};

} // namespace brisko::launcher
