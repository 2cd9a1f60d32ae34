#pragma once
// The encounters as files: the encounter table as CSV, and per position report its distance,
// bearing and predicted closest point from the own ship (the companion of the AIS position
// file, row for row). Both replace their target only when complete.
#include <string>

namespace brenvik {

class Session;

bool WriteEncountersCSV(Session& s, const std::string& path);
bool WriteAISRelative(Session& s, const std::string& path);

}  // namespace brenvik
