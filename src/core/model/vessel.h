#pragma once
// One vessel heard on AIS: what its reports said last.
#include <cstdint>
#include <string>

#include "model/eventobj.h"

namespace brenvik {

struct TVehicle {
    TVehicle* next = nullptr;
    TVehicle* prev = nullptr;
    TCoord coord;
    TDstBrg dstbrg{novalue, novalue};
    TDateTime dts = 0;
    double cltime = novalue;
    double cldist = novalue;
    double clspd = -1.0;
    float sog = 1e25f;
    float cog = 1e25f;
    float draught = -1e25f;  // metres; below -1e24: no data
    std::int32_t ix = -1;
    std::int32_t symb = 0;
    std::int32_t lastrec = 0;
    std::uint16_t length = 65535;  // no data
    std::uint16_t width = 65535;   // no data
    std::string ctry = "none";
    std::string id;  // MMSI text, at least 9 digits; set through TVhcls::SetId
    std::string name;
    std::string comment;
    std::string call;
    std::string dest;
    std::string eta;
    char atr = 0;
    char color = static_cast<char>(255);
    std::int16_t rot = -128;
    std::uint8_t dopt = 1;
    std::uint8_t mapo = 3;
    char checkit = 0;
    char chardd = 0;
    std::uint8_t vtype = 255;  // no data
    std::uint8_t status = 255;
    bool valpos = false;
    bool me = false;  // latest decoded sentence was a VDO
};

}  // namespace brenvik
