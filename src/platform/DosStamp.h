#pragma once

#include <climits>
#include <cstdint>
#include <ctime>

namespace brisko::platform {

// A file's modification time as packed local DOS date and time (2-second resolution):
// bits 31..25 year-1980, 24..21 month, 20..16 day, 15..11 hour, 10..5 minute, 4..0 seconds/2.
// Files are ordered by integer differences of these values.
using DosStamp = std::uint32_t;

struct LocalDateTime {
    int year = 1980; // four digits
    int month = 1;   // 1..12
    int day = 1;     // 1..31
    int hour = 0;
    int minute = 0;
    int second = 0;
    int weekday = 0; // 0 = Sunday
    int yearDay = 1; // 1..366
};

// Packs a local date and time; years before 1980 or after 2107 clamp to the nearest stamp.
DosStamp packDosStamp(const LocalDateTime& t);
LocalDateTime unpackDosStamp(DosStamp stamp);

// Conversions between seconds since the epoch and the local DOS stamp.
DosStamp dosStampFromTime(std::time_t t);
std::time_t timeFromDosStamp(DosStamp stamp);

// Converts many moments to local DOS stamps, exactly as dosStampFromTime does, but cheaply when
// several fall on the same day (the files of one folder usually do): once a UTC day is seen
// to keep one offset from local time throughout, its moments are converted by arithmetic.
// A day with a summer-time change or a leap second never keeps one offset, so its moments go
// through the C library as before. Meant to live for one batch of
// conversions (a listing), so that a change of the zone between batches is never missed.
class DosStampCache {
public:
    DosStamp stampOf(std::time_t t);

private:
    bool learnOffset(std::int64_t day);

    static constexpr std::int64_t kNoDay = INT64_MIN;
    std::int64_t steadyDay_ = kNoDay;   // the day whose offset is known
    std::int64_t offset_ = 0;           // local time minus UTC, in seconds, all through it
    std::int64_t seenDay_ = kNoDay;     // the day of the last moment converted the slow way
    std::int64_t unsteadyDay_ = kNoDay; // a day found not to keep one offset
    std::int64_t dateDay_ = kNoDay;     // the local day whose date date_ holds
    LocalDateTime date_;
};

// The C library's broken-down form of a local date and time (summer time left to the zone rules).
std::tm toTm(const LocalDateTime& t);

// The local calendar date and time of a moment.
LocalDateTime localDateTime(std::time_t t);

} // namespace brisko::platform
