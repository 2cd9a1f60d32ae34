#pragma once
// The sources summary as text: a table of what each talker and sentence identifier sent, the
// recorder clock, the offset of the sentences' UTC from it, and a one-line verdict.
#include <cstdint>
#include <string>
#include <vector>

namespace brenvik {

class Session;

// The table's cells: a heading row, a row per source in the order first heard, then "All" and,
// when there are any, the lines without a talker. Times and numbers by the settings' formats.
struct TSourcesTable {
    std::vector<std::string> head;
    std::vector<std::vector<std::string>> rows;
    // Per row: the log line numbers behind the First line, Last line and Gap line cells (0: none).
    std::vector<std::vector<std::int32_t>> linerefs;
};
TSourcesTable SourcesTable(const Session& s);

// The text view: the table in aligned columns, a blank line, then the recorder clock and the
// offsets. Bytes of the log that are not printable ASCII are shown as "?".
std::vector<std::string> SourcesTableLines(const Session& s);

// The log line number under a click on character `column` (0-based) of line `lineindex`
// (0-based) of SourcesTableLines: a First line, Last line or Gap line cell; -1 elsewhere.
std::int32_t SourcesLineAt(const Session& s, int lineindex, int column);

// One line naming what is wrong with the clocks or the sources ("Clock: 2 backward jumps,
// largest gap ..."), empty when all is well.
std::string SourcesVerdict(const Session& s);

// Seconds per hour of the least-squares line through the offsets (0 with fewer than two).
double OffsetDrift(const Session& s);
// Median of the offsets in seconds (0 when there are none).
double OffsetMedian(const Session& s);

}  // namespace brenvik
