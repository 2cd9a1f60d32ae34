#pragma once
// Opening a log file as the programs do it: the load, then what follows a completed load.
#include <string>

#include "parse/loader.h"

namespace brenvik {

struct TSettings;

// Loads the file; after a complete load records it in lastfile, lastfolder and the recent
// files, shows the summary report, applies autoshowvalid, rebuilds the shown fields and
// gathers their ranges for the min/max strip.
LoadOutcome OpenLogFile(Session& s, const std::string& path);

// Puts path at the top of the recent-files list (at most 10, no repeats); lastfile follows it.
void AddRecentFile(TSettings& settings, const std::string& path);

}  // namespace brenvik
