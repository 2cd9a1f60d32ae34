#pragma once
// The summary report of the loaded file, as the text panel shows it.
#include <string>
#include <vector>

#include "model/eventobj.h"

namespace brenvik {

class Session;

std::vector<std::string> SummaryReport(const Session& s);

// Where a capacity stopped the reading and the option that lifts it; empty when none did.
std::string CapacityStopLine(const Session& s);

// "<days> days + <secs> secs" from first to last, as the report shows a duration.
std::string DurationText(TDateTime first, TDateTime last);

}  // namespace brenvik
