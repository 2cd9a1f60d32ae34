#include "present/encountertable.h"

#include <algorithm>
#include <cmath>

#include "model/strutil.h"
#include "model/units.h"
#include "present/aiscolumns.h"
#include "present/valuetext.h"
#include "session.h"

namespace brenvik {
namespace {

bool HasValue(double v) { return v >= -1e24 && v <= 1e24; }

std::string Unit(std::string_view name, std::string_view unit) {
    return std::string(name) + " (" + std::string(unit) + ")";
}

std::string Number(const TFormat& f, double v, int decimals) {
    return HasValue(v) ? std::string(Trim(FixedText(f, v, 0, decimals))) : std::string();
}

std::string When(const TFormat& f, TDateTime t) { return DateText(f, t) + " " + TimeText(f, t); }

// Start of each column, two blanks apart.
std::vector<std::size_t> ColumnStarts(const TEncounterTable& t) {
    std::vector<std::size_t> start(t.head.size() + 1, 0);
    for (std::size_t c = 0; c < t.head.size(); ++c) {
        std::size_t w = t.head[c].size();
        for (const auto& row : t.rows) w = std::max(w, row[c].size());
        start[c + 1] = start[c] + w + 2;
    }
    return start;
}

std::string Aligned(const std::vector<std::string>& cells, const std::vector<std::size_t>& start) {
    std::string line;
    for (std::size_t c = 0; c < cells.size(); ++c) {
        line += cells[c];
        if (c + 1 < cells.size()) line.append(start[c + 1] - start[c] - cells[c].size(), ' ');
    }
    return line;
}

}  // namespace

std::string MinutesSecondsText(double secs) {
    if (!HasValue(secs)) return {};
    const long long total = std::llround(std::fabs(secs));
    return Fmt("%s%lld:%02lld", secs < 0 && total > 0 ? "-" : "", total / 60, total % 60);
}

bool EncounterFlagged(const TEncounter& e, double cpalimit, std::int32_t tcpawindow) {
    if (e.dist < cpalimit) return true;
    return HasValue(e.predcpa) && HasValue(e.predtcpa) && e.predcpa < cpalimit && e.predtcpa >= 0 &&
           e.predtcpa <= tcpawindow;
}

TEncounterTable EncounterTable(const Session& s) {
    const TFormat f = s.Format();
    const char hu = f.parms.hunits;
    TEncounterTable t;
    t.head = {"",        "MMSI",    "Name",
              "Country", "Type",    "Reports",
              Unit("Closest", DistUnit(hu)), "Metres", "Date and time",
              "Bearing", Unit("Rel.speed", SpeedUnit(hu)), Unit("Pred.CPA", DistUnit(hu)),
              "Pred.TCPA", "Predicted at"};
    for (const TEncounter& e : s.encounters.list) {
        const TVehicle* v = s.vehicles.findvehicle(MmsiText(e.id));
        std::string country, type, name;
        if (v) {
            name = v->name;
            country = Trim(std::string_view(v->ctry).substr(std::min<std::size_t>(3, v->ctry.size())));
            if (v->vtype != 255) type = ShipTypeName(v->vtype);
        }
        std::string predat;
        if (e.lastreport >= 0 && e.lastreport < s.aisevents.count()) predat = When(f, s.aisevents[e.lastreport].rxdts);
        t.rows.push_back({EncounterFlagged(e, s.settings.cpalimit, s.settings.tcpawindow) ? "*" : "",
                          MmsiText(e.id),
                          std::string(Trim(name)),
                          country,
                          type,
                          std::to_string(e.reports),
                          Number(f, FromMetres(hu, e.dist), hu == 'M' ? 0 : 3),
                          Number(f, e.dist, 0),
                          When(f, e.when),
                          Number(f, e.brg, 1),
                          Number(f, FromMps(hu, e.relspd), 1),
                          HasValue(e.predcpa) ? Number(f, FromMetres(hu, e.predcpa), hu == 'M' ? 0 : 3) : std::string(),
                          MinutesSecondsText(e.predtcpa),
                          predat});
        t.ids.push_back(e.id);
    }
    return t;
}

std::vector<std::string> EncounterTableLines(const Session& s) {
    const TFormat f = s.Format();
    const TEncounters& enc = s.encounters;
    std::vector<std::string> lines;
    if (enc.owntrack == 0)
        lines.push_back("No own positions (no position sentences, no VDO reports): no encounters.");
    else if (enc.ownfromais)
        lines.push_back(Fmt("Own track: %d positions from the VDO reports of MMSI ", enc.owntrack) + s.ownmmsi + ".");
    else
        lines.push_back(Fmt("Own track: %d positions from the events.", enc.owntrack));
    const char hu = f.parms.hunits;
    lines.push_back("Flagged (*): closer than " + Number(f, FromMetres(hu, s.settings.cpalimit), 2) + " " +
                    std::string(DistUnit(hu)) + ", or predicted so at the last report before, within " +
                    MinutesSecondsText(s.settings.tcpawindow) + " min.");
    const TEncounterTable t = EncounterTable(s);
    const auto start = ColumnStarts(t);
    lines.push_back(Aligned(t.head, start));
    for (const auto& row : t.rows) lines.push_back(Aligned(row, start));
    lines.push_back({});
    lines.push_back(Fmt("Position reports heard before any time was known: %d; without an own position at their "
                        "time: %d.",
                        enc.notime, enc.noown));
    return lines;
}

std::int32_t EncounterAtLine(const Session& s, int lineindex) {
    const int row = lineindex - kEncounterHeadLine - 1;
    if (row < 0 || row >= static_cast<int>(s.encounters.list.size())) return 0;
    return s.encounters.list[static_cast<std::size_t>(row)].id;
}

}  // namespace brenvik
