#include "batch/BatchPorts.h"

#include "batch/RecordWriter.h"

namespace brisko::batch {

void BatchDisplay::addMessage(const std::string& text) { writeRecord(out_, {"message", text}); }

DialogAnswer BatchOperator::ask(const Question& question) {
    DialogAnswer answer = defaultAnswer(question.kind);
    // The question's main text: its message where the caption is fixed, else its caption.
    const std::string& main = question.text.empty() ? question.str1 : question.text;
    writeRecord(out_, {"ask", dialogKindName(question.kind), main, answerName(answer)});
    return answer;
}

void BatchOperator::notify(const std::string& text) { writeRecord(out_, {"notice", text}); }

bool BatchOperator::confirm(const std::string& text) {
    writeRecord(out_, {"ask", "Confirm", text, answerName(DialogAnswer::No)});
    return false;
}

} // namespace brisko::batch
