#include "platform/DosStamp.h"

#include "support/CasePrinter.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <optional>
#include <string>

namespace brisko::platform {
namespace {

// Makes zone the local zone while it lives, then puts the one before back.
class LocalZone {
public:
    explicit LocalZone(const char* zone) {
        const char* before = std::getenv("TZ");
        savedZone_ = before != nullptr ? std::optional<std::string>(before) : std::nullopt;
        setenv("TZ", zone, 1);
        tzset();
    }
    ~LocalZone() {
        if (savedZone_)
            setenv("TZ", savedZone_->c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }
    LocalZone(const LocalZone&) = delete;
    LocalZone& operator=(const LocalZone&) = delete;

private:
    std::optional<std::string> savedZone_;
};

// The local zone is UTC while these tests run, so local stamps are predictable.
class DosStampTest : public ::testing::Test {
private:
    LocalZone zone_{"UTC"};
};

LocalDateTime at(int year, int month, int day, int hour, int minute, int second) {
    LocalDateTime t;
    t.year = year;
    t.month = month;
    t.day = day;
    t.hour = hour;
    t.minute = minute;
    t.second = second;
    return t;
}

constexpr DosStamp kEarliest = 0x00210000; // 1980-01-01 00:00:00
constexpr DosStamp kLatest = 0xFF9FBF7D;   // 2107-12-31 23:59:58

struct PackCase {
    LocalDateTime time;
    DosStamp stamp;
    int weekday;
    int yearDay;
};
PRINT_CASE_AS(PackCase, "stamp " << c.stamp);

class PackTest : public ::testing::TestWithParam<PackCase> {};

TEST_P(PackTest, PacksAndUnpacks) {
    const PackCase& c = GetParam();
    EXPECT_EQ(packDosStamp(c.time), c.stamp);
    const LocalDateTime back = unpackDosStamp(c.stamp);
    EXPECT_EQ(back.year, c.time.year);
    EXPECT_EQ(back.month, c.time.month);
    EXPECT_EQ(back.day, c.time.day);
    EXPECT_EQ(back.hour, c.time.hour);
    EXPECT_EQ(back.minute, c.time.minute);
    EXPECT_EQ(back.second, c.time.second - c.time.second % 2);
    EXPECT_EQ(back.weekday, c.weekday);
    EXPECT_EQ(back.yearDay, c.yearDay);
}

INSTANTIATE_TEST_SUITE_P(Dates, PackTest,
                         ::testing::Values(PackCase{at(1980, 1, 1, 0, 0, 0), kEarliest, 2, 1},
                                           PackCase{at(2107, 12, 31, 23, 59, 58), kLatest, 6, 365},
                                           PackCase{at(2000, 2, 29, 12, 34, 56), 0x285D645C, 2, 60},
                                           PackCase{at(2024, 12, 31, 23, 59, 59), 0x599FBF7D, 2,
                                                    366}));

struct ClampCase {
    int year;
    DosStamp stamp;
};
PRINT_CASE_AS(ClampCase, "year " << c.year);

class ClampTest : public ::testing::TestWithParam<ClampCase> {};

TEST_P(ClampTest, ClampsYearsOutsideTheRange) {
    EXPECT_EQ(packDosStamp(at(GetParam().year, 6, 15, 12, 0, 0)), GetParam().stamp);
}

INSTANTIATE_TEST_SUITE_P(Years, ClampTest,
                         ::testing::Values(ClampCase{1601, kEarliest}, ClampCase{1979, kEarliest},
                                           ClampCase{2108, kLatest}, ClampCase{30000, kLatest}));

TEST_F(DosStampTest, FieldsOutOfRangeDoNotSpillIntoOthers) {
    const LocalDateTime back = unpackDosStamp(packDosStamp(at(2001, 13, 40, 25, 61, 61)));
    EXPECT_EQ(back.year, 2001);
    EXPECT_EQ(back.month, 12);
    EXPECT_EQ(back.day, 31);
    EXPECT_EQ(back.hour, 23);
    EXPECT_EQ(back.minute, 59);
    EXPECT_EQ(back.second, 58);
}

TEST_F(DosStampTest, ConvertsSecondsSinceTheEpoch) {
    const std::time_t y2k = 946684800; // 2000-01-01 00:00:00 UTC
    const DosStamp stamp = dosStampFromTime(y2k);
    EXPECT_EQ(stamp, packDosStamp(at(2000, 1, 1, 0, 0, 0)));
    EXPECT_EQ(timeFromDosStamp(stamp), y2k);
    EXPECT_EQ(dosStampFromTime(y2k + 1), stamp); // two-second resolution
    EXPECT_EQ(timeFromDosStamp(dosStampFromTime(y2k + 3)), y2k + 2);
}

TEST_F(DosStampTest, ClampsMomentsOutsideTheRange) {
    EXPECT_EQ(dosStampFromTime(0), kEarliest);
    EXPECT_EQ(dosStampFromTime(-86400), kEarliest);
    EXPECT_EQ(dosStampFromTime(static_cast<std::time_t>(1) << 33), kLatest); // in 2242
}

TEST_F(DosStampTest, GivesTheLocalCalendar) {
    const LocalDateTime t = localDateTime(951827696); // 2000-02-29 12:34:56 UTC
    EXPECT_EQ(t.year, 2000);
    EXPECT_EQ(t.month, 2);
    EXPECT_EQ(t.day, 29);
    EXPECT_EQ(t.hour, 12);
    EXPECT_EQ(t.minute, 34);
    EXPECT_EQ(t.second, 56);
    EXPECT_EQ(t.weekday, 2);
    EXPECT_EQ(t.yearDay, 60);
}

struct ZoneCase {
    const char* zone; // POSIX rules, so that no zone database is needed
    std::time_t around;
};
PRINT_CASE_AS(ZoneCase, c.zone << " around " << c.around);

// The cache of offsets must give what the C library gives, on days with a summer-time change
// (where it must not use an offset) as on the steady days before and after them.
class DosStampCacheTest : public ::testing::TestWithParam<ZoneCase> {};

TEST_P(DosStampCacheTest, AgreesWithTheCLibrary) {
    const LocalZone zone(GetParam().zone);
    DosStampCache cache;
    const std::time_t from = GetParam().around - 3 * 86400;
    for (std::time_t t = from; t < GetParam().around + 3 * 86400; t += 7 * 60 + 1)
        ASSERT_EQ(cache.stampOf(t), dosStampFromTime(t)) << GetParam().zone << " at " << t;
}

INSTANTIATE_TEST_SUITE_P(
    Zones, DosStampCacheTest,
    ::testing::Values(ZoneCase{"CET-1CEST,M3.5.0,M10.5.0/3", 1711846800},           // 2024-03-31
                      ZoneCase{"CET-1CEST,M3.5.0,M10.5.0/3", 1729990800},           // 2024-10-27
                      ZoneCase{"EST5EDT,M3.2.0,M11.1.0", 1710054000},               // 2024-03-10
                      ZoneCase{"<+1030>-10:30<+11>-11,M10.1.0,M4.1.0", 1712417400}, // half hour
                      ZoneCase{"<-03>3", 315532800}, // the first stamp, 1980-01-01 UTC
                      ZoneCase{"UTC0", -86400}));    // before 1970: clamped alike

} // namespace
} // namespace brisko::platform
