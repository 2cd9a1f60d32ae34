#include "export/gpswriter.h"

#include <algorithm>

#include "export/textfile.h"
#include "export/vesseltracks.h"
#include "helptopics.h"
#include "model/strutil.h"
#include "present/valuetext.h"
#include "session.h"

namespace brenvik {

std::string GPSTrackLine(const TFormat& f, double lat, double lng, TDateTime dts) {
    return "T " + LatLonPair(f, lat, lng) + " " + DateTimeText(f, dts, "dd-mm-yyyy HH:nn:ss");
}

std::string GPSWaypointLine(const TFormat& f, const TaisEvent& r, std::string_view name) {
    std::string line = "W " + MmsiText(r.id) + " " + LatLonPair(f, r.coord.lat, r.coord.lng);
    line += " Waypoint   I E ";
    line += name;
    return line;
}

namespace {

constexpr std::string_view kGPSHeader[] = {
    "H  SOFTWARE NAME & VERSION",
    "I  Brenvik 1.1",
    "S DateFormat=dd/mm/yy",
    "S Timezone=+00:00",
    "S Units=K,M",
    "",
    "H R DATUM",
    "M E               WGS 84 100  0.0000000E+00  0.0000000E+00 0 0 0",
    "",
    "H  COORDINATE SYSTEM",
    "U  LAT LON D",
};

// False when a vessel's MMSI text is no number.
bool WriteGPSWaypoints(const Session& s, const TFormat& f, const TReportsById& byid, TTextOut& out) {
    out.Line("");
    out.Line("F ID------- Latitude  Longitude  Symbol---- T O Comment");
    for (std::int32_t v = 0; v < s.vehicles.count() && out.ok(); ++v) {
        const TVehicle& vessel = s.vehicles[v];
        const auto id = ParseInt(Trim(vessel.id));
        if (!id) return false;
        const auto reports = byid.Of(*id);
        // The newest report with a usable position, whatever its message type.
        auto it = std::find_if(reports.rbegin(), reports.rend(),
                               [&](std::int32_t pos) { return PositionValid(s.aisevents[pos]); });
        if (it != reports.rend()) out.Line(GPSWaypointLine(f, s.aisevents[*it], vessel.name));
    }
    return true;
}

bool WriteGPSTracks(const Session& s, const TFormat& f, const TReportsById& byid, TTextOut& out) {
    out.Line("");
    out.Line("F Latitude  Longitude  Date     Time     S");
    bool start = true;
    for (const TEvent& e : s.events) {
        if (!out.ok()) return true;
        if (!IsValid(e.coord.lat) || !IsValid(e.coord.lng)) continue;  // no position to draw
        out.Line(GPSTrackLine(f, e.coord.lat, e.coord.lng, e.dts) + (start ? " 1" : " 0"));
        start = false;
    }
    for (std::int32_t v = 0; v < s.vehicles.count() && out.ok(); ++v) {
        const auto id = ParseInt(Trim(s.vehicles[v].id));
        if (!id) return false;
        start = true;
        for (std::int32_t pos : byid.Of(*id)) {
            const TaisEvent& r = s.aisevents[pos];
            if (!IsPositionReport(r) || !PositionValid(r)) continue;
            // Position reports carry no date: the track holds day number 0.
            out.Line(GPSTrackLine(f, r.coord.lat, r.coord.lng, 0) + (start ? " 1" : " 0"));
            start = false;
        }
    }
    return true;
}

}  // namespace

bool WriteGPSDocument(const Session& s, TTextOut& out) {
    // Fixed formats: only the time separator follows the locale.
    TFormat f = s.Format();
    f.decsep = '.';
    const TReportsById byid(s.aisevents);
    for (std::string_view line : kGPSHeader) out.Line(line);
    bool good = true;
    if (s.vehicles.count() > 0) good = WriteGPSWaypoints(s, f, byid, out);
    if (good) good = WriteGPSTracks(s, f, byid, out);
    return good && out.ok();
}

bool WriteGPS(Session& s, const std::string& path) {
    TTextOut out;
    bool good = out.Create(path) && WriteGPSDocument(s, out);
    good = out.Close() && good;
    if (good)
        s.platform.ShowMessage(MsgKind::Information, "Coordinates and Time successfully written to GPS file.",
                               help::WriteGPSKML);
    else
        s.platform.ShowMessage(MsgKind::Error, "Error writing GPS file.");
    return good;
}

}  // namespace brenvik
