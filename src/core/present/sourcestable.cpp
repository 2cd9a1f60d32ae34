#include "present/sourcestable.h"

#include <algorithm>
#include <cmath>

#include "model/sources.h"
#include "model/strutil.h"
#include "present/report.h"
#include "present/valuetext.h"
#include "session.h"

namespace brenvik {
namespace {

constexpr const char* headings[] = {"Source",   "Lines",      "Processed", "Unprocessed", "Corrupt",
                                    "First line", "Last line", "First time", "Last time", "Rate/min",
                                    "Largest gap", "Gap line", "UTC back"};
constexpr int kColumns = static_cast<int>(std::size(headings));
// Cells holding line numbers, and the texts that are left-aligned.
constexpr int cFirstLine = 5, cLastLine = 6, cGapLine = 11;
constexpr bool IsTextColumn(int c) { return c == 0 || c == 7 || c == 8 || c == 10; }

// Talkers and identifiers are bytes of the log: only printable ASCII is shown as it is.
std::string Printable(std::string_view text) {
    std::string r(text);
    for (char& c : r)
        if (c < 32 || c > 126) c = '?';
    return r;
}

std::string Count(std::int32_t n) { return std::to_string(n); }
std::string LineRef(std::int32_t n) { return n > 0 ? std::to_string(n) : std::string(); }

std::string WhenText(const TFormat& f, const TTimeSeries& t, TDateTime v) {
    return t.count > 0 ? DateText(f, v) + " " + TimeText(f, v) : std::string();
}

// Lines per minute over the source's own span: its intervals, so once a second shows 60.
std::string RateText(const TFormat& f, const TTimeSeries& t) {
    const double minutes = (t.last - t.first) * 1440.0;
    if (t.count < 2 || !(minutes > 0)) return {};
    return FixedText(f, (t.count - 1) / minutes, 0, 2);
}

std::string GapText(const TGap& g) { return g.fromline > 0 ? DurationText(g.from, g.from + g.days) : std::string(); }

std::vector<std::string> SourceRow(const TFormat& f, const TSourceStat& st, std::string name) {
    return {std::move(name),
            Count(st.lines),
            Count(st.processed),
            Count(st.unprocessed),
            Count(st.corrupt),
            LineRef(st.firstline),
            LineRef(st.lastline),
            WhenText(f, st.times, st.times.first),
            WhenText(f, st.times, st.times.last),
            RateText(f, st.times),
            GapText(st.recorder.gap),
            LineRef(st.recorder.gap.fromline),
            st.utc.count > 0 ? Count(st.utc.backward) : std::string()};
}

void AddToTotal(TSourceStat& all, const TSourceStat& st) {
    all.lines += st.lines;
    all.processed += st.processed;
    all.unprocessed += st.unprocessed;
    all.corrupt += st.corrupt;
    if (st.firstline > 0 && (all.firstline == 0 || st.firstline < all.firstline)) all.firstline = st.firstline;
    all.lastline = std::max(all.lastline, st.lastline);
    all.utc.backward += st.utc.backward;
    all.utc.count += st.utc.count;
}

std::string Seconds(const TFormat& f, double secs) { return FixedText(f, secs, 0, 3) + " s"; }

std::vector<std::string> ClockLines(const Session& s, const TFormat& f) {
    const TSources& src = s.sources;
    const TTimeSeries& r = src.recorder;
    std::vector<std::string> lines;
    if (r.count == 0) {
        lines.emplace_back("Recorder time: none");
    } else {
        std::string l = "Recorder time: " + WhenText(f, r, r.first) + " to " + WhenText(f, r, r.last) +
                        ", span " + DurationText(r.first, r.last) + Fmt(", %d backward steps", r.backward);
        if (r.gap.fromline > 0) l += ", largest gap " + GapText(r.gap) + Fmt(" from line %d", r.gap.fromline);
        lines.push_back(std::move(l));
    }
    const TClockOffsets& o = src.offsets;
    if (o.count() == 0) {
        lines.emplace_back("UTC minus recorder time: no line carries both");
    } else {
        lines.push_back(Fmt("UTC minus recorder time (%lld lines): median ", static_cast<long long>(o.count())) +
                        Seconds(f, OffsetMedian(s)) + ", minimum " + Seconds(f, o.min) + ", maximum " +
                        Seconds(f, o.max) + ", drift " + FixedText(f, OffsetDrift(s), 0, 3) + " s/h");
    }
    return lines;
}

// Start of each column in the text view, and the total width.
std::vector<std::size_t> ColumnStarts(const TSourcesTable& t) {
    std::vector<std::size_t> width(kColumns);
    for (int c = 0; c < kColumns; ++c) {
        width[c] = t.head[c].size();
        for (const auto& row : t.rows) width[c] = std::max(width[c], row[c].size());
    }
    std::vector<std::size_t> start(kColumns + 1, 0);
    for (int c = 0; c < kColumns; ++c) start[c + 1] = start[c] + width[c] + 2;
    return start;
}

std::string AlignedRow(const std::vector<std::string>& cells, const std::vector<std::size_t>& start) {
    std::string line;
    for (int c = 0; c < kColumns; ++c) {
        const std::size_t w = start[c + 1] - start[c] - 2;
        const std::string& cell = cells[c];
        const std::string pad(w - cell.size(), ' ');
        line += IsTextColumn(c) ? cell + pad : pad + cell;
        if (c + 1 < kColumns) line += "  ";
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    return line;
}

}  // namespace

TSourcesTable SourcesTable(const Session& s) {
    const TFormat f = s.Format();
    const TSources& src = s.sources;
    TSourcesTable t;
    t.head.assign(std::begin(headings), std::end(headings));
    TSourceStat all;
    auto add = [&](const TSourceStat& st, std::string name) {
        t.rows.push_back(SourceRow(f, st, std::move(name)));
        t.linerefs.push_back({st.firstline, st.lastline, st.recorder.gap.fromline});
        AddToTotal(all, st);
    };
    for (const TSourceStat& st : src.list) add(st, Printable(st.talker) + " " + Printable(st.ident));
    if (src.without.lines > 0) add(src.without, "(no talker)");
    std::vector<std::string> total = SourceRow(f, all, "All");
    total[7] = total[8] = total[9] = std::string();  // no common span or rate
    t.rows.push_back(std::move(total));
    t.linerefs.push_back({all.firstline, all.lastline, 0});
    return t;
}

std::vector<std::string> SourcesTableLines(const Session& s) {
    const TSourcesTable t = SourcesTable(s);
    const auto start = ColumnStarts(t);
    std::vector<std::string> lines{AlignedRow(t.head, start)};
    for (const auto& row : t.rows) lines.push_back(AlignedRow(row, start));
    lines.emplace_back();
    for (auto& l : ClockLines(s, s.Format())) lines.push_back(std::move(l));
    return lines;
}

std::int32_t SourcesLineAt(const Session& s, int lineindex, int column) {
    const TSourcesTable t = SourcesTable(s);
    const int row = lineindex - 1;  // line 0 holds the headings
    if (row < 0 || row >= static_cast<int>(t.rows.size()) || column < 0) return -1;
    const auto start = ColumnStarts(t);
    const auto col = static_cast<std::size_t>(column);
    const int cells[] = {cFirstLine, cLastLine, cGapLine};
    for (int i = 0; i < 3; ++i) {
        const int c = cells[i];
        // The cell's own width, right-aligned, so a click on its padding is no hit.
        const std::size_t end = start[c + 1] - 2;
        const std::size_t begin = end - t.rows[row][c].size();
        if (col >= begin && col < end && t.linerefs[row][i] > 0) return t.linerefs[row][i];
    }
    return -1;
}

double OffsetMedian(const Session& s) {
    std::vector<std::int32_t> v = s.sources.offsets.millis;
    if (v.empty()) return 0;
    const auto mid = v.begin() + static_cast<std::ptrdiff_t>(v.size() / 2);
    std::nth_element(v.begin(), mid, v.end());
    double m = *mid;
    if (v.size() % 2 == 0) m = (m + *std::max_element(v.begin(), mid)) / 2;
    return m / 1000.0;
}

double OffsetDrift(const Session& s) {
    const TClockOffsets& o = s.sources.offsets;
    return o.count() >= 2 && o.sxx > 0 ? o.sxy / o.sxx : 0;
}

std::string SourcesVerdict(const Session& s) {
    const TSources& src = s.sources;
    std::vector<std::string> parts;
    std::int32_t backward = src.recorder.backward;
    for (const auto& st : src.list) backward += st.utc.backward;
    if (backward > 0) parts.push_back(Fmt("%d backward jump%s", backward, backward == 1 ? "" : "s"));
    // A silence: at least a minute, and five times the source's usual interval between lines.
    const TSourceStat* silent = nullptr;
    for (const auto& st : src.list) {
        const TTimeSeries& r = st.recorder;
        if (r.count < 3 || r.gap.days < 60 * kSecond) continue;
        const double usual = (r.last - r.first - r.gap.days) / (r.count - 2);
        if (r.gap.days >= 5 * usual && (!silent || r.gap.days > silent->recorder.gap.days)) silent = &st;
    }
    if (silent)
        parts.push_back("largest gap " + GapText(silent->recorder.gap) + " (" + Printable(silent->talker) + " " +
                        Printable(silent->ident) + ")");
    // A drift that moved the offset by a second or more over the lines that show it.
    const double drift = OffsetDrift(s);
    if (std::fabs(drift) >= 1 && std::fabs(drift * src.offsets.xlast) >= 1)
        parts.push_back("offset drift " + FixedText(s.Format(), drift, 0, 3) + " s/h");
    if (parts.empty()) return {};
    std::string v = "Clock: " + parts[0];
    for (std::size_t i = 1; i < parts.size(); ++i) v += ", " + parts[i];
    return v;
}

}  // namespace brenvik
