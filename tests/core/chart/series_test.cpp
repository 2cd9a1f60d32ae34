#include "chart/series.h"

#include <gtest/gtest.h>

#include <random>

namespace brenvik::chart {
namespace {

TEST(ChartSeries, DecimateColumnsByHand) {
    const std::vector<double> xs = {0.1, 0.5, 0.9, 1.2, 1.7, 3.0, -0.5};
    const std::vector<double> ys = {5, -2, 7, 1, novalue, 4, 9};
    const std::vector<TColumn> cols = DecimateColumns(xs, ys, 3);
    ASSERT_EQ(cols.size(), 2u);  // x 3.0 and -0.5 are off the columns, novalue is left out
    EXPECT_EQ(cols[0].col, 0);
    EXPECT_EQ(cols[0].first, 5);
    EXPECT_EQ(cols[0].min, -2);
    EXPECT_EQ(cols[0].max, 7);
    EXPECT_EQ(cols[0].last, 7);
    EXPECT_EQ(cols[0].lastix, 2u);
    EXPECT_EQ(cols[1].col, 1);
    EXPECT_EQ(cols[1].min, 1);
    EXPECT_EQ(cols[1].max, 1);
}

TEST(ChartSeries, DecimatedExtremesEqualTheData) {
    std::mt19937 rng(17);
    std::uniform_real_distribution<double> val(-50, 50);
    const int width = 300;
    std::vector<double> xs, ys;
    for (int i = 0; i < 20000; ++i) {
        xs.push_back(i * width / 20000.0);
        ys.push_back(val(rng));
    }
    std::vector<double> lo(width, 1e30), hi(width, -1e30);
    for (std::size_t i = 0; i < xs.size(); ++i) {
        const int c = static_cast<int>(xs[i]);
        lo[static_cast<std::size_t>(c)] = std::min(lo[static_cast<std::size_t>(c)], ys[i]);
        hi[static_cast<std::size_t>(c)] = std::max(hi[static_cast<std::size_t>(c)], ys[i]);
    }
    const std::vector<TColumn> cols = DecimateColumns(xs, ys, width);
    ASSERT_EQ(cols.size(), static_cast<std::size_t>(width));
    for (const TColumn& c : cols) {
        EXPECT_EQ(c.min, lo[static_cast<std::size_t>(c.col)]) << c.col;
        EXPECT_EQ(c.max, hi[static_cast<std::size_t>(c.col)]) << c.col;
    }
}

TEST(ChartSeries, DecimatePixelsKeepsOnePointPerPixelAndTheLast) {
    const std::vector<double> xs = {0.1, 0.2, 1.4, 1.45, 1.48, 5};
    const std::vector<double> ys = {0, 0.3, 0, 0.1, 0.2, 5};
    EXPECT_EQ(DecimatePixels(xs, ys), (std::vector<std::uint32_t>{0, 2, 5}));
    const std::vector<double> same = {3, 3, 3};
    EXPECT_EQ(DecimatePixels(same, same), (std::vector<std::uint32_t>{0, 2}));
}

TEST(ChartSeries, UnwrapAngles) {
    const std::vector<double> in = {350, 10, 30, novalue, 340, 170, -170, 185};
    // 10 follows 350 as 370; a real turn of -50 stays; -170 after 170 goes on to 190.
    const std::vector<double> want = {350, 370, 390, novalue, 340, 170, 190, 185};
    EXPECT_EQ(UnwrapAngles(in), want);
}

TEST(ChartSeries, SpanStatsByHand) {
    const std::vector<double> secs = {0, 10, 20, 30, 40};
    const std::vector<double> vals = {1, 3, novalue, 5, 100};
    // Along the meridian 0.01 degrees apart: R * 0.01 pi / 180 = 1111.949 m a step.
    const std::vector<TCoord> pos = {{1.00, 5}, {1.01, 5}, {0, 0}, {1.03, 5}, {1.04, 5}};
    const TSpanStats s = SpanStats(secs, vals, pos, 35, 5);
    EXPECT_EQ(s.count, 2u);
    EXPECT_EQ(s.min, 3);
    EXPECT_EQ(s.max, 5);
    EXPECT_EQ(s.mean, 4);
    EXPECT_NEAR(s.distance, 2 * 1111.949, 1e-3);  // the position at 0, 0 is none
    EXPECT_EQ(s.duration, 20);
    EXPECT_EQ(s.first, 1u);
    EXPECT_EQ(s.last, 3u);
    const TSpanStats none = SpanStats(secs, vals, pos, 41, 50);
    EXPECT_EQ(none.count, 0u);
    EXPECT_LT(none.last, none.first);
}

}  // namespace
}  // namespace brenvik::chart
