#pragma once
// One decoded AIS message (an AIS report) and the owning list of reports.
#include <cstdint>
#include <string>

#include "model/chunkedlist.h"
#include "model/eventobj.h"

namespace brenvik {

struct TaisEvent {
    std::int32_t srcnumb = 0;   // line that completed the message
    std::int32_t msgtype = 0;
    std::int32_t id = 0;        // MMSI
    std::int32_t utcdate = 0;   // day number; 0 none; -1 unprocessed type
    std::int32_t utcsecs = -1;  // position reports: second stamp; 4 and 11: seconds of the day; -1 none
    TCoord coord{novalue, novalue};
    double sog = novalue;       // m/s
    double cog = novalue;       // degrees
    double heading = novalue;   // degrees
    double rot = novalue;       // rate-of-turn indicator as sent
    // From the own ship at the reception time (filled after the load, when both are known):
    TDstBrg dstbrg{novalue, novalue};  // metres, radians
    double cltime = novalue;           // seconds from reception to the closest point predicted
    double cldist = novalue;           // metres: the distance predicted there
    double clspd = -1.0;               // m/s at which the distance shrinks (negative: opening)
    std::string messg;
    std::uint8_t status = 16;   // 16: no status
    bool valid = false;
    // When the report was heard: its line's recorder time, else the UTC of the latest position
    // or time sentence before it; 0 when neither was known yet.
    TDateTime rxdts = 0;
};

// Reports never move once added.
class TaisEvents {
public:
    void Add(TaisEvent&& e) { FList.push_back(std::move(e)); }
    void clear() { FList.clear(); }
    std::int32_t count() const { return static_cast<std::int32_t>(FList.size()); }
    bool empty() const { return FList.empty(); }
    const TaisEvent& operator[](std::int32_t ix) const { return FList.at(static_cast<std::size_t>(ix)); }
    // For the work after the load that fills the distance and approach fields.
    TaisEvent& at(std::int32_t ix) { return FList.at(static_cast<std::size_t>(ix)); }
    auto begin() const { return FList.begin(); }
    auto end() const { return FList.end(); }

private:
    TChunkedList<TaisEvent> FList;
};

}  // namespace brenvik
