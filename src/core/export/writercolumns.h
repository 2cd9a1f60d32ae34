#pragma once
// What the event writers share: the columns they export and how a cell text is obtained.
#include <algorithm>
#include <string>
#include <vector>

#include "present/fieldcat.h"

namespace brenvik {

// The columns written: the first n field numbers of the list, never more than it holds.
inline int ColumnCount(int n, const std::vector<int>& fields) {
    return std::clamp(n, 0, static_cast<int>(fields.size()));
}

// The cell text of a field, through the catalogue; empty for a field number it does not know.
inline std::string CellText(const TEvent& e, const TFormat& f, int field) {
    if (field < 0 || field >= kEventFieldCount) return {};
    const auto& def = eventfields[static_cast<std::size_t>(field)];
    return def.asstring ? def.asstring(e, f) : std::string();
}

// The free texts (proprietary sentences, alarms) are written in double quotes.
inline bool IsQuotedText(int field) { return field == fProprietary || field == fAlarms; }

}  // namespace brenvik
