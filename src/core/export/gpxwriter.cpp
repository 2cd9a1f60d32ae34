// The GPX writer: what track viewers, plotters and GIS read, with times in UTC.
#include "export/gpxwriter.h"

#include <cmath>
#include <vector>

#include "export/textfile.h"
#include "export/trackpoints.h"
#include "helptopics.h"
#include "model/logfiles.h"
#include "model/strutil.h"
#include "present/aiscolumns.h"
#include "session.h"

namespace brenvik {
namespace {

constexpr std::string_view kGpxHead =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<gpx version=\"1.1\" creator=\"Brenvik\" xmlns=\"http://www.topografix.com/GPX/1/1\" "
    "xmlns:gpxtpx=\"http://www.garmin.com/xmlschemas/TrackPointExtension/v2\" "
    "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
    "xsi:schemaLocation=\"http://www.topografix.com/GPX/1/1 http://www.topografix.com/GPX/1/1/gpx.xsd "
    "http://www.garmin.com/xmlschemas/TrackPointExtension/v2 "
    "http://www8.garmin.com/xmlschemas/TrackPointExtensionv2.xsd\">\n";

// The document is built in runs of this size and written as each fills.
constexpr std::size_t kRun = 1 << 16;

struct TGpxDoc {
    std::string buf;
    TTextOut out;
    void Flush(bool all = false) {
        if (!all && buf.size() < kRun) return;
        out.Write(buf);
        buf.clear();
    }
};

void AppendText(std::string& out, std::string_view raw) { AppendXmlText(out, ToUtf8(raw)); }

void AppendLatLon(std::string& out, std::string_view tag, double lat, double lng) {
    out += '<';
    out += tag;
    out += " lat=\"";
    AppendFixed(out, lat, 7);
    out += "\" lon=\"";
    AppendFixed(out, lng, 7);
    out += '"';
}

void AppendTime(std::string& out, TDateTime t) {
    const std::size_t at = out.size();
    out += "<time>";
    if (AppendIsoTime(out, t))
        out += "</time>";
    else
        out.resize(at);
}

void WriteMetadata(TGpxDoc& d, const Session& s, std::span<const TTrackPoint> own) {
    d.buf += "<metadata>";
    const std::string logpath = EntryFirstPath(s.settings.lastfile);
    const std::string_view log = logpath;
    const std::size_t slash = log.find_last_of("/\\");
    const std::string_view name = slash == std::string_view::npos ? log : log.substr(slash + 1);
    if (!name.empty()) {
        d.buf += "<name>";
        AppendText(d.buf, name);
        d.buf += "</name>";
    }
    // The time span as an ISO 8601 interval.
    TDateTime first = 0, last = 0;
    std::string span;
    if (TimeSpan(own, first, last) && AppendIsoTime(span, first)) {
        span += '/';
        if (AppendIsoTime(span, last)) d.buf += "<desc>" + span + "</desc>";
    }
    d.buf += "</metadata>\n";
}

void WriteAlarmWaypoints(TGpxDoc& d, const Session& s, std::span<const TTrackPoint> own) {
    const TFormat f = s.Format();
    for (const TTrackPoint& p : own) {
        const TEvent& e = s.events[p.ix];
        if (!IsAlarmEvent(e)) continue;
        AppendLatLon(d.buf, "wpt", p.lat, p.lng);
        d.buf += '>';
        AppendTime(d.buf, p.time);
        const std::string_view stage = std::string_view(e.bwalarm).substr(0, e.bwalarm.find(':'));
        d.buf += "<name>STAGE ";
        AppendText(d.buf, stage);
        d.buf += "</name><desc>";
        AppendText(d.buf, CellText(e, f, fAlarms));
        d.buf += "</desc></wpt>\n";
        d.Flush();
    }
}

// Speed (m/s) and course (degrees true) where the event has them from a fix.
void AppendMotion(std::string& out, const TEvent& e) {
    if (!IsValid(e.speed) || !std::isfinite(e.cmg)) return;
    out += "<extensions><gpxtpx:TrackPointExtension><gpxtpx:speed>";
    AppendFixed(out, e.speed, 3);
    out += "</gpxtpx:speed><gpxtpx:course>";
    double course = std::fmod(e.cmg, 360.0);
    if (course < 0) course += 360.0;
    if (course >= 359.995) course = 0;  // would read 360.00
    AppendFixed(out, course, 2);
    out += "</gpxtpx:course></gpxtpx:TrackPointExtension></extensions>";
}

// One track: a segment per stretch. `events`: the points are events, with motion.
void WriteTrack(TGpxDoc& d, const Session& s, std::span<const TTrackPoint> points, bool events) {
    const std::vector<std::size_t> starts = StretchStarts(points);
    std::size_t next = 0;
    d.buf += "<trkseg>\n";
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (next < starts.size() && starts[next] == i) {
            d.buf += "</trkseg>\n<trkseg>\n";
            ++next;
        }
        const TTrackPoint& p = points[i];
        AppendLatLon(d.buf, "trkpt", p.lat, p.lng);
        const std::size_t open = d.buf.size();
        d.buf += '>';
        AppendTime(d.buf, p.time);
        if (events) AppendMotion(d.buf, s.events[p.ix]);
        if (d.buf.size() == open + 1) {
            d.buf.back() = '/';
            d.buf += ">\n";
        } else {
            d.buf += "</trkpt>\n";
        }
        d.Flush();
    }
    d.buf += "</trkseg>\n</trk>\n";
}

void WriteVesselTracks(TGpxDoc& d, const Session& s) {
    const TReportsById byid(s.aisevents);
    std::vector<TTrackPoint> points;
    for (std::int32_t v = 0; v < s.vehicles.count() && d.out.ok(); ++v) {
        const TVehicle& vessel = s.vehicles[v];
        VesselTrack(s, byid, *ParseInt(Trim(vessel.id)), points);
        if (points.empty()) continue;
        d.buf += "<trk><name>";
        const std::string_view name = Trim(vessel.name);
        if (!name.empty()) {
            AppendText(d.buf, name);
            d.buf += " (";
        }
        AppendText(d.buf, Trim(vessel.id));
        if (!name.empty()) d.buf += ')';
        d.buf += "</name>";
        if (vessel.vtype != 255) {
            d.buf += "<type>";
            AppendText(d.buf, ShipTypeName(vessel.vtype));
            d.buf += "</type>";
        }
        d.buf += '\n';
        WriteTrack(d, s, points, false);
    }
}

}  // namespace

bool WriteGPX(Session& s, const std::string& path, TEventRange range) {
    TGpxDoc d;
    d.buf.reserve(kRun + 4096);
    // Checked before anything is written: the file is whole or not there.
    bool good = VesselIdsAreNumbers(s) && d.out.Create(path);
    if (good) {
        std::vector<TTrackPoint> own;
        OwnTrack(s, range, own);
        d.buf += kGpxHead;
        WriteMetadata(d, s, own);
        // GPX puts the waypoints before the tracks.
        WriteAlarmWaypoints(d, s, own);
        if (!own.empty()) {
            d.buf += "<trk><name>";
            AppendText(d.buf, OwnShipName(s));
            d.buf += "</name>\n";
            WriteTrack(d, s, own, true);
        }
        WriteVesselTracks(d, s);
        d.buf += "</gpx>\n";
        d.Flush(true);
    }
    good = d.out.Close() && good;
    if (good)
        s.platform.ShowMessage(MsgKind::Information, "GPX file successfully written.", help::WriteGPSKML);
    else
        s.platform.ShowMessage(MsgKind::Error, "Error writing GPX file.");
    return good;
}

}  // namespace brenvik
