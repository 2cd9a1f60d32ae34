#include "parse/segment.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>

#include "model/datetime.h"
#include "support/loadhelper.h"

namespace brenvik {
namespace {

using test::LineSession;
constexpr double kPi = std::numbers::pi;
constexpr double kRad = kPi / 180;

// A GGA fix at second `sec` after 10:00:00 at latitude 48 degrees plus `minutes`.
std::string Gga(int sec, double minutes) {
    const int t = 10 * 3600 + sec;
    return Fmt("$GPGGA,%02d%02d%02d,48%08.5f,N,01131.000,E,1,08,0.9,545.4,M,,M,,", t / 3600 % 24,
               t / 60 % 60, t % 60, minutes);
}

TEST(DistBearing, GreatCircle) {
    struct Case { const char* name; TCoord a, b; double dst, brg; };
    const double minute = kRad / 60;
    const Case cases[] = {
        {"one minute of latitude", {0, 0}, {minute, 0}, 6371000 * kPi / 10800, 0},
        {"north on a meridian", {48 * kRad, 11 * kRad}, {48 * kRad + minute, 11 * kRad}, 1853.2487, 0},
        {"east on the equator", {0, 0}, {0, minute}, 1853.2487, kPi / 2},
        {"west on the equator", {0, 0}, {0, -minute}, 1853.2487, 3 * kPi / 2},
        {"south", {0, 0}, {-minute, 0}, 1853.2487, kPi},
        {"identical", {0.5, 0.5}, {0.5, 0.5}, 0, 0},
        {"a few centimetres", {0.5, 0.5}, {0.5 + 1e-9, 0.5}, 0, 0},
        {"from the north pole", {kPi / 2, 0}, {kPi / 2 - minute, 0}, 1853.2487, kPi},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const TDstBrg r = DistBearing(c.a, c.b);
        EXPECT_NEAR(r.dst, c.dst, 0.01);
        EXPECT_NEAR(r.brg, c.brg, 1e-4);  // an arc cosine: coarse for short distances
        EXPECT_EQ(Distance(c.a, c.b), r.dst);
    }
}

TEST(Atan2, MatchesTheUsualArcTangentButOnTheNegativeXAxis) {
    const double pts[][2] = {{1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, -1}, {0, -1}, {1, -1}, {3, 0.5}, {-0.2, 5}};
    for (const auto& p : pts) {
        SCOPED_TRACE(Fmt("%g,%g", p[0], p[1]));
        EXPECT_NEAR(Atan2(p[0], p[1]), std::atan2(p[1], p[0]), 1e-12);
    }
    EXPECT_NEAR(Atan2(-1, 0), -kPi, 1e-12);
    EXPECT_EQ(Atan2(0, 0), 0);
}

TEST(CutCheck, ThresholdsDecideTheEvents) {
    struct Case {
        const char* name;
        std::int32_t timethresh, distthresh;
        int fixes;         // one per second
        double stepmin;    // minutes of latitude per fix
        int events;
    };
    const Case cases[] = {
        {"every second", 1, kNever, 5, 0, 6},  // the data after the last cut: one more event
        {"every two seconds", 2, kNever, 5, 0, 3},
        {"every minute", 60, kNever, 181, 0, 4},
        {"every 100 m", kNever, 100, 40, 0.01, 6},  // 18.5 m per fix: a cut every 6 fixes
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string text;
        for (int i = 0; i < c.fixes; ++i) text += Gga(i, 7.0 + i * c.stepmin) + "\n";
        auto log = test::LoadText(text, [&](TSettings& s) {
            s.timethresh = c.timethresh;
            s.distthresh = c.distthresh;
        });
        ASSERT_EQ(log->outcome, LoadOutcome::Complete);
        EXPECT_EQ(log->s.events.count(), c.events);
        const TEvents& ev = log->s.events;
        double total = 0;
        for (std::int32_t i = 1; i < ev.count(); ++i) {
            const TCoord a{ev[i - 1].coord.lat * kRad, ev[i - 1].coord.lng * kRad};
            const TCoord b{ev[i].coord.lat * kRad, ev[i].coord.lng * kRad};
            const double d = Distance(a, b);
            total += d;
            if (c.distthresh != kNever) {
                EXPECT_GE(d, 100);
                EXPECT_LT(d, 120);
            }
            if (c.timethresh == 60 && i >= 2) {  // the first event's time was repaired
                EXPECT_NEAR((ev[i].dts - ev[i - 1].dts) * 86400, 60, 1e-3);
            }
        }
        EXPECT_NEAR(log->s.seg.totaldist, total, 0.01);
    }
}

TEST(CutCheck, AlarmCutsAtTheEventsPosition) {
    LineSession ls([](TSettings& s) {
        s.timethresh = 3600;
        s.alarmthresh = 1;
    });
    ls.Feed({Gga(0, 7.0), Gga(5, 7.5), "$BWALR,100010,1,A,V,HIGH WATER"});
    ASSERT_EQ(ls.s.events.count(), 2);
    const TEvent& e = ls.s.events[1];
    EXPECT_EQ(e.coord.lat, ls.s.events[0].coord.lat);  // the last cut's position, not the 7.5 fix
    EXPECT_NEAR(e.dts - ls.s.events[0].dts, 10 * kSecond, 1e-9);
    EXPECT_EQ(e.bwalarm.substr(0, 2), "2:");
    EXPECT_EQ(ls.s.seg.alarmstage, -1);
    EXPECT_TRUE(ls.s.curevent.bwalarm.empty());
}

TEST(CutCheck, ZeroPositionCutsButMakesNoEvent) {
    LineSession ls;
    ls.Feed({"$GPGGA,100000,0000.000,N,00000.000,E,1,08,0.9,545.4,M,,M,,"});
    EXPECT_EQ(ls.s.events.count(), 0);
    EXPECT_NEAR(ls.s.curevent.dts, 10.0 / 24, 1e-9);
    EXPECT_TRUE(ls.s.fields.fields[fTime].dataval);
    EXPECT_FALSE(ls.s.fields.fields[fLatitude].dataval);
}

TEST(CutCheck, CommitMarksTheFieldsThatHoldData) {
    LineSession ls;
    ls.Feed({"2012/03/15 10:11:12,$SDDPT,4.1,0.5", "$IIHDT,10,T", Gga(0, 7.0)});
    const auto& f = ls.s.fields.fields;
    for (int n : {fVDRDate, fVDRTime, fDate, fTime, fLatitude, fLongitude, fDepth, fHeading, fHDOP, fAntAltitude}) {
        SCOPED_TRACE(n);
        EXPECT_TRUE(f[static_cast<std::size_t>(n)].dataval);
    }
    for (int n : {fOffset, fSpeed, fWindSpd, fProprietary, fAlarms, fSRudder}) {
        SCOPED_TRACE(n);
        EXPECT_FALSE(f[static_cast<std::size_t>(n)].dataval);
    }
}

}  // namespace
}  // namespace brenvik
