#include "export/savefns.h"

#include <algorithm>

#include "export/textout.h"
#include "export/writerutil.h"
#include "helptopics.h"
#include "model/strutil.h"
#include "present/units.h"
#include "session.h"

namespace brenvik {

bool PositionValid(const TaisEvent& r) {
    const double lat = r.coord.lat, lng = r.coord.lng;
    return r.valid && lat >= -90 && lat <= 90 && lng >= -180 && lng <= 180 && (lat != 0 || lng != 0);
}

TReportsById::TReportsById(const TaisEvents& reports) : FReports(reports) {
    FOrder.resize(static_cast<std::size_t>(reports.count()));
    for (std::size_t i = 0; i < FOrder.size(); ++i) FOrder[i] = static_cast<std::int32_t>(i);
    std::stable_sort(FOrder.begin(), FOrder.end(), [&](std::int32_t a, std::int32_t b) {
        return FReports[a].id < FReports[b].id;
    });
}

std::span<const std::int32_t> TReportsById::Of(std::int32_t id) const {
    auto lo = std::lower_bound(FOrder.begin(), FOrder.end(), id,
                               [&](std::int32_t pos, std::int32_t v) { return FReports[pos].id < v; });
    auto hi = std::upper_bound(lo, FOrder.end(), id,
                               [&](std::int32_t v, std::int32_t pos) { return v < FReports[pos].id; });
    return {lo, hi};
}

// ---- CSV ----

std::string CSVHeadingLine(const Session& s, int n, const std::vector<int>& fields) {
    std::string line;
    const int cols = ColumnCount(n, fields);
    for (int k = 1; k < cols; ++k) {
        line += ',';
        const int fld = fields[static_cast<std::size_t>(k)];
        if (fld >= 0 && fld < kEventFieldCount) AppendCsvCell(line, s.fields.fields[static_cast<std::size_t>(fld)].head);
    }
    return line;
}

std::string EventCSVLine(const Session& s, const TFormat& f, std::int32_t ix, int n,
                         const std::vector<int>& fields) {
    std::string line;
    const TEvent& e = s.events[ix];
    const int cols = ColumnCount(n, fields);
    for (int k = 0; k < cols; ++k) {
        if (k > 0) line += ',';
        const int fld = fields[static_cast<std::size_t>(k)];
        const std::string text = CellText(e, f, fld);
        // The two free texts are always quoted. Other cells only when they would not read
        // back as one: a comma decimal separator, the seconds sign of Degs Mins Secs.
        if (IsQuotedText(fld))
            AppendCsvQuoted(line, text);
        else
            AppendCsvCell(line, text);
    }
    return line;
}

std::int32_t WriteCSVLines(const Session& s, TTextOut& out, int n, const std::vector<int>& fields,
                           int savefirst, int savelast) {
    const TFormat f = s.Format();
    const std::int32_t first = std::max(savefirst, 0);
    const std::int32_t last = std::min(savelast, s.events.count() - 1);
    out.Line(CSVHeadingLine(s, n, fields));
    std::int32_t written = 0;
    for (std::int32_t ix = first; ix <= last && out.ok(); ++ix, ++written)
        out.Line(EventCSVLine(s, f, ix, n, fields));
    return written;
}

void WriteCSV(Session& s, const std::string& path, int n, const std::vector<int>& fields,
              int savefirst, int savelast) {
    TTextOut out;
    std::int32_t written = 0;
    if (out.Create(path)) written = WriteCSVLines(s, out, n, fields, savefirst, savelast);
    if (!out.Close()) {
        s.platform.ShowMessage(MsgKind::Error, "Unable to write to CSV file.");
        return;
    }
    // The first column (the line number) is not a data field.
    s.platform.ShowMessage(MsgKind::Information,
                           Fmt("%d events with %d data fields successfully written to CSV file.",
                               written, std::max(ColumnCount(n, fields) - 1, 0)),
                           help::WriteCSV);
}

// ---- GPS text file ----

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

void WriteGPS(Session& s, const std::string& path) {
    // Fixed formats: only the time separator follows the locale.
    TFormat f = s.Format();
    f.decsep = '.';
    const TReportsById byid(s.aisevents);
    TTextOut out;
    bool good = out.Create(path);
    for (std::string_view line : kGPSHeader) out.Line(line);
    if (good && s.vehicles.count() > 0) good = WriteGPSWaypoints(s, f, byid, out);
    if (good) good = WriteGPSTracks(s, f, byid, out);
    good = out.Close() && good;
    if (good)
        s.platform.ShowMessage(MsgKind::Information, "Coordinates and Time successfully written to GPS file.",
                               help::WriteGPSKML);
    else
        s.platform.ShowMessage(MsgKind::Error, "Error writing GPS file.");
}

}  // namespace brenvik
