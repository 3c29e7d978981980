#pragma once

#include "engine/EngineContext.h"
#include "platform/Clock.h"
#include "platform/DosStamp.h"

#include <cstdint>
#include <ctime>
#include <string>

namespace brisko::engine {

// The current time as a DosStamp; the local time is worked out once per distinct clock second.
class CurrentStamp {
public:
    explicit CurrentStamp(const platform::Clock& clock) : clock_(clock) {}
    platform::DosStamp now();

private:
    const platform::Clock& clock_;
    std::time_t lastTime_ = 0;
    platform::DosStamp lastStamp_ = 0;
    bool known_ = false;
};

// How far a file's stamp stands ahead of the clock, judged by the difference of the packed
// values: more than 95 (about three minutes) is in the future, more than 65530 (about a day) is
// out of tune. The source of an update scan is out of tune already at 65530.
enum class StampStanding { InTune, Future, OutOfTune };
StampStanding stampStanding(platform::DosStamp file, platform::DosStamp now, bool outOfTuneAtLimit);

// A stamp as the user's locale writes a date and a time; the time is left out at midnight.
std::string stampDateText(platform::DosStamp stamp);

// One file whose stamp is checked before it is compared.
struct StampedFile {
    std::string path; // folder + "\" + name
    platform::DosStamp stamp = 0;
    std::int64_t size = 0;
    bool isTarget = false;
};

enum class StampVerdict {
    Accepted, // compare the file
    Stamped,  // the file was stamped with the current time; compare it by the stamp it had
    PassOver, // leave the pair alone and go on with the next file
    EndScan,  // the run is aborted: the whole scan ends at once
};

// Checks a stamp against the clock: a stamp out of tune stops the run after a message; a
// future stamp asks whether to stamp the file with the current time (now), skip it or abort.
StampVerdict checkStamp(EngineContext& context, const StampedFile& file, bool masterScan,
                        bool leftToRight, platform::DosStamp now);

} // namespace brisko::engine
