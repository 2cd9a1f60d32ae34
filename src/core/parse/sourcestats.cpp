#include "parse/sourcestats.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <cmath>
#include <limits>
#include <optional>

#include "parse/fieldreaders.h"
#include "session.h"

namespace brenvik {
namespace {

// Talker (at most 2 bytes) and identifier (at most 3) with their lengths, in one integer.
std::uint64_t PackKey(const TSourceKey& k) {
    std::uint64_t v = k.talker.size();
    for (char c : k.talker) v = (v << 8) | static_cast<unsigned char>(c);
    v = (v << 8) | k.ident.size();
    for (char c : k.ident) v = (v << 8) | static_cast<unsigned char>(c);
    return v;
}

TSourceStat& FindOrAdd(TSources& src, const TSourceKey& k) {
    const std::uint64_t key = k.packed;
    // Logs repeat a few sources over and over: a small cache in front of the map.
    const std::size_t slot = static_cast<std::size_t>((key * 0x9E3779B97F4A7C15ull) >> 58);
    if (src.cachekey[slot] == key) return src.list[src.cacheix[slot]];
    const auto [it, added] = src.index.try_emplace(key, static_cast<std::uint32_t>(src.list.size()));
    if (added) {
        TSourceStat& n = src.list.emplace_back();
        n.talker.assign(k.talker);
        n.ident.assign(k.ident);
    }
    src.cachekey[slot] = key;
    src.cacheix[slot] = it->second;
    return src.list[it->second];
}

// A time of day placed on the day that brings it nearest to ref (so midnight passes forward
// and a clock that steps back is seen stepping back); ref 0 leaves it a bare time of day.
TDateTime NearestDay(double tod, TDateTime ref) {
    if (ref == 0) return tod;
    TDateTime t = std::floor(ref) + tod;
    if (t - ref > 0.5) t -= 1;
    if (ref - t > 0.5) t += 1;
    return t;
}

struct TSentenceUtc {
    TDateTime t = 0;
    bool hasdate = false;
};

// The UTC a RMC, GGA, GLL or ZDA sentence carries, read from its own fields (not the
// handlers' values, which never step back and carry the last event's date).
std::optional<TSentenceUtc> SentenceUtc(Session& s, std::string_view ident, const Fields& f) {
    std::optional<double> tod;
    std::optional<TDateTime> date;
    if (ident == "RMC") {
        tod = TimeOfDay(f.get(1));
        if (!f.get(9).empty()) date = DateDMY(s, f.get(9));
    } else if (ident == "GGA") {
        tod = TimeOfDay(f.get(1));
    } else if (ident == "GLL") {
        tod = TimeOfDay(f.get(5));
    } else if (ident == "ZDA") {
        tod = TimeOfDay(f.get(1));
        if (!f.get(2).empty() && !f.get(3).empty() && !f.get(4).empty())
            date = DateFromParts(f.get(4), f.get(3), f.get(2), s.NowYear());
    } else {
        return std::nullopt;
    }
    if (!tod || *tod < 0 || *tod >= 1) return std::nullopt;
    if (date) return TSentenceUtc{*date + *tod, true};
    return TSentenceUtc{*tod, false};
}

void AddOffset(TClockOffsets& o, TDateTime utc, TDateTime rec) {
    const double secs = (utc - rec) * 86400.0;
    constexpr double lim = std::numeric_limits<std::int32_t>::max() / 1000.0;
    o.millis.push_back(static_cast<std::int32_t>(std::lround(std::clamp(secs, -lim, lim) * 1000.0)));
    const auto n = static_cast<double>(o.millis.size());
    if (n == 1) {
        o.min = o.max = secs;
        o.x0 = rec;
    }
    o.min = std::min(o.min, secs);
    o.max = std::max(o.max, secs);
    // Running least squares (Welford): stable over a million points.
    const double x = (rec - o.x0) * 24.0;
    o.xlast = x;
    const double dx = x - o.meanx;
    o.meanx += dx / n;
    o.meany += (secs - o.meany) / n;
    o.sxy += dx * (secs - o.meany);
    o.sxx += dx * (x - o.meanx);
}

}  // namespace

TSourceKey SourceKey(std::string_view sentence) {
    // Nearly every sentence has five letters of address and a comma: taken where they stand,
    // the first eight characters at once.
    if (sentence.size() >= 8 && sentence[6] == ',' && !(sentence[1] == 'P' && sentence[0] == '$')) {
        std::uint64_t w;
        std::memcpy(&w, sentence.data(), 8);
        if constexpr (std::endian::native == std::endian::big) w = __builtin_bswap64(w);
        // Characters 1 to 5 (bytes 1 to 5 of w): none may be a comma or a "*".
        constexpr std::uint64_t ones = 0x0000010101010100ull, highs = ones << 7;
        const auto zero = [&](char c) {
            const std::uint64_t x = w ^ (ones * static_cast<unsigned char>(c));
            return (x - ones) & ~x & highs;
        };
        if ((zero(',') | zero('*')) == 0) {
            TSourceKey k{sentence.substr(1, 2), sentence.substr(3, 3)};
            const auto b = [&](int i) { return (w >> (8 * i)) & 0xFF; };
            k.packed = (2ull << 48) | (b(1) << 40) | (b(2) << 32) | (3ull << 24) | (b(3) << 16) | (b(4) << 8) | b(5);
            return k;
        }
    }
    if (sentence.size() < 2) return {};
    std::string_view address = sentence.substr(1, std::min<std::size_t>(sentence.size() - 1, 6));
    std::size_t end = 0;
    while (end < address.size() && address[end] != ',' && address[end] != '*') ++end;
    address = address.substr(0, end);
    if (address.empty()) return {};
    // Proprietary sentences: "P" and the maker's code.
    TSourceKey k = address[0] == 'P' && sentence[0] == '$' ? TSourceKey{address.substr(0, 1), Copy(address, 1, 3)}
                                                           : TSourceKey{address.substr(0, 2), Copy(address, 2, 3)};
    k.packed = PackKey(k);
    return k;
}

void SourceLineBegin(Session& s) {
    TLineNote& n = s.linenote;
    n.address = {};
    n.key = {};
    n.hasrec = false;
    n.rejected = false;
    n.totlines = s.totlines;
    n.unproclines = s.unproclines;
    n.corruptcount = s.corruptcount;
}

void SourceLineEnd(Session& s, const Fields& f) {
    const TLineNote& n = s.linenote;
    TSources& src = s.sources;
    const std::int32_t handed = s.totlines - n.totlines;
    const std::int32_t unproc = s.unproclines - n.unproclines;
    const std::int32_t corrupt = s.corruptcount - n.corruptcount;
    if (n.hasrec) src.recorder.Add(n.rec, s.recnumb);
    if (n.address.empty() && handed == 0 && corrupt == 0) return;

    const TSourceKey& key = n.key;
    TSourceStat& st = key.talker.empty() ? src.without : FindOrAdd(src, key);
    ++st.lines;
    st.processed += handed - unproc;
    st.unprocessed += unproc;
    st.corrupt += corrupt;
    if (st.firstline == 0) st.firstline = s.recnumb;
    st.lastline = s.recnumb;
    if (key.talker.empty()) return;

    // The fields are this line's only when it reached the dispatcher.
    std::optional<TSentenceUtc> utc;
    if (handed == 1 && !n.rejected && n.address[0] == '$') utc = SentenceUtc(s, key.ident, f);
    if (utc && !utc->hasdate) {
        TDateTime ref = n.hasrec ? n.rec : st.utc.count > 0 ? st.utc.last : src.lastfullutc;
        utc->t = NearestDay(utc->t, ref);
    } else if (utc) {
        src.lastfullutc = utc->t;
    }
    if (n.hasrec) {
        st.recorder.Add(n.rec, s.recnumb);
        st.times.Add(n.rec, s.recnumb);
    } else if (utc) {
        st.times.Add(utc->t, s.recnumb);
    }
    if (utc) {
        st.utc.Add(utc->t, s.recnumb);
        if (n.hasrec) AddOffset(src.offsets, utc->t, n.rec);
    }
}

}  // namespace brenvik
