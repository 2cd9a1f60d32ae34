#pragma once
// The summary report of the loaded file, as the text panel shows it.
#include <string>
#include <string_view>
#include <vector>

#include "model/eventobj.h"
#include "model/linemessages.h"

namespace brenvik {

class Session;

std::vector<std::string> SummaryReport(const Session& s);

// The lines the report ends with after a load that met a capacity or raised per-line messages:
// where the reading stopped, and per message kind how many lines raised it and where the first
// was. Empty for a load with neither, so such reports keep their fixed lines only.
std::vector<std::string> LoadNoteLines(const Session& s);
// A voyage's files in reading order: path, line range, first and last times, and a flag where a
// file overlaps the one before in time or begins more than kVoyageGapSecs after its end.
std::vector<std::string> VoyageFileLines(const Session& s);
inline constexpr double kVoyageGapSecs = 600;
// What a capacity stop's limitname stands for: "line capacity", "event capacity" ...
std::string CapacityName(std::string_view limitname);
// Follows the capacity's name wherever a stop is told: the option that reads on.
inline constexpr std::string_view kNoLimitsHint =
    " (lifted by \"Read files of any size (no line, event or AIS limits)\" in Options > General, "
    "brenvik-cli --no-limits)";
// What the lines of a per-line message kind are, as the report counts them ("Lines with
// unreadable time prefixes").
std::string_view LineMsgCountName(LineMsg kind);

// "<days> days + <secs> secs" from first to last, as the report shows a duration.
std::string DurationText(TDateTime first, TDateTime last);

}  // namespace brenvik
