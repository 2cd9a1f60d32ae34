#include "present/fieldcat.h"

namespace brenvik {
namespace {

bool HasCoord(const TEvent& e) { return e.coord.lat != 0 || e.coord.lng != 0; }

}  // namespace

// The text and value accessors are bound by the field-text unit.
const std::array<Tfielddef, kEventFieldCount> eventfields{{
    {0, "Source#", 75, true, nullptr, nullptr, nullptr, nullptr, nullptr},
    {1, "VDRDate", 70, true, [](const TEvent& e) { return e.vdrdts != 0; }, nullptr, nullptr, nullptr, nullptr},
    {2, "VDRTime", 68, true, [](const TEvent& e) { return e.vdrdts != 0; }, nullptr, nullptr, nullptr, nullptr},
    {3, "Offset", 50, true, nullptr, nullptr, nullptr, nullptr, nullptr},
    {4, "Date", 70, true, [](const TEvent& e) { return e.dts != 0; }, nullptr, nullptr, nullptr, nullptr},
    {5, "Time", 68, true, [](const TEvent& e) { return e.dts != 0; }, nullptr, nullptr, nullptr, nullptr},
    {6, "Latitude", 75, true, HasCoord, nullptr, nullptr, nullptr, nullptr},
    {7, "Longitude", 84, true, HasCoord, nullptr, nullptr, nullptr, nullptr},
    {8, "Depth", 50, false, [](const TEvent& e) { return HasData(e.depth); }, nullptr, nullptr, nullptr, nullptr},
    {9, "Speed", 47, true, [](const TEvent& e) { return HasData(e.speed); }, nullptr, nullptr, nullptr, nullptr},
    {10, "Heading", 57, false, [](const TEvent& e) { return HasData(e.heading); }, nullptr, nullptr, nullptr, nullptr},
    {11, "WindSpd", 70, true, [](const TEvent& e) { return HasData(e.windspeed); }, nullptr, nullptr, nullptr, nullptr},
    {12, "WaterSpd", 70, true, [](const TEvent& e) { return HasData(e.waterspeed); }, nullptr, nullptr, nullptr, nullptr},
    {13, "R of Turn", 72, true, [](const TEvent& e) { return HasData(e.rot); }, nullptr, nullptr, nullptr, nullptr},
    {14, "Proprietary", 150, true, [](const TEvent& e) { return !e.proprietary.empty(); }, nullptr, nullptr, nullptr, nullptr},
    {15, "LonglWSpd", 70, true, [](const TEvent& e) { return HasData(e.longlspd); }, nullptr, nullptr, nullptr, nullptr},
    {16, "TransWSpd", 70, true, [](const TEvent& e) { return HasData(e.transspd); }, nullptr, nullptr, nullptr, nullptr},
    {17, "V M G", 70, true, [](const TEvent& e) { return HasData(e.vmg); }, nullptr, nullptr, nullptr, nullptr},
    {18, "Ant.Altitude", 70, true, [](const TEvent& e) { return HasData(e.antalt); }, nullptr, nullptr, nullptr, nullptr},
    {19, "Alarms", 150, true, [](const TEvent& e) { return !e.bwalarm.empty(); }, nullptr, nullptr, nullptr, nullptr},
    {20, "HDOP", 45, true, [](const TEvent& e) { return HasData(e.hdop); }, nullptr, nullptr, nullptr, nullptr},
    {21, "S.Rudder", 70, true, [](const TEvent& e) { return HasData(e.rudders); }, nullptr, nullptr, nullptr, nullptr},
    {22, "P.Rudder", 70, true, [](const TEvent& e) { return HasData(e.rudderp); }, nullptr, nullptr, nullptr, nullptr},
}};

void TFieldCatalogue::Reset() {
    for (int i = 0; i < kEventFieldCount; ++i) {
        const Tfielddef& d = eventfields[static_cast<std::size_t>(i)];
        TFieldState& f = fields[static_cast<std::size_t>(i)];
        f = TFieldState{};
        f.vis = d.vis;
        f.ordr = d.uid;
        f.kind = 1;
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
