#include "model/geodesy.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace brenvik {
namespace {

constexpr double kPi = std::numbers::pi;

}  // namespace

double Atan2(double x, double y) {
    if (std::fabs(x) >= std::fabs(y)) {
        if (x == 0) return 0;
        double r = std::atan(y / x);
        if (x < 0) r = y > 0 ? r + kPi : r - kPi;
        return r;
    }
    return y >= 0 ? kPi / 2 - std::atan(x / y) : -(std::atan(x / y) + kPi / 2);
}

TDstBrg DistBearing(TCoord a, TCoord b) {
    const double delta = b.lng - a.lng;
    const double c = std::cos(delta) * std::cos(a.lat) * std::cos(b.lat) + std::sin(a.lat) * std::sin(b.lat);
    double u = 0;
    if (c <= 0.999999999999999) {
        u = Atan2(c, std::sqrt(std::max(0.0, 1 - c * c)));  // the central angle
        if (!std::isfinite(u)) u = 0;
    }
    TDstBrg r;
    r.dst = std::fabs(kEarthRadius * u);
    if (u == 0) {
        r.brg = 0;
    } else if (std::cos(a.lat) < 1e-8) {  // a at a pole
        r.brg = a.lat > 0 ? kPi : 0;
    } else {
        const double bb = std::sin(u) * std::cos(a.lat);
        if (std::fabs(bb) < 1e-8) {
            r.brg = kPi / 2;
        } else {
            const double dd = (std::sin(b.lat) - std::sin(a.lat) * std::cos(u)) / bb;
            if (dd >= 1 || dd <= -1) {
                r.brg = Atan2(a.lat - b.lat, (a.lng - b.lng) / std::cos(a.lat)) + kPi;
            } else {
                r.brg = Atan2(dd, std::sqrt(1 - dd * dd));  // arc cosine of dd
                if (delta < 0) r.brg = 2 * kPi - r.brg;
            }
            if (!std::isfinite(r.brg)) r.brg = kPi / 2;
        }
    }
    return r;
}

double Distance(TCoord a, TCoord b) { return DistBearing(a, b).dst; }

}  // namespace brenvik
