#include "present/valuetext.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "model/datetime.h"
#include "model/strutil.h"
#include "model/units.h"

namespace brenvik {
namespace {

// Nearest integer, halves to the even neighbour, as a whole number without a minus zero.
long long RoundEven(double v) { return static_cast<long long>(std::nearbyint(v)); }

std::string WithDecSep(std::string s, char decsep) {
    if (decsep != '.')
        for (char& c : s)
            if (c == '.') c = decsep;
    return s;
}

// Decimal text of |v| rounded to `decimals` places, nearest, ties away from zero; the minus
// sign is left to the caller. to_chars rounds the exact binary value correctly, so only an
// exact tie needs our own rule: v * 10^d = k + 1/2 exactly means v * 2^(d+1) is an odd
// integer, and then the text with d + 1 decimals is exact and ends in the digit 5.
std::string RoundedMagnitude(double v, int decimals) {
    const double a = std::fabs(v);
    const double scaled = std::ldexp(a, decimals + 1);
    const bool tie = std::floor(scaled) == scaled && std::fmod(scaled, 2.0) == 1.0;
    if (!tie) return FixedNumber(a, 0, decimals);
    std::string s = FixedNumber(a, 0, decimals + 1);
    s.pop_back();  // the final 5
    if (!s.empty() && s.back() == '.') s.pop_back();
    // Add one unit in the last place, carrying through nines.
    int i = static_cast<int>(s.size()) - 1;
    for (; i >= 0; --i) {
        char& c = s[static_cast<std::size_t>(i)];
        if (c == '.') continue;
        if (c != '9') {
            ++c;
            break;
        }
        c = '0';
    }
    if (i < 0) s.insert(s.begin(), '1');
    return s;
}

// Date-time mask tokens; every other character is literal, ":" the time separator.
struct MaskToken {
    std::string_view text;
    int width;
    int TDateParts::*part;
};
constexpr MaskToken kMaskTokens[] = {
    {"yyyy", 4, &TDateParts::year}, {"dd", 2, &TDateParts::day},    {"mm", 2, &TDateParts::month},
    {"nn", 2, &TDateParts::minute}, {"HH", 2, &TDateParts::hour},   {"ss", 2, &TDateParts::second},
};

}  // namespace

std::string FixedText(const TFormat& f, double v, int width, int decimals) {
    return WithDecSep(FixedNumber(v, width, decimals), f.decsep);
}

std::string SpeedText(const TFormat& f, double mps) {
    if (!IsValid(mps)) return std::string(invalidmark);
    return FixedText(f, FromMps(f.parms.hunits, mps), 6, 2);
}

std::string VertText(const TFormat& f, double metres) {
    if (!IsValid(metres)) return std::string(invalidmark);
    return FixedText(f, FromMetresVert(f.parms.vunits, metres), 6, 2);
}

std::string DistText(const TFormat& f, double metres) {
    if (!IsValid(metres)) return std::string(invalidmark);
    return FixedText(f, FromMetres(f.parms.hunits, metres), 8, 2);
}

double ShownHeading(const TFormat& f, double degrees) {
    double v = degrees;
    if (!f.rotations) {
        // Unwrapped headings, negative ones too, are brought into 0..360; fmod is exact.
        v = std::fmod(v, 360.0);
        if (v < 0) v += 360.0;
        if (v >= 360.0) v -= 360.0;  // a tiny negative value that rounded up to 360
        v += 0.0;                    // no minus zero
    }
    return v;
}

std::string HeadingText(const TFormat& f, double degrees) {
    if (!IsValid(degrees)) return std::string(invalidmark);
    return FixedText(f, ShownHeading(f, degrees), 8, 2);
}

std::string AngleText(const TFormat& f, double degrees) {
    if (!IsValid(degrees)) return std::string(invalidmark);
    return FixedText(f, degrees, 8, 2);
}

std::string RotText(const TFormat& f, double v) {
    if (!IsValid(v)) return std::string(invalidmark);
    return FixedText(f, v, 6, 2);
}

std::string HdopText(const TFormat& f, double v) {
    if (!IsValid(v)) return std::string(invalidmark);
    return PadLeft(FixedText(f, v, 4, 1), 5);
}

std::string OffsetText(const TFormat&, double days) {
    if (!IsValid(days)) return std::string(invalidmark);
    const double rest = days - std::nearbyint(days);
    return PadLeft(std::to_string(RoundEven(rest * 86400.0)), 6);
}

std::string DateText(const TFormat& f, TDateTime v) {
    switch (f.dateformat) {
        case 'D': return DateTimeText(f, v, "dd-mm-yyyy");
        case 'M': return DateTimeText(f, v, "mm-dd-yyyy");
        case 'Y': return DateTimeText(f, v, "yyyy-mm-dd");
        default: break;
    }
    if (!DecodeDateTime(v)) return std::string(invalidmark);
    return PictureText(f, v, "####0.000000");
}

std::string TimeText(const TFormat& f, TDateTime v) {
    if (f.dateformat != 'N') return DateTimeText(f, v, "HH:nn:ss");
    if (!DecodeDateTime(v)) return std::string(invalidmark);
    // Seconds from the first event; the fraction keeps the sign of the difference.
    const double d = v - f.firstdts;
    if (!std::isfinite(d)) return std::string(invalidmark);
    return PadLeft(std::to_string(RoundEven((d - std::trunc(d)) * 86400.0)), 6);
}

std::string CoordText(const TFormat& f, bool longitude, double degrees) {
    if (!IsValid(degrees)) return std::string(invalidmark);
    if (f.coordformat == 'D') return PictureText(f, degrees, longitude ? "000.000000" : "00.000000");
    const bool negative = degrees < 0;
    const double a = std::fabs(degrees);
    double deg = std::trunc(a);
    double minutes = (a - deg) * 60;
    std::string minutepart;
    // The carries keep the masks from showing 60 minutes or 60 seconds.
    if (f.coordformat == 'S') {
        double whole = std::trunc(minutes);
        double seconds = (minutes - whole) * 60;
        if (seconds >= 59.995) {
            seconds = 0;
            whole += 1;
            if (whole >= 59.5) {
                whole = 0;
                deg += 1;
            }
        }
        minutepart = PictureText(f, whole, "00") + "'" + PictureText(f, seconds, "00.00") + "\"";
    } else {
        if (minutes >= 59.99995) {
            minutes = 0;
            deg += 1;
        }
        minutepart = PictureText(f, minutes, "00.0000");
        if (f.coordformat == 'M') minutepart += "'";
    }
    const std::string degpart = PictureText(f, deg, longitude ? "000" : "00");
    if (f.coordformat == 'N') {
        const char hemi = longitude ? (negative ? 'W' : 'E') : (negative ? 'S' : 'N');
        return degpart + minutepart + " " + hemi;
    }
    return (negative ? "-" : " ") + degpart + "\u00B0" + minutepart;
}

std::string LatLonPair(const TFormat& f, double lat, double lng) {
    return PictureText(f, lat, "00.000000") + " " + PictureText(f, lng, "000.000000");
}

std::string_view DistUnit(char hunits) {
    if (hunits == 'K') return "km";
    if (hunits == 'N') return "nm";
    return "m";
}

std::string_view SpeedUnit(char hunits) {
    if (hunits == 'K') return "k/h";
    if (hunits == 'N') return "knt";
    return "m/s";
}

std::string PictureText(const TFormat& f, double v, std::string_view mask) {
    if (!IsValid(v)) return std::string(invalidmark);
    const std::size_t point = mask.find('.');
    const std::string_view intmask = mask.substr(0, point);
    const std::string_view fracmask = point == std::string_view::npos ? std::string_view{} : mask.substr(point + 1);
    std::size_t mindigits = 0;  // "0" before the point: always written
    for (char c : intmask) mindigits += c == '0';
    int decimals = 0, forced = 0;  // "0" or "#" after the point; "0" always written
    for (char c : fracmask) {
        if (c == '0' || c == '#') ++decimals;
        if (c == '0') forced = decimals;
    }

    const std::string mag = RoundedMagnitude(v, decimals);
    const std::size_t dot = mag.find('.');
    std::string intpart = mag.substr(0, dot);
    std::string frac = dot == std::string::npos ? std::string{} : mag.substr(dot + 1);
    while (static_cast<int>(frac.size()) > forced && frac.back() == '0') frac.pop_back();
    const bool zero = intpart.find_first_not_of('0') == std::string::npos &&
                      frac.find_first_not_of('0') == std::string::npos;
    if (intpart == "0" && mindigits == 0) intpart.clear();
    if (intpart.size() < mindigits) intpart.insert(0, mindigits - intpart.size(), '0');

    std::string out;
    if (v < 0 && !zero) out += '-';
    out += intpart;
    if (!frac.empty()) {
        out += f.decsep;
        out += frac;
    }
    return out;
}

std::string DateTimeText(const TFormat& f, TDateTime v, std::string_view mask) {
    const auto p = DecodeDateTime(v);
    if (!p) return std::string(invalidmark);
    std::string out;
    std::size_t i = 0;
    while (i < mask.size()) {
        const MaskToken* hit = nullptr;
        for (const auto& t : kMaskTokens)
            if (mask.substr(i, t.text.size()) == t.text) {
                hit = &t;
                break;
            }
        if (hit) {
            out += Fmt("%0*d", hit->width, (*p).*(hit->part));
            i += hit->text.size();
            continue;
        }
        out += mask[i] == ':' ? f.timesep : mask[i];
        ++i;
    }
    return out;
}

}  // namespace brenvik
