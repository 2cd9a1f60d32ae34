#include "analysis/encounters.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <optional>
#include <span>
#include <vector>

#include "model/geodesy.h"

namespace brenvik {
namespace {

constexpr double kDeg = std::numbers::pi / 180;
constexpr double kMetresPerDegree = kEarthRadius * kDeg;  // along a meridian
constexpr double kInf = std::numeric_limits<double>::infinity();

bool HasValue(double v) { return v >= -1e24 && v <= 1e24; }

double WrapLng(double d) {
    // A longitude far out of range (a damaged fix) in one step: stepping by whole turns
    // would take millions of them. Within two turns the steps give the same result.
    if (std::fabs(d) > 720) d = std::fmod(d, 360);
    while (d > 180) d -= 360;
    while (d < -180) d += 360;
    return d;
}

// Metres per degree of longitude at a latitude; never quite 0, so divisions stay finite.
double EastMetresPerDegree(double lat) { return std::max(kMetresPerDegree * std::cos(lat * kDeg), 1e-3); }

struct TVel {
    double n = 0, e = 0;  // m/s north and east
};

TVel FromSogCog(double sog, double cog) { return {sog * std::cos(cog * kDeg), sog * std::sin(cog * kDeg)}; }

// One fix of a track: seconds on the common clock, degrees, and speed and course where sent.
struct TFix {
    double t = 0;
    TCoord pos;
    double sog = novalue, cog = novalue;
    std::int32_t report = -1;  // its place in the report list (-1: an event)
    bool HasMotion() const { return HasValue(sog) && sog >= 0 && (HasValue(cog) || sog == 0); }
    TVel Motion() const { return HasValue(cog) ? FromSogCog(sog, cog) : TVel{}; }
};

// Over [ta, tb] the position moves linearly from pos (degrees per second in vlat, vlng).
struct TPiece {
    double ta = 0, tb = 0;
    TCoord pos;
    double vlat = 0, vlng = 0;
    std::int32_t fix = 0;  // the fix it starts from

    TCoord At(double t) const { return {pos.lat + vlat * (t - ta), pos.lng + vlng * (t - ta)}; }
    TVel Vel() const { return {vlat * kMetresPerDegree, vlng * EastMetresPerDegree(pos.lat)}; }
    double Speed() const {
        const TVel v = Vel();
        return std::hypot(v.n, v.e);
    }
};

struct TPlace {
    TCoord pos;
    const TPiece* piece = nullptr;
};

class TTrack {
public:
    // fixes sorted by time; join(i) is the longest step from fix i - 1 to fix i still joined.
    template <class Join>
    void Build(std::vector<TFix> fixes, Join join) {
        fixes_ = std::move(fixes);
        pieces_.clear();
        const std::size_t n = fixes_.size();
        for (std::size_t i = 0; i < n; ++i) {
            const TFix& f = fixes_[i];
            // Of fixes at one time the last (in the sorted order) carries the track on.
            if (i + 1 < n && fixes_[i + 1].t == f.t) continue;
            TPiece p;
            p.ta = f.t;
            p.pos = f.pos;
            p.fix = static_cast<std::int32_t>(i);
            if (i + 1 < n && fixes_[i + 1].t - f.t <= join(i + 1)) {
                const TFix& g = fixes_[i + 1];
                const double dt = g.t - f.t;
                p.tb = g.t;
                p.vlat = (g.pos.lat - f.pos.lat) / dt;
                p.vlng = WrapLng(g.pos.lng - f.pos.lng) / dt;
            } else {
                // The end of a stretch: carried on by its own motion, else by the last step.
                p.tb = f.t + kExtrapolateSeconds;
                if (f.HasMotion()) {
                    const TVel v = f.Motion();
                    p.vlat = v.n / kMetresPerDegree;
                    p.vlng = v.e / EastMetresPerDegree(f.pos.lat);
                } else if (!pieces_.empty() && pieces_.back().tb == f.t) {
                    p.vlat = pieces_.back().vlat;
                    p.vlng = pieces_.back().vlng;
                }
            }
            pieces_.push_back(p);
        }
        BuildSpeedBlocks();
    }

    const std::vector<TFix>& fixes() const { return fixes_; }
    const std::vector<TPiece>& pieces() const { return pieces_; }
    bool empty() const { return pieces_.empty(); }

