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

void reportLinkClash(Session& session, const std::string& linkPath) {
    if (session.linkClashes.insert(platform::toUpper(linkPath)).second)
        reportPassedOver(session.context, linkPath, kLinkFacesEntry);
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
