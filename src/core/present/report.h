#pragma once
// The summary report of the loaded file, as the text panel shows it.
#include <string>
#include <vector>

namespace brenvik {

class Session;

std::vector<std::string> SummaryReport(const Session& s);

}  // namespace brenvik
