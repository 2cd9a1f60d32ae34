#include "model/strutil.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cstdint>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <system_error>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace brenvik {

namespace {
inline unsigned char U(char c) { return static_cast<unsigned char>(c); }
inline bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Characters that end an unquoted comma-text field: codes 0 to 32 and the comma.
constexpr auto kFieldStops = [] {
    std::array<bool, 256> t{};
    for (int c = 0; c <= 32; ++c) t[static_cast<std::size_t>(c)] = true;
    t[static_cast<unsigned char>(',')] = true;
    return t;
}();

// The first position from p on holding a character with code 0 to 32 or a comma, or n.
// Eight characters at a time: every field of every sentence passes through here.
std::size_t FieldEnd(const char* t, std::size_t p, std::size_t n) {
    if constexpr (std::endian::native == std::endian::little) {
        constexpr std::uint64_t ones = 0x0101010101010101ull, high = 0x8080808080808080ull;
        for (; p + 8 <= n; p += 8) {
            std::uint64_t w;
            std::memcpy(&w, t + p, 8);
            // The lowest flagged byte of each test is exact (borrows only run upwards from a
            // byte that matched), so the lowest of both is the first stop.
            const std::uint64_t x = w ^ (ones * static_cast<unsigned char>(','));
            const std::uint64_t comma = (x - ones) & ~x & high;
            const std::uint64_t low = (w - ones * 33) & ~w & high;
            if (const std::uint64_t m = comma | low) return p + static_cast<std::size_t>(std::countr_zero(m) >> 3);
        }
    }
    while (p < n && !kFieldStops[U(t[p])]) ++p;
    return p;
}
}  // namespace

std::string_view Trim(std::string_view s) {
    std::size_t b = 0, e = s.size();
    while (b < e && U(s[b]) <= 32) ++b;
    while (e > b && U(s[e - 1]) <= 32) --e;
    return s.substr(b, e - b);
}

std::optional<double> ParseDecimal(std::string_view s) {
    // Powers of ten that a double holds exactly.
    static constexpr double kPow10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    // Pointers, not indexes, and the counts from their differences: every number field of
    // every sentence comes through here.
    const char* p = s.data();
    const char* const e = p + s.size();
    bool neg = false;
    if (p < e && (*p == '+' || *p == '-')) neg = *p++ == '-';
    const char* const start = p;
    std::uint64_t mantissa = 0;
    while (p < e && static_cast<unsigned>(*p - '0') <= 9) mantissa = mantissa * 10 + static_cast<std::uint64_t>(*p++ - '0');
    std::size_t digits = static_cast<std::size_t>(p - start), decimals = 0;
    if (p < e && *p == '.') {
        const char* const point = ++p;
        while (p < e && static_cast<unsigned>(*p - '0') <= 9) mantissa = mantissa * 10 + static_cast<std::uint64_t>(*p++ - '0');
        decimals = static_cast<std::size_t>(p - point);
        digits += decimals;
    }
    if (digits == 0 || p != e) return std::nullopt;
    // Up to 15 digits the mantissa and the power of ten are exact doubles, so one division
    // gives the correctly rounded value (the common case: NMEA numbers are short).
    if (digits <= 15) {
        const double v = static_cast<double>(mantissa) / kPow10[decimals];
        return neg ? -v : v;
    }
    double v = 0;
    auto r = std::from_chars(start, e, v, std::chars_format::fixed);
    if (r.ec != std::errc() || r.ptr != e) return std::nullopt;
    return neg ? -v : v;
}

std::optional<std::int32_t> ParseInt(std::string_view s) {
    std::size_t i = 0;
    if (i < s.size() && s[i] == '+') ++i;
    if (i == s.size() || (s[i] == '-' && i + 1 == s.size())) return std::nullopt;
    std::int32_t v = 0;
    auto r = std::from_chars(s.data() + i, s.data() + s.size(), v, 10);
    if (r.ec != std::errc() || r.ptr != s.data() + s.size()) return std::nullopt;
    if (i == 1 && s.size() > 1 && s[1] == '-') return std::nullopt;  // "+-5"
    return v;
}

std::optional<std::uint32_t> ParseHex(std::string_view s) {
    if (s.empty()) return std::nullopt;
    if (s.size() <= 8) {  // cannot overflow: read in place (every checksum comes through here)
        std::uint32_t v = 0;
        for (const char c : s) {
            const char l = static_cast<char>(c | 0x20);
            const int d = IsDigit(c) ? c - '0' : l >= 'a' && l <= 'f' ? l - 'a' + 10 : -1;
            if (d < 0) return std::nullopt;
            v = v * 16 + static_cast<std::uint32_t>(d);
        }
        return v;
    }
    std::uint32_t v = 0;
    auto r = std::from_chars(s.data(), s.data() + s.size(), v, 16);
    if (r.ec != std::errc() || r.ptr != s.data() + s.size()) return std::nullopt;
    return v;
}

double ToDouble(std::string_view s) {
    if (auto v = ParseDecimal(s)) return *v;
    throw ConvertError();
}

