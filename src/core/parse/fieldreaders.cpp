#include "parse/fieldreaders.h"

#include <algorithm>
#include <cmath>

#include "model/datetime.h"
#include "model/units.h"
#include "session.h"

namespace brenvik {
namespace {

constexpr bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// One to nine decimal digits, nothing else.
std::optional<int> Digits(std::string_view t) {
    if (t.empty() || t.size() > 9) return std::nullopt;
    int v = 0;
    for (char c : t) {
        if (!IsDigit(c)) return std::nullopt;
        v = v * 10 + (c - '0');
    }
    return v;
}

double WholeDays(TDateTime v) { return std::trunc(v); }

}  // namespace

std::optional<TDateTime> DateFromParts(std::string_view year, std::string_view month,
                                       std::string_view day, int nowyear) {
    auto y = Digits(year), m = Digits(month), d = Digits(day);
    if (!y || !m || !d) return std::nullopt;
    const int yy = year.size() <= 2 ? WindowYear(*y, nowyear) : *y;
    return EncodeDate(yy, *m, *d);
}

std::optional<TDateTime> ClockTime(std::string_view text) {
    const auto c1 = text.find(':');
    if (c1 == std::string_view::npos) return std::nullopt;
    const auto c2 = text.find(':', c1 + 1);
    if (c2 == std::string_view::npos) return std::nullopt;
    std::string_view sec = text.substr(c2 + 1);
    std::optional<int> ms = 0;
    if (const auto dot = sec.find('.'); dot != std::string_view::npos) {
        ms = Digits(sec.substr(dot + 1));
        sec = sec.substr(0, dot);
    }
    auto h = Digits(text.substr(0, c1)), m = Digits(text.substr(c1 + 1, c2 - c1 - 1)), s = Digits(sec);
    if (!h || !m || !s || !ms) return std::nullopt;
    return EncodeTime(*h, *m, *s, *ms);
}

std::optional<double> TimeOfDay(std::string_view text) {
    auto h = Digits(Copy(text, 0, 2)), m = Digits(Copy(text, 2, 2));
    auto sec = ParseDecimal(Copy(text, 4));
    if (!h || !m || !sec || *sec < 0) return std::nullopt;
    return ((*sec / 60 + *m) / 60 + *h) / 24;
}

TDateTime TimeWithDate(Session& s, std::string_view text, TDateTime ref) {
    if (text.empty()) return s.platform.NowUTC();
    const auto tod = TimeOfDay(text);
    if (!tod) return ref;
    const TDateTime t = WholeDays(ref) + *tod;
    // Only a real midnight crossing (more than 12 hours back) moves to the next day; fixes that
    // arrive slightly out of order, or an alarm stamped in the past, keep the reference time.
    if (t < ref - 0.5) return t + 1;
    if (t < ref) return ref;
    return t;
}

std::optional<TDateTime> DateDMY(Session& s, std::string_view text) {
    return DateFromParts(Copy(text, 4), Copy(text, 2, 2), Copy(text, 0, 2), s.NowYear());
}

TDateTime DateWithTime(Session& s, std::string_view text, TDateTime ref) {
    if (text.empty()) return s.platform.NowUTC();
    const auto d = DateDMY(s, text);
    if (!d) return ref;
    return *d + (ref - WholeDays(ref));
}

double ParseCoord(std::string_view hemisphere, std::string_view text) {
    const std::size_t p = std::min(text.find('.'), text.size());  // 0-based point, or length
    if (p < 2) throw ConvertError();
    // Two integer digits of minutes, the point and at most five decimals.
    const double minutes = ToDouble(text.substr(p - 2, 8));
    const double degrees = p == 2 ? 0 : ToDouble(text.substr(0, p - 2));
    const double v = degrees + minutes / 60;
    return hemisphere == "S" || hemisphere == "W" ? -v : v;
}

double CoordField(const Fields& f, std::size_t i) {
    const std::string_view text = Copy(f.at(i), 0, 15);
    const std::string_view hemisphere = Copy(f.at(i + 1), 0, 1);
    if (text.empty()) return 0;
    return ParseCoord(hemisphere, text);
}

TCoord ReadPosition(const Fields& f, std::size_t i) {
    TCoord c;
    c.lat = CoordField(f, i);
    c.lng = CoordField(f, i + 2);
    return c;
}

std::int32_t IntOrZero(std::string_view text) { return text.empty() ? 0 : ToInt(text); }

std::optional<std::int32_t> DateYMD(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsDigit(text[i])) ++i;
    if (i == 0 || i >= text.size()) return std::nullopt;
    const char sep = text[i];
    const std::string_view year = text.substr(0, i);
    const std::string_view rest = text.substr(i + 1);
    const auto s1 = rest.find(sep);
    if (s1 == std::string_view::npos) return std::nullopt;
    const std::string_view month = rest.substr(0, s1);
    std::string_view day = rest.substr(s1 + 1);
    std::string_view clock;
    if (const auto blank = day.find(' '); blank != std::string_view::npos) {
        clock = Trim(day.substr(blank + 1));
        day = day.substr(0, blank);
    }
    auto y = Digits(year), m = Digits(month), d = Digits(day);
    if (!y || !m || !d) return std::nullopt;
    auto date = EncodeDate(*y, *m, *d);
    if (!date) return std::nullopt;
    double tod = 0;
    if (!clock.empty()) {
        auto t = ClockTime(clock);
        if (!t) return std::nullopt;
        tod = *t;
    }
    return static_cast<std::int32_t>(std::lround(*date + tod));
}

void ReadAngleAndSpeed(const Fields& f, double& angle, char& mode, double& speed) {
    if (f.at(2) == "T") {
        if (auto v = Num(f.at(1))) angle = *v;
        mode = 'T';
    } else if (f.at(4) == "M") {
        if (auto v = Num(f.at(3))) angle = *v;
        mode = 'M';
    }
    if (f.at(8) == "K") {
        if (auto v = Num(f.at(7))) speed = ToMps('K', *v);
    } else if (f.at(6) == "N") {
        if (auto v = Num(f.at(5))) speed = ToMps('N', *v);
    }
}

}  // namespace brenvik
