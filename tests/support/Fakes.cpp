#include "support/Fakes.h"

namespace brisko::test {

DialogAnswer ScriptedOperator::ask(const Question& question) {
    questions.push_back(question);
    if (onAsk)
        onAsk(question);
    if (answers.empty())
        return defaultAnswer(question.kind());
    DialogAnswer answer = answers.front();
    answers.pop_front();
    return answer;
}

bool ScriptedOperator::confirm(const std::string& text) {
    confirmationTexts.push_back(text);
    if (confirmations.empty())
        return false;
    bool answer = confirmations.front();
    confirmations.pop_front();
    return answer;
}

} // namespace brisko::test
