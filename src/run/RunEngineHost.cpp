#include "run/RunEngineHost.h"

namespace brisko::run {

void RunEngineHost::setExecuteCaption(bool offersExecute) {
    if (pieces_.window != nullptr)
        pieces_.window->setExecuteCaption(offersExecute);
}

void RunEngineHost::setDirection(bool leftToRight, bool visible) {
    if (pieces_.window != nullptr)
        pieces_.window->setDirection(leftToRight, visible);
}

} // namespace brisko::run
