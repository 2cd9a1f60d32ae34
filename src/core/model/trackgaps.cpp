#include "model/trackgaps.h"

#include <algorithm>

namespace brenvik {

double MedianStep(std::span<const double> secs) {
    if (secs.size() < 2) return 0;
    std::vector<double> steps;
    steps.reserve(secs.size() - 1);
    for (std::size_t i = 1; i < secs.size(); ++i) steps.push_back(secs[i] - secs[i - 1]);
    const std::size_t mid = steps.size() / 2;
    std::nth_element(steps.begin(), steps.begin() + static_cast<std::ptrdiff_t>(mid), steps.end());
    if (steps.size() % 2 == 1) return steps[mid];
    const double upper = steps[mid];
    const double lower = *std::max_element(steps.begin(), steps.begin() + static_cast<std::ptrdiff_t>(mid));
    return (lower + upper) / 2;
}

std::vector<std::size_t> TrackBreaks(std::span<const double> secs) {
    std::vector<std::size_t> breaks;
    if (secs.size() < 2) return breaks;
    const double limit = kGapMedianFactor * MedianStep(secs);
    for (std::size_t i = 1; i < secs.size(); ++i) {
        const double step = secs[i] - secs[i - 1];
        if (step > limit && step >= kGapMinSeconds) breaks.push_back(i);
    }
    return breaks;
}

}  // namespace brenvik
