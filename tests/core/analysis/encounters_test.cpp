// Encounters against hand-worked geometry: the ships move in straight lines near 0 N 0 E, where
// a degree is 111194.93 m both ways (sphere of 6371000 m), so distances are plain Pythagoras to
// well under a metre.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "ais/aisassembly.h"
#include "analysis/encounters.h"
#include "support/loadhelper.h"
#include "core/ais/aispayload.h"

namespace brenvik {
namespace {

constexpr double kM = 6371000 * std::numbers::pi / 180;  // metres per degree
constexpr TDateTime kBase = 46000;                        // some day
constexpr double kOff = 0.01;                             // degrees: 0 N 0 E is no position

struct Mover {
    double x, y;    // metres east and north at t = 0
    double ve, vn;  // m/s
    double X(double t) const { return x + ve * t; }
    double Y(double t) const { return y + vn * t; }
    double Sog() const { return std::hypot(ve, vn); }
    double Cog() const {
        const double c = std::atan2(ve, vn) * 180 / std::numbers::pi;
        return c < 0 ? c + 360 : c;
    }
};

TDateTime At(double t) { return kBase + t / 86400; }

// Own events every `ownstep` seconds from 0 to `until`: 13 s, so that no closest approach below
// falls on a fix of either vessel and the least distance between fixes is what finds it.
TEvents OwnTrack(const Mover& own, double until, double ownstep = 13) {
    TEvents ev;
    for (double t = 0; t <= until; t += ownstep) {
        TEvent e;
        e.dts = At(t);
        e.coord = {kOff + own.Y(t) / kM, kOff + own.X(t) / kM};
        e.speed = own.Sog();
        e.cmg = own.Cog();
        ev.Add(std::move(e));
    }
    return ev;
}

TaisEvent Report(std::int32_t id, const Mover& m, double t, std::int32_t msgtype = 1) {
    TaisEvent r;
    r.msgtype = msgtype;
    r.id = id;
    r.valid = true;
    r.rxdts = At(t);
    r.coord = {kOff + m.Y(t) / kM, kOff + m.X(t) / kM};
    r.sog = m.Sog();
    r.cog = m.Sog() > 0 ? m.Cog() : novalue;
    return r;
}

struct Scenario {
    const char* name;
    Mover own, other;
    std::vector<double> silent;  // [from, to) without reports
    std::int32_t msgtype;
    // Expected by hand: closest approach (m), its time (s), bearing (deg), relative speed (m/s).
    double dist, when, brg, relspd;
};

// Reports every 7 s over 0..1400 s.
TaisEvents OtherTrack(const Scenario& c) {
    TaisEvents reps;
    for (double t = 0; t <= 1400; t += 7) {
        if (c.silent.size() == 2 && t >= c.silent[0] && t < c.silent[1]) continue;
        reps.Add(Report(7, c.other, t, c.msgtype));
    }
    return reps;
}

const Scenario scenarios[] = {
    // Own north at 5 m/s; other from (2000, 2300) west at 5 m/s: r = (2000 - 5t, 2300 - 5t),
    // least at t = 21500 / 50 = 430 s, r = (-150, 150).
    {"crossing", {0, 0, 0, 5}, {2000, 2300, -5, 0}, {}, 1, 212.132, 430, 315, 7.0711},
    // Head-on, 100 m apart abeam: r = (100, 4000 - 10t).
    {"head-on", {0, 0, 0, 5}, {100, 4000, 0, -5}, {}, 1, 100, 400, 90, 10},
    // Overtaken from astern on the port side: r = (-50, -1000 + 5t).
    {"overtaking", {0, 0, 0, 3}, {-50, -1000, 0, 8}, {}, 1, 50, 200, 270, 5},
    // Other stopped: r = (300, 1500 - 5t).
    {"stopped", {0, 0, 0, 5}, {300, 1500, 0, 0}, {}, 1, 300, 300, 90, 5},
    // Stopped 200 m off the own track, silent from 203 s to 1001 s (798 s): class A is not
    // joined across it, and held only 3 minutes after the fix at 196 s: at 376 s the own ship is
    // at y = 1880, r = (200, 1120).
    {"gap class A", {0, 0, 0, 5}, {200, 3000, 0, 0}, {203, 1001}, 1, 1137.72, 376, 10.125, 5},
    // The same silence is joined for class B (up to 15 minutes): passing at 600 s.
    {"gap class B", {0, 0, 0, 5}, {200, 3000, 0, 0}, {203, 1001}, 18, 200, 600, 90, 5},
};

TEST(Encounters, ReferenceScenarios) {
    for (const Scenario& c : scenarios) {
        SCOPED_TRACE(c.name);
        const TEvents ev = OwnTrack(c.own, 1400);
        TaisEvents reps = OtherTrack(c);
        const TEncounters enc = ComputeEncounters(ev, reps, 0);
        ASSERT_EQ(enc.list.size(), 1u);
        const TEncounter& e = enc.list[0];
        EXPECT_EQ(e.id, 7);
        EXPECT_EQ(e.reports, reps.count());
        EXPECT_NEAR(e.dist, c.dist, 1.0);
        EXPECT_NEAR((e.when - kBase) * 86400, c.when, 1.0);
        EXPECT_NEAR(e.brg, c.brg, 0.5);
        EXPECT_NEAR(e.relspd, c.relspd, 0.05);
        EXPECT_NEAR((e.own.lat - kOff) * kM, c.own.Y(c.when), 1.0);
        EXPECT_NEAR((e.other.lng - kOff) * kM, c.other.X(c.when), 1.0);
        // The prediction of the last report before it: both states were straight and true,
        // so it foretold this closest point unless the other vessel was silent then.
        ASSERT_GE(e.lastreport, 0);
        const TaisEvent& last = reps[e.lastreport];
        EXPECT_LE(last.rxdts, e.when);
        EXPECT_EQ(e.predcpa, last.cldist);
        EXPECT_EQ(e.predtcpa, last.cltime);
        if (c.silent.empty()) {
            EXPECT_NEAR(e.predcpa, c.dist, 1.0);
            EXPECT_NEAR(e.predtcpa, c.when - (last.rxdts - kBase) * 86400, 1.0);
        }
    }
}

TEST(Encounters, PerReportDistanceBearingAndPrediction) {
    const Scenario& c = scenarios[0];  // crossing
    const TEvents ev = OwnTrack(c.own, 1400);
    TaisEvents reps = OtherTrack(c);
    ComputeEncounters(ev, reps, 0);
    struct Case {
        int index;
        double t;
    } cases[] = {{0, 0}, {10, 70}, {100, 700}};
    for (const Case& k : cases) {
        SCOPED_TRACE(k.t);
        const TaisEvent& r = reps[k.index];
        const double dx = c.other.X(k.t), dy = c.other.Y(k.t) - c.own.Y(k.t);
        EXPECT_NEAR(r.dstbrg.dst, std::hypot(dx, dy), 1.0);
        double brg = std::atan2(dx, dy) * 180 / std::numbers::pi;
        if (brg < 0) brg += 360;
        EXPECT_NEAR(r.dstbrg.brg * 180 / std::numbers::pi, brg, 0.1);
        EXPECT_NEAR(r.cldist, 212.132, 1.0);
        EXPECT_NEAR(r.cltime, 430 - k.t, 1.0);  // negative once the closest point is past
        // Closing speed: -(r . w) / |r| with w = (-5, -5).
        EXPECT_NEAR(r.clspd, (5 * dx + 5 * dy) / std::hypot(dx, dy), 0.01);
    }
}

// A damaged own fix far out of any longitude range (a log's digits run together) ends the
// computation as quickly as any other, and the approach long before it is still found.
TEST(Encounters, DamagedLongitudeFarOutOfRange) {
    const Scenario& c = scenarios[0];  // crossing, closest at 430 s
    for (const double lng : {1e9, -1e20}) {
        SCOPED_TRACE(lng);
        TEvents ev = OwnTrack(c.own, 1400);
        ev[ev.count() - 3].coord.lng = lng;
        TaisEvents reps = OtherTrack(c);
        const TEncounters enc = ComputeEncounters(ev, reps, 0);
        ASSERT_EQ(enc.list.size(), 1u);
        EXPECT_NEAR(enc.list[0].dist, c.dist, 1.0);
    }
}

TEST(Encounters, NoOwnPositionBeyondThreeMinutesOrBeforeTheFirst) {
    const Scenario& c = scenarios[1];
    const TEvents ev = OwnTrack(c.own, 300);  // own fixes end at 299 s: known up to 479 s
    TaisEvents reps = OtherTrack(c);
    const TEncounters enc = ComputeEncounters(ev, reps, 0);
    std::int32_t placed = 0;
    for (const TaisEvent& r : reps) {
        const double t = (r.rxdts - kBase) * 86400;
        EXPECT_EQ(r.dstbrg.dst < 1e24, t <= 479 + 1e-6) << t;
        placed += r.dstbrg.dst < 1e24;
    }
    EXPECT_EQ(enc.noown, reps.count() - placed);
    // Dead reckoning on the own event's speed and course carries the own ship to the meeting.
    ASSERT_EQ(enc.list.size(), 1u);
    EXPECT_NEAR(enc.list[0].dist, 100, 1.0);
}

TEST(Encounters, OrderOfReportsHeardAtOneTimeChangesNothing) {
    const Scenario& c = scenarios[0];
    const TEvents ev = OwnTrack(c.own, 1400);
    // Two vessels heard at the same times, and the first twice at some times with a second
    // position (two receivers, a repeat): their order in the list must not matter.
    TaisEvents forward, backward;
    std::vector<TaisEvent> group;
    auto flush = [&] {
        for (const TaisEvent& r : group) forward.Add(TaisEvent(r));
        for (auto it = group.rbegin(); it != group.rend(); ++it) backward.Add(TaisEvent(*it));
        group.clear();
    };
    for (double t = 0; t <= 1400; t += 20) {
        group.push_back(Report(7, c.other, t));
        group.push_back(Report(8, {-1500, 2500, 4, -1}, t));
        if (static_cast<int>(t) % 60 == 0) {
            TaisEvent twin = Report(7, c.other, t);
            twin.coord.lat += 30 / kM;  // 30 m apart
            group.push_back(twin);
        }
        flush();
    }
    const TEncounters a = ComputeEncounters(ev, forward, 0);
    const TEncounters b = ComputeEncounters(ev, backward, 0);
    ASSERT_EQ(a.list.size(), 2u);
    ASSERT_EQ(b.list.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(a.list[i].id, b.list[i].id);
        EXPECT_EQ(a.list[i].dist, b.list[i].dist);
        EXPECT_EQ(a.list[i].when, b.list[i].when);
        EXPECT_EQ(a.list[i].predcpa, b.list[i].predcpa);
        EXPECT_EQ(a.list[i].predtcpa, b.list[i].predtcpa);
    }
}

// Reception times from the log: the line's recorder time (tag block), else the latest position
// or time sentence; none before any time. The own VDO reports make the own track when there
// are no own position sentences.
TEST(Encounters, ReceptionTimesAndOwnTrackFromVdo) {
    using test::WithChecksum;
    const std::string own = test::PositionReport(111111111, 0, 0, 0, 0, 0.001, 0, 0, 0).Armour();
    const std::string other = test::PositionReport(222222222, 0, 0, 0, 0.001, 0.001, 0, 0, 0).Armour();
    const std::string text = WithChecksum("!AIVDM,1,1,,A," + other + ",0") + "\n" +  // before any time
                             WithChecksum("$GPZDA,120000.00,15,03,2012,00,00") + "\n" +
                             WithChecksum("!AIVDO,1,1,,," + own + ",0") + "\n" +
                             WithChecksum("!AIVDM,1,1,,A," + other + ",0") + "\n" +
                             "\\c:1331812920*00\\" + WithChecksum("!AIVDM,1,1,,A," + other + ",0") + "\n";
    const auto log = test::LoadText(text);
    ASSERT_EQ(log->s.aisevents.count(), 4);
    EXPECT_EQ(log->s.aisevents[0].rxdts, 0);
    const TDateTime noon = EncodeDate(2012, 3, 15).value() + 0.5;
    EXPECT_NEAR(log->s.aisevents[1].rxdts, noon, 1e-9);
    EXPECT_NEAR(log->s.aisevents[2].rxdts, noon, 1e-9);
    EXPECT_NEAR(log->s.aisevents[3].rxdts, noon + 120.0 / 86400, 1e-9);  // 12:02:00 is 1331812920
    const TEncounters& enc = log->s.encounters;
    EXPECT_TRUE(enc.ownfromais);
    EXPECT_EQ(enc.owntrack, 1);
    EXPECT_EQ(enc.notime, 1);
    ASSERT_EQ(enc.list.size(), 1u);
    EXPECT_EQ(enc.list[0].id, 222222222);
    EXPECT_NEAR(enc.list[0].dist, 0.001 * kM, 1.0);  // 111 m due north, at noon
}

}  // namespace
}  // namespace brenvik
