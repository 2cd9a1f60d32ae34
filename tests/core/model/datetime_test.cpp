#include "model/datetime.h"

#include <gtest/gtest.h>

#include <cmath>

namespace brenvik {
namespace {

TEST(DateTime, KnownDayNumbers) {
    EXPECT_EQ(*EncodeDate(1899, 12, 30), 0);
    EXPECT_EQ(*EncodeDate(1900, 1, 1), 2);
    EXPECT_EQ(*EncodeDate(2012, 3, 15), 40983);
    EXPECT_EQ(*EncodeDate(1, 1, 1), -693593);
    EXPECT_EQ(*EncodeDate(9999, 12, 31), 2958465);
    EXPECT_FALSE(EncodeDate(2023, 2, 29));
    EXPECT_TRUE(EncodeDate(2024, 2, 29));
    EXPECT_FALSE(EncodeDate(2016, 0, 1));
    EXPECT_FALSE(EncodeDate(2016, 4, 31));
    EXPECT_FALSE(EncodeDate(10000, 1, 1));
    EXPECT_FALSE(EncodeDate(0, 1, 1));
}

TEST(DateTime, DecodeRoundsToTheMillisecond) {
    const double d = *EncodeDate(2012, 3, 15) + *EncodeTime(12, 35, 19, 0) - 1e-9;
    auto p = DecodeDateTime(d);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->year, 2012);
    EXPECT_EQ(p->month, 3);
    EXPECT_EQ(p->day, 15);
    EXPECT_EQ(p->hour, 12);
    EXPECT_EQ(p->minute, 35);
    EXPECT_EQ(p->second, 19);
    EXPECT_EQ(p->msec, 0);
    // 23:59:59.9996 rounds into the next day.
    auto q = DecodeDateTime(*EncodeDate(2012, 12, 31) + (86400 - 0.0004) / 86400);
    ASSERT_TRUE(q);
    EXPECT_EQ(q->year, 2013);
    EXPECT_EQ(q->hour, 0);
    // Every day of a few years decodes to the date it was encoded from.
    for (int y : {1, 1600, 1899, 1900, 2000, 2100, 9999})
        for (int m = 1; m <= 12; ++m) {
            auto e = EncodeDate(y, m, 28);
            auto r = DecodeDateTime(*e);
            ASSERT_TRUE(r);
            EXPECT_EQ(r->year, y);
            EXPECT_EQ(r->month, m);
            EXPECT_EQ(r->day, 28);
        }
    EXPECT_FALSE(DecodeDateTime(1e25));
    EXPECT_FALSE(DecodeDateTime(NAN));
    EXPECT_FALSE(DecodeDateTime(-700000));
}

TEST(DateTime, TwoDigitYearWindow) {
    // The window starts 50 years before the current year.
    EXPECT_EQ(WindowYear(94, 2026), 1994);
    EXPECT_EQ(WindowYear(76, 2026), 1976);
    EXPECT_EQ(WindowYear(75, 2026), 2075);
    EXPECT_EQ(WindowYear(12, 2026), 2012);
    EXPECT_EQ(WindowYear(0, 2026), 2000);
}

}  // namespace
}  // namespace brenvik
