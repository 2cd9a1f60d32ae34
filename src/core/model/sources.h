#pragma once
// What each source of a log sent and how its clocks behaved, gathered during the load: one
// record per talker and sentence identifier, and the recorder clock against the sentences' UTC.
// Memory grows with the number of distinct sources, and by one number per line carrying both a
// recorder time and a sentence UTC (for the offsets' median).
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "model/datetime.h"

namespace brenvik {

// The largest step between two consecutive times of one series, and where it starts.
struct TGap {
    double days = 0;
    std::int32_t fromline = 0;  // 0: no step seen yet
    TDateTime from = 0;
};

// One series of times in line order: first, last, backward steps and the largest forward gap.
struct TTimeSeries {
    std::int32_t count = 0;
    TDateTime first = 0, last = 0;
    std::int32_t lastline = 0;
    std::int32_t backward = 0;
    TGap gap;

    void Add(TDateTime t, std::int32_t line) {
        if (count == 0) {
            first = t;
        } else if (t < last) {
            ++backward;
        } else if (t - last > gap.days) {
            gap = {t - last, lastline, last};
        }
        last = t;
        lastline = line;
        ++count;
    }
};

struct TSourceStat {
    std::string talker;  // "GP", "AI", "P" for proprietary sentences
    std::string ident;   // "RMC", "VDM", the maker's code for proprietary ones
    std::int32_t lines = 0;
    std::int32_t processed = 0;    // handed to a handler and taken (as the report counts)
    std::int32_t unprocessed = 0;  // handed to a handler and not taken
    std::int32_t corrupt = 0;      // filed in the corrupt lines
    std::int32_t firstline = 0, lastline = 0;
    // Recorder time of the line where it has one, else the sentence's own UTC.
    TTimeSeries times;
    TTimeSeries recorder;  // its lines' recorder times: the gaps
    TTimeSeries utc;       // its sentences' own UTC: the backward steps
};

// Sentence UTC minus recorder time, in seconds, over the lines that carry both.
struct TClockOffsets {
    std::vector<std::int32_t> millis;  // one per such line, for the median
    double min = 0, max = 0;
    // Running means and co-moments for the least-squares line (x: recorder hours from the first).
    double x0 = 0;     // recorder time of the first
    double xlast = 0;  // hours from x0 to the last
    double meanx = 0, meany = 0, sxx = 0, sxy = 0;

    std::int64_t count() const { return static_cast<std::int64_t>(millis.size()); }
};

struct TSources {
    std::vector<TSourceStat> list;  // in the order first heard
    std::unordered_map<std::uint64_t, std::uint32_t> index;  // packed talker and identifier -> list
    std::array<std::uint64_t, 64> cachekey{};  // recent keys of index (0: none) and their list positions
    std::array<std::uint32_t, 64> cacheix{};
    TTimeSeries recorder;          // the recorder time over the whole log
    TClockOffsets offsets;
    TSourceStat without;              // lines with no talker ("$" alone, a bad prefix or tag block)
    TDateTime lastfullutc = 0;        // the latest UTC read with its date (dates time-only sentences)

    void Clear() { *this = TSources{}; }
};

// Talker and identifier of a sentence ("$GPRMC,..." gives GP and RMC; "$PFEC,..." gives P and
// FEC); an empty talker when the sentence has none. `packed` holds both with their lengths.
struct TSourceKey {
    std::string_view talker, ident;
    std::uint64_t packed = 0;
};

// What the framer learnt about the current line, for the summary.
struct TLineNote {
    std::string_view address;  // the sentence from its "$" or "!" on (valid during the line)
    TSourceKey key;            // of address
    bool hasrec = false;       // the line carries a recorder time (VDR prefix or tag block)
    bool rejected = false;     // filed as corrupt before its fields were split
    TDateTime rec = 0;
    std::int32_t totlines = 0, unproclines = 0, corruptcount = 0;  // counters before the line
};

inline void NoteAddress(TLineNote& n, std::string_view sentence, const TSourceKey& key) {
    n.address = sentence;
    n.key = key;
}
inline void NoteRecorderTime(TLineNote& n, TDateTime t) {
    n.hasrec = true;
    n.rec = t;
}

}  // namespace brenvik
