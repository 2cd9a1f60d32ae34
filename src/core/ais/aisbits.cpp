#include "ais/aisbits.h"

#include <algorithm>

#include "model/aisreport.h"
#include "model/strutil.h"

namespace brenvik {

std::uint32_t TaisBits::getbits(int n) {
    std::uint32_t result = 0;
    while (n > 0) {
        const std::size_t ch = bit_ / 6;
        const int used = static_cast<int>(bit_ % 6);
        const int take = std::min(6 - used, n);
        const std::uint32_t value = ch < payload_.size() ? dearmour(payload_[ch]) : 0;
        const std::uint32_t chunk = (value >> (6 - used - take)) & ((1u << take) - 1);
        result = (result << take) | chunk;
        bit_ += static_cast<std::uint32_t>(take);
        n -= take;
    }
    return result;
}

std::int32_t TaisBits::getsigned(int n) {
    const std::uint32_t v = getbits(n);
    if (n < 32 && (v >> (n - 1)) & 1u) return static_cast<std::int32_t>(static_cast<std::int64_t>(v) - (std::int64_t{1} << n));
    return static_cast<std::int32_t>(v);
}

std::string TaisBits::gettext(int n) {
    std::string t;
    t.reserve(static_cast<std::size_t>(std::max(n, 0)));
    for (int i = 0; i < n; ++i) {
        const std::uint32_t v = getbits(6);
        // 0 is the fill character: it reads as a blank, so trailing fill disappears below.
        const std::uint32_t code = v == 0 ? 32 : (v < 32 ? v + 64 : v);
        t.push_back(static_cast<char>(code));
    }
    const std::string_view trimmed = Trim(t);
    return std::string(trimmed);
}

void TaisBits::getposition(TaisEvent& e, int lngbits, int latbits, double perdegree) {
    e.coord.lng = getsigned(lngbits) / perdegree;
    e.coord.lat = getsigned(latbits) / perdegree;
    const double lat = e.coord.lat, lng = e.coord.lng;
    if ((lat == 0 && lng == 0) || lat > 90 || lat < -90 || lng > 180 || lng < -180) e.valid = false;
}

}  // namespace brenvik
