// The GeoJSON writer: what a GIS or a notebook reads without a converter. Field values are
// numbers in the display units (the units in the collection's "units" member), times ISO 8601.
#include "export/geojsonwriter.h"

#include <array>
#include <cstdio>
#include <vector>

#include "export/textfile.h"
#include "export/trackpoints.h"
#include "helptopics.h"
#include "model/strutil.h"
#include "model/units.h"
#include "present/aiscolumns.h"
#include "present/valuetext.h"
#include "session.h"

namespace brenvik {
namespace {

// How a field's property is written.
enum class Prop { Count, Date, Clock, Seconds, Degrees, Vert, Speed, Heading, Rot, Text, Hdop, Angle };

// Indexed by field number.
constexpr std::array<Prop, kEventFieldCount> kProps{
    Prop::Count,   Prop::Date,    Prop::Clock, Prop::Seconds, Prop::Date,  Prop::Clock,   Prop::Degrees,
    Prop::Degrees, Prop::Vert,    Prop::Speed, Prop::Heading, Prop::Speed, Prop::Speed,   Prop::Rot,
    Prop::Text,    Prop::Speed,   Prop::Speed, Prop::Speed,   Prop::Vert,  Prop::Text,    Prop::Hdop,
    Prop::Angle,   Prop::Angle,
};

std::string_view VertUnit(char vunits) {
    if (vunits == 'F') return "ft";
    if (vunits == 'T') return "fathom";
    return "m";
}

// The unit of a property; empty for none.
std::string_view PropUnit(Prop p, const TFormat& f) {
    switch (p) {
        case Prop::Seconds: return "s";
        case Prop::Degrees:
        case Prop::Heading:
        case Prop::Angle: return "deg";
        case Prop::Vert: return VertUnit(f.parms.vunits);
        case Prop::Speed: return SpeedUnit(f.parms.hunits);
        case Prop::Rot: return "deg/min";
        default: return {};
    }
}

constexpr std::size_t kRun = 1 << 16;

struct TJsonDoc {
    const Session& s;
    TFormat f;
    std::vector<int> fields;         // the columns' field numbers
    std::vector<std::string> keys;   // their property names, already quoted
    std::string buf;
    TTextOut out;
    void Flush(bool all = false) {
        if (!all && buf.size() < kRun) return;
        out.Write(buf);
        buf.clear();
    }
};

// A JSON string of UTF-8 text.
void AppendJsonString(std::string& out, std::string_view utf8) {
    out += '"';
    for (const char c : utf8) {
        const auto b = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (b < 0x20) {
            char esc[8];
            std::snprintf(esc, sizeof esc, "\\u%04x", b);
            out += esc;
        } else {
            out += c;
        }
    }
    out += '"';
}

void AppendJsonText(std::string& out, std::string_view raw) { AppendJsonString(out, ToUtf8(raw)); }

void AppendNumberOrNull(std::string& out, double v, int decimals) {
    if (IsValid(v))
        AppendFixed(out, v, decimals);
    else
        out += "null";
}

// A time text in quotes, or null.
template <class Put>
void AppendTimeOrNull(std::string& out, Put put, TDateTime v) {
    const std::size_t at = out.size();
    out += '"';
    if (put(out, v)) {
        out += '"';
    } else {
        out.resize(at);
        out += "null";
    }
}

void AppendProperty(TJsonDoc& d, const TEvent& e, int field) {
    const Tfielddef& def = eventfields[static_cast<std::size_t>(field)];
    const double v = def.asvalue ? def.asvalue(e) : novalue;
    std::string& out = d.buf;
    switch (kProps[static_cast<std::size_t>(field)]) {
        case Prop::Count: AppendNumberOrNull(out, v, 0); break;
        case Prop::Date: AppendTimeOrNull(out, AppendIsoDate, v); break;
        case Prop::Clock: AppendTimeOrNull(out, AppendIsoClock, v); break;
        case Prop::Seconds:
            // Without both clocks there is no offset between them.
            AppendNumberOrNull(out, e.dts > 0 && e.vdrdts > 0 ? v * 86400.0 : novalue, 0);
            break;
        case Prop::Degrees: AppendNumberOrNull(out, v, 7); break;
        case Prop::Vert: AppendNumberOrNull(out, IsValid(v) ? FromMetresVert(d.f.parms.vunits, v) : v, 2); break;
        case Prop::Speed: AppendNumberOrNull(out, IsValid(v) ? FromMps(d.f.parms.hunits, v) : v, 2); break;
        case Prop::Heading: AppendNumberOrNull(out, IsValid(v) ? ShownHeading(d.f, v) : v, 2); break;
        case Prop::Rot:
        case Prop::Angle: AppendNumberOrNull(out, v, 2); break;
        case Prop::Hdop: AppendNumberOrNull(out, v, 1); break;
        case Prop::Text: AppendJsonText(out, CellText(e, d.f, field)); break;
    }
}

void AppendPosition(std::string& out, double lat, double lng) {
    out += '[';
    AppendFixed(out, lng, 7);
    out += ',';
    AppendFixed(out, lat, 7);
    out += ']';
}

void AppendLine(std::string& out, std::span<const TTrackPoint> points) {
    out += '[';
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (i > 0) out += ',';
        AppendPosition(out, points[i].lat, points[i].lng);
    }
    out += ']';
}

void WriteHead(TJsonDoc& d) {
    d.buf += "{\"type\":\"FeatureCollection\",\n\"units\":{";
    bool first = true;
    for (std::size_t k = 0; k < d.fields.size(); ++k) {
        const std::string_view unit = PropUnit(kProps[static_cast<std::size_t>(d.fields[k])], d.f);
        if (unit.empty()) continue;
        if (!first) d.buf += ',';
        first = false;
        d.buf += d.keys[k];
        d.buf += ':';
        AppendJsonString(d.buf, unit);
    }
    d.buf += "},\n\"features\":[\n";
}

// The own track: one line per stretch of two points or more (a line needs two).
bool WriteOwnTrack(TJsonDoc& d, std::span<const TTrackPoint> own) {
    const std::vector<std::size_t> starts = StretchStarts(own);
    std::string lines;
    std::size_t begin = 0;
    for (std::size_t k = 0; k <= starts.size(); ++k) {
        const std::size_t end = k < starts.size() ? starts[k] : own.size();
        if (end - begin >= 2) {
            lines += lines.empty() ? "" : ",";
            AppendLine(lines, own.subspan(begin, end - begin));
        }
        begin = end;
    }
    if (lines.empty()) return false;
    d.buf += "{\"type\":\"Feature\",\"geometry\":{\"type\":\"MultiLineString\",\"coordinates\":[";
    d.buf += lines;
    d.buf += "]},\"properties\":{\"name\":";
    AppendJsonText(d.buf, OwnShipName(d.s));
    d.buf += "}}";
    return true;
}

void WriteEventPoint(TJsonDoc& d, const TTrackPoint& p) {
    const TEvent& e = d.s.events[p.ix];
    d.buf += "{\"type\":\"Feature\",\"geometry\":{\"type\":\"Point\",\"coordinates\":";
    AppendPosition(d.buf, p.lat, p.lng);
    d.buf += "},\"properties\":{\"time\":";
    AppendTimeOrNull(d.buf, AppendIsoTime, p.time);
    for (std::size_t k = 0; k < d.fields.size(); ++k) {
        d.buf += ',';
        d.buf += d.keys[k];
        d.buf += ':';
        AppendProperty(d, e, d.fields[k]);
    }
    if (IsAlarmEvent(e)) d.buf += ",\"alarm\":true";
    d.buf += "}}";
}

void WriteVessel(TJsonDoc& d, const TVehicle& vessel, std::int32_t mmsi, std::span<const TTrackPoint> points) {
    d.buf += "{\"type\":\"Feature\",\"geometry\":";
    // A line needs two positions: a vessel heard at one place is a point.
    if (points.size() == 1) {
        d.buf += "{\"type\":\"Point\",\"coordinates\":";
        AppendPosition(d.buf, points[0].lat, points[0].lng);
    } else {
        d.buf += "{\"type\":\"LineString\",\"coordinates\":";
        AppendLine(d.buf, points);
    }
    d.buf += "},\"properties\":{\"mmsi\":";
    d.buf += std::to_string(mmsi);
    d.buf += ",\"name\":";
    AppendJsonText(d.buf, Trim(vessel.name));
    d.buf += ",\"country\":";
    AppendJsonText(d.buf, CountryName(vessel));
    d.buf += ",\"type\":";
    if (vessel.vtype == 255)
        d.buf += "null";
    else
        AppendJsonText(d.buf, ShipTypeName(vessel.vtype));
    d.buf += "}}";
}

}  // namespace

