#include "export/sourcescsv.h"

#include "export/textfile.h"
#include "model/strutil.h"
#include "present/sourcestable.h"
#include "session.h"

namespace brenvik {
namespace {

std::string CsvLine(const std::vector<std::string>& cells) {
    std::string line;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i > 0) line.push_back(',');
        AppendCsvCell(line, cells[i]);
    }
    return line;
}

}  // namespace

bool WriteSourcesCSV(Session& s, const std::string& path) {
    const TSourcesTable t = SourcesTable(s);
    TTextOut out;
    if (out.Create(path)) {
        out.Line(CsvLine(t.head));
        for (const auto& row : t.rows) out.Line(CsvLine(row));
    }
    if (out.Close()) return true;
    s.platform.ShowMessage(MsgKind::Error, "Unable to write to CSV file.");
    return false;
}

}  // namespace brenvik
