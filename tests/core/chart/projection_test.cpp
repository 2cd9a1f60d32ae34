#include "chart/projection.h"

#include <gtest/gtest.h>

namespace brenvik::chart {
namespace {

TEST(ChartProjection, MercatorByHand) {
    // One degree of longitude: R pi / 180; 45N: R ln tan(67.5 degrees).
    EXPECT_NEAR(MercX(1), 111194.927, 1e-3);
    EXPECT_NEAR(MercY(0), 0, 1e-9);
    EXPECT_NEAR(MercY(45), 5615231.123, 1e-3);
    EXPECT_NEAR(LatOfMercY(MercY(57.7)), 57.7, 1e-9);
    EXPECT_NEAR(LngOfMercX(MercX(-11.25)), -11.25, 1e-12);
}

TEST(ChartProjection, FitZoomAndPan) {
    // A degree of longitude on the equator into 1000 usable pixels, 50 px margins.
    TMercatorView v = TMercatorView::Fit(TGeoBox{0, 0, 0, 1}, 1100, 600, 50);
    EXPECT_NEAR(v.ToScreenX(0), 50, 1e-6);
    EXPECT_NEAR(v.ToScreenX(1), 1050, 1e-6);
    EXPECT_NEAR(v.ToScreenY(0), 300, 1e-6);
    const double mpp = MercX(1) / 1000;  // on the equator Mercator metres are ground metres
    EXPECT_NEAR(v.MetresPerPixel(), mpp, 1e-9);
    EXPECT_NEAR(v.ScaleDenominator(), mpp * 96 / 0.0254, 1e-6);
    const double k = v.k();
    // Zooming keeps the point under the pointer where it was.
    const double lng = v.LngAt(300), lat = v.LatAt(100);
    v.ZoomAbout(4, 300, 100);
    EXPECT_NEAR(v.LngAt(300), lng, 1e-9);
    EXPECT_NEAR(v.LatAt(100), lat, 1e-9);
    EXPECT_NEAR(v.k(), 4 * k, 1e-15);
    v.Pan(10, 0);
    EXPECT_NEAR(v.LngAt(310), lng, 1e-9);
    // A single point gets the minimum span across.
    const TMercatorView p = TMercatorView::Fit(TGeoBox{0, 0, 0, 0}, 120, 120, 10, 1000);
    EXPECT_NEAR(p.MetresPerPixel(), 10, 1e-9);
}

TEST(ChartProjection, GraticuleSteps) {
    const struct {
        double span;
        int lines;
        double step;
    } cases[] = {
        {0.45, 6, 5.0 / 60},   // 5' gives 5.4 lines, 2' would give 13.5
        {0.01, 8, 5.0 / 3600}, // 36 seconds: 5" gives 7.2
        {20, 5, 5},            // 4 lines of 5 degrees
        {400, 3, 180},         // nothing coarser than half a turn
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.span);
        EXPECT_DOUBLE_EQ(GraticuleStep(c.span, c.lines), c.step);
    }
    EXPECT_NEAR(GraticuleStep(0.45, 6, true), 0.1, 1e-12);   // 0.05 would give 9 lines
    EXPECT_NEAR(GraticuleStep(0.003, 8, true), 0.0005, 1e-12);
    const std::vector<double> lines = GraticuleLines(0.95, 1.26, 0.1);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_NEAR(lines[0], 1.0, 1e-12);
    EXPECT_NEAR(lines[2], 1.2, 1e-12);
    EXPECT_EQ(GraticuleLines(-0.5, 0.5, 0.5).size(), 3u);  // both ends are lines
    EXPECT_TRUE(GraticuleLines(0, 1, 0).empty());
}

TEST(ChartProjection, ScaleBarAndResolution) {
    const struct {
        double mpp;
        char units;
        double maxpx;
        double length, pixels;
        const char* label;
    } cases[] = {
        {10, 'M', 120, 1000, 100, "1000 m"},     // 1200 m fits: 1000
        {10, 'N', 200, 1, 185.2, "1 nm"},        // 1.08 nm fits: 1
        {3, 'K', 100, 0.2, 66.6667, "0.2 km"},   // 0.3 km fits: 0.2
        {1, 'K', 60, 0.05, 50, "0.05 km"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const TScaleBar b = ScaleBarStep(c.mpp, c.units, c.maxpx);
        EXPECT_NEAR(b.length, c.length, 1e-9);
        EXPECT_NEAR(b.pixels, c.pixels, 1e-3);
        EXPECT_EQ(b.label, c.label);
    }
    const struct {
        double denominator;
        char res;
    } scales[] = {{60e6, 'c'}, {50e6, 'l'}, {20e6, 'l'}, {5e6, 'i'}, {2e6, 'h'}, {1e6, 'h'}, {300e3, 'f'}, {5e3, 'f'}};
    for (const auto& s : scales) EXPECT_EQ(ResolutionForScale(s.denominator), s.res) << s.denominator;
}

}  // namespace
}  // namespace brenvik::chart
