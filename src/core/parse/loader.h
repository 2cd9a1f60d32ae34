#pragma once
// Reading one log file from start to end into the session.
#include <cstdint>
#include <string>
#include <string_view>

namespace brenvik {

class Session;
struct TSettings;

enum class LoadOutcome {
    Skipped,      // empty path: nothing changed
    Complete,     // every line read, or reading stopped at a capacity
    FormatError,  // a read error ended the load
    NotOpened,    // the file could not be opened
};

LoadOutcome LoadLogFile(Session& s, const std::string& path);

// Warning with OK and Help (topic 100) naming what overflowed.
void ShowCapacityMessage(Session& s, std::string_view name, std::int32_t limit);

// Puts path at the top of the recent-files list (at most 10, no repeats); lastfile follows it.
void AddRecentFile(TSettings& settings, const std::string& path);

}  // namespace brenvik
