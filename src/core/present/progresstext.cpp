#include "present/progresstext.h"

#include <cmath>
#include <cstdio>

namespace brenvik {

std::optional<double> SecondsLeft(const TLoadProgress& p, double secs) {
    if (p.bytes == 0 || p.totalbytes < p.bytes) return std::nullopt;
    return secs * static_cast<double>(p.totalbytes - p.bytes) / static_cast<double>(p.bytes);
}

std::string TimeLeftText(double secs) {
    const auto s = static_cast<long long>(std::ceil(secs));
    char text[40];
    if (s < 60)
        std::snprintf(text, sizeof text, "%lld s", s);
    else if (s < 3600)
        std::snprintf(text, sizeof text, "%lld min %02lld s", s / 60, s % 60);
    else
        std::snprintf(text, sizeof text, "%lld h %02lld min", s / 3600, s / 60 % 60);
    return text;
}

}  // namespace brenvik
