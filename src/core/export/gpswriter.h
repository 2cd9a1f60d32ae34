#pragma once
// The line-oriented GPS text file writer: creates or replaces its file and reports success or
// failure to the user itself.
#include <string>
#include <string_view>

#include "model/aisreport.h"
#include "present/format.h"

namespace brenvik {

class Session;
class TTextOut;

// Header, a waypoint per vessel at its newest valid position, the event track and the
// vessels' tracks.
// Tells the user the outcome; true when the file was written completely.
bool WriteGPS(Session& s, const std::string& path);
// The same lines on an open output, without messages. False when a vessel's MMSI text is no
// number or a write failed.
bool WriteGPSDocument(const Session& s, TTextOut& out);
std::string GPSTrackLine(const TFormat& f, double lat, double lng, TDateTime dts);
std::string GPSWaypointLine(const TFormat& f, const TaisEvent& r, std::string_view name);

}  // namespace brenvik
