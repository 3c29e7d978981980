#include "app/RunStateLayout.h"

namespace brisko::app {

RunStateLayout runStateLayout(RunState state) {
    switch (state) {
    case RunState::Idle:
        return {true, false, true, true, QColor(128, 128, 128), false, QString()};
    case RunState::Scanning:
        return {true, false, true, true, QColor(0, 255, 0), false, QStringLiteral("Scanning")};
    case RunState::Copying:
        return {true, false, false, false, QColor(255, 0, 0), false, QStringLiteral("Copying")};
    case RunState::Waiting:
        return {false, true, false, true, std::nullopt, true, QStringLiteral("Waiting")};
    }
    return runStateLayout(RunState::Idle);
}

} // namespace brisko::app
