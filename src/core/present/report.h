#pragma once
// The summary report of the loaded file, as the text panel shows it.
#include <string>
#include <vector>

#include "model/eventobj.h"

namespace brenvik {

class Session;

std::vector<std::string> SummaryReport(const Session& s);

// "<days> days + <secs> secs" from first to last, as the report shows a duration.
std::string DurationText(TDateTime first, TDateTime last);

}  // namespace brenvik
