#pragma once
// What the event writers share: the columns they export and how a cell text is obtained.
#include <cstdint>
#include <span>
#include <string>

#include "present/fieldcat.h"

namespace brenvik {

// The columns an event writer exports: field numbers, left to right.
using TColumns = std::span<const int>;

// The events written: positions first to last (0-based, inclusive), cut to the event list.
struct TEventRange {
    std::int32_t first = 0;
    std::int32_t last = -1;
};


// The cell text of a field, through the catalogue; empty for a field number it does not know.
inline std::string CellText(const TEvent& e, const TFormat& f, int field) {
    if (field < 0 || field >= kEventFieldCount) return {};
    const auto& def = eventfields[static_cast<std::size_t>(field)];
    return def.asstring ? def.asstring(e, f) : std::string();
}

// The free texts (proprietary sentences, alarms) are written in double quotes.
inline bool IsQuotedText(int field) { return field == fProprietary || field == fAlarms; }

}  // namespace brenvik
