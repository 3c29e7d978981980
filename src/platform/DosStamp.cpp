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

// The date of a count of days from 1970-01-01 (the inverse of daysFromCivil).
void civilFromDays(std::int64_t days, int& year, int& month, int& day) {
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const auto dayOfEra = static_cast<int>(days - era * 146097);
    const int yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int monthIndex = (5 * dayOfYear + 2) / 153; // from March
    day = dayOfYear - (153 * monthIndex + 2) / 5 + 1;
    month = monthIndex < 10 ? monthIndex + 3 : monthIndex - 9;
    year = static_cast<int>(yearOfEra + era * 400) + (month <= 2 ? 1 : 0);
}

constexpr std::int64_t kSecondsPerDay = 86400;

std::int64_t floorDiv(std::int64_t value, std::int64_t divisor) {
    const std::int64_t quotient = value / divisor;
    return quotient * divisor > value ? quotient - 1 : quotient;
}

// Seconds since 1970-01-01 00:00:00 of a broken-down time, read as if it were UTC.
std::int64_t secondsOf(const std::tm& tm) {
    return static_cast<std::int64_t>(daysFromCivil(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday)) *
               kSecondsPerDay +
           tm.tm_hour * 3600 + tm.tm_min * 60 + tm.tm_sec;
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

DosStamp DosStampCache::stampOf(std::time_t t) {
    const std::int64_t day = floorDiv(t, kSecondsPerDay);
    if (day != steadyDay_ && day == seenDay_ && day != unsteadyDay_ && !learnOffset(day))
        unsteadyDay_ = day;
    if (day == steadyDay_) {
        const std::int64_t local = static_cast<std::int64_t>(t) + offset_;
        const std::int64_t localDay = floorDiv(local, kSecondsPerDay);
        const auto second = static_cast<int>(local - localDay * kSecondsPerDay);
        if (localDay != dateDay_) {
            civilFromDays(localDay, date_.year, date_.month, date_.day);
            dateDay_ = localDay;
        }
        LocalDateTime parts = date_;
        parts.hour = second / 3600;
        parts.minute = second / 60 % 60;
        parts.second = second % 60;
        return packDosStamp(parts);
    }
    seenDay_ = day;
    return dosStampFromTime(t);
}

// Whether the whole UTC day keeps one offset from local time: the C library is asked at its
// start, its end and every six hours between (zone rules never change the offset and change
// it back within six hours).
bool DosStampCache::learnOffset(std::int64_t day) {
    constexpr std::int64_t kStep = 6 * 3600;
    std::int64_t offset = 0;
    for (std::int64_t at = 0; at <= kSecondsPerDay; at += kStep) {
        const auto probe =
            static_cast<std::time_t>(day * kSecondsPerDay + std::min(at, kSecondsPerDay - 1));
        std::tm tm{};
        if (localtime_r(&probe, &tm) == nullptr)
            return false;
        const std::int64_t probeOffset = secondsOf(tm) - probe;
        if (at != 0 && probeOffset != offset)
            return false;
        offset = probeOffset;
    }
    steadyDay_ = day;
    offset_ = offset;
    return true;
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
