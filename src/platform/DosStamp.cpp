#include "platform/DosStamp.h"

#include <algorithm>

namespace brisko::platform {

namespace {

constexpr int kFirstYear = 1980;
constexpr int kLastYear = 2107;

constexpr DosStamp pack(int year, int month, int day, int hour, int minute, int second) {
    return static_cast<DosStamp>(year - kFirstYear) << 25 | static_cast<DosStamp>(month) << 21 |
           static_cast<DosStamp>(day) << 16 | static_cast<DosStamp>(hour) << 11 |
           static_cast<DosStamp>(minute) << 5 | static_cast<DosStamp>(second / 2);
}

constexpr DosStamp kEarliestStamp = pack(kFirstYear, 1, 1, 0, 0, 0);
constexpr DosStamp kLatestStamp = pack(kLastYear, 12, 31, 23, 59, 58);

int bits(DosStamp stamp, int shift, DosStamp mask) {
    return static_cast<int>((stamp >> shift) & mask);
}

// Days from 1970-01-01 to a date of the proleptic Gregorian calendar.
long daysFromCivil(int year, int month, int day) {
    year -= month <= 2 ? 1 : 0;
    const int era = (year >= 0 ? year : year - 399) / 400;
    const int yearOfEra = year - era * 400;
    const int dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return static_cast<long>(era) * 146097 + dayOfEra - 719468;
}

LocalDateTime fromTm(const std::tm& tm) {
    LocalDateTime t;
    t.year = tm.tm_year + 1900;
    t.month = tm.tm_mon + 1;
    t.day = tm.tm_mday;
    t.hour = tm.tm_hour;
    t.minute = tm.tm_min;
    t.second = tm.tm_sec;
    t.weekday = tm.tm_wday;
    t.yearDay = tm.tm_yday + 1;
    return t;
}

} // namespace

DosStamp packDosStamp(const LocalDateTime& t) {
    if (t.year < kFirstYear)
        return kEarliestStamp;
    if (t.year > kLastYear)
        return kLatestStamp;
    // Out-of-range fields are held inside their bits so that they cannot spill into others.
    return pack(t.year, std::clamp(t.month, 1, 12), std::clamp(t.day, 1, 31),
                std::clamp(t.hour, 0, 23), std::clamp(t.minute, 0, 59),
                std::clamp(t.second, 0, 59));
}

LocalDateTime unpackDosStamp(DosStamp stamp) {
    LocalDateTime t;
    t.year = kFirstYear + bits(stamp, 25, 0x7F);
    t.month = bits(stamp, 21, 0x0F);
    t.day = bits(stamp, 16, 0x1F);
    t.hour = bits(stamp, 11, 0x1F);
    t.minute = bits(stamp, 5, 0x3F);
    t.second = bits(stamp, 0, 0x1F) * 2;
    const int month = std::clamp(t.month, 1, 12);
    const int day = std::max(t.day, 1);
    const long days = daysFromCivil(t.year, month, day);
    t.weekday = static_cast<int>((days + 4) % 7); // 1970-01-01 was a Thursday
    t.yearDay = static_cast<int>(days - daysFromCivil(t.year, 1, 1)) + 1;
    return t;
}

DosStamp dosStampFromTime(std::time_t t) {
    std::tm tm{};
    if (localtime_r(&t, &tm) == nullptr)
        return t < 0 ? kEarliestStamp : kLatestStamp;
    return packDosStamp(fromTm(tm));
}

std::tm toTm(const LocalDateTime& t) {
    std::tm tm{};
    tm.tm_year = t.year - 1900;
    tm.tm_mon = t.month - 1;
    tm.tm_mday = t.day;
    tm.tm_hour = t.hour;
    tm.tm_min = t.minute;
    tm.tm_sec = t.second;
    tm.tm_wday = t.weekday;
    tm.tm_yday = t.yearDay - 1;
    tm.tm_isdst = -1; // let the zone rules decide whether summer time applies
    return tm;
}

std::time_t timeFromDosStamp(DosStamp stamp) {
    std::tm tm = toTm(unpackDosStamp(stamp));
    return std::mktime(&tm);
}

LocalDateTime localDateTime(std::time_t t) {
    std::tm tm{};
    if (localtime_r(&t, &tm) == nullptr)
        return {};
    return fromTm(tm);
}

} // namespace brisko::platform
