#include "export/trackpoints.h"

#include <algorithm>
#include <charconv>

#include "model/strutil.h"
#include "model/trackgaps.h"
#include "session.h"

namespace brenvik {
namespace {

void AppendDigits(std::string& out, int v, int width) {
    char buf[12];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    for (auto n = r.ptr - buf; n < width; ++n) out += '0';
    out.append(buf, r.ptr);
}

void AppendDate(std::string& out, const TDateParts& p) {
    AppendDigits(out, p.year, 4);
    out += '-';
    AppendDigits(out, p.month, 2);
    out += '-';
    AppendDigits(out, p.day, 2);
}

void AppendClock(std::string& out, const TDateParts& p) {
    AppendDigits(out, p.hour, 2);
    out += ':';
    AppendDigits(out, p.minute, 2);
    out += ':';
    AppendDigits(out, p.second, 2);
    if (p.msec == 0) return;
    // Only the digits the time has: .5, .25, .125.
    int ms = p.msec, digits = 3;
    while (ms % 10 == 0) {
        ms /= 10;
        --digits;
    }
    out += '.';
    AppendDigits(out, ms, digits);
}

// A date-time that carries a calendar date: day numbers below 1 are times without a date.
std::optional<TDateParts> Dated(TDateTime v) {
    if (!(v >= 1) || !IsValid(v)) return std::nullopt;
    return DecodeDateTime(v);
}

}  // namespace

bool HasPosition(const TEvent& e) {
    const double lat = e.coord.lat, lng = e.coord.lng;
    return lat >= -90 && lat <= 90 && lng >= -180 && lng <= 180 && (lat != 0 || lng != 0);
}

TEventRange ClampRange(const Session& s, TEventRange range) {
    range.first = std::max(range.first, 0);
    range.last = std::min(range.last, s.events.count() - 1);
    return range;
}

void OwnTrack(const Session& s, TEventRange range, std::vector<TTrackPoint>& points) {
    points.clear();
    range = ClampRange(s, range);
    for (std::int32_t ix = range.first; ix <= range.last; ++ix) {
        const TEvent& e = s.events[ix];
        if (!HasPosition(e)) continue;
        // A time without a date still serves the gap rule; the writers leave it out.
        points.push_back({e.coord.lat, e.coord.lng, e.dts > 0 && IsValid(e.dts) ? e.dts : novalue, ix});
    }
}

void VesselTrack(const Session& s, const TReportsById& byid, std::int32_t mmsi, std::vector<TTrackPoint>& points) {
    points.clear();
    for (const std::int32_t pos : byid.Of(mmsi)) {
        const TaisEvent& r = s.aisevents[pos];
        if (!IsPositionReport(r) || !PositionValid(r)) continue;
        points.push_back({r.coord.lat, r.coord.lng, ReceptionTime(r), pos});
    }
}

std::vector<std::size_t> StretchStarts(std::span<const TTrackPoint> points) {
    std::vector<double> secs;
    secs.reserve(points.size());
    bool anytime = false;
    for (const TTrackPoint& p : points) {
        if (IsValid(p.time)) {
            secs.push_back(p.time * 86400.0);
            anytime = true;
        } else {
            secs.push_back(secs.empty() ? 0.0 : secs.back());
        }
    }
    if (!anytime) return {};
    // Points before the first time take it, so that no gap opens before it.
    const auto first = std::find_if(points.begin(), points.end(), [](const TTrackPoint& p) { return IsValid(p.time); });
    std::fill(secs.begin(), secs.begin() + (first - points.begin()), first->time * 86400.0);
    return TrackBreaks(secs);
}

bool VesselIdsAreNumbers(const Session& s) {
    for (std::int32_t v = 0; v < s.vehicles.count(); ++v)
        if (!ParseInt(Trim(s.vehicles[v].id))) return false;
    return true;
}

std::string OwnShipName(const Session& s) {
    if (s.ownmmsi != "000000000")
        if (const TVehicle* v = s.vehicles.findvehicle(s.ownmmsi); v != nullptr && !Trim(v->name).empty())
            return std::string(Trim(v->name));
    return "Own ship";
}

std::string CountryName(const TVehicle& v) {
    // "GB United Kingdom"; a vessel not looked up holds "none".
    if (v.ctry.size() < 4 || v.ctry[2] != ' ') return {};
    return std::string(Trim(std::string_view(v.ctry).substr(3)));
}

bool TimeSpan(std::span<const TTrackPoint> points, TDateTime& first, TDateTime& last) {
    bool any = false;
    for (const TTrackPoint& p : points) {
        if (!IsValid(p.time)) continue;
        if (!any || p.time < first) first = p.time;
        if (!any || p.time > last) last = p.time;
        any = true;
    }
    return any;
}

void AppendFixed(std::string& out, double v, int decimals) {
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals);
    if (r.ec != std::errc()) {
        out += '0';
        return;
    }
    const char* start = buf;
    const char* end = r.ptr;
    // "-0.0000000" is a zero.
    if (*start == '-' && std::all_of(start + 1, end, [](char c) { return c == '0' || c == '.'; })) ++start;
    out.append(start, end);
}

bool AppendIsoTime(std::string& out, TDateTime v) {
    const auto p = Dated(v);
    if (!p) return false;
    AppendDate(out, *p);
    out += 'T';
    AppendClock(out, *p);
    out += 'Z';
    return true;
}

bool AppendIsoDate(std::string& out, TDateTime v) {
    const auto p = Dated(v);
    if (!p) return false;
    AppendDate(out, *p);
    return true;
}

bool AppendIsoClock(std::string& out, TDateTime v) {
    if (!(v > 0) || !IsValid(v)) return false;
    const auto p = DecodeDateTime(v);
    if (!p) return false;
    AppendClock(out, *p);
    return true;
}

}  // namespace brenvik
