#pragma once

#include "ports/Display.h"
#include "ports/Operator.h"

#include <ostream>

namespace brisko::batch {

// Shows what a run does as records on standard output: each Message row as it is met.
class BatchDisplay final : public Display {
public:
    explicit BatchDisplay(std::ostream& out) : out_(out) {}
    void addMessage(const std::string& text) override;

private:
    std::ostream& out_;
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
