#pragma once
// Several log files read as one voyage: which files a folder gives, and the order of reading.
#include <string>
#include <vector>

#include "model/logfiles.h"

namespace brenvik {

class Session;

// The paths with every folder among them replaced by its log files (*.txt, *.log, *.nmea, in
// any case), by name; a file named twice comes once.
std::vector<std::string> ExpandLogPaths(const std::vector<std::string>& paths);

// The files in reading order, each with its first time: the recorder time where its first
// lines carry one, else the first sentence UTC, read as the load reads them (the session's
// settings and clock). Files with a time come first, by time; files without any, by name.
// A file that cannot be opened gives its path in `unreadable` and the list is empty.
std::vector<TLogFile> OrderLogFiles(Session& s, const std::vector<std::string>& paths, std::string& unreadable);

}  // namespace brenvik
