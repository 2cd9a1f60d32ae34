#pragma once
// Opening a log file as the programs do it: the load, then what follows a completed load.
#include <cstdint>
#include <string>
#include <vector>

#include "parse/loader.h"

namespace brenvik {

struct TSettings;

// Loads the file; after a complete load records it in lastfile, lastfolder and the recent
// files, shows the summary report, applies autoshowvalid, rebuilds the shown fields and
// gathers their ranges for the min/max strip; works out the encounters
// (analysis/encounters.h) before the report is shown.
LoadOutcome OpenLogFile(Session& s, const std::string& path);
// The same for several files (or folders) read as one voyage; the recent files get one entry
// for the set.
LoadOutcome OpenLogFiles(Session& s, const std::vector<std::string>& paths);

// The MMSI of the latest VDO sentence as a number; 0 when none was heard.
std::int32_t OwnMmsi(const Session& s);

// Puts path at the top of the recent-files list (at most 10, no repeats); lastfile follows it.
void AddRecentFile(TSettings& settings, const std::string& path);

}  // namespace brenvik
