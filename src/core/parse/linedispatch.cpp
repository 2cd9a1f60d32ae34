#include "parse/linedispatch.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <optional>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "ais/aisassembly.h"
#include "model/datetime.h"
#include "parse/fieldreaders.h"
#include "parse/handlers.h"
#include "parse/sourcestats.h"
#include "session.h"

namespace brenvik {
namespace {

constexpr auto npos = std::string_view::npos;
constexpr TDateTime kUnixEpoch = 25569;  // 1970-01-01 as a day number

constexpr bool IsHex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

// A handler of nullptr counts the sentence as unprocessed. "" matches any talker or identifier.
struct Route {
    std::string_view talker, ident;
    Handler handler;
};

// Talker of the position and time rows: any source of fixes (see IsGnssTalker).
constexpr std::string_view gnss = "GNSS";

// First match wins: the ALR rows must come before the any-talker rows, and the GNSS catch-all
// after the GNSS sentences.
constexpr std::array routes{
    Route{"BW", "ALR", DoALR},
    Route{"AI", "ALR", DoALR},
    Route{"", "ALR", nullptr},  // alarms only from bridge watch and AIS units
    Route{"", "HDT", DoHDT},
    Route{"", "HDG", DoHDG},
    Route{"", "HDM", DoHDM},
    Route{"", "DBS", [](Session& s, const Fields& f) { DoDepthBelow(s, f, 'S'); }},
    Route{"", "DBT", [](Session& s, const Fields& f) { DoDepthBelow(s, f, 'T'); }},
    Route{"", "DBK", [](Session& s, const Fields& f) { DoDepthBelow(s, f, 'K'); }},
    Route{"", "DPT", DoDPT},
    Route{"", "MWV", DoMWV},
    Route{"", "ROT", DoROT},
    Route{"", "RSA", DoRSA},
    Route{"", "VBW", DoVBW},
    Route{"", "VHW", DoVHW},
    Route{"", "VLW", DoVLW},
    Route{"", "MLS", DoMLS},
    Route{gnss, "GGA", DoGGA},
    Route{gnss, "GLL", DoGLL},
    Route{gnss, "GSA", DoGSA},
    Route{gnss, "RMC", DoRMC},
    Route{gnss, "VTG", DoVTG},
    Route{gnss, "ZDA", DoZDA},
    Route{gnss, "", nullptr},
    // Field 0 exactly "$PFEC": talker "PF", identifier "EC" (shorter than three letters).
    Route{"PF", "EC", DoFEC},
};

// Talkers and identifiers as integers (length in the top byte), so a route test is two
// compares; 0 is the empty text, which matches anything.
constexpr std::uint32_t Key(std::string_view t) {
    std::uint32_t k = static_cast<std::uint32_t>(t.size()) << 24;
    for (std::size_t i = 0; i < t.size() && i < 3; ++i)
        k |= static_cast<std::uint32_t>(static_cast<unsigned char>(t[i])) << (8 * (2 - i));
    return k;
}

struct RouteKey {
    std::uint32_t talker, ident;
};

// GPS, combined GNSS, GLONASS, Galileo, BeiDou (both talkers in use), QZSS, NavIC and
// integrated navigation systems: receivers since about 2015 write GN for a combined fix.
// Integrated instrumentation (II) and ECDIS (EC) pass a receiver's fixes on to the bus.
constexpr std::array gnsstalkers{Key("GP"), Key("GN"), Key("GL"), Key("GA"), Key("GB"), Key("BD"),
                                 Key("GQ"), Key("GI"), Key("IN"), Key("II"), Key("EC")};
constexpr std::uint32_t gnsskey = Key(gnss);  // four letters: no real talker has this key

constexpr bool IsGnssTalker(std::uint32_t tk) {
    for (const std::uint32_t g : gnsstalkers)
        if (g == tk) return true;
    return false;
}

constexpr auto routekeys = [] {
    std::array<RouteKey, routes.size()> k{};
    for (std::size_t i = 0; i < routes.size(); ++i) k[i] = {Key(routes[i].talker), Key(routes[i].ident)};
    return k;
}();

constexpr bool TalkerMatch(const RouteKey& r, std::uint32_t tk) {
    return r.talker == 0 || r.talker == tk || (r.talker == gnsskey && IsGnssTalker(tk));
}

const Route* FindRouteInRows(std::uint32_t rows, std::uint32_t tk) {
    for (; rows != 0; rows &= rows - 1) {
        const auto i = static_cast<std::size_t>(std::countr_zero(rows));
        if (TalkerMatch(routekeys[i], tk)) return &routes[i];
    }
    return nullptr;
}

// Rows whose identifier matches ik (theirs equal or empty), one bit per row.
constexpr std::uint32_t RowsFor(std::uint32_t ik) {
    std::uint32_t rows = 0;
    for (std::size_t i = 0; i < routekeys.size(); ++i)
        if (routekeys[i].ident == 0 || routekeys[i].ident == ik) rows |= 1u << i;
    return rows;
}
static_assert(routes.size() <= 32);

// Three capital letters as 0 .. 26^3 - 1; -1 for any other identifier.
constexpr int IdentIndex(std::string_view id) {
    if (id.size() != 3) return -1;
    int v = 0;
    for (char c : id) {
        if (c < 'A' || c > 'Z') return -1;
        v = v * 26 + (c - 'A');
    }
    return v;
}

// Every sentence is routed: the rows that can match its identifier are looked up by the
// identifier's letters, so only those rows' talkers are compared. Identifiers that are not
// three capital letters (the proprietary "EC" of $PFEC among them) take the rows one by one.
struct RouteTable {
    std::array<std::uint8_t, 26 * 26 * 26> group{};  // 0: no row names the identifier
    std::array<std::uint32_t, routes.size() + 1> rows{};
};
constexpr RouteTable routetable = [] {
    RouteTable t;
    t.rows[0] = RowsFor(~0u);  // rows with an empty identifier only
    std::uint8_t groups = 1;
    for (std::size_t i = 0; i < routes.size(); ++i) {
        const int ix = IdentIndex(routes[i].ident);
        if (ix < 0 || t.group[static_cast<std::size_t>(ix)] != 0) continue;
        t.rows[groups] = RowsFor(routekeys[i].ident);
        t.group[static_cast<std::size_t>(ix)] = groups++;
    }
    return t;
}();

const Route* FindRoute(std::string_view talker, std::string_view ident) {
    const std::uint32_t tk = Key(talker);
    const int ix = IdentIndex(ident);
    if (ix >= 0) return FindRouteInRows(routetable.rows[routetable.group[static_cast<std::size_t>(ix)]], tk);
    const std::uint32_t ik = Key(ident);
    for (std::size_t i = 0; i < routekeys.size(); ++i) {
        const RouteKey& r = routekeys[i];
        if (TalkerMatch(r, tk) && (r.ident == 0 || r.ident == ik)) return &routes[i];
    }
    return nullptr;
}

// FindRoute of a field 0, kept for the field 0s met last (per thread): a log repeats a few
// sentences over and over.
const Route* RouteOfField0(std::string_view f0) {
    if (f0.size() > 7) return FindRoute(Copy(f0, 1, 2), Copy(f0, 3, 3));
    // The bytes and the length in one integer: the bytes fill seven of its eight bytes.
    std::uint64_t k = 0;
    if (!f0.empty()) std::memcpy(&k, f0.data(), f0.size());  // an empty view may have no data
    k |= static_cast<std::uint64_t>(f0.size()) << (std::endian::native == std::endian::little ? 56 : 0);
    struct Slot {
        std::uint64_t key = ~0ull;  // no field 0 of seven bytes at most packs to this
        const Route* route = nullptr;
    };
    thread_local std::array<Slot, 64> memo{};
    Slot& slot = memo[static_cast<std::size_t>((k * 0x9E3779B97F4A7C15ull) >> 58)];
    if (slot.key != k) slot = {k, FindRoute(Copy(f0, 1, 2), Copy(f0, 3, 3))};
    return slot.route;
}

// year sep month sep day, nothing else.
std::optional<TDateTime> DateYMDText(std::string_view text, char sep, int nowyear) {
    const auto a = text.find(sep);
    if (a == npos) return std::nullopt;
    const auto b = text.find(sep, a + 1);
    if (b == npos) return std::nullopt;
    return DateFromParts(text.substr(0, a), text.substr(a + 1, b - a - 1), text.substr(b + 1), nowyear);
}

// The c: field of an IEC 61162-450 tag block: UNIX seconds, or milliseconds from 10^11 on.
std::optional<TDateTime> TagBlockTime(std::string_view tag) {
    tag = tag.substr(0, tag.find('*'));
    while (!tag.empty()) {
        std::string_view field;
        PopField(tag, field);
        if (!field.starts_with("c:")) continue;
        const std::string_view digits = field.substr(2);
        std::int64_t v = 0;
        const auto r = std::from_chars(digits.data(), digits.data() + digits.size(), v);
        if (digits.empty() || digits[0] == '-' || r.ec != std::errc() || r.ptr != digits.data() + digits.size())
            return std::nullopt;
        const double secs = v >= 100000000000 ? static_cast<double>(v) / 1000 : static_cast<double>(v);
        return kUnixEpoch + secs / 86400;
    }
    return std::nullopt;
}

// Removes a leading tag block ("\...\"); its time becomes the recorder time. A block that
// is never closed leaves nothing to read: the line is filed as corrupt, so that every line not
// read can be seen.
std::string_view StripTagBlock(Session& s, std::string_view line) {
    const auto close = line.find('\\', 1);
    if (close == npos) {
        FileCorruptLine(s, line);
        return {};
    }
    if (!s.settings.ignorevdr)
        if (auto t = TagBlockTime(line.substr(1, close - 1))) {
            s.vdrdts = *t;
            NoteRecorderTime(s.linenote, *t);
        }
    return Trim(line.substr(close + 1));
}

// The exclusive-or of the characters, or nullopt when one lies outside 32..127. Eight
// characters at a time: every line passes through here.
std::optional<unsigned> XorPrintable(std::string_view body) {
    constexpr std::uint64_t kHigh = 0x8080808080808080ull;
    constexpr std::uint64_t kBelow32 = 0x6060606060606060ull;  // b + 0x60 has its top bit clear iff b < 32
    std::uint64_t acc = 0, bad = 0;
    std::size_t i = 0;
#if defined(__SSE2__)
    if (body.size() >= 16) {  // sixteen at a time where the processor has the instructions
        __m128i x16 = _mm_setzero_si128(), bad16 = _mm_setzero_si128();
        for (; i + 16 <= body.size(); i += 16) {
            const __m128i w = _mm_loadu_si128(reinterpret_cast<const __m128i*>(body.data() + i));
            x16 = _mm_xor_si128(x16, w);
            bad16 = _mm_or_si128(bad16, _mm_cmplt_epi8(w, _mm_set1_epi8(32)));  // 0..31 and 128..255
        }
        bad = static_cast<std::uint64_t>(_mm_movemask_epi8(bad16));
        alignas(16) std::uint64_t lanes[2];
        _mm_store_si128(reinterpret_cast<__m128i*>(lanes), x16);
        acc = lanes[0] ^ lanes[1];
    }
#endif
    for (; i + 8 <= body.size(); i += 8) {
        std::uint64_t w;
        std::memcpy(&w, body.data() + i, 8);
        acc ^= w;
        bad |= (w & kHigh) | (~(w + kBelow32) & kHigh);
    }
    unsigned x = 0;
    if (const std::size_t rest = body.size() - i; rest > 0 && body.size() >= 8) {
        // The last eight characters: all are tested (again), only the new ones are xored.
        std::uint64_t w;
        std::memcpy(&w, body.data() + body.size() - 8, 8);
        bad |= (w & kHigh) | (~(w + kBelow32) & kHigh);
        const unsigned drop = static_cast<unsigned>(8 * (8 - rest));
        acc ^= std::endian::native == std::endian::little ? w >> drop : w & (~0ull >> drop);
        i = body.size();
    }
    for (; i < body.size(); ++i) {
        const unsigned u = static_cast<unsigned char>(body[i]);
        x ^= u;
        bad |= static_cast<std::uint64_t>(u - 32u > 95u);
    }
    if (bad) return std::nullopt;
    acc ^= acc >> 32;
    acc ^= acc >> 16;
    acc ^= acc >> 8;
    return x ^ static_cast<unsigned>(acc & 0xff);
}

// Hands a split sentence to the handler of its route (nullptr: none takes it).
void DispatchRoute(Session& s, const Fields& f, std::string_view sentence, const Route* r) {
    ++s.totlines;
    const std::string_view f0 = f.get(0);
    // Nearly every tag is as long as the one before: its bytes are overwritten in place.
    std::string& tag = s.curevent.lasttag;
    if (tag.size() == f0.size())
        std::copy(f0.begin(), f0.end(), tag.begin());
    else
        tag.assign(f0);
    if (!r || !r->handler) {
        ++s.unproclines;
        return;
    }
    try {
        r->handler(s, f);
    } catch (const ConvertError&) {
        // A missing field or a value that is not a number: the sentence is corrupt, not the
        // file. What the handler stored before stays.
        AddCorrupt(s, sentence);
        ++s.corruptcount;
        ++s.unproclines;
    }
}

}  // namespace

void FrameLine(const TFrameRules& r, std::string_view line, TLineFrame& f, Fields& fields, bool tagblocks) {
    line = Trim(line);
    f.line = line;
    f.prefix = TLineFrame::Prefix::None;
    f.corrupt = f.split = false;
    f.dollar = npos;
    f.key = {};
    f.route = TLineFrame::noroute;
    if (tagblocks && !line.empty() && line[0] == '\\') {
        f.kind = TLineFrame::Kind::TagBlock;
        return;
    }
    // "-" and "#" begin comment lines.
    if (line.empty() || line[0] == '-' || line[0] == '#') {
        f.kind = TLineFrame::Kind::Blank;
        return;
    }
    if (line[0] == '!') {
        f.kind = TLineFrame::Kind::AIS;
        f.key = SourceKey(line);
        f.text = line;
        f.corrupt = SentenceCorrupt(r.verifychecksum, f.text, 0);
        if (!f.corrupt) {
            fields.Split(f.text);
            f.split = true;
        }
        return;
    }
    f.kind = TLineFrame::Kind::NMEA;
    // Everything before the first "$" is a recorder prefix; a line without "$" is all prefix.
    const auto p = line.find('$');
    f.dollar = p;
    if (p != 0 && !r.ignorevdr) {
        std::string_view prefix = line.substr(0, p);
        if (SentenceCorrupt(r.verifychecksum, prefix, 0)) {
            f.prefix = TLineFrame::Prefix::Corrupt;
            f.prefixtext = prefix;
            return;
        }
        if (!prefix.empty()) {
            f.prefixtext = prefix;
            f.prefix = TLineFrame::Prefix::Unread;
            if (r.nowyear != 0) {
                const bool ok = prefix[0] == '[' ? ReadDateTimeMDY(BracketText(prefix), r.nowyear, f.recorder)
                                                 : ReadVdrPrefix(prefix, r.nowyear, f.recorder);
                // A prefix that does not convert is read again where its message can be given.
                if (ok) f.prefix = TLineFrame::Prefix::Read;
            }
        }
    }
    if (p == npos) return;
    f.key = SourceKey(line.substr(p));
    f.text = line;
    f.corrupt = SentenceCorrupt(r.verifychecksum, f.text, p);
    if (!f.corrupt) {
        fields.Split(f.text);
        f.split = true;
        const Route* route = RouteOfField0(fields.get(0));
        f.route = route ? static_cast<std::int8_t>(route - routes.data()) : TLineFrame::noroute;
    }
}

void ApplyLine(Session& s, const TLineFrame& f, Fields& fields) {
    switch (f.kind) {
    case TLineFrame::Kind::Blank:
        return;
    case TLineFrame::Kind::TagBlock: {
        const std::string_view rest = StripTagBlock(s, f.line);
        TLineFrame after;
        FrameLine(FrameRules(s), rest, after, fields, false);
        ApplyLine(s, after, fields);
        return;
    }
    case TLineFrame::Kind::AIS:
        NoteAddress(s.linenote, f.line, f.key);
        if (f.corrupt) {
            FileCorruptLine(s, f.text);
            return;
        }
        ProcessAIS(s, fields);
        return;
    case TLineFrame::Kind::NMEA:
        break;
    }
    switch (f.prefix) {
    case TLineFrame::Prefix::None:
        break;
    case TLineFrame::Prefix::Corrupt:
        FileCorruptLine(s, f.prefixtext);
        return;
    case TLineFrame::Prefix::Unread: {
        bool ok = false;
        s.vdrdts = f.prefixtext[0] == '[' ? ParseBracketPrefix(s, f.prefixtext, &ok) : ParseVdrPrefix(s, f.prefixtext, &ok);
        if (ok) NoteRecorderTime(s.linenote, s.vdrdts);
        break;
    }
    case TLineFrame::Prefix::Read:
        s.vdrdts = f.recorder;
        NoteRecorderTime(s.linenote, s.vdrdts);
        break;
    }
    if (f.dollar == npos) return;
    NoteAddress(s.linenote, f.line.substr(f.dollar), f.key);
    if (f.corrupt) {
        FileCorruptLine(s, f.text);
        return;
    }
    DispatchRoute(s, fields, f.text, f.route == TLineFrame::noroute ? nullptr : &routes[static_cast<std::size_t>(f.route)]);
}

TFrameRules FrameRules(const Session& s) {
    return {s.settings.verifychecksum, s.settings.ignorevdr, 0};
}

void ParseLine(Session& s, std::string_view line) {
    TLineFrame f;
    FrameLine(FrameRules(s), line, f, s.linefields, true);
    ApplyLine(s, f, s.linefields);
}

bool SentenceCorrupt(bool verify, std::string_view& text, std::size_t from) {
    const auto a = text.find('*');
    if (a == npos) {
        text = Copy(text, from, 999);
        return false;
    }
    const std::string_view checksum = Copy(text, a + 1, 99);
    text = a > from ? text.substr(from, a - from) : std::string_view{};
    return verify && !ChecksumOK(Copy(text, 1, 999), checksum);
}

bool CheckSentence(Session& s, std::string_view& text, std::size_t from) {
    if (!SentenceCorrupt(s.settings.verifychecksum, text, from)) return false;
    FileCorruptLine(s, text);
    return true;
}

bool ChecksumOK(std::string_view body, std::string_view checksum) {
    // The checksum is the hexadecimal digits after the "*"; receiver metadata may follow them,
    // but not another "*".
    std::size_t n = 0;
    while (n < checksum.size() && IsHex(checksum[n])) ++n;
    if (n == 0 || checksum.find('*', n) != npos) return false;
    const auto x = XorPrintable(body);
    if (!x) return false;
    const auto v = ParseHex(checksum.substr(0, n));
    return v && *v == *x;
}

void AddCorrupt(Session& s, std::string_view text) {
    std::string rec = Fmt("%7.7d|", s.recnumb);
    rec += text;
    s.corruptrecs.push_back(std::move(rec));
}

void FileCorruptLine(Session& s, std::string_view text) {
    s.linenote.rejected = true;
    AddCorrupt(s, text);
    ++s.corruptcount;
    ++s.totlines;
    ++s.unproclines;
}

void DispatchNMEA(Session& s, const Fields& f, std::string_view sentence) {
    DispatchRoute(s, f, sentence, RouteOfField0(f.get(0)));
}


bool ReadVdrPrefix(std::string_view prefix, int nowyear, TDateTime& value, std::string_view* rest_out) {
    std::optional<TDateTime> date, time;
    std::string_view rest = prefix, first;
    const bool blank = prefix.size() > 10 && prefix[4] == '/' && prefix[7] == '/' && prefix[10] == ' ';
    const bool dash = prefix.size() > 10 && prefix[4] == '-' && prefix[7] == '-' && prefix[10] == ',';
    if ((blank || dash) && DigitsAt(prefix, 0, 1, 2, 3, 5, 6, 8, 9)) {
        // The date with four, two and two digits (nearly every prefix), read where it stands:
        // the same parts as the general reading finds.
        date = DateFromParts(prefix.substr(0, 4), prefix.substr(5, 2), prefix.substr(8, 2), nowyear);
        rest = prefix.substr(11);
        std::string_view clock;
        PopField(rest, clock);
        time = ClockTime(blank ? Copy(clock, 0, 12) : clock);
    } else {
        PopField(rest, first);
        if (const auto q = first.find(' '); q != npos) {  // "YYYY/MM/DD hh:mm:ss,"
            date = DateYMDText(first.substr(0, q), '/', nowyear);
            time = ClockTime(Copy(first, q + 1, 12));
        } else {  // "YYYY-MM-DD,hh:mm:ss,"
            date = DateYMDText(first, '-', nowyear);
            std::string_view clock;
            PopField(rest, clock);
            time = ClockTime(clock);
        }
    }
    if (rest_out) *rest_out = rest;
    value = date && time ? *date + *time : date.value_or(0);
    return date && time;
}

TDateTime ParseVdrPrefix(Session& s, std::string_view prefix, bool* ok) {
    TDateTime value = 0;
    std::string_view rest;
    const bool good = ReadVdrPrefix(prefix, s.NowYear(), value, &rest);
    if (ok) *ok = good;
    if (!good) s.LineMessage(LineMsg::FormatError, MsgKind::Plain, rest);
    return value;
}

std::string_view BracketText(std::string_view prefix) {
    const auto close = prefix.find(']');
    return close == npos ? std::string_view{} : prefix.substr(1, close - 1);
}

TDateTime ParseBracketPrefix(Session& s, std::string_view prefix, bool* ok) {
    return DateTimeMDY(s, BracketText(prefix), ok);
}

bool ReadDateTimeMDY(std::string_view text, int nowyear, TDateTime& value) {
    // MM?DD?year[ time]: month and day at fixed places, the year up to the first blank.
    std::string_view year, month, day, clock;
    if (text.size() > 10 && text[10] == ' ' && DigitsAt(text, 0, 1, 3, 4, 6, 7, 8, 9)) {
        // Two, two and four digits and a blank (nearly every bracket prefix), read where they
        // stand: the same parts as the general reading finds.
        year = text.substr(6, 4);
        month = text.substr(0, 2);
        day = text.substr(3, 2);
        clock = Trim(text.substr(11));
    } else {
        year = Copy(text, 6);
        if (const auto blank = year.find(' '); blank != npos) {
            clock = Trim(year.substr(blank + 1));
            year = year.substr(0, blank);
        }
        month = Trim(Copy(text, 0, 2));
        day = Trim(Copy(text, 3, 2));
    }
    const auto date = DateFromParts(year, month, day, nowyear);
    const auto time = clock.empty() ? std::optional<TDateTime>(0) : ClockTime(clock);
    value = date && time ? *date + *time : 0;
    return date && time;
}

TDateTime DateTimeMDY(Session& s, std::string_view text, bool* ok) {
    TDateTime value = 0;
    const bool good = ReadDateTimeMDY(text, s.NowYear(), value);
    if (ok) *ok = good;
    if (!good) s.LineMessage(LineMsg::Error, MsgKind::Plain, text);
    return value;
}

}  // namespace brenvik
