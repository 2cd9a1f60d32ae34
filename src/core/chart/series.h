#pragma once
// Time series for the plots: per-pixel-column decimation, angles drawn without false jumps,
// and the statistics of a span of time.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "model/eventobj.h"

namespace brenvik::chart {

// One pixel column of a decimated line: the first, lowest, highest and last value that fall
// into it, and the index of its first and last sample.
struct TColumn {
    int col = 0;
    double first = 0, min = 0, max = 0, last = 0;
    std::size_t firstix = 0, lastix = 0;
};

// The samples xs[i] (already in pixels, increasing) with values ys[i] folded into pixel
// columns 0..width-1; samples outside the columns or with a value that is not valid
// (IsValid) are left out. Drawing first-min-max-last per column shows every extreme.
std::vector<TColumn> DecimateColumns(std::span<const double> xs, std::span<const double> ys, int width);

// Indices of the points of a screen polyline worth drawing: a point is kept when it falls on
// another pixel than the last kept one; the last point is always kept.
std::vector<std::uint32_t> DecimatePixels(std::span<const double> xs, std::span<const double> ys);

// Angles in degrees moved by whole turns so that each lies within half a turn of the one
// before: a heading from 359 to 1 goes on to 361. Values that are not valid stay as they are
// and do not break the chain.
std::vector<double> UnwrapAngles(std::span<const double> degrees);

// What a span of time held: over the valid values within t0..t1 (seconds) their minimum,
// maximum and mean; the distance run along the positions inside (metres, great circle); the
// duration from the first to the last sample inside.
struct TSpanStats {
    std::size_t count = 0;  // valid values
    double min = 0, max = 0, mean = 0;
    double distance = 0;
    double duration = 0;
    std::size_t first = 0, last = 0;  // indices of the first and last sample inside; last < first: none
};
// coords in degrees; a position at 0, 0 has no data. values and coords may be empty.
TSpanStats SpanStats(std::span<const double> secs, std::span<const double> values, std::span<const TCoord> coords,
                     double t0, double t1);

// Great-circle distance in metres between positions in degrees.
double GreatCircle(TCoord a, TCoord b);

}  // namespace brenvik::chart
