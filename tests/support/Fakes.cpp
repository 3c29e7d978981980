#include "support/Fakes.h"

namespace brisko::test {

namespace {
template <typename T> void store(std::vector<T>& rows, int row, const T& value) {
    if (row < 1)
        return;
    if (rows.size() < static_cast<std::size_t>(row))
        rows.resize(static_cast<std::size_t>(row));
    rows[static_cast<std::size_t>(row) - 1] = value;
}
} // namespace

void RecordingDisplay::addScriptRow(int row, const ScriptLine& line) {
    store(scriptRows, row, line);
}

void RecordingDisplay::setHistoryRow(int row, const HistoryRow& data) {
    store(historyRows, row, data);
}

void RecordingDisplay::showFolder(Side side, const std::string& folder) {
    (side == Side::Left ? leftFolder : rightFolder) = folder;
}

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