    // The piece holding t: the last one starting at or before t, if t is not past its end.
    const TPiece* PieceAt(double t) const {
        auto it = std::upper_bound(pieces_.begin(), pieces_.end(), t, [](double v, const TPiece& p) { return v < p.ta; });
        if (it == pieces_.begin()) return nullptr;
        --it;
        return t <= it->tb ? &*it : nullptr;
    }
    std::optional<TPlace> At(double t) const {
        const TPiece* p = PieceAt(t);
        if (!p) return std::nullopt;
        return TPlace{p->At(t), p};
    }
    // The first piece that ends after t.
    std::size_t FirstEndingAfter(double t) const {
        return static_cast<std::size_t>(
            std::upper_bound(pieces_.begin(), pieces_.end(), t, [](double v, const TPiece& p) { return v < p.tb; }) -
            pieces_.begin());
    }
    // An upper bound of the speed over the pieces that overlap [a, b].
    double MaxSpeed(double a, double b) const {
        std::size_t i = FirstEndingAfter(a);
        double m = 0;
        while (i < pieces_.size() && pieces_[i].ta < b) {
            if (i % kBlock == 0 && i + kBlock <= pieces_.size() && pieces_[i + kBlock - 1].ta < b) {
                m = std::max(m, blockmax_[i / kBlock]);
                i += kBlock;
            } else {
                m = std::max(m, speeds_[i]);
                ++i;
            }
        }
        return m;
    }

private:
    static constexpr std::size_t kBlock = 64;
    void BuildSpeedBlocks() {
        speeds_.resize(pieces_.size());
        blockmax_.assign((pieces_.size() + kBlock - 1) / kBlock, 0.0);
        for (std::size_t i = 0; i < pieces_.size(); ++i) {
            speeds_[i] = pieces_[i].Speed();
            // Where the track jumps (a new stretch, fixes at one time) no speed bounds the
            // change of distance: such a piece makes any span it touches be worked out in full.
            if (i > 0) {
                const TPiece& prev = pieces_[i - 1];
                const TCoord end = prev.At(prev.tb);
                if (prev.tb != pieces_[i].ta || std::fabs(end.lat - pieces_[i].pos.lat) > 1e-9 ||
                    std::fabs(WrapLng(end.lng - pieces_[i].pos.lng)) > 1e-9)
                    speeds_[i] = kInf;
            }
            blockmax_[i / kBlock] = std::max(blockmax_[i / kBlock], speeds_[i]);
        }
    }

    std::vector<TFix> fixes_;
    std::vector<TPiece> pieces_;
    std::vector<double> speeds_, blockmax_;
};

TDstBrg Separation(TCoord own, TCoord other) {
    // Longitudes brought within half a turn of each other: interpolation may leave -180..180.
    const double lng = own.lng + WrapLng(other.lng - own.lng);
    return DistBearing({own.lat * kDeg, own.lng * kDeg}, {other.lat * kDeg, lng * kDeg});
}

// Relative position of other from own on the flat plane at own, metres east and north.
TVel Offset(TCoord own, TCoord other) {
    return {(other.lat - own.lat) * kMetresPerDegree, WrapLng(other.lng - own.lng) * EastMetresPerDegree(own.lat)};
}

// The own ship's speed and course at a time: its fix's where sent, else the track's.
TVel OwnMotion(const TTrack& own, const TPlace& at) {
    const TFix& f = own.fixes()[static_cast<std::size_t>(at.piece->fix)];
    return f.HasMotion() ? f.Motion() : at.piece->Vel();
}

struct TCandidate {
    double dist = kInf;
    double t = 0;
    TCoord own, other;
    double relspd = 0;
};

// The distance at t, kept when it is the least so far (the earlier of equal ones).
double Consider(TCandidate& best, double t, TCoord own, TCoord other, TVel rel) {
    const double d = Separation(own, other).dst;
    if (d < best.dist || (d == best.dist && t < best.t)) best = {d, t, own, other, std::hypot(rel.n, rel.e)};
    return d;
}

TVel Minus(TVel a, TVel b) { return {a.n - b.n, a.e - b.e}; }

// Both move linearly over [a, b]: the two ends and the least distance between them.
void EvaluateSpan(TCandidate& best, double a, double b, const TPiece& other, const TPiece& own) {
    const TCoord oa = own.At(a), ta = other.At(a);
    const TVel rel = Minus(other.Vel(), own.Vel());
    Consider(best, a, oa, ta, rel);
    Consider(best, b, own.At(b), other.At(b), rel);
    const double ww = rel.n * rel.n + rel.e * rel.e;
    if (ww <= 0) return;
    const TVel r = Offset(oa, ta);
    const double tmin = a + std::clamp(-(r.n * rel.n + r.e * rel.e) / ww, 0.0, b - a);
    if (tmin > a && tmin < b) Consider(best, tmin, own.At(tmin), other.At(tmin), rel);
}

// The closest approach of one vessel's track to the own track, or none when they never overlap.
std::optional<TCandidate> ClosestApproach(const TTrack& own, const TTrack& other) {
    TCandidate best;
    // Every fix of the other vessel and the end of each of its pieces: a first bound, and the
    // distances the pruning below starts from.
    const auto& fixes = other.fixes();
    const auto& pieces = other.pieces();
    std::vector<double> ends(2 * pieces.size(), kInf);
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        const TPiece& p = pieces[i];
        if (const auto o = own.At(p.ta)) {
            const TVel rel = Minus(p.Vel(), o->piece->Vel());
            ends[2 * i] = Consider(best, p.ta, o->pos, p.pos, rel);
            // The other fixes at that time, which no piece starts from.
            for (auto k = static_cast<std::size_t>(p.fix); k-- > 0 && fixes[k].t == p.ta;)
                Consider(best, p.ta, o->pos, fixes[k].pos, rel);
        }
        if (const auto o = own.At(p.tb)) ends[2 * i + 1] = Consider(best, p.tb, o->pos, p.At(p.tb), Minus(p.Vel(), o->piece->Vel()));
    }
    // Every span where both move linearly, skipping pieces that cannot come closer than the
    // best so far: over [ta, tb] the distance shrinks at most at the sum of both speeds.
    const auto& ownpieces = own.pieces();
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        const TPiece& p = pieces[i];
        const double da = ends[2 * i], db = ends[2 * i + 1];
        if (da < kInf && db < kInf) {
            const double speed = (p.Speed() + own.MaxSpeed(p.ta, p.tb)) * 1.02 + 0.1;
            if ((da + db - speed * (p.tb - p.ta)) / 2 > best.dist) continue;
        }
        for (std::size_t j = own.FirstEndingAfter(p.ta); j < ownpieces.size() && ownpieces[j].ta < p.tb; ++j) {
            const double a = std::max(p.ta, ownpieces[j].ta), b = std::min(p.tb, ownpieces[j].tb);
            if (a < b) EvaluateSpan(best, a, b, p, ownpieces[j]);
        }
    }
    if (best.dist == kInf) return std::nullopt;
    return best;
}

