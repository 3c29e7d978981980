#include "engine/ScanReports.h"

#include "platform/Unicode.h"

namespace brisko::engine {

std::string passedOverBecause(std::string_view reason) {
    return "Passed over - " + std::string(reason);
}

void reportPassedOver(EngineContext& context, const std::string& path, std::string_view status,
                      RowColour colour) {
    context.host.reportProblem(HistoryRow{path, "", "", "", std::string(status), colour});
}

void reportOnce(Session& session, const std::string& path, std::string_view status) {
    if (session.reportedOnce.insert(platform::toUpper(path)).second)
        reportPassedOver(session.context, path, status);
}

void reportLinkClash(Session& session, const std::string& linkPath) {
    reportOnce(session, linkPath, kLinkFacesEntry);
}

DialogAnswer askOperator(EngineContext& context, const Question& question) {
    context.host.refreshDisplay(false);
    return context.operatorPort.ask(question);
}

void tellOperator(EngineContext& context, const std::string& text) {
    context.host.refreshDisplay(false);
    context.operatorPort.notify(text);
}

} // namespace brisko::engine
