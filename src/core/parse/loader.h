#pragma once
// Reading one log file from start to end into the session.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace brenvik {

class Session;

enum class LoadOutcome {
    Skipped,      // empty path: nothing changed
    Complete,     // every line read, or reading stopped at a capacity
    FormatError,  // a read error ended the load
    NotOpened,    // the file could not be opened
};

// Reads the file into the session; an entry of several paths (model/logfiles.h) is read as
// LoadLogFiles does. What the programs do once a file is read (report, ranges, recent files)
// is OpenLogFile's.
LoadOutcome LoadLogFile(Session& s, const std::string& path);
// Reads the files (a folder stands for its log files) as one log, in the order of their first
// times: line numbers run on, events and AIS fragments carry over from file to file. The
// files, their line ranges and times are in Session::logfiles.
LoadOutcome LoadLogFiles(Session& s, const std::vector<std::string>& paths);

// Warning with OK and Help (topic 100) naming what overflowed.
void ShowCapacityMessage(Session& s, std::string_view name, std::int32_t limit);

}  // namespace brenvik