// Distance, bearing and the closest point predicted from both states at the report's time.
void Predict(TaisEvent& r, const TPlace& own, TVel ownvel) {
    const TDstBrg db = Separation(own.pos, r.coord);
    r.dstbrg = db;
    TFix f;
    f.sog = r.sog;
    f.cog = r.cog;
    if (!f.HasMotion()) return;
    const TVel rel = Minus(f.Motion(), ownvel);
    const TVel pos{db.dst * std::cos(db.brg), db.dst * std::sin(db.brg)};
    const double dot = pos.n * rel.n + pos.e * rel.e;
    const double ww = rel.n * rel.n + rel.e * rel.e;
    const double tcpa = ww > 1e-12 ? -dot / ww : 0;
    r.cltime = tcpa;
    r.cldist = std::hypot(pos.n + rel.n * tcpa, pos.e + rel.e * tcpa);
    r.clspd = db.dst > 0 ? -dot / db.dst : -std::sqrt(ww);
}

bool IsClassA(std::int32_t msgtype) { return msgtype >= 1 && msgtype <= 3; }

// Reports in one order that does not depend on the order of the log: by vessel, time, then
// content, so that reports heard at one time may come in any order.
struct TReportKey {
    std::int32_t id;
    TDateTime t;
    double lat, lng, sog, cog;
    std::int32_t ix;
    bool operator<(const TReportKey& o) const {
        if (id != o.id) return id < o.id;
        if (t != o.t) return t < o.t;
        if (lat != o.lat) return lat < o.lat;
        if (lng != o.lng) return lng < o.lng;
        if (sog != o.sog) return sog < o.sog;
        if (cog != o.cog) return cog < o.cog;
        return ix < o.ix;
    }
};

}  // namespace

bool IsTrackReport(const TaisEvent& r) {
    const std::int32_t t = r.msgtype;
    if (!(IsClassA(t) || t == 9 || t == 18 || t == 19 || t == 27)) return false;
    const double lat = r.coord.lat, lng = r.coord.lng;
    return r.valid && lat >= -90 && lat <= 90 && lng >= -180 && lng <= 180 && (lat != 0 || lng != 0);
}

double MaxJoinSeconds(std::int32_t msgtype) { return IsClassA(msgtype) ? 600 : 900; }

