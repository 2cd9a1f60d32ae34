#include "model/units.h"

namespace brenvik {
namespace {

// The decimal constants of the speed units, as written (not 1/3.6 or 1852/3600).
constexpr double kKmhToMps = 0.27777777778;
constexpr double kKnotToMps = 0.51444444444;
constexpr double kMetresPerNm = 1852;
constexpr double kMetresPerFoot = 0.3048;
constexpr double kMetresPerFathom = 1.8288;

}  // namespace

double ToMps(char unit, double v) {
    if (unit == 'K') return v * kKmhToMps;
    if (unit == 'N') return v * kKnotToMps;
    return v;
}

double FromMps(char unit, double v) {
    if (unit == 'K') return v / kKmhToMps;
    if (unit == 'N') return v / kKnotToMps;
    return v;
}

double ToMetres(char unit, double v) {
    if (unit == 'K') return v * 1000;
    if (unit == 'N') return v * kMetresPerNm;
    return v;
}

double FromMetres(char unit, double v) {
    if (unit == 'K') return v / 1000;
    if (unit == 'N') return v / kMetresPerNm;
    return v;
}

double FromMetresVert(char unit, double v) {
    if (unit == 'F') return v / kMetresPerFoot;
    if (unit == 'T') return v / kMetresPerFathom;
    return v;
}

}  // namespace brenvik
