#pragma once
// After a load: where the own ship and every other vessel were at each moment, how close each
// came and what its reports predicted. Tracks are put on one clock by the reports' reception
// times (model/aisreport.h) and the events' times; between two fixes of a vessel the position
// is interpolated linearly, never across a silence longer than MaxJoinSeconds, and after the
// last fix of a stretch it is carried on by speed and course for kExtrapolateSeconds at most.
#include <cstdint>

#include "model/aisreport.h"
#include "model/encounter.h"
#include "model/eventobj.h"

namespace brenvik {

constexpr double kExtrapolateSeconds = 180;

// Reports that place a vessel: types 1 to 3 (class A), 18 and 19 (class B), 9 (search and rescue
// aircraft) and 27 (long range), with a position on the globe.
bool IsTrackReport(const TaisEvent& r);
// The longest step between two fixes that interpolation still joins: 10 minutes between class
// A reports (types 1 to 3), 15 minutes for the others.
double MaxJoinSeconds(std::int32_t msgtype);

// Fills dstbrg, cldist, cltime and clspd of every track report that has a reception time and an
// own position at that time, and returns every vessel's closest approach. The own ship is the
// events' track; a log without own positions takes the reports of ownid (the VDO's MMSI, 0 when
// none was heard) instead. Reports of ownid are never another vessel.
TEncounters ComputeEncounters(const TEvents& events, TaisEvents& reports, std::int32_t ownid);

}  // namespace brenvik
