#include "present/report.h"

#include <cmath>

#include "model/datetime.h"
#include "model/strutil.h"
#include "present/valuetext.h"
#include "session.h"

namespace brenvik {

// Whole days toward zero, the rest in seconds to the nearest (halves to even). A span whose
// ends are not real dates has no duration to show.
std::string DurationText(TDateTime first, TDateTime last) {
    if (!DecodeDateTime(first) || !DecodeDateTime(last)) return std::string(invalidmark);
    const double span = last - first;
    const double days = std::trunc(span);
    const auto secs = static_cast<long long>(std::nearbyint((span - days) * 86400.0));
    return Fmt("%lld days + %lld secs", static_cast<long long>(days), secs);
}

std::vector<std::string> SummaryReport(const Session& s) {
    const TFormat f = s.Format();
    const char hunits = f.parms.hunits;
    std::vector<std::string> lines;
    if (s.logfiles.size() > 1)
        for (std::string& l : VoyageFileLines(s)) lines.push_back(std::move(l));
    else
        lines.push_back("File: " + s.settings.lastfile);
    lines.push_back(Fmt("Total lines = %d, Processed Lines = %d, Corrupt lines = %d,  Number of NMEA Events = %d",
                        s.totlines, s.totlines - s.unproclines, s.corruptcount, s.events.count()));
    if (s.events.empty()) {
        lines.emplace_back("Start Date/Time undefined");
        lines.emplace_back("Total Distance=0");
    } else {
        const TDateTime first = s.events.front().dts;
        const TDateTime last = s.events.back().dts;
        const double span = last - first;
        lines.push_back("Start Date/Time = " + DateText(f, first) + " " + TimeText(f, first) +
                        "  Duration = " + DurationText(first, last));
        const double dist = s.seg.totaldist;
        std::string line = "Total Distance = " + DistText(f, dist) + std::string(DistUnit(hunits));
        if (span != 0)
            line += "   Average Speed = " + SpeedText(f, dist / (span * 86400.0)) + std::string(SpeedUnit(hunits));
        lines.push_back(std::move(line));
    }
    if (s.vehicles.count() > 0)
        lines.push_back(Fmt("AIS Vessel Count = %d,  This vessel's MMSI = %s, Number of AIS events=%d",
                            s.vehicles.count(), s.ownmmsi.c_str(), s.aisevents.count()));
    for (std::string& l : LoadNoteLines(s)) lines.push_back(std::move(l));
    return lines;
}

std::vector<std::string> VoyageFileLines(const Session& s) {
    const TFormat f = s.Format();
    const auto& files = s.logfiles;
    std::vector<std::string> lines;
    lines.push_back(Fmt("Voyage of %d files, lines 1 to %d:", static_cast<int>(files.size()), files.back().lastline));
    auto when = [&](TDateTime t) { return DateText(f, t) + " " + TimeText(f, t); };
    for (std::size_t i = 0; i < files.size(); ++i) {
        const TLogFile& file = files[i];
        std::string line = Fmt("File %d: ", static_cast<int>(i + 1)) + file.path +
                           Fmt("  lines %d-%d  ", file.firstline, file.lastline);
        line += file.firsttime != 0 ? when(file.firsttime) + " to " + when(file.lasttime) : std::string("no time");
        if (i > 0 && file.firsttime != 0 && files[i - 1].firsttime != 0) {
            const double step = (file.firsttime - files[i - 1].lasttime) * 86400.0;
            if (step < 0)
                line += Fmt("  OVERLAPS the file before by %.0f s", -step);
            else if (step > kVoyageGapSecs)
                line += Fmt("  GAP of %.0f min after the file before", step / 60.0);
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

std::string CapacityName(std::string_view limitname) {
    if (limitname == "Records") return "line capacity";
    if (limitname == "NMEA Events") return "event capacity";
    if (limitname == "AIS Records") return "AIS report capacity";
    if (limitname == "Vessels") return "vessel capacity";
    return std::string(limitname) + " capacity";
}

std::string_view LineMsgCountName(LineMsg kind) {
    switch (kind) {
        case LineMsg::FormatError: return "Lines with unreadable time prefixes";
        case LineMsg::Error: return "Lines with unreadable bracketed time prefixes";
        case LineMsg::DecodeAIS: break;
    }
    return "AIS messages that could not be decoded";
}

std::vector<std::string> LoadNoteLines(const Session& s) {
    std::vector<std::string> lines;
    if (s.limitline > 0)
        lines.push_back(Fmt("Reading stopped at line %d: ", s.limitline) + CapacityName(s.limitname) +
                        std::string(kNoLimitsHint));
    if (s.cancelline > 0) lines.push_back(Fmt("Reading cancelled at line %d", s.cancelline));
    for (const LineMsg kind : {LineMsg::FormatError, LineMsg::Error, LineMsg::DecodeAIS}) {
        const TLineMsgCount& c = s.linemessages[kind];
        if (c.count > 0)
            lines.push_back(std::string(LineMsgCountName(kind)) + Fmt(": %d (first at line %d)", c.count, c.firstline));
    }
    return lines;
}

}  // namespace brenvik
