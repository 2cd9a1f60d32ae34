#include "parse/fieldreaders.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cmath>

#include "model/datetime.h"
#include "model/units.h"
#include "session.h"

namespace brenvik {
namespace {

constexpr bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// One to nine digits from text[i] on, up to the first other character; i moves past them.
// -1 when there are none or more than nine.
inline int DigitRun(std::string_view text, std::size_t& i) {
    const std::size_t from = i;
    int v = 0;
    while (i < text.size() && IsDigit(text[i])) {
        if (i - from == 9) return -1;
        v = v * 10 + (text[i++] - '0');
    }
    return i == from ? -1 : v;
}

// One to nine decimal digits, nothing else.
inline std::optional<int> Digits(std::string_view t) {
    std::size_t i = 0;
    const int v = DigitRun(t, i);
    if (v < 0 || i != t.size()) return std::nullopt;
    return v;
}

double WholeDays(TDateTime v) { return std::trunc(v); }

// Whether the n characters at a and b are the same: texts of a few characters, compared
// without a call.
inline bool SameChars(const char* a, const char* b, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i)
        if (a[i] != b[i]) return false;
    return true;
}

// TimeOfDay without keeping the last one.
std::optional<double> TimeOfDayText(std::string_view text) {
    auto h = Digits(Copy(text, 0, 2)), m = Digits(Copy(text, 2, 2));
    auto sec = ParseDecimal(Copy(text, 4));
    if (!h || !m || !sec || *sec < 0) return std::nullopt;
    return ((*sec / 60 + *m) / 60 + *h) / 24;
}

}  // namespace

std::optional<TDateTime> DateFromParts(std::string_view year, std::string_view month,
                                       std::string_view day, int nowyear) {
    if (year.size() > 9 || month.size() > 9 || day.size() > 9) return std::nullopt;
    // Recorder prefixes and RMC dates repeat one date for hours: the last two dates read are
    // kept by their texts (per thread: loads run on worker threads).
    struct Memo {
        std::array<char, 27> text{};
        std::array<std::uint8_t, 3> len{0xFF, 0, 0};  // matches no texts until filled
        int nowyear = 0;
        std::optional<TDateTime> value;
        bool Is(std::string_view y, std::string_view m, std::string_view d, int now) const {
            return len[0] == y.size() && len[1] == m.size() && len[2] == d.size() && nowyear == now &&
                   SameChars(y.data(), text.data(), y.size()) && SameChars(m.data(), text.data() + 9, m.size()) &&
                   SameChars(d.data(), text.data() + 18, d.size());
        }
    };
    thread_local Memo memo[2];
    thread_local unsigned next = 0;
    for (const Memo& mm : memo)
        if (mm.Is(year, month, day, nowyear)) return mm.value;
    std::optional<TDateTime> v;
    auto y = Digits(year), m = Digits(month), d = Digits(day);
    if (y && m && d) v = EncodeDate(year.size() <= 2 ? WindowYear(*y, nowyear) : *y, *m, *d);
    Memo& mm = memo[next];
    next ^= 1;
    std::copy(year.begin(), year.end(), mm.text.begin());
    std::copy(month.begin(), month.end(), mm.text.begin() + 9);
    std::copy(day.begin(), day.end(), mm.text.begin() + 18);
    mm.len = {static_cast<std::uint8_t>(year.size()), static_cast<std::uint8_t>(month.size()),
              static_cast<std::uint8_t>(day.size())};
    mm.nowyear = nowyear;
    mm.value = v;
    return v;
}

std::optional<TDateTime> ClockTime(std::string_view text) {
    // Every recorder prefix comes through here, nearly always as hh:mm:ss.fff or hh:mm:ss.
    const auto two = [&](std::size_t i) { return (text[i] - '0') * 10 + (text[i + 1] - '0'); };
    if ((text.size() == 8 || (text.size() == 12 && text[8] == '.' && DigitsAt(text, 9, 10, 11))) &&
        text[2] == ':' && text[5] == ':' && DigitsAt(text, 0, 1, 3, 4, 6, 7))
        return EncodeTime(two(0), two(3), two(6), text.size() == 8 ? 0 : two(9) * 10 + (text[11] - '0'));
    // Else one pass: digits ':' digits ':' digits, then nothing or '.' and digits.
    std::size_t i = 0;
    const int h = DigitRun(text, i);
    if (h < 0 || i == text.size() || text[i++] != ':') return std::nullopt;
    const int m = DigitRun(text, i);
    if (m < 0 || i == text.size() || text[i++] != ':') return std::nullopt;
    const int s = DigitRun(text, i);
    if (s < 0) return std::nullopt;
    int ms = 0;
    if (i < text.size()) {
        if (text[i++] != '.') return std::nullopt;
        ms = DigitRun(text, i);
        if (ms < 0 || i != text.size()) return std::nullopt;
    }
    return EncodeTime(h, m, s, ms);
}

std::optional<double> TimeOfDay(std::string_view text) {
    // A fix's time is read by its handler and again by the source statistics: the last one
    // read is kept by its text (per thread: loads run on worker threads).
    thread_local std::array<char, 16> lasttext{};
    thread_local std::size_t lastsize = lasttext.size() + 1;  // matches no text until filled
    thread_local std::optional<double> lastvalue;
    if (text.size() == lastsize && SameChars(text.data(), lasttext.data(), text.size())) return lastvalue;
    const std::optional<double> v = TimeOfDayText(text);
    if (text.size() <= lasttext.size()) {
        std::copy(text.begin(), text.end(), lasttext.begin());
        lastsize = text.size();
        lastvalue = v;
    }
    return v;
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
