#pragma once
// The event CSV writer: creates or replaces its file and reports success or failure to the
// user itself.
#include <cstdint>
#include <string>

#include "export/writercolumns.h"
#include "present/format.h"

namespace brenvik {

class Session;
class TTextOut;

// The CSV file of the events in `range`: a heading line, then the cell texts of `columns`.
// Tells the user the count or the failure; true when the file was written completely.
bool WriteCSV(Session& s, const std::string& path, TColumns columns, TEventRange range);
// The same lines on an open output, without messages (the command line's event listing).
// Returns the number of events written; out.ok() tells whether the writing succeeded.
std::int32_t WriteCSVLines(const Session& s, TTextOut& out, TColumns columns, TEventRange range);
std::string CSVHeadingLine(const Session& s, TColumns columns);
std::string EventCSVLine(const Session& s, const TFormat& f, std::int32_t ix, TColumns columns);

}  // namespace brenvik
