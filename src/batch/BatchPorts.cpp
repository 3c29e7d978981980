#include "batch/BatchPorts.h"

#include "batch/RecordWriter.h"
#include "batch/StopSignals.h"
#include "questions/QuestionLine.h"
#include "run/RunContext.h"
#include "run/RunControl.h"

namespace brisko::batch {

void BatchDisplay::attach(run::RunContext& context, bool continueAfterPause) {
    context_ = &context;
    continueAfterPause_ = continueAfterPause;
}

void BatchDisplay::pump() {
    if (context_ != nullptr && stopSignalled() && !context_->wasAborted())
        context_->abortAll();
}

void BatchDisplay::waitForInput() {
    pump();
    if (context_ == nullptr || context_->runState() != RunState::Waiting)
        return;
    if (continueAfterPause_ && !stopSignalled()) {
        run::continueRun(*context_);
        return;
    }
    writeRecord(out_, {"notice", "The script stops between scan and copy: nothing was carried "
                                 "out (--continue carries the plan out)"});
    run::abortAllWaiting(*context_);
}

void BatchDisplay::addMessage(const std::string& text) {
    writeRecord(out_, {"message", text});
}

void BatchDisplay::setCounter(Counter which, std::int32_t value) {
    if (progress_)
        progress_->setCounter(which, value);
}

void BatchDisplay::setCurrentFile(const std::string& path) {
    if (progress_)
        progress_->setCurrentFile(path);
}

void BatchDisplay::setTotalProgress(std::int64_t done, std::int64_t total) {
    if (progress_)
        progress_->setBytes(done, total);
}

void BatchDisplay::setRunning(bool running) {
    if (progress_ && !running)
        progress_->clear();
}

DialogAnswer BatchOperator::ask(const Question& question) {
    const DialogAnswer answer = defaultAnswer(question.kind());
    // The closing notice belongs to a window; a console run simply ends.
    if (question.kind() == DialogKind::Closing)
        return answer;
    writeRecord(out_, {"ask", dialogKindName(question.kind()), questions::questionLine(question),
                       answerName(answer)});
    return answer;
}

void BatchOperator::notify(const std::string& text) {
    writeRecord(out_, {"notice", text});
}

bool BatchOperator::confirm(const std::string& text) {
    writeRecord(out_, {"ask", "Confirm", text, answerName(DialogAnswer::No)});
    return false;
}

} // namespace brisko::batch
