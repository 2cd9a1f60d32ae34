#pragma once
// The vessels' tracks as the GPS text and KML writers draw them: which reports have a usable
// position, and each vessel's reports found by MMSI.
#include <cstdint>
#include <span>
#include <vector>

#include "model/aisreport.h"

namespace brenvik {

// A report whose position can be drawn: the decoder found it usable and it lies on the globe.
bool PositionValid(const TaisEvent& r);

// Positions in the report list grouped by MMSI, each group in list order, so that every
// vessel's reports are found without walking the whole list once per vessel.
class TReportsById {
public:
    explicit TReportsById(const TaisEvents& reports);
    std::span<const std::int32_t> Of(std::int32_t id) const;

private:
    const TaisEvents& FReports;
    std::vector<std::int32_t> FOrder;
};

// The position reports that make up a vessel's track: class A (types 1 to 3), SAR aircraft (9),
// class B (18, 19) and long-range (27).
inline bool IsPositionReport(const TaisEvent& r) {
    const std::int32_t t = r.msgtype;
    return (t >= 1 && t <= 3) || t == 9 || t == 18 || t == 19 || t == 27;
}

}  // namespace brenvik
