#pragma once
// The sources summary as a CSV file: the table's headings and rows, one cell per column.
#include <string>

namespace brenvik {

class Session;

// Creates or replaces the file; "Unable to write to CSV file." when it cannot be written.
// True when every line was written and the file closed.
bool WriteSourcesCSV(Session& s, const std::string& path);

}  // namespace brenvik
