#include "export/aiswriters.h"

#include <cstdio>

#include "export/replacefile.h"
#include "export/vesseltracks.h"
#include "helptopics.h"
#include "model/strutil.h"
#include "present/aiscolumns.h"
#include "present/valuetext.h"
#include "session.h"

namespace brenvik {
namespace {

// AIS text may hold commas and double quotes, and numbers take the locale's decimal separator,
// which may be a comma: such a field is quoted, inner quotes doubled, so that it keeps its
// column. Other fields are written as they are.
void AppendCsvField(std::string& line, std::string_view text) {
    line.push_back(',');
    AppendCsvCell(line, text);
}

std::string CodeOrEmpty(unsigned value, unsigned none) { return value == none ? std::string() : std::to_string(value); }

bool PutLine(std::FILE* fp, std::string_view line) {
    return std::fwrite(line.data(), 1, line.size(), fp) == line.size() && std::fputs("\r\n", fp) != EOF;
}

// Writes the header and the lines that `each` hands to its callback beside the target, puts
// the file in its place, then tells the count. A failure shows only the error message and
// leaves an existing target as it was: a count would read as lines written.
template <class Each>
bool WriteCsvFile(Session& s, const std::string& path, std::string_view label, std::string_view header,
                  std::string_view what, Each each) {
    // A name without an extension has no type to name: the file is CSV all the same.
    const std::string type = label.empty() ? std::string("CSV") : std::string(label);
    TReplacingFile out;
    bool ok = out.Open(path) && PutLine(out.file(), header);
    std::int32_t written = 0;
    each([&](const std::string& line) {
        if (!ok) return;
        ok = PutLine(out.file(), line);
        if (ok) ++written;
    });
    if (!out.Commit(ok)) {
        s.platform.ShowMessage(MsgKind::Error, "Unable to write to " + type + " file.");
        return false;
    }
    s.platform.ShowMessage(MsgKind::Information, std::to_string(written) + std::string(what) + type + " file.",
                           help::WriteCSV);
    return true;
}

}  // namespace

std::string AISPositionLine(const TaisEvent& e, const TFormat& f) {
    std::string line = MmsiText(e.id);
    line += ',' + std::to_string(e.status);
    // No time stamp (-1, the long-range report) or one that says why there is none (60 to
    // 63): an empty cell, as in the grid.
    AppendCsvField(line, AisTimeKnown(e) ? TimeText(f, e.utcsecs / 86400.0) : std::string());
    AppendCsvField(line, CoordText(f, false, e.coord.lat));
    AppendCsvField(line, CoordText(f, true, e.coord.lng));
    AppendCsvField(line, SpeedText(f, e.sog));
    AppendCsvField(line, AngleText(f, e.cog));
    AppendCsvField(line, HeadingText(f, e.heading));
    AppendCsvField(line, RotText(f, e.rot));
    return line;
}

std::string AISVesselLine(const TVehicle& v, const TFormat& f) {
    std::string line = v.id;
    AppendCsvField(line, v.name);
    AppendCsvField(line, v.call);
    line += ',' + CodeOrEmpty(v.vtype, 255);
    line += ',' + CodeOrEmpty(v.length, 65535);
    line += ',' + CodeOrEmpty(v.width, 65535);
    AppendCsvField(line, v.draught >= -1e24f ? ReplaceChar('.', f.decsep, GeneralNumber(static_cast<double>(v.draught), 6, 2))
                                             : std::string());
    AppendCsvField(line, v.eta);
    AppendCsvField(line, v.dest);
    return line;
}

bool WriteAISPositions(Session& s, const std::string& path, std::string_view label) {
    const TFormat f = s.Format();
    return WriteCsvFile(s, path, label, "MMSI,Status,UTCTime,Latitude,Longitude,SOG,COG,Heading,ROT",
                        " AIS events written to ", [&](auto put) {
                            for (const TaisEvent& e : s.aisevents)
                                if (IsPositionReport(e)) put(AISPositionLine(e, f));
                        });
}

bool WriteAISVessels(Session& s, const std::string& path, std::string_view label) {
    const TFormat f = s.Format();
    return WriteCsvFile(s, path, label, "MMSI,Name,Call,Type,Length,Width,Draught,ETA,Destination",
                        " AIS Vessels written to ", [&](auto put) {
                            for (std::int32_t i = 0; i < s.vehicles.count(); ++i) put(AISVesselLine(s.vehicles[i], f));
                        });
}

std::vector<std::string> VesselTableLines(const Session& s) {
    const TFormat f = s.Format();
    std::vector<std::string> lines{"MMSI,Country,Name,Call,Type,Length,Width,Draught,ETA,Destination"};
    for (std::int32_t i = 0; i < s.vehicles.count(); ++i) {
        const TVehicle& v = s.vehicles[i];
        std::string line = v.id;
        // The country text begins with its code and a separator: the table drops both.
        AppendCsvField(line, Trim(std::string_view(v.ctry).substr(std::min<std::size_t>(3, v.ctry.size()))));
        AppendCsvField(line, v.name);
        AppendCsvField(line, v.call);
        line += ',';
        if (v.vtype != 255) line += ShipTypeName(v.vtype);
        line += ',' + CodeOrEmpty(v.length, 65535);
        line += ',' + CodeOrEmpty(v.width, 65535);
        AppendCsvField(line, v.draught >= -1e24f ? std::string(Trim(FixedText(f, static_cast<double>(v.draught), 6, 1)))
                                                 : std::string());
        AppendCsvField(line, v.eta);
        AppendCsvField(line, v.dest);
        lines.push_back(std::move(line));
    }
    return lines;
}

std::int32_t SelectAISVessel(Session& s, std::int32_t mmsi) {
    s.aisselection.clear();
    s.aisselected = mmsi > 0;
    if (mmsi <= 0) return s.aisevents.count() + 2;
    for (std::int32_t i = 0; i < s.aisevents.count(); ++i)
        if (s.aisevents[i].id == mmsi) s.aisselection.push_back(i);
    return static_cast<std::int32_t>(s.aisselection.size()) + 2;
}

std::vector<std::string> AISGridLines(const Session& s) {
    const TFormat f = s.Format();
    std::vector<std::string> lines;
    std::string head;
    for (const auto& c : aisfields) {
        if (!head.empty()) head.push_back('\t');
        head += c.head;
    }
    lines.push_back(std::move(head));
    auto row = [&](const TaisEvent& e) {
        std::string line;
        for (std::size_t c = 0; c < aisfields.size(); ++c) {
            if (c > 0) line.push_back('\t');
            line += aisfields[c].asstring(e, f);
        }
        lines.push_back(std::move(line));
    };
    if (!s.aisselected) {
        for (const TaisEvent& e : s.aisevents) row(e);
    } else {
        // A selection never reaches past the reports of the file now loaded.
        for (std::int32_t ix : s.aisselection)
            if (ix >= 0 && ix < s.aisevents.count()) row(s.aisevents[ix]);
    }
    return lines;
}

}  // namespace brenvik
