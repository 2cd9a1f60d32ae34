#pragma once
// What the GPX and GeoJSON writers share: the own ship's track in stretches, the vessels'
// tracks, the alarm events, and number and time texts that never depend on the locale.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "export/vesseltracks.h"
#include "export/writercolumns.h"
#include "model/aisreport.h"
#include "model/vessel.h"

namespace brenvik {

class Session;

struct TTrackPoint {
    double lat = 0;
    double lng = 0;
    TDateTime time = novalue;  // novalue: not known
    std::int32_t ix = 0;       // the event's index, or the report's position
};

// An event with a position to draw: both coordinates on the globe, not the 0,0 of no fix.
bool HasPosition(const TEvent& e);
// An event that holds alarm sentences.
inline bool IsAlarmEvent(const TEvent& e) { return !e.bwalarm.empty(); }

// When an AIS report was received (its line's recorder time, else the latest sentence UTC);
// novalue for a report heard before any time, whose point then carries none.
inline TDateTime ReceptionTime(const TaisEvent& r) { return r.rxdts != 0 ? r.rxdts : novalue; }

// The range cut to the event list.
TEventRange ClampRange(const Session& s, TEventRange range);

// The events of `range` with a position, in list order.
void OwnTrack(const Session& s, TEventRange range, std::vector<TTrackPoint>& points);
// The vessel's position reports with a usable position, in list order.
void VesselTrack(const Session& s, const TReportsById& byid, std::int32_t mmsi, std::vector<TTrackPoint>& points);
// Where the track breaks into stretches (the shared gap rule over the points' times); points
// without a time stay in the stretch before them.
std::vector<std::size_t> StretchStarts(std::span<const TTrackPoint> points);

// Every vessel's MMSI text reads as a number, as the vessel tracks need.
bool VesselIdsAreNumbers(const Session& s);
// The own ship's name: the own MMSI's vessel name when the log gave one, else "Own ship".
std::string OwnShipName(const Session& s);
// The country text of a vessel without its code, as the vessel table shows it; empty when the
// vessel was not looked up.
std::string CountryName(const TVehicle& v);
// The earliest and latest time among the points; false when none has one.
bool TimeSpan(std::span<const TTrackPoint> points, TDateTime& first, TDateTime& last);

// v in fixed notation with `decimals` digits after a point; no minus on a value that rounds to
// zero. For values within -1e24..1e24.
void AppendFixed(std::string& out, double v, int decimals);
// ISO 8601 in UTC: "2018-06-01T12:00:00Z", with milliseconds ("12:00:00.5Z") when the time has
// them. False, nothing appended, when the value holds no date.
bool AppendIsoTime(std::string& out, TDateTime v);
// "2018-06-01"; false, nothing appended, without a date.
bool AppendIsoDate(std::string& out, TDateTime v);
// "12:00:00" or "12:00:00.25"; false, nothing appended, for a value that is no time.
bool AppendIsoClock(std::string& out, TDateTime v);

}  // namespace brenvik
