// Heading, depth, water, wind, rudder and log sentences, taken from any talker. None of them
// cuts an event: their values ride along in curevent until a position or alarm cuts it.
//
// An empty number field is "no data": its assignment is skipped. None of these handlers is
// guarded: a missing field or a bad number throws ConvertError and DispatchNMEA files the
// sentence as corrupt, keeping what the handler stored before.
#include <cmath>
#include <optional>

#include "parse/fieldreaders.h"
#include "parse/handlers.h"
#include "model/units.h"
#include "session.h"

namespace brenvik {
namespace {

char FirstChar(std::string_view text) { return text.empty() ? '\0' : text[0]; }

// Unwrapped: the stored heading follows the ship through north by whole turns.
void StoreHeading(Session& s, double h) {
    if (s.seg.lastheading < 1e24) {
        const double d = h - s.seg.lastheading;
        if (d < -180)
            h += 360;
        else if (d >= 180)
            h -= 360;
    }
    s.curevent.heading = h;
    s.seg.lastheading = h;
}

// An angle with its E/W letter: west negative.
double EastPositive(std::string_view value, std::string_view letter) {
    const double v = ToDouble(value);
    return letter == "W" ? -v : v;
}

// A magnetic heading made true with the variation (east positive) and stored as an HDT's. A
// log with an HDT uses only that; without a known variation nothing is stored and the line
// counts as unprocessed.
void StoreMagnetic(Session& s, double magnetic, std::optional<double> variation) {
    if (!variation) variation = s.seg.lastvariation < 1e24 ? std::optional(s.seg.lastvariation) : std::nullopt;
    if (!variation) {
        ++s.unproclines;
        return;
    }
    double h = std::fmod(magnetic + *variation, 360.0);
    if (h < 0) h += 360;
    if (h >= 360) h -= 360;  // a tiny negative value that rounded up to 360
    StoreHeading(s, h);
}

}  // namespace

// $--HDT,x.x,T   1 heading, degrees true  2 "T"
void DoHDT(Session& s, const Fields& f) {
    if (f.at(1).empty() || f.at(2) != "T") return;
    StoreHeading(s, ToDouble(f.at(1)));
    s.seg.hdtheading = true;
}

// $--HDG,x.x,x.x,a,x.x,a   1 magnetic sensor heading  2 deviation, 3 E/W  4 variation, 5 E/W
// True heading = sensor heading + deviation + variation; an empty deviation is 0, an empty
// variation that of the latest RMC.
void DoHDG(Session& s, const Fields& f) {
    if (s.seg.hdtheading || f.at(1).empty()) return;
    const double magnetic = ToDouble(f.at(1));
    const double deviation = f.at(2).empty() ? 0 : EastPositive(f.at(2), f.at(3));
    std::optional<double> variation;
    if (!f.at(4).empty()) variation = EastPositive(f.at(4), f.at(5));
    StoreMagnetic(s, magnetic + deviation, variation);
}

// $--HDM,x.x,M   1 heading, degrees magnetic  2 "M"; made true with the latest RMC's variation.
void DoHDM(Session& s, const Fields& f) {
    if (s.seg.hdtheading || f.at(1).empty() || f.at(2) != "M") return;
    StoreMagnetic(s, ToDouble(f.at(1)), std::nullopt);
}

// $--DBT,x.x,f,x.x,M,x.x,F   3 depth in metres  4 "M" (feet and fathoms are not read)
// letter: the identifier's third letter: "T" below transducer, "S" below surface, "K" below keel.
void DoDepthBelow(Session& s, const Fields& f, char letter) {
    if (f.at(3).empty() || f.at(4) != "M") return;
    const double v = ToDouble(f.at(3));
    if (letter == 'S')
        s.curevent.depthBS = v;
    else if (letter == 'K')
        s.curevent.depthBK = v;
    else
        s.curevent.depthBT = v;
}

// $--DPT,x.x,x.x   1 depth relative to the transducer, m  2 transducer offset, m
void DoDPT(Session& s, const Fields& f) {
    if (auto v = Num(f.at(2))) s.curevent.tranoffset = *v;
    if (auto v = Num(f.at(1))) s.curevent.depth = *v;
}

// $--MWV,x.x,a,x.x,a,A   1 wind angle  2 reference R/T  3 wind speed  4 unit K/M/N  5 status
// An invalid reading clears the wind: angle 0, mode "~", no speed.
void DoMWV(Session& s, const Fields& f) {
    TEvent& e = s.curevent;
    if (f.at(5) == "A") {
        if (auto v = Num(f.at(1))) e.windangle = *v;
        e.windmode = FirstChar(f.at(2));
        if (auto v = Num(f.at(3))) e.windspeed = ToMps(FirstChar(f.at(4)), *v);
    } else {
        e.windangle = 0;
        e.windmode = '~';
        e.windspeed = novalue;
    }
}

// $--ROT,x.x,A   1 rate of turn, degrees per minute, negative to port  2 status
void DoROT(Session& s, const Fields& f) {
    if (f.at(2) != "A") return;
    if (auto v = Num(f.at(1))) s.curevent.rot = *v;
}

// $--RSA,x.x,A,x.x,A   1 starboard (or single) rudder  2 status  3 port rudder  4 status
void DoRSA(Session& s, const Fields& f) {
    if (f.at(2) == "A")
        if (auto v = Num(f.at(1))) s.curevent.rudders = *v;
    if (f.at(4) == "A")
        if (auto v = Num(f.at(3))) s.curevent.rudderp = *v;
}

// $--VBW,x.x,x.x,A,x.x,x.x,A   1 longitudinal water speed, knots  2 transverse, knots  3 status
// (the ground speeds, fields 4 to 6, are not read)
void DoVBW(Session& s, const Fields& f) {
    if (f.at(3) != "A") return;
    if (auto v = Num(f.at(1))) s.curevent.longlspd = ToMps('N', *v);
    if (auto v = Num(f.at(2))) s.curevent.transspd = ToMps('N', *v);
}

// $--VHW,x.x,T,x.x,M,x.x,N,x.x,K
//   1 heading true, 2 "T"  3 heading magnetic, 4 "M"  5 speed knots, 6 "N"  7 speed km/h, 8 "K"
// The true heading and the km/h speed win when both forms are given.
void DoVHW(Session& s, const Fields& f) {
    TEvent& e = s.curevent;
    ReadAngleAndSpeed(f, e.waterheading, e.watermode, e.waterspeed);
}

// $--VLW,x.x,N,x.x,N   1 total distance through water, nm  2 "N"  3 since reset, nm  4 "N"
void DoVLW(Session& s, const Fields& f) {
    if (f.at(2) == "N")
        if (auto v = Num(f.at(1))) s.curevent.distcumul = ToMetres('N', *v);
    if (f.at(4) == "N")
        if (auto v = Num(f.at(3))) s.curevent.distreset = ToMetres('N', *v);
}

// $--MLS,...   accepted and ignored; it needs its first field.
void DoMLS(Session&, const Fields& f) { static_cast<void>(f.at(1)); }

}  // namespace brenvik
