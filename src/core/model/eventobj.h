#pragma once
// The NMEA event record and the owning event list.
#include <cstdint>
#include <stdexcept>
#include <string>
#include <utility>

#include "model/chunkedlist.h"
#include "model/datetime.h"

namespace brenvik {

// A numeric field that has received no data.
constexpr double novalue = 1e25;

// A field holds data when it is not 0 and below 1e24 (negative values count).
constexpr bool HasData(double v) { return v != 0 && v < 1e24; }

// A value that can be shown: within -1e24..1e24 (not novalue, not a number).
constexpr bool IsValid(double v) { return v >= -1e24 && v <= 1e24; }

struct TCoord {
    double lat = 0;
    double lng = 0;
};

// Distance in metres and initial bearing in radians (0 to just below 2 pi, clockwise from north).
struct TDstBrg {
    double dst = 0;
    double brg = 0;
};

class TEvent {
public:
    TCoord coord;
    TDateTime dts = 0;
    TDateTime vdrdts = 0;
    double speed = novalue;
    double cmg = 0;
    double heading = novalue;  // unwrapped: may leave 0..360 by whole turns
    double magvar = 0;
    double depthBT = 0;
    double depthBS = 0;
    double depthBK = 0;
    double depth = novalue;
    double hdop = novalue;
    double tranoffset = 0;
    double windangle = 0;
    double windspeed = novalue;
    double waterspeed = novalue;
    double waterheading = 0;
    double longlspd = novalue;
    double rudders = novalue;
    double rudderp = novalue;
    double transspd = novalue;
    double track = 0;
    double vmg = novalue;
    double rot = novalue;
    double distcumul = 0;
    double distreset = 0;
    double antalt = novalue;
    TDateTime utc = 0;
    std::int32_t recnumb = 0;
    std::int32_t timeoffset = 0;  // minutes
    std::string vdrchl;
    std::string lasttag;
    std::string comment;
    std::string bwalarm;      // stage, ":", alarm sentences separated by "|"
    std::string proprietary;  // proprietary sentences separated by "|"
    char windmode = 0;
    char watermode = 0;
    char trackmode = 0;

    // The next event under construction: measured values carry over, texts start empty.
    static TEvent Clone(const TEvent& e) {
        TEvent c;
        c.dts = e.dts;
        c.vdrdts = e.vdrdts;
        c.utc = e.utc;
        c.coord = e.coord;
        c.speed = e.speed;
        c.cmg = e.cmg;
        c.heading = e.heading;
        c.depthBT = e.depthBT;
        c.depthBS = e.depthBS;
        c.depth = e.depth;
        c.hdop = e.hdop;
        c.windspeed = e.windspeed;
        c.waterspeed = e.waterspeed;
        c.longlspd = e.longlspd;
        c.transspd = e.transspd;
        c.rot = e.rot;
        c.vmg = e.vmg;
        c.antalt = e.antalt;
        c.rudders = e.rudders;
        c.rudderp = e.rudderp;
        return c;
    }
};

// The ordered list of committed events; it owns them. Events never move once added.
class TEvents {
public:
    void Add(TEvent&& evnt) { FList.push_back(std::move(evnt)); }
    void clear() { FList.clear(); }
    std::int32_t count() const { return static_cast<std::int32_t>(FList.size()); }
    bool empty() const { return FList.empty(); }

    const TEvent& Get(std::int32_t ix) const { return FList.at(CheckIndex(ix)); }
    TEvent& Get(std::int32_t ix) { return FList.at(CheckIndex(ix)); }
    const TEvent& operator[](std::int32_t ix) const { return Get(ix); }
    TEvent& operator[](std::int32_t ix) { return Get(ix); }
    const TEvent& front() const { return FList.front(); }
    const TEvent& back() const { return FList.back(); }
    TEvent& front() { return FList.front(); }
    TEvent& back() { return FList.back(); }

    auto begin() const { return FList.begin(); }
    auto end() const { return FList.end(); }

private:
    static std::size_t CheckIndex(std::int32_t ix) {
        if (ix < 0) throw std::out_of_range("List index out of bounds");
        return static_cast<std::size_t>(ix);
    }
    TChunkedList<TEvent> FList;
};

}  // namespace brenvik
