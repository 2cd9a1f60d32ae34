#include "parse/segment.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "session.h"

namespace brenvik {
namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kEarthRadius = 6371000;  // mean radius, metres

// Stamps the loader's line and recorder time on curevent, records which catalogue fields
// received data, and appends it unless it has no position.
void CommitEvent(Session& s) {
    TEvent& cur = s.curevent;
    cur.recnumb = s.recnumb;
    cur.vdrdts = s.vdrdts;
    cur.vdrchl = s.vdrchl;
    s.fields.MarkData(cur);
    // Without a position the event stays under construction, now carrying the cut's time.
    if (cur.coord.lat == 0 && cur.coord.lng == 0) return;
    if (s.events.count() < eventlimit || s.settings.nolimits) {
        s.events.Add(std::move(cur));
        cur = TEvent::Clone(s.events.back());
    } else {
        s.limitname = "NMEA Events";
        s.limithit = eventlimit;
    }
}

void CutEvent(Session& s, TCoord pos, TCoord posrad, TDateTime t) {
    s.curevent.dts = t;
    s.curevent.coord = pos;
    s.seg.totaldist = s.events.empty() ? 0 : s.seg.totaldist + s.seg.lastdist;
    s.seg.lastpos = posrad;
    CommitEvent(s);
}

}  // namespace

void ResetSegmentation(Session& s) {
    s.seg = TSegState{};
    s.seg.timethreshdays = (s.settings.timethresh - 0.0001) / 86400;
}

void CutCheck(Session& s, TCoord pos, TDateTime t) {
    TSegState& g = s.seg;
    const TCoord posrad{pos.lat * kPi / 180, pos.lng * kPi / 180};
    double d;
    if (pos.lat == s.curevent.coord.lat && pos.lng == s.curevent.coord.lng) {
        d = 0;
    } else if (g.lastpos.lat > kPi / 2) {  // no cut position yet
        g.lastpos = posrad;
        d = -1;
    } else {
        d = Distance(g.lastpos, posrad);
    }
    g.lastdist = d;
    if (t - s.curevent.dts >= g.timethreshdays) {
        CutEvent(s, pos, posrad, t);
        return;
    }
    if (static_cast<double>(s.settings.distthresh) <= g.lastdist) {
        CutEvent(s, pos, posrad, t);
        return;
    }
    if (g.alarmstage >= s.settings.alarmthresh) {
        CutEvent(s, pos, posrad, t);
        g.alarmstage = -1;
    }
}

double Atan2(double x, double y) {
    if (std::fabs(x) >= std::fabs(y)) {
        if (x == 0) return 0;
        double r = std::atan(y / x);
        if (x < 0) r = y > 0 ? r + kPi : r - kPi;
        return r;
    }
    return y >= 0 ? kPi / 2 - std::atan(x / y) : -(std::atan(x / y) + kPi / 2);
}

TDstBrg DistBearing(TCoord a, TCoord b) {
    const double delta = b.lng - a.lng;
    const double c = std::cos(delta) * std::cos(a.lat) * std::cos(b.lat) + std::sin(a.lat) * std::sin(b.lat);
    double u = 0;
    if (c <= 0.999999999999999) {
        u = Atan2(c, std::sqrt(std::max(0.0, 1 - c * c)));  // the central angle
        if (!std::isfinite(u)) u = 0;
    }
    TDstBrg r;
    r.dst = std::fabs(kEarthRadius * u);
    if (u == 0) {
        r.brg = 0;
    } else if (std::cos(a.lat) < 1e-8) {  // a at a pole
        r.brg = a.lat > 0 ? kPi : 0;
    } else {
        const double bb = std::sin(u) * std::cos(a.lat);
        if (std::fabs(bb) < 1e-8) {
            r.brg = kPi / 2;
        } else {
            const double dd = (std::sin(b.lat) - std::sin(a.lat) * std::cos(u)) / bb;
            if (dd >= 1 || dd <= -1) {
                r.brg = Atan2(a.lat - b.lat, (a.lng - b.lng) / std::cos(a.lat)) + kPi;
            } else {
                r.brg = Atan2(dd, std::sqrt(1 - dd * dd));  // arc cosine of dd
                if (delta < 0) r.brg = 2 * kPi - r.brg;
            }
            if (!std::isfinite(r.brg)) r.brg = kPi / 2;
        }
    }
    return r;
}

double Distance(TCoord a, TCoord b) { return DistBearing(a, b).dst; }

}  // namespace brenvik
