#include "ScriptFixture.h"

#include "script/ScriptLoader.h"

namespace brisko::test {

ScriptFixture::ScriptFixture() {
    state.mainLabel = "Brisko 2.0";
}

std::string ScriptFixture::writeFile(std::string_view relative, std::string_view content) {
    tree.write(relative, content);
    std::string name = "C:\\" + std::string(relative);
    for (char& c : name) {
        if (c == '/')
            c = '\\';
    }
    return name;
}

void ScriptFixture::load(std::string_view relative, std::string_view content) {
    const std::string name = writeFile(relative, content);
    script::clearForLoad(context);
    script::loadScript(context, name);
}

void ScriptFixture::startRun() {
    host.resetSettings(true);
    state.messages.clear();
    display.clearMessages();
}

std::vector<std::string> ScriptFixture::shownRows() const {
    std::vector<std::string> rows;
    for (const ScriptLine& line : display.scriptRows) {
        rows.push_back((line.highlighted ? "!" : "") + line.key + "|" + line.sign + "|" +
                       line.value);
    }
    return rows;
}

} // namespace brisko::test