TEncounters ComputeEncounters(const TEvents& events, TaisEvents& reports, std::int32_t ownid) {
    TEncounters out;
    // The reports that place a vessel, heard at a known time, grouped by vessel.
    std::vector<TReportKey> keys;
    keys.reserve(static_cast<std::size_t>(reports.count()));
    for (std::int32_t i = 0; i < reports.count(); ++i) {
        const TaisEvent& r = reports[i];
        if (!IsTrackReport(r)) continue;
        if (r.rxdts == 0) {
            ++out.notime;
            continue;
        }
        keys.push_back({r.id, r.rxdts, r.coord.lat, r.coord.lng, r.sog, r.cog, i});
    }
    std::sort(keys.begin(), keys.end());
    std::vector<std::int32_t> order(keys.size());
    for (std::size_t k = 0; k < keys.size(); ++k) order[k] = keys[k].ix;

    // One clock in seconds: from the first own event, else from the first report.
    TDateTime base = 0;
    for (const TEvent& e : events)
        if (e.dts > 0 && (e.coord.lat != 0 || e.coord.lng != 0)) {
            base = e.dts;
            break;
        }
    if (base == 0 && !order.empty()) base = reports[order.front()].rxdts;
    auto secs = [base](TDateTime t) { return (t - base) * 86400.0; };
    auto fixof = [&](std::int32_t ix) {
        const TaisEvent& r = reports[ix];
        return TFix{secs(r.rxdts), r.coord, r.sog, r.cog, ix};
    };

    // The own track: the events, else the own ship's reports.
    std::vector<TFix> ownfixes;
    std::int32_t ownclass = 1;
    for (std::int32_t ix : order)
        if (reports[ix].id == ownid) {
            ownclass = reports[ix].msgtype;
            break;
        }
    for (const TEvent& e : events)
        if (e.dts > 0 && (e.coord.lat != 0 || e.coord.lng != 0) && HasValue(e.coord.lat) && HasValue(e.coord.lng))
            ownfixes.push_back({secs(e.dts), e.coord, HasValue(e.speed) ? e.speed : novalue, e.cmg, -1});
    std::stable_sort(ownfixes.begin(), ownfixes.end(), [](const TFix& a, const TFix& b) { return a.t < b.t; });
    if (ownfixes.empty() && ownid != 0) {
        out.ownfromais = true;
        for (std::int32_t ix : order)
            if (reports[ix].id == ownid) ownfixes.push_back(fixof(ix));
    }
    out.owntrack = static_cast<std::int32_t>(ownfixes.size());
    TTrack own;
    const double ownjoin = MaxJoinSeconds(ownclass);
    own.Build(std::move(ownfixes), [&](std::size_t) { return ownjoin; });

    // Per report: where the own ship was then, and what the two states predicted.
    for (std::int32_t ix : order) {
        TaisEvent& r = reports.at(ix);
        if (r.id == ownid) continue;
        const auto o = own.At(secs(r.rxdts));
        if (!o) {
            ++out.noown;
            continue;
        }
        Predict(r, *o, OwnMotion(own, *o));
    }

    // Per vessel: the closest approach, and the last report before it.
    std::vector<TFix> fixes;
    for (std::size_t lo = 0, hi = 0; lo < order.size(); lo = hi) {
        const std::int32_t id = reports[order[lo]].id;
        hi = lo;
        while (hi < order.size() && reports[order[hi]].id == id) ++hi;
        if (id == ownid || own.empty()) continue;
        fixes.clear();
        for (std::size_t k = lo; k < hi; ++k) fixes.push_back(fixof(order[k]));
        TTrack other;
        other.Build(fixes, [&](std::size_t i) {
            const bool a = IsClassA(reports[fixes[i].report].msgtype) && IsClassA(reports[fixes[i - 1].report].msgtype);
            return a ? MaxJoinSeconds(1) : MaxJoinSeconds(18);
        });
        const auto best = ClosestApproach(own, other);
        if (!best) continue;
        TEncounter enc;
        enc.id = id;
        enc.reports = static_cast<std::int32_t>(hi - lo);
        enc.dist = best->dist;
        enc.when = base + best->t / 86400.0;
        enc.own = best->own;
        enc.other = best->other;
        enc.other.lng = WrapLng(enc.other.lng);
        enc.own.lng = WrapLng(enc.own.lng);
        enc.brg = Separation(best->own, best->other).brg / kDeg;
        enc.relspd = best->relspd;
        const auto& fx = other.fixes();
        auto last = std::upper_bound(fx.begin(), fx.end(), best->t, [](double t, const TFix& f) { return t < f.t; });
        if (last != fx.begin()) {
            const TaisEvent& r = reports[std::prev(last)->report];
            enc.lastreport = std::prev(last)->report;
            enc.predcpa = r.cldist;
            enc.predtcpa = r.cltime;
        }
        out.list.push_back(enc);
    }
    std::sort(out.list.begin(), out.list.end(), [](const TEncounter& a, const TEncounter& b) {
        return a.dist != b.dist ? a.dist < b.dist : a.id < b.id;
    });
    return out;
}

}  // namespace brenvik
