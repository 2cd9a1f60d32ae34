#pragma once
// The value texts every grid, report and writer shows, in the display units and formats.
#include <cstdint>
#include <string>
#include <string_view>

#include "model/eventobj.h"
#include "model/strutil.h"
#include "model/units.h"
#include "present/format.h"

namespace brenvik {

// Shown instead of any value outside -1e24..1e24 (or not a number).
constexpr std::string_view invalidmark = "  ***";

std::string SpeedText(const TFormat& f, double mps);       // "%6.2f" in hunits
std::string VertText(const TFormat& f, double metres);     // "%6.2f" in vunits
std::string DistText(const TFormat& f, double metres);     // "%8.2f" in hunits
std::string HeadingText(const TFormat& f, double degrees); // "%8.2f", turns removed unless rotations
// The heading HeadingText shows: whole turns removed unless rotations (a valid value).
double ShownHeading(const TFormat& f, double degrees);
std::string AngleText(const TFormat& f, double degrees);   // "%8.2f"
std::string RotText(const TFormat& f, double v);           // "%6.2f"
std::string HdopText(const TFormat& f, double v);          // "%4.1f" padded to 5
std::string OffsetText(const TFormat& f, double days);     // whole seconds less whole days, width 6
std::string DateText(const TFormat& f, TDateTime v);       // by dateformat
std::string TimeText(const TFormat& f, TDateTime v);       // "HH:nn:ss", or seconds from firstdts
std::string CoordText(const TFormat& f, bool longitude, double degrees);  // by coordformat
std::string LatLonPair(const TFormat& f, double lat, double lng);         // "00.000000 000.000000"
std::string_view DistUnit(char hunits);                    // km, nm, m
std::string_view SpeedUnit(char hunits);                   // k/h, knt, m/s

// Fixed notation ("%*.*f") with the platform's decimal separator.
std::string FixedText(const TFormat& f, double v, int width, int decimals);
// Picture masks such as "00.000000", "000", "####0.000000": rounded to the mask's decimals
// (nearest, ties away from zero), no minus sign on a result that rounds to zero.
std::string PictureText(const TFormat& f, double v, std::string_view mask);
// Date-time masks: dd mm yyyy HH nn ss; ":" becomes the locale's time separator.
std::string DateTimeText(const TFormat& f, TDateTime v, std::string_view mask);

}  // namespace brenvik
