#include "batch/BatchPorts.h"

#include "batch/RecordWriter.h"
#include "batch/StopSignals.h"
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
    DialogAnswer answer = defaultAnswer(question.kind);
    // The closing notice belongs to a window; a console run simply ends.
    if (question.kind == DialogKind::Closing)
        return answer;
    // The question's main text: its message where the caption is fixed, else its caption.
    std::string main = question.text;
    switch (question.kind) {
    case DialogKind::InvalidDrive:
    case DialogKind::EmptyMaster:
        main = question.str1;
        break;
    case DialogKind::FutureStamp:
        main = question.text + " " + question.str1;
        break;
    case DialogKind::MissingItem:
    case DialogKind::SameStamp:
        main = question.text + ": " + question.str1 + " -> " + question.str2;
        break;
    case DialogKind::ZeroLength:
        main = "Zero Length Source File Warning !: " + question.str1 + "\\" + question.str3 +
               " -> " + question.str2 + "\\" + question.str3;
        break;
    case DialogKind::FreeSpace:
        main = "You need to free space on:";
        for (const ShortDrive& drive : question.shortDrives) {
            // Megabytes of 1,024,000 bytes, rounded up.
            std::int64_t shortfall = drive.lowestBalance < 0 ? -drive.lowestBalance : 0;
            std::int64_t megabytes = shortfall / 1024000 + (shortfall % 1024000 != 0 ? 1 : 0);
            main +=
                std::string(" Drive ") + drive.letter + " : " + std::to_string(megabytes) + " Mb";
        }
        break;
    default:
        break;
    }
    writeRecord(out_, {"ask", dialogKindName(question.kind), main, answerName(answer)});
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
