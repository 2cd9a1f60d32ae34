#pragma once
// The GeoJSON (RFC 7946) writer: creates or replaces its file and reports success or failure to
// the user itself.
#include <string>

#include "export/writercolumns.h"

namespace brenvik {

class Session;

// A FeatureCollection: the own track of the events of `range` (a line per stretch between
// time gaps), a point per event of `range` with its UTC time and the fields of `columns` as
// numbers in the display units, and a line per vessel. Tells the user the outcome; true when
// the file was written completely.
bool WriteGeoJSON(Session& s, const std::string& path, TColumns columns, TEventRange range);

}  // namespace brenvik
