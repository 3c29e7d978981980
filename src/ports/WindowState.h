#pragma once

#include "ports/Display.h"

#include <string>

namespace brisko {

// Where the program stands, as far as a window shows it: the core keeps it up to date and hands
// it over whole after every change; the window maps it onto its controls in one place.
struct WindowState {
    RunState runState = RunState::Idle;
    bool running = false;     // a run is under way, from its start to its end
    bool scriptReady = false; // a script is loaded without errors
    bool stoppable = false;   // this run has begun a session, so Stop can interrupt it
    bool offersStop = false;  // the Execute button offers Stop rather than Execute
    // The tick boxes of the pause between scan and copy and of the compare after copy.
    bool stopBetweenScanAndCopy = false;
    bool binaryCompareAfterCopy = false;
    bool countersShown = false; // from the first scan after a load on
    bool verifying = false;     // a copy is being compared with its source
    // The copy direction between the folder panes, and whether it is shown.
    bool leftToRight = true;
    bool directionShown = false;
    std::string errorReport; // "Contains N errors" once a script was loaded; empty before

    // The Execute button may be pressed: outside a run to start a script that loaded without
    // errors, inside one to stop it once a session began.
    bool executeEnabled() const { return running ? stoppable : scriptReady; }
    // Closing and loading wait for the end of a run; reloading also for the return to Idle.
    bool loadEnabled() const { return !running; }
    bool reloadEnabled() const { return !running && runState == RunState::Idle; }

    bool operator==(const WindowState&) const = default;
};

} // namespace brisko
