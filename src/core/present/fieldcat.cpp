#include "present/fieldcat.h"

#include "present/fieldtext.h"
#include "present/valuetext.h"

namespace brenvik {
namespace {

bool HasCoord(const TEvent& e) { return e.coord.lat != 0 || e.coord.lng != 0; }
bool HasDts(const TEvent& e) { return e.dts != 0; }
bool HasVDR(const TEvent& e) { return e.vdrdts != 0; }

}  // namespace

// Per field: number, heading, width, shown, has-data test, cell text, value, range
// acceptance, range text, and the data grid's own heading where it has one.
const std::array<Tfielddef, kEventFieldCount> eventfields{{
    {0, "Source#", 75, true, nullptr, SourceCell, SourceValue, AcceptNone, EmptyRange, ""},
    {1, "VDRDate", 70, true, HasVDR, VDRDateCell, VDRValue, AcceptAll, DateRange, "VDRDate.Time"},
    {2, "VDRTime", 68, true, HasVDR, VDRTimeCell, VDRValue, AcceptAll, TimeRange, "VDRSecs"},
    {3, "Offset", 50, true, nullptr, OffsetCell, OffsetValue, AcceptOffset, OffsetText, ""},
    {4, "Date", 70, true, HasDts, DateCell, DtsValue, AcceptAll, DateRange, "Date.Time"},
    {5, "Time", 68, true, HasDts, TimeCell, DtsValue, AcceptAll, TimeRange, "Seconds"},
    {6, "Latitude", 75, true, HasCoord, LatitudeCell, LatitudeValue, AcceptAll, LatitudeRange, ""},
    {7, "Longitude", 84, true, HasCoord, LongitudeCell, LongitudeValue, AcceptAll, LongitudeRange, ""},
    {8, "Depth", 50, false, [](const TEvent& e) { return HasData(e.depth); }, DepthCell, DepthValue, AcceptData, VertText, ""},
    {9, "Speed", 47, true, [](const TEvent& e) { return HasData(e.speed); }, SpeedCell, SpeedValue, AcceptData, SpeedText, ""},
    {10, "Heading", 57, false, [](const TEvent& e) { return HasData(e.heading); }, HeadingCell, HeadingValue, AcceptData, HeadingText, ""},
    {11, "WindSpd", 70, true, [](const TEvent& e) { return HasData(e.windspeed); }, WindSpdCell, WindSpdValue, AcceptData, SpeedText, ""},
    {12, "WaterSpd", 70, true, [](const TEvent& e) { return HasData(e.waterspeed); }, WaterSpdCell, WaterSpdValue, AcceptData, SpeedText, ""},
    {13, "R of Turn", 72, true, [](const TEvent& e) { return HasData(e.rot); }, RofTurnCell, RofTurnValue, AcceptData, RotText, ""},
    {14, "Proprietary", 150, true, [](const TEvent& e) { return !e.proprietary.empty(); }, ProprietaryCell, ProprietaryValue, AcceptNone, InvalidRange, ""},
    {15, "LonglWSpd", 70, true, [](const TEvent& e) { return HasData(e.longlspd); }, LonglWSpdCell, LonglWSpdValue, AcceptData, SpeedText, ""},
    {16, "TransWSpd", 70, true, [](const TEvent& e) { return HasData(e.transspd); }, TransWSpdCell, TransWSpdValue, AcceptData, SpeedText, ""},
    {17, "V M G", 70, true, [](const TEvent& e) { return HasData(e.vmg); }, VMGCell, VMGValue, AcceptData, SpeedText, ""},
    {18, "Ant.Altitude", 70, true, [](const TEvent& e) { return HasData(e.antalt); }, AntAltitudeCell, AntAltitudeValue, AcceptData, VertText, ""},
    {19, "Alarms", 150, true, [](const TEvent& e) { return !e.bwalarm.empty(); }, AlarmsCell, AlarmsValue, AcceptData, AlarmsRange, ""},
    {20, "HDOP", 45, true, [](const TEvent& e) { return HasData(e.hdop); }, HDOPCell, HDOPValue, AcceptData, HdopText, ""},
    {21, "S.Rudder", 70, true, [](const TEvent& e) { return HasData(e.rudders); }, SRudderCell, SRudderValue, AcceptData, AngleText, ""},
    {22, "P.Rudder", 70, true, [](const TEvent& e) { return HasData(e.rudderp); }, PRudderCell, PRudderValue, AcceptData, AngleText, ""},
}};

void TFieldCatalogue::Reset() {
    for (int i = 0; i < kEventFieldCount; ++i) {
        const Tfielddef& d = eventfields[static_cast<std::size_t>(i)];
        TFieldState& f = fields[static_cast<std::size_t>(i)];
        f = TFieldState{};
        f.vis = d.vis;
        f.ordr = d.uid;
        // Selected exactly when shown: Depth and Heading start hidden and so unselected, as the
        // options dialog ticks them and the settings file stores them.
        f.kind = d.vis ? 1 : 0;
        f.wdth = d.wdth;
        f.head = std::string(d.head);
        fieldorder[static_cast<std::size_t>(i)] = i;
    }
    shownfields.clear();
}

void TFieldCatalogue::ClearDataval() {
    for (auto& f : fields) f.dataval = false;
}

void TFieldCatalogue::MarkData(const TEvent& e) {
    for (std::size_t i = 0; i < eventfields.size(); ++i)
        if (eventfields[i].hasdata && !fields[i].dataval && eventfields[i].hasdata(e)) fields[i].dataval = true;
}

void TFieldCatalogue::RebuildShown(bool ignorevdr) {
    shownfields.clear();
    for (int n : fieldorder) {
        if (n < 0 || n >= kEventFieldCount) continue;
        if (!fields[static_cast<std::size_t>(n)].vis) continue;
        if (ignorevdr && (n == fVDRDate || n == fVDRTime || n == fOffset)) continue;
        shownfields.push_back(n);
    }
}

void TFieldCatalogue::ShowValid() {
    for (std::size_t i = 1; i < fields.size(); ++i) {
        fields[i].vis = fields[i].dataval;
        fields[i].kind = fields[i].dataval ? 1 : 0;
    }
}

}  // namespace brenvik
