#include "script/Caption.h"

namespace brisko::script {

void setWindowCaption(ScriptContext& context, const std::string& text) {
    context.script.caption = text;
    context.window.setCaption(text);
}

void setCaptionAndTitle(ScriptContext& context, const std::string& text) {
    setWindowCaption(context, text);
    context.display.setTaskbarTitle(text);
}

} // namespace brisko::script
