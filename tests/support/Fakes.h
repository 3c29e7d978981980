#pragma once

#include "ports/Operator.h"
#include "support/RecordingDisplay.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace brisko::test {

// Answers questions from a script of answers (the default answer when it runs out) and records
// every question, notice and confirmation. onAsk runs as a question is put (to change the disk
// under the question, as a person might).
class ScriptedOperator : public Operator {
public:
    DialogAnswer ask(const Question& question) override;
    void notify(const std::string& text) override { notices.push_back(text); }
    bool confirm(const std::string& text) override;

    std::function<void(const Question&)> onAsk;
    std::deque<DialogAnswer> answers;
    std::deque<bool> confirmations;
    std::vector<Question> questions;
    std::vector<std::string> notices;
    std::vector<std::string> confirmationTexts;
};

} // namespace brisko::test
