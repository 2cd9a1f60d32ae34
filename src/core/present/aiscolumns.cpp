#include "present/aiscolumns.h"

#include "model/strutil.h"
#include "present/valuetext.h"

namespace brenvik {
namespace {

// Ship types by tens digit (0 to 8; 9 and above share the last row) and units digit.
constexpr std::string_view shiptypes[10][10] = {
    {"Reserved", "Reserved", "Reserved", "Reserved", "Reserved", "Reserved", "Reserved", "Reserved", "Reserved",
     "Reserved"},
    {"Reserved", "Reserved", "Reserved", "Reserved", "Reserved", "Reserved", "Reserved", "Reserved", "Reserved",
     "Reserved"},
    {"Wing In Ground", "Wing In Ground (cat A)", "Wing In Ground (cat B)", "Wing In Ground (cat C)",
     "Wing In Ground (cat D)", "Reserved", "Reserved", "Reserved", "Reserved", "Reserved"},
    {"Fishing", "Towing", "Towing (large)", "Dredger", "Dive Vessel", "Military Ops", "Sailing", "Pleasure Craft",
     "Reserved", "Reserved"},
    {"Hi Speed Craft", "Hi Speed Craft (cat A)", "Hi Speed Craft (cat B)", "Hi Speed Craft (cat C)",
     "Hi Speed Craft (cat D)", "Reserved", "Reserved", "Reserved", "Reserved", "Hi Speed Craft"},
    {"Pilot Vessel", "Search & Rescue", "Tug", "Port Tender", "Anti-polution", "Law enforcement", "Local Vessel",
     "Local Vessel", "Medical Transport", "Special craft"},
    {"Passenger", "Passenger (cat A)", "Passenger (cat B)", "Passenger (cat C)", "Passenger (cat D)", "Reserved",
     "Reserved", "Reserved", "Reserved", "Passenger"},
    {"Cargo", "Cargo (cat A)", "Cargo (cat B)", "Cargo (cat C)", "Cargo (cat D)", "Reserved", "Reserved",
     "Reserved", "Reserved", "Cargo"},
    {"Tanker", "Tanker (cat A)", "Tanker (cat B)", "Tanker (cat C)", "Tanker (cat D)", "Reserved", "Reserved",
     "Reserved", "Reserved", "Tanker"},
    {"Other", "Other (cat A)", "Other (cat B)", "Other (cat C)", "Other (cat D)", "Reserved", "Reserved", "Reserved",
     "Reserved", "Other"},
};

constexpr std::string_view navstates[16] = {
    "Under Way (eng)", "At anchor", "Not under command", "Res. Manoeuverabilty", "Constrained by draught",
    "Moored", "Aground", "Fishing", "Under Way (sail)", "Reserved (HSC)", "Reserved (WIG)", "", "", "",
    "AIS-SART active", "Not defined",
};

constexpr std::string_view msgtypes[28] = {
    "unknown",          "Pos.Rpt.",         "Pos.Rpt.(A.schd)", "Pos.Rpt.(Rsp.It)", "Base Stn.Rprt.",
    "Static/Voyage",    "Bin.Addrsd.Msg.",  "Bin.Acknowledge",  "Bin.Brdcst.Msg",   "SAR Air Pos.Rpt.",
    "UTC-Date Inquiry", "UTC DateResponse", "Addr.Safety Msg.", "Safety Acknlge.",  "Safety Brdcst",
    "Interogation",     "Assgnd Mode Cmd.", "DGNSS Bin.Brdcst", "ClsB CS Pos.Rpt.", "Ext.BEqu.Pos.Rpt",
    "Data Link Mgmt",   "Aid to Nav.Rpt.",  "Channel Mgmt",     "Grp.Assgnmt.Cmd.", "Static Data Rpt.",
    "Sgl.Slt.Bin.Msg.", "Mult.Slt.Bin.Msg", "Pos.Rpt.Lng.Rng.",
};

std::string Source(const TaisEvent& e, const TFormat&) { return PadLeft(std::to_string(e.srcnumb), 8); }
std::string MsgType(const TaisEvent& e, const TFormat&) { return std::string(MsgTypeName(e.msgtype)); }
std::string Mmsi(const TaisEvent& e, const TFormat&) { return MmsiText(e.id); }
std::string Status(const TaisEvent& e, const TFormat&) {
    return std::string(e.msgtype == 5 ? ShipTypeName(e.status) : NavStatusName(e.status));
}
std::string Date(const TaisEvent& e, const TFormat& f) { return e.utcdate > 0 ? DateText(f, e.utcdate) : std::string(); }
std::string Time(const TaisEvent& e, const TFormat& f) {
    return AisTimeKnown(e) ? TimeText(f, e.utcsecs / 86400.0) : std::string();
}
std::string Latitude(const TaisEvent& e, const TFormat& f) {
    return e.coord.lat <= 1e24 ? CoordText(f, false, e.coord.lat) : std::string(invalidmark);
}
std::string Longitude(const TaisEvent& e, const TFormat& f) {
    return e.coord.lng <= 1e24 ? CoordText(f, true, e.coord.lng) : std::string(invalidmark);
}
std::string Sog(const TaisEvent& e, const TFormat& f) { return SpeedText(f, e.sog); }
std::string Cog(const TaisEvent& e, const TFormat& f) { return AngleText(f, e.cog); }
std::string Heading(const TaisEvent& e, const TFormat& f) {
    return e.heading <= 1e24 ? HeadingText(f, e.heading) : std::string(invalidmark);
}
std::string Rot(const TaisEvent& e, const TFormat& f) { return RotText(f, e.rot); }
std::string Message(const TaisEvent& e, const TFormat&) { return e.messg; }

}  // namespace

bool AisTimeKnown(const TaisEvent& e) {
    if (e.utcsecs < 0) return false;
    // Types 4 and 11 carry the seconds of the day; every other type a time stamp, whose 60
    // means not available and 61 to 63 manual input, dead reckoning and an inoperative system.
    return e.msgtype == 4 || e.msgtype == 11 || e.utcsecs < 60;
}

std::string_view ShipTypeName(std::uint8_t code) {
    const std::size_t tens = code / 10u;
    return shiptypes[tens < 9 ? tens : 9][code % 10u];
}

std::string_view NavStatusName(std::int32_t status) {
    return status >= 0 && status < 16 ? navstates[status] : std::string_view{};
}

std::string_view MsgTypeName(std::int32_t msgtype) {
    return msgtype >= 0 && msgtype < 28 ? msgtypes[msgtype] : std::string_view("unknown");
}

constexpr std::array<aisgrid::Tfielddef, kAisFieldCount> aisfields{{
    {70, "Source#", Source, [](const TaisEvent& e) -> double { return e.srcnumb; }},
    {90, "MsgType", MsgType, [](const TaisEvent& e) -> double { return e.msgtype; }},
    {70, "MMSI", Mmsi, [](const TaisEvent& e) -> double { return e.id; }},
    {120, "Status/Vessel Type", Status, [](const TaisEvent& e) -> double { return e.status; }},
    {68, "UTCDate", Date, [](const TaisEvent& e) -> double { return e.utcdate; }},
    {68, "UTCTime", Time, [](const TaisEvent& e) -> double { return e.utcsecs; }},
    {75, "Latitude", Latitude, [](const TaisEvent& e) { return e.coord.lat; }},
    {84, "Longitude", Longitude, [](const TaisEvent& e) { return e.coord.lng; }},
    {70, "SOG", Sog, [](const TaisEvent& e) { return e.sog; }},
    {70, "COG", Cog, [](const TaisEvent& e) { return e.cog; }},
    {60, "Heading", Heading, [](const TaisEvent& e) { return e.heading; }},
    {72, "R of Turn", Rot, [](const TaisEvent& e) { return e.rot; }},
    {250, "Message/Comment", Message, [](const TaisEvent&) { return 0.0; }},
}};

}  // namespace brenvik
