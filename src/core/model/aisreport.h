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
    TDstBrg dstbrg{novalue, novalue};
    double cltime = novalue;
    double cldist = novalue;
    double clspd = -1.0;
    std::string messg;
    std::uint8_t status = 16;   // 16: no status
    bool valid = false;
};

// Reports never move once added.
class TaisEvents {
public:
    void Add(TaisEvent&& e) { FList.push_back(std::move(e)); }
    void clear() { FList.clear(); }
    std::int32_t count() const { return static_cast<std::int32_t>(FList.size()); }
    bool empty() const { return FList.empty(); }
    const TaisEvent& operator[](std::int32_t ix) const { return FList.at(static_cast<std::size_t>(ix)); }
    auto begin() const { return FList.begin(); }
    auto end() const { return FList.end(); }

private:
    TChunkedList<TaisEvent> FList;
};

}  // namespace brenvik
