#pragma once
// The map's geometry: a Mercator projection whose scale is true at the view's centre latitude,
// the round steps of the graticule and of the scale bar, and the coastline resolution a scale
// calls for. Plain numbers in and out, so the map widget, the exports and the tests share them.
#include <string>
#include <vector>

namespace brenvik::chart {

constexpr double kEarthRadius = 6371000;  // mean radius, metres
// A screen pixel in metres (96 pixels per inch): turns metres per pixel into a map scale.
constexpr double kPixelMetres = 0.0254 / 96;

// Web-style Mercator on the sphere, in metres at the equator: x east, y north.
double MercX(double lngdeg);
double MercY(double latdeg);
double LatOfMercY(double y);
double LngOfMercX(double x);

struct TGeoBox {
    double south = 0, north = 0, west = 0, east = 0;  // degrees; west <= east, may pass 180
    bool Empty() const { return north < south || east < west; }
};

// A view: the Mercator point at the centre of the widget and the pixels per Mercator metre.
// Screen y grows downwards (north up).
class TMercatorView {
public:
    TMercatorView() = default;
    TMercatorView(double cx, double cy, double pxpermerc, int width, int height)
        : cx_(cx), cy_(cy), k_(pxpermerc), w_(width), h_(height) {}

    // The view that shows the box with a margin of `margin` pixels on every side; a box of a
    // single point gets `minspanmetres` across.
    static TMercatorView Fit(const TGeoBox& box, int width, int height, int margin, double minspanmetres = 500);

    double ToScreenX(double lngdeg) const { return (MercX(lngdeg) - cx_) * k_ + w_ / 2.0; }
    double ToScreenY(double latdeg) const { return (cy_ - MercY(latdeg)) * k_ + h_ / 2.0; }
    double MercToScreenX(double mx) const { return (mx - cx_) * k_ + w_ / 2.0; }
    double MercToScreenY(double my) const { return (cy_ - my) * k_ + h_ / 2.0; }
    double LngAt(double sx) const { return LngOfMercX(cx_ + (sx - w_ / 2.0) / k_); }
    double LatAt(double sy) const { return LatOfMercY(cy_ - (sy - h_ / 2.0) / k_); }

    // Ground metres per pixel at the centre latitude, and the map scale's denominator.
    double MetresPerPixel() const;
    double ScaleDenominator() const { return MetresPerPixel() / kPixelMetres; }
    // Zooms by factor (>1 in) keeping the point under screen (sx, sy) in place; pans by pixels.
    void ZoomAbout(double factor, double sx, double sy);
    void Pan(double dx, double dy);
    void Resize(int width, int height) { w_ = width; h_ = height; }
    TGeoBox Visible() const;

    double cx() const { return cx_; }
    double cy() const { return cy_; }
    double k() const { return k_; }
    int width() const { return w_; }
    int height() const { return h_; }

private:
    double cx_ = 0, cy_ = 0, k_ = 1e-4;
    int w_ = 1, h_ = 1;
};

// The graticule step in degrees: the smallest round step that puts at most maxlines lines
// across span degrees. Round in seconds, minutes and degrees for labels in degrees and minutes;
// decimal (1, 2 or 5 times a power of ten) for labels in decimal degrees.
double GraticuleStep(double spandeg, int maxlines, bool decimal = false);
// The multiples of step within lo..hi.
std::vector<double> GraticuleLines(double lo, double hi, double step);

// A scale bar: its length in display units (1, 2 or 5 times a power of ten), in pixels, and
// its label ("500 m", "2 nm").
struct TScaleBar {
    double length = 0;
    double pixels = 0;
    std::string label;
};
// hunits as the settings name them: M metres, K kilometres, N nautical miles. The longest round
// length that fits in maxpixels.
TScaleBar ScaleBarStep(double metresperpixel, char hunits, double maxpixels);

// The coastline resolution letter for a scale denominator: c above 1:50M, l 1:10M-1:50M,
// i 1:2M-1:10M, h 1:300k-1:2M, f below.
char ResolutionForScale(double denominator);

}  // namespace brenvik::chart
