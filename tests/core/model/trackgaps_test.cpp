#include "model/trackgaps.h"

#include <gtest/gtest.h>

#include <vector>

namespace brenvik {
namespace {

struct GapCase {
    const char* name;
    std::vector<double> secs;
    double median;
    std::vector<std::size_t> breaks;
};

TEST(TrackGaps, BreaksOnlyWhereLongAndUnusual) {
    const GapCase cases[] = {
        {"empty", {}, 0, {}},
        {"one fix", {5}, 0, {}},
        // 10 s steps, one of 70 s: over 5 x 10 and over 60 s.
        {"one gap", {0, 10, 20, 90, 100}, 10, {3}},
        // 20 s steps: 90 s is under 5 x 20, so no gap although over a minute.
        {"long but usual", {0, 20, 40, 130, 150, 170}, 20, {}},
        // 1 s steps: 50 s is far over five steps but under a minute.
        {"unusual but short", {0, 1, 2, 52, 53}, 1, {}},
        // Even count of steps: the median is the mean of the middle two (1 and 3).
        {"even median", {0, 1, 4, 5, 8}, 2, {}},
        // A step back in time is not a gap; a 600 s silence is.
        {"back then silence", {0, 10, 5, 15, 615, 625}, 10, {4}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_DOUBLE_EQ(MedianStep(c.secs), c.median);
        EXPECT_EQ(TrackBreaks(c.secs), c.breaks);
    }
}

}  // namespace
}  // namespace brenvik
