#include "chart/series.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "chart/projection.h"

namespace brenvik::chart {

std::vector<TColumn> DecimateColumns(std::span<const double> xs, std::span<const double> ys, int width) {
    std::vector<TColumn> out;
    const std::size_t n = std::min(xs.size(), ys.size());
    for (std::size_t i = 0; i < n; ++i) {
        const double v = ys[i];
        if (!IsValid(v) || !(xs[i] >= 0) || !(xs[i] < width)) continue;
        const int c = static_cast<int>(xs[i]);
        if (out.empty() || out.back().col != c) {
            out.push_back(TColumn{c, v, v, v, v, i, i});
            continue;
        }
        TColumn& col = out.back();
        col.min = std::min(col.min, v);
        col.max = std::max(col.max, v);
        col.last = v;
        col.lastix = i;
    }
    return out;
}

std::vector<std::uint32_t> DecimatePixels(std::span<const double> xs, std::span<const double> ys) {
    std::vector<std::uint32_t> keep;
    const std::size_t n = std::min(xs.size(), ys.size());
    long long lx = 0, ly = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const long long px = std::llround(std::clamp(xs[i], -1e9, 1e9));
        const long long py = std::llround(std::clamp(ys[i], -1e9, 1e9));
        if (keep.empty() || px != lx || py != ly || i + 1 == n) {
            keep.push_back(static_cast<std::uint32_t>(i));
            lx = px;
            ly = py;
        }
    }
    return keep;
}

std::vector<double> UnwrapAngles(std::span<const double> degrees) {
    std::vector<double> out(degrees.begin(), degrees.end());
    bool have = false;
    double prev = 0;
    for (double& v : out) {
        if (!IsValid(v)) continue;
        if (have) v -= 360 * std::round((v - prev) / 360);
        prev = v;
        have = true;
    }
    return out;
}

double GreatCircle(TCoord a, TCoord b) {
    constexpr double d = std::numbers::pi / 180;
    const double dlat = (b.lat - a.lat) * d, dlng = (b.lng - a.lng) * d;
    const double h = std::sin(dlat / 2) * std::sin(dlat / 2) +
                     std::cos(a.lat * d) * std::cos(b.lat * d) * std::sin(dlng / 2) * std::sin(dlng / 2);
    return 2 * kEarthRadius * std::asin(std::min(1.0, std::sqrt(h)));
}

TSpanStats SpanStats(std::span<const double> secs, std::span<const double> values, std::span<const TCoord> coords,
                     double t0, double t1) {
    TSpanStats st;
    st.first = 1;
    st.last = 0;
    if (t1 < t0) std::swap(t0, t1);
    double sum = 0;
    bool havepos = false;
    TCoord prev;
    double tfirst = 0, tlast = 0;
    bool any = false;
    for (std::size_t i = 0; i < secs.size(); ++i) {
        if (!(secs[i] >= t0 && secs[i] <= t1)) continue;
        if (!any) {
            st.first = i;
            tfirst = secs[i];
            any = true;
        }
        st.last = i;
        tlast = secs[i];
        if (i < values.size() && IsValid(values[i])) {
            const double v = values[i];
            st.min = st.count == 0 ? v : std::min(st.min, v);
            st.max = st.count == 0 ? v : std::max(st.max, v);
            sum += v;
            ++st.count;
        }
        if (i < coords.size() && (coords[i].lat != 0 || coords[i].lng != 0)) {
            if (havepos) st.distance += GreatCircle(prev, coords[i]);
            prev = coords[i];
            havepos = true;
        }
    }
    if (st.count > 0) st.mean = sum / static_cast<double>(st.count);
    if (any) st.duration = tlast - tfirst;
    return st;
}

}  // namespace brenvik::chart
