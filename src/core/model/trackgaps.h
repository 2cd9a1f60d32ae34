#pragma once
// Where a track in time breaks into stretches: the one rule the map, the strips and the track
// exports share, so that a line is never drawn or written across a silence of the recorder.
#include <cstddef>
#include <span>
#include <vector>

namespace brenvik {

// A step is a gap when it is longer than five times the median step and at least 60 s.
constexpr double kGapMedianFactor = 5.0;
constexpr double kGapMinSeconds = 60.0;

// The median of the steps between consecutive times (seconds); 0 for fewer than two times.
double MedianStep(std::span<const double> secs);

// The indices i (1 <= i < n) at which a new stretch starts because the step from i-1 to i is a
// gap, in increasing order. Steps back in time are no gaps.
std::vector<std::size_t> TrackBreaks(std::span<const double> secs);

}  // namespace brenvik
