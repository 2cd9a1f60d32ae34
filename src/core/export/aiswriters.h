#pragma once
// The AIS data outside the grid: the position-report and vessel CSV files, the vessel table,
// the AIS grid's lines and the selection of one vessel's reports.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/vessel.h"
#include "model/aisreport.h"
#include "present/format.h"

namespace brenvik {

class Session;
class TTextOut;

// One data line of each CSV file.
std::string AISPositionLine(const TaisEvent& e, const TFormat& f);
std::string AISVesselLine(const TVehicle& v, const TFormat& f);

// Write the files (created or replaced) and tell the count, or "Unable to write to LABEL file.".
// True when every line was written and the file closed.
bool WriteAISPositions(Session& s, const std::string& path, std::string_view label);
bool WriteAISVessels(Session& s, const std::string& path, std::string_view label);
// The same lines on an open output, without messages; the number of data lines written.
std::int32_t WriteAISPositionLines(const Session& s, TTextOut& out);
std::int32_t WriteAISVesselLines(const Session& s, TTextOut& out);

// The vessel table of the text panel: its header, then a line per vessel in MMSI order.
std::vector<std::string> VesselTableLines(const Session& s);

// Narrows the AIS grid to the reports of one MMSI (mmsi <= 0: all reports). Returns the grid's
// row count: the heading row, one row per report shown and the empty last row.
std::int32_t SelectAISVessel(Session& s, std::int32_t mmsi);

// The AIS grid as text: the 13 headings, then a line per row shown, cells joined by TAB.
std::vector<std::string> AISGridLines(const Session& s);

}  // namespace brenvik
