#pragma once
// How close each vessel came to the own ship: the smallest distance between the two tracks put
// on one clock, and what the last report before it predicted.
#include <cstdint>
#include <vector>

#include "model/eventobj.h"

namespace brenvik {

struct TEncounter {
    std::int32_t id = 0;         // MMSI
    std::int32_t reports = 0;    // position reports with a reception time used for the track
    double dist = novalue;       // metres, the closest approach
    TDateTime when = 0;          // its time
    TCoord own, other;           // both positions then, degrees
    double brg = 0;              // degrees from the own ship to the other
    double relspd = 0;           // m/s, the speed of one relative to the other then
    std::int32_t lastreport = -1;  // position in the report list of the last report before it
    double predcpa = novalue;    // metres, cldist of that report
    double predtcpa = novalue;   // seconds after that report, its cltime
};

struct TEncounters {
    std::vector<TEncounter> list;  // smallest closest approach first
    bool ownfromais = false;       // the own track came from VDO reports (no own positions)
    std::int32_t owntrack = 0;     // own positions used
    std::int32_t notime = 0;       // position reports heard before any time was known
    std::int32_t noown = 0;        // position reports with no own position at their time

    void Clear() { *this = TEncounters{}; }
};

}  // namespace brenvik