std::int32_t ToInt(std::string_view s) {
    if (auto v = ParseInt(s)) return *v;
    throw ConvertError();
}

namespace {
// Text without quotes and without characters 0 to 32 (nearly every sentence) is split at its
// commas alone, eight characters at a time; false when the text needs the full rules.
bool SplitPlainText(std::string_view text, std::vector<std::string_view>& out) {
    const char* t = text.data();
    const std::size_t n = text.size();
    if (n == 0) return false;
    std::size_t from = 0, p = 0;
    // Ends a field at each comma whose bit is set in m: bit b stands for character base + (b >> shift).
    const auto cut = [&](auto m, std::size_t base, int shift) {
        for (; m != 0; m &= m - 1) {
            const std::size_t c = base + static_cast<std::size_t>(std::countr_zero(m) >> shift);
            out.emplace_back(t + from, c - from);
            from = c + 1;
        }
    };
#if defined(__SSE2__)
    // Sixteen characters at a time where the processor has the instructions for it.
    for (; p + 16 <= n; p += 16) {
        const __m128i w = _mm_loadu_si128(reinterpret_cast<const __m128i*>(t + p));
        const __m128i stop = _mm_cmpeq_epi8(_mm_min_epu8(w, _mm_set1_epi8(32)), w);  // w <= 32
        if (_mm_movemask_epi8(_mm_or_si128(stop, _mm_cmpeq_epi8(w, _mm_set1_epi8('"'))))) return false;
        cut(static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(w, _mm_set1_epi8(',')))), p, 0);
    }
#endif
    if constexpr (std::endian::native == std::endian::little) {
        constexpr std::uint64_t ones = 0x0101010101010101ull, high = 0x8080808080808080ull;
        constexpr std::uint64_t low7 = 0x7F7F7F7F7F7F7F7Full;
        // Any byte below 33 or any quote: exact as a yes/no test.
        const auto stops = [&](std::uint64_t w) {
            const std::uint64_t q = w ^ (ones * static_cast<unsigned char>('"'));
            return (((w - ones * 33) & ~w & high) | ((q - ones) & ~q & high)) != 0;
        };
        // The commas exactly, every one of them (no borrow runs between bytes).
        const auto commas = [&](std::uint64_t w) {
            const std::uint64_t x = w ^ (ones * static_cast<unsigned char>(','));
            return ~(((x & low7) + low7) | x | low7);
        };
        for (; p + 8 <= n; p += 8) {
            std::uint64_t w;
            std::memcpy(&w, t + p, 8);
            if (stops(w)) return false;
            cut(commas(w), p, 3);
        }
        if (const std::size_t rest = n - p; rest > 0 && n >= 8) {
            // The last eight characters: all are tested (again), the new ones moved down.
            std::uint64_t w;
            std::memcpy(&w, t + n - 8, 8);
            if (stops(w)) return false;
            cut(commas(w >> (8 * (8 - rest))), p, 3);  // zeros above: no commas
            p = n;
        }
    }
    for (; p < n; ++p) {
        const char c = t[p];
        if (U(c) <= 32 || c == '"') return false;
        if (c == ',') cut(1u, p, 0);
    }
    out.emplace_back(t + from, n - from);
    return true;
}
}  // namespace

void SplitCommaText(std::string_view text, std::vector<std::string_view>& out, std::string& arena) {
    out.clear();
    arena.clear();
    if (SplitPlainText(text, out)) return;
    out.clear();
    // Unquoted text never grows, so the arena never reallocates under the views.
    arena.reserve(text.size());
    const char* t = text.data();
    // A NUL ends the text. The scans below meet the first NUL before they use any byte after
    // it, so the end is moved there when they meet it instead of searching for it beforehand.
    std::size_t n = text.size();
    std::size_t p = 0;
    auto skipblanks = [&] {
        while (p < n && U(t[p]) <= 32) {
            if (t[p] == '\0') {
                n = p;
                return;
            }
            ++p;
        }
    };
    skipblanks();
    while (p < n) {
        if (t[p] == '"') {
            const std::size_t from = arena.size();
            ++p;
            while (p < n) {
                if (t[p] == '\0') {
                    n = p;
                    break;
                }
                if (t[p] == '"') {
                    if (p + 1 < n && t[p + 1] == '"') {
                        arena.push_back('"');
                        p += 2;
                        continue;
                    }
                    ++p;
                    break;
                }
                arena.push_back(t[p++]);
            }
            out.emplace_back(arena.data() + from, arena.size() - from);
        } else {
            const std::size_t b = p;
            p = FieldEnd(t, p, n);
            if (p < n && t[p] == '\0') n = p;
            out.emplace_back(t + b, p - b);
        }
        skipblanks();
        if (p < n && t[p] == ',') {
            if (p + 1 == n || t[p + 1] == '\0') out.emplace_back();
            ++p;
            skipblanks();
        }
    }
}

std::vector<std::string> SplitCommaText(std::string_view text) {
    std::vector<std::string_view> views;
    std::string arena;
    SplitCommaText(text, views, arena);
    return {views.begin(), views.end()};
}

