#pragma once
// The GPX 1.1 writer: creates or replaces its file and reports success or failure to the user
// itself.
#include <string>

#include "export/writercolumns.h"

namespace brenvik {

class Session;

// The events of `range` as the own ship's track (one segment per stretch between time gaps,
// UTC times, speed and course), their alarms as waypoints, and a track per vessel. Tells the
// user the outcome; true when the file was written completely.
bool WriteGPX(Session& s, const std::string& path, TEventRange range);

}  // namespace brenvik
