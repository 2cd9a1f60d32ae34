#include "export/csvwriter.h"

#include <algorithm>

#include "export/textfile.h"
#include "export/writercolumns.h"
#include "helptopics.h"
#include "model/strutil.h"
#include "session.h"

namespace brenvik {

std::string CSVHeadingLine(const Session& s, TColumns columns) {
    std::string line;
    for (std::size_t k = 1; k < columns.size(); ++k) {
        line += ',';
        const int fld = columns[k];
        if (fld >= 0 && fld < kEventFieldCount) AppendCsvCell(line, s.fields.fields[static_cast<std::size_t>(fld)].head);
    }
    return line;
}

std::string EventCSVLine(const Session& s, const TFormat& f, std::int32_t ix, TColumns columns) {
    std::string line;
    const TEvent& e = s.events[ix];
    for (std::size_t k = 0; k < columns.size(); ++k) {
        if (k > 0) line += ',';
        const int fld = columns[k];
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

std::int32_t WriteCSVLines(const Session& s, TTextOut& out, TColumns columns, TEventRange range) {
    const TFormat f = s.Format();
    const std::int32_t first = std::max(range.first, 0);
    const std::int32_t last = std::min(range.last, s.events.count() - 1);
    out.Line(CSVHeadingLine(s, columns));
    std::int32_t written = 0;
    for (std::int32_t ix = first; ix <= last && out.ok(); ++ix, ++written)
        out.Line(EventCSVLine(s, f, ix, columns));
    return written;
}

bool WriteCSV(Session& s, const std::string& path, TColumns columns, TEventRange range) {
    TTextOut out;
    std::int32_t written = 0;
    if (out.Create(path)) written = WriteCSVLines(s, out, columns, range);
    if (!out.Close()) {
        s.platform.ShowMessage(MsgKind::Error, "Unable to write to CSV file.");
        return false;
    }
    // The first column (the line number) is not a data field.
    const int datafields = std::max(static_cast<int>(columns.size()) - 1, 0);
    s.platform.ShowMessage(MsgKind::Information,
                           Fmt("%d events with %d data fields successfully written to CSV file.", written,
                               datafields),
                           help::WriteCSV);
    return true;
}

}  // namespace brenvik
