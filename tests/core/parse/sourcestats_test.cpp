// The sources summary: what each talker sent, the recorder clock and the offsets, on a log
// whose numbers are worked out by hand below.
#include <gtest/gtest.h>

#include "parse/sourcestats.h"
#include "present/sourcestable.h"
#include "support/loadhelper.h"

namespace brenvik {
namespace {

using test::WithChecksum;

std::string Rmc(const char* utc) {
    return WithChecksum(std::string("$GPRMC,") + utc + ",A,5400.000,N,01000.000,E,5.0,90.0,010524,,");
}
std::string Gga(const char* utc) {
    return WithChecksum(std::string("$GNGGA,") + utc + ",5400.000,N,01000.000,E,1,08,1.0,10.0,M,,M,,");
}
std::string At(const char* recorder, const std::string& sentence) {
    return std::string("2024/05/01 ") + recorder + "," + sentence + "\r\n";
}

// Two receivers behind one recorder whose clock is 2.5 s behind UTC and loses 0.1 s a minute
// (offset = 2.5 s + 0.1 s per recorder minute on every line, so the drift is 6 s/h). GP RMC
// skips minutes 3 to 5 and 7 to 8; GN GGA falls silent for 10 minutes after minute 2. Line 8
// has no prefix and its UTC steps back; line 9 fails its checksum.
std::string ClockLog() {
    std::string corrupt = Rmc("100903.400");
    corrupt[8] = '2';  // one data character changed
    return At("10:00:00", Rmc("100002.500")) +   // 1  offset 2.5
           At("10:00:00", Gga("100002.500")) +   // 2  2.5
           At("10:01:00", Rmc("100102.600")) +   // 3  2.6
           At("10:01:00", Gga("100102.600")) +   // 4  2.6
           At("10:02:00", Rmc("100202.700")) +   // 5  2.7
           At("10:02:00", Gga("100202.700")) +   // 6  2.7
           At("10:06:00", Rmc("100603.100")) +   // 7  3.1
           Rmc("100500.000") + "\r\n" +          // 8  no recorder time; GP's UTC steps back
           At("10:09:00", corrupt) +             // 9  corrupt
           At("10:10:00", Rmc("101003.500")) +   // 10 3.5
           At("10:12:00", Gga("101203.700")) +   // 11 3.7
           At("10:12:00", Rmc("101203.700"));    // 12 3.7
}

TEST(Sources, TableOfAHandWorkedLog) {
    const auto log = test::LoadText(ClockLog());
    ASSERT_EQ(log->outcome, LoadOutcome::Complete);
    const Session& s = log->s;
    ASSERT_EQ(s.corruptcount, 1);
    const TSourcesTable t = SourcesTable(s);
    using Row = std::vector<std::string>;
    // GP RMC: lines 1 3 5 7 8 9 10 12; timed lines 8 over 12 minutes: 7 / 12 = 0.58 a minute;
    // recorder minutes 0 1 2 6 9 10 12: the largest gap is 4 minutes after line 5.
    // GN GGA: lines 2 4 6 11 over 12 minutes: 3 / 12 = 0.25; 10 minutes after line 6.
    const std::vector<Row> want{
        {"GP RMC", "8", "7", "1", "1", "1", "12", "01-05-2024 10:00:00", "01-05-2024 10:12:00", "0.58",
         "0 days + 240 secs", "5", "1"},
        {"GN GGA", "4", "4", "0", "0", "2", "11", "01-05-2024 10:00:00", "01-05-2024 10:12:00", "0.25",
         "0 days + 600 secs", "6", "0"},
        {"All", "12", "11", "1", "1", "1", "12", "", "", "", "", "", "1"},
    };
    EXPECT_EQ(t.rows, want);

    // Offsets 2.5 2.5 2.6 2.6 2.7 2.7 3.1 3.5 3.7 3.7: median 2.7, on a line of slope 0.1 s/min.
    EXPECT_NEAR(OffsetMedian(s), 2.7, 1e-9);
    EXPECT_NEAR(OffsetDrift(s), 6.0, 1e-6);
    const auto lines = SourcesTableLines(s);
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[5],
              "Recorder time: 01-05-2024 10:00:00 to 01-05-2024 10:12:00, span 0 days + 720 secs, "
              "0 backward steps, largest gap 0 days + 240 secs from line 6");
    EXPECT_EQ(lines[6],
              "UTC minus recorder time (10 lines): median 2.700 s, minimum 2.500 s, maximum 3.700 s, "
              "drift 6.000 s/h");
    EXPECT_EQ(SourcesVerdict(s), "Clock: 1 backward jump, largest gap 0 days + 600 secs (GN GGA), offset drift 6.000 s/h");
}

TEST(Sources, ClickOnALineNumberCell) {
    const auto log = test::LoadText(ClockLog());
    const Session& s = log->s;
    const auto lines = SourcesTableLines(s);
    const auto col = [&](int line, std::string_view text, std::size_t from = 0) {
        return static_cast<int>(lines[static_cast<std::size_t>(line)].find(text, from));
    };
    // Row of GN GGA (text line 2): first line 2, last line 11, gap from line 6.
    const int lastcol = col(0, "Last line") + static_cast<int>(std::string_view("Last line").size()) - 1;
    EXPECT_EQ(SourcesLineAt(s, 2, lastcol), 11);
    EXPECT_EQ(SourcesLineAt(s, 2, lastcol - 1), 11);
    EXPECT_EQ(SourcesLineAt(s, 2, lastcol - 2), -1);  // padding before the number
    const int firstcol = col(0, "First line") + static_cast<int>(std::string_view("First line").size()) - 1;
    EXPECT_EQ(SourcesLineAt(s, 1, firstcol), 1);
    const int gapcol = col(0, "Gap line") + static_cast<int>(std::string_view("Gap line").size()) - 1;
    EXPECT_EQ(SourcesLineAt(s, 2, gapcol), 6);
    EXPECT_EQ(SourcesLineAt(s, 2, 0), -1);             // the source's name
    EXPECT_EQ(SourcesLineAt(s, 0, firstcol), -1);      // headings
    EXPECT_EQ(SourcesLineAt(s, 3, gapcol), -1);        // "All" has no gap
    EXPECT_EQ(SourcesLineAt(s, 6, firstcol), -1);      // clock lines
    EXPECT_EQ(SourcesLineAt(s, 99, 0), -1);
}

// A log without recorder times and clean clocks: no verdict, and the next load starts afresh.
TEST(Sources, QuietLogHasNoVerdictAndLoadsDoNotAccumulate) {
    test::FakePlatform p;
    Session s(p);
    test::TempFile first(ClockLog());
    ASSERT_EQ(LoadLogFile(s, first.path()), LoadOutcome::Complete);
    test::TempFile second(Rmc("100002.500") + "\r\n# comment\r\n" + Rmc("100003.500") + "\r\n$\r\n");
    ASSERT_EQ(LoadLogFile(s, second.path()), LoadOutcome::Complete);
    EXPECT_EQ(SourcesVerdict(s), "");
    const TSourcesTable t = SourcesTable(s);
    ASSERT_EQ(t.rows.size(), 3u);
    EXPECT_EQ(t.rows[0][0], "GP RMC");
    EXPECT_EQ(t.rows[0][1], "2");
    EXPECT_EQ(t.rows[0][9], "60.00");
    EXPECT_EQ(t.rows[1][0], "(no talker)");  // "$" alone: handed on, unprocessed
    EXPECT_EQ(t.rows[1][3], "1");
    EXPECT_EQ(SourcesTableLines(s).back(), "UTC minus recorder time: no line carries both");
}

TEST(SourceKey, TalkerAndIdentifier) {
    struct Case { const char* sentence; const char* talker; const char* ident; };
    const Case cases[] = {
        {"$GPRMC,1", "GP", "RMC"}, {"!AIVDM,1,1", "AI", "VDM"}, {"$PFEC,GPatt", "P", "FEC"},
        {"$PGRMZ,93", "P", "GRM"}, {"$GPN*2A", "GP", "N"},       {"$II", "II", ""},
        {"$,1", "", ""},           {"$", "", ""},                {"!ABVDO", "AB", "VDO"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sentence);
        const TSourceKey k = SourceKey(c.sentence);
        EXPECT_EQ(k.talker, c.talker);
        EXPECT_EQ(k.ident, c.ident);
    }
}

}  // namespace
}  // namespace brenvik
