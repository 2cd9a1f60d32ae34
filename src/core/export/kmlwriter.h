#pragma once
// The KML writer: creates or replaces its file and reports success or failure to the user
// itself.
#include <string>

#include "export/writercolumns.h"

namespace brenvik {

class Session;

// A KML 2.2 document: a point per event with the fields of `columns`, a track per vessel.
// Tells the user the outcome; true when the file was written completely.
bool WriteKML(Session& s, const std::string& path, const std::string& schemaname, TColumns columns);

}  // namespace brenvik