bool WriteGeoJSON(Session& s, const std::string& path, TColumns columns, TEventRange range) {
    TJsonDoc d{s, s.Format(), {}, {}, {}, TTextOut()};
    for (const int field : columns) {
        if (field < 0 || field >= kEventFieldCount) continue;
        d.fields.push_back(field);
        std::string key;
        AppendJsonText(key, Trim(s.fields.fields[static_cast<std::size_t>(field)].head));
        d.keys.push_back(std::move(key));
    }
    d.buf.reserve(kRun + 4096);
    // Checked before anything is written: the file is whole or not there.
    bool good = VesselIdsAreNumbers(s) && d.out.Create(path);
    if (good) {
        WriteHead(d);
        std::vector<TTrackPoint> points;
        OwnTrack(s, range, points);
        bool any = WriteOwnTrack(d, points);
        for (const TTrackPoint& p : points) {
            if (any) d.buf += ",\n";
            any = true;
            WriteEventPoint(d, p);
            d.Flush();
        }
        const TReportsById byid(s.aisevents);
        for (std::int32_t v = 0; v < s.vehicles.count() && d.out.ok(); ++v) {
            const TVehicle& vessel = s.vehicles[v];
            const std::int32_t mmsi = *ParseInt(Trim(vessel.id));
            VesselTrack(s, byid, mmsi, points);
            if (points.empty()) continue;
            if (any) d.buf += ",\n";
            any = true;
            WriteVessel(d, vessel, mmsi, points);
            d.Flush();
        }
        d.buf += "\n]}\n";
        d.Flush(true);
    }
    good = d.out.Close() && good;
    if (good)
        s.platform.ShowMessage(MsgKind::Information, "GeoJSON file successfully written.", help::WriteGPSKML);
    else
        s.platform.ShowMessage(MsgKind::Error, "Error writing GeoJSON file.");
    return good;
}

}  // namespace brenvik
