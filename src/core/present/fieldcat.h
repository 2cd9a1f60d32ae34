#pragma once
// The catalogue of the 23 event fields: what never changes (eventfields) and what the
// settings, the loader and the options change (TFieldCatalogue).
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/eventobj.h"
#include "present/format.h"

namespace brenvik {

constexpr int kEventFieldCount = 23;

// Field numbers, for the few places that name a field (the loader's Offset rule).
enum FieldNo : int {
    fSource = 0, fVDRDate, fVDRTime, fOffset, fDate, fTime, fLatitude, fLongitude, fDepth,
    fSpeed, fHeading, fWindSpd, fWaterSpd, fRofTurn, fProprietary, fLonglWSpd, fTransWSpd,
    fVMG, fAntAltitude, fAlarms, fHDOP, fSRudder, fPRudder
};

struct Tfielddef {
    std::uint16_t uid;
    std::string_view head;  // initial heading
    int wdth;               // initial width in pixels
    bool vis;               // initially shown
    // Whether a committed event holds data for this field; nullptr: never set at commit.
    bool (*hasdata)(const TEvent&);
    // Cell text, value, the values the range accepts, and the text of a range value.
    std::string (*asstring)(const TEvent&, const TFormat&);
    double (*asvalue)(const TEvent&);
    bool (*accepts)(double);
    std::string (*rangetext)(const TFormat&, double);
    // The data grid's heading-row text when it differs from the heading; empty: the heading.
    std::string_view gridhead;
};

extern const std::array<Tfielddef, kEventFieldCount> eventfields;

struct Trange {
    double max = 0;
    double min = 0;
};

// The live state of one field.
struct TFieldState {
    bool vis = true;
    std::uint16_t ordr = 0;
    std::uint8_t kind = 1;  // 1 selected, 0 not selected, 2+ not offered
    std::int32_t wdth = 0;
    std::string head;
    Trange range;
    bool mmvalid = false;
    bool dataval = false;
};

class TFieldCatalogue {
public:
    TFieldCatalogue() { Reset(); }

    std::array<TFieldState, kEventFieldCount> fields;
    std::array<int, kEventFieldCount> fieldorder{};  // display order; position 0 is the fixed column
    std::vector<int> shownfields;                     // the data grid's columns, left to right

    // Every field at its initial values, the order 0 to 22.
    void Reset();
    void ClearDataval();
    // Sets dataval for every field the committed event holds data for.
    void MarkData(const TEvent& e);
    // shownfields from fieldorder: visible fields, without the VDR fields while ignorevdr is on.
    void RebuildShown(bool ignorevdr);
    // After a load with autoshowvalid: fields 1 to 22 shown exactly when they received data.
    void ShowValid();
};

}  // namespace brenvik
