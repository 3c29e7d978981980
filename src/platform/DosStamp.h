#pragma once

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

// The C library's broken-down form of a local date and time (summer time left to the zone rules).
std::tm toTm(const LocalDateTime& t);

// The local calendar date and time of a moment.
LocalDateTime localDateTime(std::time_t t);

} // namespace brisko::platform
