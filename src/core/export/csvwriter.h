#pragma once
// The event CSV writer: creates or replaces its file and reports success or failure to the
// user itself.
#include <cstdint>
#include <string>
#include <vector>

#include "present/format.h"

namespace brenvik {

class Session;
class TTextOut;

// The CSV file of the events savefirst..savelast (0-based, inclusive): a heading line, then
// the cell texts of the first n entries of `fields`.
void WriteCSV(Session& s, const std::string& path, int n, const std::vector<int>& fields,
              int savefirst, int savelast);
// The same lines on an open output, without messages (the command line's event listing).
// Returns the number of events written; out.ok() tells whether the writing succeeded.
std::int32_t WriteCSVLines(const Session& s, TTextOut& out, int n, const std::vector<int>& fields,
                           int savefirst, int savelast);
std::string CSVHeadingLine(const Session& s, int n, const std::vector<int>& fields);
std::string EventCSVLine(const Session& s, const TFormat& f, std::int32_t ix, int n,
                         const std::vector<int>& fields);

}  // namespace brenvik
