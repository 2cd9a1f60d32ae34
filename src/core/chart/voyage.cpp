#include "chart/voyage.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "model/trackgaps.h"
#include "present/fieldtext.h"

namespace brenvik::chart {
namespace {

void Grow(TGeoBox& b, bool& any, double lat, double lng) {
    if (!any) {
        b = TGeoBox{lat, lat, lng, lng};
        any = true;
        return;
    }
    b.south = std::min(b.south, lat);
    b.north = std::max(b.north, lat);
    b.west = std::min(b.west, lng);
    b.east = std::max(b.east, lng);
}

void AddPoint(TTrack& t, std::int32_t ix, double secs, double lat, double lng) {
    t.ix.push_back(ix);
    t.secs.push_back(secs);
    t.lat.push_back(lat);
    t.lng.push_back(lng);
    t.mx.push_back(MercX(lng));
    t.my.push_back(MercY(lat));
}

double Data(double v) { return HasData(v) ? v : novalue; }

}  // namespace

bool IsAngleSeries(int series) { return series == sWindAngle || series == sHeading || series == sRudder; }

double EventSeconds(const TEvent& e) {
    if (e.dts != 0) return Seconds(e.dts);
    if (e.vdrdts != 0) return Seconds(e.vdrdts);
    return novalue;
}

TVoyage BuildVoyage(const TEvents& events, const TaisEvents& ais) {
    TVoyage v;
    const std::size_t n = static_cast<std::size_t>(events.count());
    v.secs.reserve(n);
    for (auto& s : v.series) s.assign(n, novalue);
    bool anyown = false;
    for (std::size_t i = 0; i < n; ++i) {
        const TEvent& e = events[static_cast<std::int32_t>(i)];
        const double t = EventSeconds(e);
        v.secs.push_back(t);
        if (t < 1e24) v.timed.push_back(static_cast<std::int32_t>(i));
        v.series[sSpeed][i] = Data(e.speed);
        v.series[sWaterSpeed][i] = Data(e.waterspeed);
        v.series[sDepth][i] = Data(e.depth);
        v.series[sWindSpeed][i] = Data(e.windspeed);
        v.series[sWindAngle][i] = e.windspeed < 1e24 && e.windangle != 0 ? e.windangle : novalue;
        v.series[sHeading][i] = Data(e.heading);
        v.series[sRudder][i] = Data(e.rudders) < 1e24 ? e.rudders : Data(e.rudderp);
        v.series[sRot][i] = Data(e.rot);
        if (!e.bwalarm.empty()) {
            try {
                v.series[sAlarm][i] = AlarmsValue(e);
            } catch (...) {
                // A stage that is not a number draws nothing.
            }
        }
        if ((e.coord.lat != 0 || e.coord.lng != 0) && t < 1e24) {
            AddPoint(v.own, static_cast<std::int32_t>(i), t, e.coord.lat, e.coord.lng);
            Grow(v.ownbox, anyown, e.coord.lat, e.coord.lng);
        }
    }
    for (int s = 0; s < kSeriesCount; ++s)
        v.hasseries[static_cast<std::size_t>(s)] =
            std::any_of(v.series[s].begin(), v.series[s].end(), [](double x) { return x < 1e24; });
    std::vector<double> timedsecs;
    timedsecs.reserve(v.timed.size());
    for (const std::int32_t i : v.timed) timedsecs.push_back(v.secs[static_cast<std::size_t>(i)]);
    for (const std::size_t b : TrackBreaks(timedsecs)) v.timebreaks.push_back(static_cast<std::size_t>(v.timed[b]));
    if (!timedsecs.empty()) {
        v.t0 = *std::min_element(timedsecs.begin(), timedsecs.end());
        v.t1 = *std::max_element(timedsecs.begin(), timedsecs.end());
    }
    v.own.breaks = TrackBreaks(v.own.secs);

    // The AIS reports in the order they came, each at the time of the event holding its line.
    std::vector<std::int32_t> recs;
    recs.reserve(n);
    for (std::size_t i = 0; i < n; ++i) recs.push_back(events[static_cast<std::int32_t>(i)].recnumb);
    const bool sorted = std::is_sorted(recs.begin(), recs.end());
    std::map<std::int32_t, std::size_t> bymmsi;
    v.allbox = v.ownbox;
    bool anyall = anyown;
    for (std::int32_t r = 0; r < ais.count(); ++r) {
        const TaisEvent& a = ais[r];
        const double lat = a.coord.lat, lng = a.coord.lng;
        if (!a.valid || !(std::abs(lat) <= 90) || !(std::abs(lng) <= 180) || (lat == 0 && lng == 0)) continue;
        double t = novalue;
        if (sorted && !recs.empty()) {
            auto it = std::upper_bound(recs.begin(), recs.end(), a.srcnumb);
            const std::size_t ev = it == recs.begin() ? 0 : static_cast<std::size_t>(it - recs.begin() - 1);
            t = v.secs[ev];
        }
        if (!(t < 1e24)) t = static_cast<double>(a.srcnumb);  // no clock: line order stands in
        auto [it, fresh] = bymmsi.try_emplace(a.id, v.vessels.size());
        if (fresh) {
            v.vessels.emplace_back();
            v.vessels.back().mmsi = a.id;
        }
        TVesselTrack& vt = v.vessels[it->second];
        AddPoint(vt.track, r, t, lat, lng);
        if (a.cog < 360) vt.course = a.cog;
        else if (a.heading < 360) vt.course = a.heading;
        Grow(v.allbox, anyall, lat, lng);
    }
    for (TVesselTrack& vt : v.vessels) vt.track.breaks = TrackBreaks(vt.track.secs);
    if (!anyall) v.allbox = TGeoBox{1, 0, 1, 0};
    if (!anyown) v.ownbox = v.allbox;
    return v;
}

std::ptrdiff_t NearestOnScreen(const TTrack& t, const TMercatorView& v, double sx, double sy, double maxpx) {
    std::ptrdiff_t best = -1;
    double bestd = maxpx * maxpx;
    for (std::size_t i = 0; i < t.size(); ++i) {
        const double dx = v.MercToScreenX(t.mx[i]) - sx, dy = v.MercToScreenY(t.my[i]) - sy;
        const double d = dx * dx + dy * dy;
        if (d <= bestd) {
            bestd = d;
            best = static_cast<std::ptrdiff_t>(i);
        }
    }
    return best;
}

std::ptrdiff_t NearestInTime(const TVoyage& v, double secs) {
    std::ptrdiff_t best = -1;
    double bestd = 1e300;
    for (std::size_t k = 0; k < v.timed.size(); ++k) {
        const double d = std::abs(v.secs[static_cast<std::size_t>(v.timed[k])] - secs);
        if (d < bestd) {
            bestd = d;
            best = static_cast<std::ptrdiff_t>(k);
        }
    }
    return best;
}

}  // namespace brenvik::chart
