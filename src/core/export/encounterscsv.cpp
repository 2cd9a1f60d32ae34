#include "export/encounterscsv.h"

#include <cmath>
#include <numbers>

#include "export/textfile.h"
#include "export/vesseltracks.h"
#include "model/strutil.h"
#include "present/encountertable.h"
#include "present/valuetext.h"
#include "session.h"

namespace brenvik {
namespace {

bool HasValue(double v) { return v >= -1e24 && v <= 1e24; }

std::string CsvLine(const std::vector<std::string>& cells) {
    std::string line;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i > 0) line.push_back(',');
        AppendCsvCell(line, Trim(cells[i]));
    }
    return line;
}

bool Finish(Session& s, TTextOut& out) {
    if (out.Close()) return true;
    s.platform.ShowMessage(MsgKind::Error, "Unable to write to CSV file.");
    return false;
}

}  // namespace

bool WriteEncountersCSV(Session& s, const std::string& path) {
    TEncounterTable t = EncounterTable(s);
    t.head[0] = "Flag";
    TTextOut out;
    if (out.Create(path)) {
        out.Line(CsvLine(t.head));
        for (const auto& row : t.rows) out.Line(CsvLine(row));
    }
    return Finish(s, out);
}

bool WriteAISRelative(Session& s, const std::string& path) {
    const TFormat f = s.Format();
    TTextOut out;
    if (out.Create(path)) {
        out.Line("MMSI,ReceptionTime,Distance,Bearing,CPA,TCPA,ClosingSpeed");
        for (const TaisEvent& e : s.aisevents) {
            if (!IsPositionReport(e)) continue;
            std::vector<std::string> cells{MmsiText(e.id)};
            cells.push_back(e.rxdts != 0 ? DateText(f, e.rxdts) + " " + TimeText(f, e.rxdts) : std::string());
            const bool placed = HasValue(e.dstbrg.dst);
            cells.push_back(placed ? DistText(f, e.dstbrg.dst) : std::string());
            cells.push_back(placed ? AngleText(f, e.dstbrg.brg * 180 / std::numbers::pi) : std::string());
            const bool predicted = HasValue(e.cldist);
            cells.push_back(predicted ? DistText(f, e.cldist) : std::string());
            cells.push_back(predicted ? FixedText(f, e.cltime, 0, 0) : std::string());
            cells.push_back(predicted ? SpeedText(f, e.clspd) : std::string());
            out.Line(CsvLine(cells));
        }
    }
    return Finish(s, out);
}

}  // namespace brenvik
