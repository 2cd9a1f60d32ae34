#pragma once
// Field primitives: NMEA times, dates and coordinates, and the number readers of the handlers.
#include <cstdint>
#include <optional>
#include <string_view>

#include "model/eventobj.h"
#include "model/sentencefields.h"
#include "model/strutil.h"

namespace brenvik {

class Session;

// At most n characters of text from the 0-based position pos; empty when pos is past the end.
constexpr std::string_view Copy(std::string_view text, std::size_t pos,
                                std::size_t n = std::string_view::npos) {
    return pos >= text.size() ? std::string_view{} : text.substr(pos, n);
}

// Whether text holds a decimal digit at each of the positions (all within the text): for the
// fixed layouts of times and recorder prefixes.
template <class... Pos>
bool DigitsAt(std::string_view text, Pos... pos) {
    return ((static_cast<unsigned>(text[static_cast<std::size_t>(pos)] - '0') <= 9) && ...);
}

// A number field: empty text is "no data" (nullopt); any other text must be a plain decimal,
// else ConvertError.
inline std::optional<double> Num(std::string_view text) {
    if (text.empty()) return std::nullopt;
    return ToDouble(text);
}
// The same for integer fields.
inline std::optional<std::int32_t> NumInt(std::string_view text) {
    if (text.empty()) return std::nullopt;
    return ToInt(text);
}

// Fraction of a day from hhmmss[.sss]; nullopt when a part does not convert.
std::optional<double> TimeOfDay(std::string_view text);
// A time of day placed on the date of ref; empty text gives the current UTC time.
TDateTime TimeWithDate(Session& s, std::string_view text, TDateTime ref);
// The date of ddmmyy or ddmmyyyy; nullopt when it is not a valid date.
std::optional<TDateTime> DateDMY(Session& s, std::string_view text);
// The date of ddmmyy with the time of day of ref; empty text gives the current UTC time.
TDateTime DateWithTime(Session& s, std::string_view text, TDateTime ref);
// Signed degrees from ddmm.mmmmm or dddmm.mmmmm; ConvertError when a part does not convert.
double ParseCoord(std::string_view hemisphere, std::string_view text);
// Field i as a coordinate with field i + 1 as hemisphere; an empty field gives 0.
double CoordField(const Fields& f, std::size_t i);
// Latitude, N/S, longitude, E/W from field i on.
TCoord ReadPosition(const Fields& f, std::size_t i);
// 0 for empty text, else the integer (ConvertError when it is not one).
std::int32_t IntOrZero(std::string_view text);
// The day number of "year sep month sep day [time]", rounded to the nearest day.
std::optional<std::int32_t> DateYMD(std::string_view text);

// Date and clock texts shared by the VDR prefixes and ZDA.
// Year, month and day as digit texts; a year of one or two digits lies in the 100-year window
// that starts 50 years before nowyear.
std::optional<TDateTime> DateFromParts(std::string_view year, std::string_view month,
                                       std::string_view day, int nowyear);
// hh:mm:ss with optional "." and milliseconds as a whole number.
std::optional<TDateTime> ClockTime(std::string_view text);

// The layout VTG and VHW share: 1 angle true, 2 "T", 3 angle magnetic, 4 "M", 5 speed in knots,
// 6 "N", 7 speed in km/h, 8 "K". The true angle and the km/h speed win when both are given; an
// empty number leaves its value, though the mode letter is still set. Not guarded: ConvertError.
void ReadAngleAndSpeed(const Fields& f, double& angle, char& mode, double& speed);

}  // namespace brenvik
