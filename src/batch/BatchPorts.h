#pragma once

#include "batch/ProgressLine.h"
#include "ports/Display.h"
#include "ports/Operator.h"

#include <memory>
#include <ostream>

namespace brisko::run {
class RunContext;
}

namespace brisko::batch {

// Shows what a run does: each Message row as a record on standard output, and, when standard
// error is a terminal, a progress line there. It is also where the console acts on the run:
// a stop signal stops it, and nobody is there to press Continue.
class BatchDisplay final : public Display {
public:
    explicit BatchDisplay(std::ostream& out) : out_(out) {}

    // The run to act on; continueAfterPause carries a paused run on instead of ending it.
    void attach(run::RunContext& context, bool continueAfterPause);
    void showProgress(std::unique_ptr<ProgressLine> progress) { progress_ = std::move(progress); }

    void pump() override;
    void waitForInput() override;
    void addMessage(const std::string& text) override;
    void setCounter(Counter which, std::int32_t value) override;
    void setCurrentFile(const std::string& path) override;
    void setTotalProgress(std::int64_t done, std::int64_t total) override;
    void setRunning(bool running) override;

private:
    std::ostream& out_;
    run::RunContext* context_ = nullptr;
    bool continueAfterPause_ = false;
    std::unique_ptr<ProgressLine> progress_;
};

// Nobody sits at a console run: every timed question takes its default answer at once, a
// plain message is answered OK, a yes/no confirmation without a default is answered No. Each
// is written as a record.
class BatchOperator final : public Operator {
public:
    explicit BatchOperator(std::ostream& out) : out_(out) {}
    DialogAnswer ask(const Question& question) override;
    void notify(const std::string& text) override;
    bool confirm(const std::string& text) override;

private:
    std::ostream& out_;
};

} // namespace brisko::batch
