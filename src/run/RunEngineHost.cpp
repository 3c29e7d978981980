#include "run/RunEngineHost.h"

#include "run/RunContext.h"

namespace brisko::run {

bool RunEngineHost::abortRequested() const {
    return context_.abortRequested();
}
void RunEngineHost::abortAll() {
    context_.abortAll();
}
void RunEngineHost::setRunState(RunState state) {
    context_.setRunState(state);
}
void RunEngineHost::setExecuteCaption(bool offersExecute) {
    context_.setExecuteCaption(offersExecute);
}
void RunEngineHost::pump() {
    context_.status().pump();
}
void RunEngineHost::refreshDisplay(bool throttled) {
    context_.status().refresh(throttled);
}
void RunEngineHost::setCurrentFile(const std::string& path) {
    context_.status().setCurrentFile(path);
}
void RunEngineHost::showFolders(const std::string& left, const std::string& right) {
    context_.status().showFolders(left, right);
}
void RunEngineHost::setDirection(bool leftToRight, bool visible) {
    context_.display().setDirection(leftToRight, visible);
}
void RunEngineHost::setFileProgress(std::int64_t done, std::int64_t total) {
    context_.display().setFileProgress(done, total);
}
void RunEngineHost::countPlanned(Counter counter) {
    context_.status().addToCounter(counter, 1);
}
int RunEngineHost::addHistoryRow(const HistoryRow& row) {
    return context_.historyList().addRow(row);
}
void RunEngineHost::reportProblem(const HistoryRow& row) {
    context_.reportProblem(row);
}

} // namespace brisko::run
