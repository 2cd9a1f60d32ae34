#include "chart/projection.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

#include "model/units.h"
#include "present/format.h"
#include "present/valuetext.h"

namespace brenvik::chart {
namespace {

constexpr double kDeg = std::numbers::pi / 180;
constexpr double kMaxLat = 85.0;  // Mercator's y grows without bound at the poles

}  // namespace

double MercX(double lngdeg) { return kEarthRadius * lngdeg * kDeg; }
double MercY(double latdeg) {
    const double lat = std::clamp(latdeg, -kMaxLat, kMaxLat) * kDeg;
    return kEarthRadius * std::log(std::tan(std::numbers::pi / 4 + lat / 2));
}
double LatOfMercY(double y) { return (2 * std::atan(std::exp(y / kEarthRadius)) - std::numbers::pi / 2) / kDeg; }
double LngOfMercX(double x) { return x / kEarthRadius / kDeg; }

TMercatorView TMercatorView::Fit(const TGeoBox& box, int width, int height, int margin, double minspanmetres) {
    width = std::max(width, 1);
    height = std::max(height, 1);
    const double x0 = MercX(box.west), x1 = MercX(box.east);
    const double y0 = MercY(box.south), y1 = MercY(box.north);
    const double cy = (y0 + y1) / 2;
    // Mercator metres per ground metre at the centre latitude.
    const double stretch = 1 / std::cos(LatOfMercY(cy) * kDeg);
    const double minspan = minspanmetres * stretch;
    const double spanx = std::max(x1 - x0, minspan), spany = std::max(y1 - y0, minspan);
    const double usew = std::max(width - 2 * margin, 1), useh = std::max(height - 2 * margin, 1);
    const double k = std::min(usew / spanx, useh / spany);
    return TMercatorView((x0 + x1) / 2, cy, k, width, height);
}

double TMercatorView::MetresPerPixel() const { return std::cos(LatOfMercY(cy_) * kDeg) / k_; }

void TMercatorView::ZoomAbout(double factor, double sx, double sy) {
    const double mx = cx_ + (sx - w_ / 2.0) / k_;
    const double my = cy_ - (sy - h_ / 2.0) / k_;
    // Between a whole hemisphere and a few centimetres per pixel.
    k_ = std::clamp(k_ * factor, 1e-6, 50.0);
    cx_ = mx - (sx - w_ / 2.0) / k_;
    cy_ = my + (sy - h_ / 2.0) / k_;
}

void TMercatorView::Pan(double dx, double dy) {
    cx_ -= dx / k_;
    cy_ += dy / k_;
}

TGeoBox TMercatorView::Visible() const {
    TGeoBox b;
    b.west = LngAt(0);
    b.east = LngAt(w_);
    b.north = LatAt(0);
    b.south = LatAt(h_);
    return b;
}

double GraticuleStep(double spandeg, int maxlines, bool decimal) {
    static constexpr std::array<double, 21> steps = {
        1.0 / 3600, 2.0 / 3600, 5.0 / 3600, 10.0 / 3600, 15.0 / 3600, 30.0 / 3600,
        1.0 / 60,   2.0 / 60,   5.0 / 60,   10.0 / 60,   15.0 / 60,   30.0 / 60,
        1,          2,          5,          10,          15,          30,
        45,         90,         180};
    maxlines = std::max(maxlines, 1);
    if (decimal) {
        for (double p = 1e-5; p < 100; p *= 10)
            for (const double m : {1.0, 2.0, 5.0})
                if (spandeg / (m * p) <= maxlines) return m * p;
        return 90;
    }
    for (const double s : steps)
        if (spandeg / s <= maxlines) return s;
    return steps.back();
}

std::vector<double> GraticuleLines(double lo, double hi, double step) {
    std::vector<double> out;
    if (!(step > 0) || !(hi >= lo) || (hi - lo) / step > 10000) return out;
    // Whole multiples, rounded so that 59.99999 minutes do not become a line beside 1 degree.
    for (double n = std::ceil(lo / step - 1e-9); n * step <= hi + step * 1e-9; n += 1) out.push_back(n * step);
    return out;
}

TScaleBar ScaleBarStep(double metresperpixel, char hunits, double maxpixels) {
    TScaleBar bar;
    if (!(metresperpixel > 0) || !(maxpixels > 0)) return bar;
    // Display units per pixel.
    const double unitsperpx = FromMetres(hunits, metresperpixel);
    const double maxlen = unitsperpx * maxpixels;
    double p = std::pow(10.0, std::floor(std::log10(maxlen)));
    double len = p;
    for (const double m : {5.0, 2.0, 1.0}) {
        if (m * p <= maxlen * (1 + 1e-12)) {
            len = m * p;
            break;
        }
    }
    bar.length = len;
    bar.pixels = len / unitsperpx;
    // As many decimals as a length below one needs: 0.05 nm, 0.2 km.
    const int decimals = len >= 1 ? 0 : static_cast<int>(std::ceil(-std::log10(len) - 1e-9));
    TFormat f;
    std::string num = FixedText(f, len, 1, decimals);
    bar.label = num + " " + std::string(DistUnit(hunits));
    return bar;
}

char ResolutionForScale(double denominator) {
    if (denominator > 50e6) return 'c';
    if (denominator > 10e6) return 'l';
    if (denominator > 2e6) return 'i';
    if (denominator > 300e3) return 'h';
    return 'f';
}

}  // namespace brenvik::chart
