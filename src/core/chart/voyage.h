#pragma once
// What the voyage view draws, gathered once per load: the own track (events with a position),
// the time of every event, the instrument series in internal units, and one track per AIS
// vessel. Each track carries the breaks of the shared gap rule, so no view decides gaps.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "chart/projection.h"
#include "model/aisreport.h"
#include "model/eventobj.h"

namespace brenvik::chart {

// Points of a track in time order: the index of the event or AIS report each comes from, its
// time in seconds, its position in degrees and in Mercator metres.
struct TTrack {
    std::vector<std::int32_t> ix;
    std::vector<double> secs, lat, lng, mx, my;
    std::vector<std::size_t> breaks;  // a new stretch starts at each of these point indices
    std::size_t size() const { return ix.size(); }
};

struct TVesselTrack {
    std::int32_t mmsi = 0;
    TTrack track;
    double course = novalue;  // of the last report: course, else heading; degrees
};

// The instrument series the strips offer, in the order they are stacked.
enum Series : int {
    sSpeed = 0, sWaterSpeed, sDepth, sWindSpeed, sWindAngle, sHeading, sRudder, sRot, sAlarm, kSeriesCount
};
// Whether a series is an angle (drawn unwrapped).
bool IsAngleSeries(int series);

struct TVoyage {
    std::vector<double> secs;                  // per event; novalue without a time
    std::vector<double> series[kSeriesCount];  // per event, internal units; novalue without data
    std::vector<bool> hasseries = std::vector<bool>(kSeriesCount, false);
    std::vector<std::size_t> timebreaks;       // gap breaks over the events that have a time, as event indices
    std::vector<std::int32_t> timed;           // indices of the events with a time, in order
    TTrack own;
    std::vector<TVesselTrack> vessels;
    TGeoBox ownbox, allbox;                    // bounds of the own track, and of it with the vessels
    double t0 = 0, t1 = 0;                     // first and last event time (seconds)
    bool HasTimes() const { return !timed.empty(); }
};

// Seconds of a date-time (days since 1899-12-30).
inline double Seconds(TDateTime t) { return t * 86400.0; }
// An event's time: its date-time, else the recorder's; novalue when it has neither.
double EventSeconds(const TEvent& e);

// AIS reports get the time of the event whose source lines they came in among.
TVoyage BuildVoyage(const TEvents& events, const TaisEvents& ais);

// The point of the track nearest to (sx, sy) on screen under view v within maxpx pixels;
// -1 for none.
std::ptrdiff_t NearestOnScreen(const TTrack& t, const TMercatorView& v, double sx, double sy, double maxpx);
// The index into `timed` of the event nearest in time to secs; -1 when there are none.
std::ptrdiff_t NearestInTime(const TVoyage& v, double secs);

}  // namespace brenvik::chart
