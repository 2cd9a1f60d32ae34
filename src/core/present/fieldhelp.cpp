#include "present/fieldhelp.h"

#include "present/aiscolumns.h"
#include "present/fieldcat.h"

namespace brenvik {
namespace {

enum class Unit { None, Speed, Vert, Degrees, Heading, Course, Coord, Date, Time, Seconds, Line, Turn };

struct Tip {
    Unit unit;
    std::string_view meaning;
};

// By event field number.
constexpr Tip eventtips[kEventFieldCount] = {
    {Unit::Line, "line of the log whose sentence cut the event"},
    {Unit::Date, "date of the recorder's time prefix"},
    {Unit::Time, "time of the recorder's time prefix"},
    {Unit::Seconds, "seconds between the recorder time and the sentence time"},
    {Unit::Date, "date of the event (UTC, from the position and time sentences)"},
    {Unit::Time, "time of the event (UTC, from the position and time sentences)"},
    {Unit::Coord, "latitude of the event"},
    {Unit::Coord, "longitude of the event"},
    {Unit::Vert, "depth below the transducer, from DPT"},
    {Unit::Speed, "speed over ground, from RMC or VTG"},
    {Unit::Heading, "true heading, from HDT"},
    {Unit::Speed, "wind speed, from MWV"},
    {Unit::Speed, "speed through the water, from VHW"},
    {Unit::Turn, "rate of turn, from ROT (negative: to port)"},
    {Unit::None, "proprietary sentences ($PFEC) of the event"},
    {Unit::Speed, "longitudinal speed through the water, from VBW"},
    {Unit::Speed, "transverse speed through the water, from VBW"},
    {Unit::Speed, "velocity made good"},
    {Unit::Vert, "antenna altitude above mean sea level, from GGA"},
    {Unit::None, "alarm stage and alarm texts, from ALR"},
    {Unit::None, "horizontal dilution of precision, from GGA or GSA"},
    {Unit::Degrees, "starboard (or single) rudder angle, from RSA"},
    {Unit::Degrees, "port rudder angle, from RSA"},
};

// By AIS grid column.
constexpr Tip aistips[kAisFieldCount] = {
    {Unit::Line, "line of the log that completed the AIS message"},
    {Unit::None, "AIS message type"},
    {Unit::None, "the sender's maritime mobile service identity"},
    {Unit::None, "navigational status of a position report, ship type of static data"},
    {Unit::Date, "date sent by a base station (types 4 and 11)"},
    {Unit::Time, "time of a base station; of a position report only its second (empty: not available)"},
    {Unit::Coord, "latitude sent"},
    {Unit::Coord, "longitude sent"},
    {Unit::Speed, "speed over ground"},
    {Unit::Course, "course over ground"},
    {Unit::Heading, "true heading as sent (511: not available)"},
    {Unit::None, "rate-of-turn indicator as sent, -128 to 127 (not degrees per minute)"},
    {Unit::None, "name, ETA and destination, aid name, or static data part"},
};

std::string UnitText(Unit u, const TFormat& f) {
    switch (u) {
        case Unit::None: return {};
        case Unit::Speed: return f.parms.hunits == 'K' ? "km/h" : f.parms.hunits == 'N' ? "kn" : "m/s";
        case Unit::Vert: return f.parms.vunits == 'F' ? "ft" : f.parms.vunits == 'T' ? "fathoms" : "m";
        case Unit::Degrees: return "degrees";
        // Headings lose their whole turns unless rotations are shown.
        case Unit::Heading: return f.rotations ? "degrees true, turns counted" : "degrees true";
        case Unit::Course: return "degrees true";
        case Unit::Turn: return "degrees per minute";
        case Unit::Seconds: return "s";
        case Unit::Line: return "line number";
        case Unit::Coord:
            switch (f.coordformat) {
                case 'M': return "degrees and minutes";
                case 'S': return "degrees, minutes and seconds";
                case 'N': return "NMEA degrees and minutes";
                default: return "degrees";
            }
        case Unit::Date:
            switch (f.dateformat) {
                case 'M': return "month/day/year";
                case 'Y': return "year/month/day";
                case 'N': return "day number";
                default: return "day/month/year";
            }
        case Unit::Time: return f.dateformat == 'N' ? "seconds from the first event" : "hh:mm:ss";
    }
    return {};
}

std::string TipText(std::string_view name, const Tip& t, const TFormat& f) {
    std::string text(name);
    const std::string unit = UnitText(t.unit, f);
    if (!unit.empty()) text += " (" + unit + ")";
    text += ": ";
    text += t.meaning;
    return text;
}

}  // namespace

std::string EventFieldTip(int field, std::string_view name, const TFormat& f) {
    if (field < 0 || field >= kEventFieldCount) return std::string(name);
    return TipText(name, eventtips[field], f);
}

std::string AisFieldTip(int column, const TFormat& f) {
    if (column < 0 || column >= kAisFieldCount) return {};
    return TipText(aisfields[static_cast<std::size_t>(column)].head, aistips[column], f);
}

}  // namespace brenvik
