#include "parse/segment.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "session.h"

namespace brenvik {
namespace {

constexpr double kPi = std::numbers::pi;

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

}  // namespace brenvik
