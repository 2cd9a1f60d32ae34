#pragma once
// The KML writer: creates or replaces its file and reports success or failure to the user
// itself.
#include <string>

#include "export/writercolumns.h"

namespace brenvik {

class Session;
class TTextOut;

// A KML 2.2 document: a point per event with the fields of `columns`, a track per vessel.
// Tells the user the outcome; true when the file was written completely.
bool WriteKML(Session& s, const std::string& path, const std::string& schemaname, TColumns columns);
// The same document on an open output, without messages. False when a vessel's MMSI text is
// no number (the document then has no end) or a write failed.
bool WriteKMLDocument(const Session& s, TTextOut& out, const std::string& schemaname, TColumns columns);

}  // namespace brenvik
