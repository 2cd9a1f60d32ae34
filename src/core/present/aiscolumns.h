#pragma once
// What the program says about AIS data in words: ship types, navigational states, message
// types, and the catalogue of the AIS grid's 13 columns.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "model/aisreport.h"
#include "present/format.h"

namespace brenvik {

// Whether a report's utcsecs is a time of day to show: a time stamp of 60 to 63 tells why there
// is none, and shows as an empty time like a report without one.
bool AisTimeKnown(const TaisEvent& e);

std::string_view ShipTypeName(std::uint8_t code);
std::string_view NavStatusName(std::int32_t status);
std::string_view MsgTypeName(std::int32_t msgtype);

namespace aisgrid {

// One column of the AIS grid (distinct from the event catalogue's record of the same name).
struct Tfielddef {
    std::int32_t wdth;      // pixels
    std::string_view head;  // heading
    std::string (*asstring)(const TaisEvent&, const TFormat&);
    double (*asvalue)(const TaisEvent&);
};

}  // namespace aisgrid

constexpr int kAisFieldCount = 13;
extern const std::array<aisgrid::Tfielddef, kAisFieldCount> aisfields;

}  // namespace brenvik
