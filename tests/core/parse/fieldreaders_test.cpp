#include "parse/fieldreaders.h"

#include <gtest/gtest.h>

#include "model/datetime.h"
#include "session.h"
#include "support/fakeplatform.h"

namespace brenvik {
namespace {

constexpr double kMs = kSecond / 1000;

TDateTime Day(int y, int m, int d) { return *EncodeDate(y, m, d); }
TDateTime Clock(int h, int m, int s, int ms = 0) { return *EncodeTime(h, m, s, ms); }

TEST(TimeWithDate, PlacesTheTimeOnTheReferenceDate) {
    test::FakePlatform p;
    Session s(p);
    const TDateTime d = Day(2012, 3, 15);
    struct Case { const char* name; const char* text; TDateTime ref; TDateTime want; };
    const Case cases[] = {
        {"same day", "123519", d, d + Clock(12, 35, 19)},
        {"decimals", "123519.25", d, d + Clock(12, 35, 19, 250)},
        {"midnight crossed", "000001", d + Clock(23, 59, 59), d + 1 + Clock(0, 0, 1)},
        {"half a second back keeps ref", "123519", d + Clock(12, 35, 19, 500), d + Clock(12, 35, 19, 500)},
        // Out-of-order fixes or an alarm stamped in the past never jump a day ahead.
        {"an hour back keeps ref", "113519", d + Clock(12, 35, 19), d + Clock(12, 35, 19)},
        {"just under 12 hours back keeps ref", "010001", d + Clock(13, 0, 0), d + Clock(13, 0, 0)},
        {"over 12 hours back is the next day", "005959", d + Clock(13, 0, 0), d + 1 + Clock(0, 59, 59)},
        {"no date known", "123519", 0, Clock(12, 35, 19)},
        {"empty is now", "", d, p.now},
        {"not a time keeps ref", "12a519", d + 0.25, d + 0.25},
        {"no seconds keeps ref", "1235", d + 0.25, d + 0.25},
        {"signed minutes keep ref", "12-519", d + 0.25, d + 0.25},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_NEAR(TimeWithDate(s, c.text, c.ref), c.want, kMs / 10);
    }
}

TEST(DateDMY, TwoDigitYearsLieInTheWindowBeforeNow) {
    test::FakePlatform p;  // the clock says 2026, so the window is 1976 to 2075
    Session s(p);
    struct Case { const char* text; std::optional<TDateTime> want; };
    const Case cases[] = {
        {"230394", Day(1994, 3, 23)}, {"230375", Day(2075, 3, 23)}, {"230376", Day(1976, 3, 23)},
        {"01012026", Day(2026, 1, 1)}, {"290224", Day(2024, 2, 29)}, {"290223", std::nullopt},
        {"2303", std::nullopt},        {"", std::nullopt},           {"23x394", std::nullopt},
        {"320194", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(DateDMY(s, c.text), c.want);
    }
}

TEST(DateWithTime, KeepsTheTimeOfDayOfTheReference) {
    test::FakePlatform p;
    Session s(p);
    const TDateTime ref = Clock(12, 35, 19);
    EXPECT_NEAR(DateWithTime(s, "230394", ref), Day(1994, 3, 23) + ref, kMs / 10);
    EXPECT_NEAR(DateWithTime(s, "230394", Day(2000, 1, 1) + ref), Day(1994, 3, 23) + ref, kMs / 10);
    EXPECT_EQ(DateWithTime(s, "999999", ref), ref);
    EXPECT_EQ(DateWithTime(s, "", ref), p.now);
}

TEST(ParseCoord, DegreesAndMinutes) {
    struct Case { const char* hemi; const char* text; bool ok; double want; };
    const Case cases[] = {
        {"N", "4807.038", true, 48.1173},
        {"E", "01131.000", true, 11.5 + 1.0 / 60},
        {"N", "0745.5", true, 7.7583333333333},
        {"S", "0745.5", true, -7.7583333333333},
        {"W", "12311.12", true, -(123 + 11.12 / 60)},
        {"N", "4807.0381234", true, 48 + 7.03812 / 60},  // five decimals of minutes at most
        {"N", "07.5", true, 0.125},                      // nothing before the minutes
        {"N", "4807", true, 48 + 7.0 / 60},              // no point
        {"s", "0745.5", true, 7.7583333333333},          // only an upper-case S or W negates
        {"N", "7.5", false, 0},
        {"N", ".5", false, 0},
        {"N", "48x7.0", false, 0},
        {"N", "-07.5", false, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.hemi) + " " + c.text);
        if (c.ok) {
            EXPECT_NEAR(ParseCoord(c.hemi, c.text), c.want, 1e-9);
        } else {
            EXPECT_THROW(ParseCoord(c.hemi, c.text), ConvertError);
        }
    }
}

TEST(DateYMD, DayNumberRoundedToTheNearestDay) {
    const auto d = static_cast<std::int32_t>(Day(2012, 3, 15));
    struct Case { const char* text; std::optional<std::int32_t> want; };
    const Case cases[] = {
        {"2012-03-15", d},         {"2012/3/15", d},          {"2012-03-15 11:59:59", d},
        {"2012-03-15 12:00:00", d + 1}, {"2012-03/15", std::nullopt}, {"2012-02-30", std::nullopt},
        {"2012-03-15 25:00:00", std::nullopt}, {"", std::nullopt}, {"2012", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(DateYMD(c.text), c.want);
    }
}

TEST(ClockTime, MillisecondsAreAWholeNumber) {
    EXPECT_NEAR(*ClockTime("10:11:12.345"), Clock(10, 11, 12, 345), kMs / 10);
    EXPECT_NEAR(*ClockTime("10:11:12.5"), Clock(10, 11, 12, 5), kMs / 10);
    EXPECT_FALSE(ClockTime("10:11"));
    EXPECT_FALSE(ClockTime("24:00:00"));
    EXPECT_FALSE(ClockTime("10:11:12.1234"));
    EXPECT_NEAR(*ClockTime("1:2:3"), Clock(1, 2, 3, 0), kMs / 10);
    EXPECT_NEAR(*ClockTime("10:11:12.050"), Clock(10, 11, 12, 50), kMs / 10);
    for (const char* bad : {"10:11:", "10:11:12.", "10:11:12:13", "10:11:12.3.4", ":11:12", "10::12",
                            "10:11:12 ", "0000000010:11:12", "10:11:12.0000000001"}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(ClockTime(bad));
    }
}

}  // namespace
}  // namespace brenvik