void AppendCommaText(std::string& out, const std::vector<std::string_view>& fields, std::size_t first) {
    if (fields.size() == first + 1 && fields[first].empty()) {
        out += "\"\"";
        return;
    }
    for (std::size_t i = first; i < fields.size(); ++i) {
        if (i > first) out.push_back(',');
        const std::string_view f = fields[i];
        bool quote = false;
        for (char c : f)
            if ((U(c) >= 1 && U(c) <= 32) || c == '"' || c == ',') {
                quote = true;
                break;
            }
        if (!quote) {
            out += f;
            continue;
        }
        out.push_back('"');
        for (char c : f) {
            if (c == '"') out.push_back('"');
            out.push_back(c);
        }
        out.push_back('"');
    }
}

std::string JoinCommaText(const std::vector<std::string_view>& fields, std::size_t first) {
    std::string out;
    AppendCommaText(out, fields, first);
    return out;
}

std::string JoinCommaText(const std::vector<std::string>& fields) {
    std::vector<std::string_view> views(fields.begin(), fields.end());
    return JoinCommaText(views);
}

void AppendCsvQuoted(std::string& out, std::string_view text) {
    out += '"';
    // Runs up to and including each quote, which is then doubled.
    for (std::size_t q; (q = text.find('"')) != std::string_view::npos; text.remove_prefix(q + 1)) {
        out.append(text.data(), q + 1);
        out += '"';
    }
    out += text;
    out += '"';
}

void AppendCsvCell(std::string& out, std::string_view text) {
    if (text.find_first_of(",\"\r\n") != std::string_view::npos)
        AppendCsvQuoted(out, text);
    else
        out += text;
}

void PopField(std::string_view& text, std::string_view& field) {
    const auto comma = text.find(',');
    if (comma == std::string_view::npos) {
        field = text;
        text = {};
    } else {
        field = text.substr(0, comma);
        text = text.substr(comma + 1);
    }
}

std::string Fmt(const char* format, ...) {
    char buf[256];
    va_list ap;
    va_start(ap, format);
    const int n = std::vsnprintf(buf, sizeof buf, format, ap);
    va_end(ap);
    if (n < 0) return {};
    if (static_cast<std::size_t>(n) < sizeof buf) return std::string(buf, static_cast<std::size_t>(n));
    std::string s(static_cast<std::size_t>(n), '\0');
    va_start(ap, format);
    std::vsnprintf(s.data(), s.size() + 1, format, ap);
    va_end(ap);
    return s;
}

namespace {

std::string NumberText(double v, int width, std::chars_format format, int precision) {
    // Wide enough for any fixed double (309 integer digits) with the decimals we ask for.
    std::array<char, 400> buf;
    const auto r = std::to_chars(buf.data(), buf.data() + buf.size(), v, format, precision);
    if (r.ec != std::errc()) return {};
    const auto n = static_cast<std::size_t>(r.ptr - buf.data());
    const auto w = static_cast<std::size_t>(std::max(width, 0));
    std::string s(n < w ? w - n : 0, ' ');
    s.append(buf.data(), n);
    return s;
}

}  // namespace

std::string FixedNumber(double v, int width, int decimals) {
    return NumberText(v, width, std::chars_format::fixed, decimals);
}

std::string GeneralNumber(double v, int width, int precision) {
    return NumberText(v, width, std::chars_format::general, precision);
}

std::string UpperCase(std::string_view s) {
    std::string r(s);
    for (char& c : r)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return r;
}

std::string MmsiText(std::int64_t id) {
    // As "%9.9lld" would write it (at least nine digits, zeros in front, a minus before them),
    // without the cost of printf: every AIS report comes through here.
    const bool neg = id < 0;
    auto u = neg ? 0ull - static_cast<unsigned long long>(id) : static_cast<unsigned long long>(id);
    char buf[24];  // from the end: digits, zeros up to nine, the minus
    char* p = buf + sizeof buf;
    do {
        *--p = static_cast<char>('0' + u % 10);
        u /= 10;
    } while (u != 0);
    while (buf + sizeof buf - p < 9) *--p = '0';
    if (neg) *--p = '-';
    return std::string(p, buf + sizeof buf);
}

std::string PadLeft(std::string_view text, std::size_t width) {
    if (text.size() < width) return std::string(width - text.size(), ' ') + std::string(text);
    return std::string(text.substr(0, width));
}

std::string StripExt(std::string_view name) {
    const std::size_t slash = name.find_last_of("/\\");
    const std::size_t start = slash == std::string_view::npos ? 0 : slash + 1;
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || dot < start) return std::string(name);
    // At most 10 characters go: a longer extension keeps its first characters.
    const std::size_t cut = std::min<std::size_t>(name.size() - dot, 10);
    return std::string(name.substr(0, name.size() - cut));
}

std::string ReplaceChar(char oldc, char newc, std::string_view text) {
    std::string s(text);
    for (char& c : s)
        if (c == oldc) c = newc;
    return s;
}

}  // namespace brenvik
