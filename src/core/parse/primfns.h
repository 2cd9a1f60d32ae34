#pragma once
// Field primitives: NMEA times, dates and coordinates.
#include <optional>
#include <string_view>

#include "model/eventobj.h"
#include "parse/fields.h"

namespace brenvik {

class Session;

std::optional<double> TimeOfDay(std::string_view text);
TDateTime TimeWithDate(Session& s, std::string_view text, TDateTime ref);
std::optional<TDateTime> DateDMY(Session& s, std::string_view text);
TDateTime DateWithTime(Session& s, std::string_view text, TDateTime ref);
double ParseCoord(std::string_view hemisphere, std::string_view text);  // ConvertError on failure
double CoordField(const Fields& f, std::size_t i);
TCoord ReadPosition(const Fields& f, std::size_t i);
std::int32_t IntOrZero(std::string_view text);                          // ConvertError on failure
std::optional<std::int32_t> DateYMD(std::string_view text);

}  // namespace brenvik
