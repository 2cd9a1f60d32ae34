#include "export/csvwriter.h"

#include "export/textfile.h"
#include "export/writercolumns.h"
#include "helptopics.h"
#include "model/strutil.h"
#include "session.h"

namespace brenvik {

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

}  // namespace brenvik
