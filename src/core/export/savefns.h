#pragma once
// The three event writers: CSV, the line-oriented GPS text file and KML. Each creates or
// replaces its file and reports success or failure to the user itself.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "ais/aisevnts.h"
#include "present/format.h"

namespace brenvik {

class Session;
class TTextOut;

// The CSV file of the events savefirst..savelast (0-based, inclusive): a heading line, then
// the cell texts of the first n entries of `fields`.
void WriteCSV(Session& s, const std::string& path, int n, const std::vector<int>& fields,
              int savefirst, int savelast);
// The same lines on an open output, without messages (the command line's event listing).
// Returns the number of events written; out.ok() tells whether the writing succeeded.
std::int32_t WriteCSVLines(const Session& s, TTextOut& out, int n, const std::vector<int>& fields,
                           int savefirst, int savelast);
std::string CSVHeadingLine(const Session& s, int n, const std::vector<int>& fields);
std::string EventCSVLine(const Session& s, const TFormat& f, std::int32_t ix, int n,
                         const std::vector<int>& fields);

// Header, a waypoint per vessel at its newest valid position, the event track and the
// vessels' tracks.
void WriteGPS(Session& s, const std::string& path);
std::string GPSTrackLine(const TFormat& f, double lat, double lng, TDateTime dts);
std::string GPSWaypointLine(const TFormat& f, const TaisEvent& r, std::string_view name);

// A KML 2.2 document: a point per event with its shown fields, a track per vessel.
void WriteKML(Session& s, const std::string& path, const std::string& schemaname, int n,
              const std::vector<int>& fields);

// A report whose position can be drawn: the decoder found it usable and it lies on the globe.
bool PositionValid(const TaisEvent& r);

// Positions in the report list grouped by MMSI, each group in list order, so that every
// vessel's reports are found without walking the whole list once per vessel.
class TReportsById {
public:
    explicit TReportsById(const TaisEvents& reports);
    std::span<const std::int32_t> Of(std::int32_t id) const;

private:
    const TaisEvents& FReports;
    std::vector<std::int32_t> FOrder;
};

}  // namespace brenvik
