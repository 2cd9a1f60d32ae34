#pragma once
// The encounters as text: one row per vessel with a closest approach, smallest first, in the
// display units, flagged when it came or was predicted to come too close.
#include <cstdint>
#include <string>
#include <vector>

#include "model/encounter.h"

namespace brenvik {

class Session;

struct TEncounterTable {
    std::vector<std::string> head;
    std::vector<std::vector<std::string>> rows;
    std::vector<std::int32_t> ids;  // the MMSI of each row
};

// The closest approach is under the CPA limit, or the last report before it predicted a closest
// point under the limit within the TCPA window.
bool EncounterFlagged(const TEncounter& e, double cpalimit, std::int32_t tcpawindow);

TEncounterTable EncounterTable(const Session& s);

// The text view: a line on the own track and the limits, the table in aligned columns, and the
// reports left out. The table's heading is the line at index kEncounterHeadLine.
std::vector<std::string> EncounterTableLines(const Session& s);
constexpr int kEncounterHeadLine = 2;

// The MMSI of the row on line `lineindex` of EncounterTableLines, 0 when it shows none.
std::int32_t EncounterAtLine(const Session& s, int lineindex);

// Seconds as a signed minutes-and-seconds text: "12:05", "-0:40".
std::string MinutesSecondsText(double secs);

}  // namespace brenvik
