#pragma once
// What a grid heading's tooltip says: the field's name, its unit in the current settings and
// what it holds, in one line ("Speed (kn): speed over ground, from RMC or VTG").
#include <string>
#include <string_view>

#include "present/format.h"

namespace brenvik {

// Field numbers as in the event catalogue; name is the heading the grid shows.
std::string EventFieldTip(int field, std::string_view name, const TFormat& f);
// Columns of the AIS grid, 0 to 12.
std::string AisFieldTip(int column, const TFormat& f);

}  // namespace brenvik
