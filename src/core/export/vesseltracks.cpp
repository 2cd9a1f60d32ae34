#include "export/vesseltracks.h"

#include <algorithm>

namespace brenvik {

bool PositionValid(const TaisEvent& r) {
    const double lat = r.coord.lat, lng = r.coord.lng;
    return r.valid && lat >= -90 && lat <= 90 && lng >= -180 && lng <= 180 && (lat != 0 || lng != 0);
}

TReportsById::TReportsById(const TaisEvents& reports) : FReports(reports) {
    FOrder.resize(static_cast<std::size_t>(reports.count()));
    for (std::size_t i = 0; i < FOrder.size(); ++i) FOrder[i] = static_cast<std::int32_t>(i);
    std::stable_sort(FOrder.begin(), FOrder.end(), [&](std::int32_t a, std::int32_t b) {
        return FReports[a].id < FReports[b].id;
    });
}

std::span<const std::int32_t> TReportsById::Of(std::int32_t id) const {
    auto lo = std::lower_bound(FOrder.begin(), FOrder.end(), id,
                               [&](std::int32_t pos, std::int32_t v) { return FReports[pos].id < v; });
    auto hi = std::upper_bound(lo, FOrder.end(), id,
                               [&](std::int32_t v, std::int32_t pos) { return v < FReports[pos].id; });
    return {lo, hi};
}

}  // namespace brenvik
