// Several files read as one voyage: order, numbering, what carries over, reading lines back.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/logfiles.h"
#include "model/strutil.h"
#include "openlog.h"
#include "parse/loglines.h"
#include "present/report.h"
#include "support/fakeplatform.h"
#include "support/loadhelper.h"
#include "support/tempdir.h"

namespace brenvik {
namespace {

// Fixes once a second from h:m:s on 05-12-2026, n of them, with their checksums.
std::string Fixes(int h, int m, int s, int n) {
    std::string text;
    for (int i = 0; i < n; ++i) {
        const int t = h * 3600 + m * 60 + s + i;
        text += test::WithChecksum(Fmt("$GPRMC,%02d%02d%02d,A,5130.%03d,N,00007.000,W,5.0,90.0,051226,,", t / 3600,
                                       t / 60 % 60, t % 60, i)) +
                "\r\n";
    }
    return text;
}

struct Loaded {
    test::FakePlatform platform;
    Session s{platform};
};

TEST(Voyage, FilesAreReadInTimeOrderWithLinesRunningOn) {
    test::TempDir dir;
    const std::string a = dir.Write("c.log", Fixes(10, 0, 0, 10));  // names out of time order
    const std::string b = dir.Write("a.log", Fixes(10, 0, 5, 10));  // overlaps the one before
    const std::string c = dir.Write("b.log", "Voyage title\r\n" + Fixes(11, 0, 0, 10));  // an hour later
    const std::string none = dir.Write("0-notime.log", "$IIHDT,10,T\r\n");
    Loaded v;
    ASSERT_EQ(OpenLogFiles(v.s, {none, c, b, a}), LoadOutcome::Complete);
    ASSERT_EQ(v.s.logfiles.size(), 4u);
    const std::string paths[] = {a, b, c, none};
    const std::int32_t ranges[][2] = {{1, 10}, {11, 20}, {21, 31}, {32, 32}};
    for (std::size_t i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(v.s.logfiles[i].path, paths[i]);
        EXPECT_EQ(v.s.logfiles[i].firstline, ranges[i][0]);
        EXPECT_EQ(v.s.logfiles[i].lastline, ranges[i][1]);
    }
    const std::vector<std::string> report = SummaryReport(v.s);
    ASSERT_GE(report.size(), 6u);
    EXPECT_EQ(report[0], "Voyage of 4 files, lines 1 to 32:");
    EXPECT_EQ(report[1], "File 1: " + a + "  lines 1-10  05-12-2026 10:00:00 to 05-12-2026 10:00:09");
    EXPECT_EQ(report[2], "File 2: " + b + "  lines 11-20  05-12-2026 10:00:05 to 05-12-2026 10:00:14  OVERLAPS the file before by 4 s");
    EXPECT_EQ(report[3], "File 3: " + c + "  lines 21-31  05-12-2026 11:00:00 to 05-12-2026 11:00:09  GAP of 60 min after the file before");
    EXPECT_EQ(report[4], "File 4: " + none + "  lines 32-32  no time");
    EXPECT_EQ(report[5].substr(0, 30), "Total lines = 31, Processed Li");  // the title line is not counted

    // One recent entry for the set, in reading order; opening it again reads the same.
    EXPECT_EQ(v.s.settings.recentfiles.front(), VoyageEntry({a, b, c, none}));
    EXPECT_EQ(EntryFirstPath(v.s.settings.lastfile), a);
    Loaded again;
    ASSERT_EQ(OpenLogFile(again.s, v.s.settings.lastfile), LoadOutcome::Complete);
    EXPECT_EQ(again.s.events.count(), v.s.events.count());
    EXPECT_EQ(again.s.totlines, 31);

    // The folder gives its log files, by name, then the same order.
    Loaded folder;
    ASSERT_EQ(OpenLogFiles(folder.s, {dir.path().string()}), LoadOutcome::Complete);
    EXPECT_EQ(folder.s.settings.lastfile, v.s.settings.lastfile);
}

TEST(Voyage, EventsAndFragmentsCarryOverFileBoundaries) {
    // A two-part AIS message split between two files, and fixes on both sides.
    const std::string part1 = "!AIVDM,2,1,0,B,53mCkr02<e`phoSKO805@h4q@T>0<598TE80000N70==75W@:RB0C@UDQh00,0*3A\r\n";
    const std::string part2 = "!AIVDM,2,2,0,B,00000000000,2*27\r\n";
    const std::string first = Fixes(10, 0, 0, 30) + part1, second = part2 + Fixes(10, 0, 30, 30);
    test::TempDir dir;
    Loaded one, two;
    ASSERT_EQ(OpenLogFile(one.s, dir.Write("whole.txt", first + second)), LoadOutcome::Complete);
    ASSERT_EQ(OpenLogFiles(two.s, {dir.Write("2.txt", second), dir.Write("1.txt", first)}), LoadOutcome::Complete);
    EXPECT_EQ(two.s.vehicles.count(), 1);
    EXPECT_EQ(two.s.aisevents.count(), one.s.aisevents.count());
    EXPECT_EQ(two.s.totlines, one.s.totlines);
    ASSERT_EQ(two.s.events.count(), one.s.events.count());
    for (std::int32_t i = 0; i < one.s.events.count(); ++i) {
        EXPECT_EQ(two.s.events[i].dts, one.s.events[i].dts) << i;
        EXPECT_EQ(two.s.events[i].recnumb, one.s.events[i].recnumb) << i;
    }
    EXPECT_EQ(two.s.seg.totaldist, one.s.seg.totaldist);
}

TEST(Voyage, LinesAreReadBackAcrossFilesAndFarDownALongFile) {
    test::TempDir dir;
    std::string big;
    for (int i = 1; i <= 3 * kLineIndexStep + 5; ++i) big += Fmt("# line %d\n", i);
    const std::string early = dir.Write("early.log", Fixes(9, 0, 0, 3));
    const std::string late = dir.Write("late.log", Fixes(10, 0, 0, 1) + big);
    Loaded v;
    ASSERT_EQ(OpenLogFiles(v.s, {late, early}), LoadOutcome::Complete);
    ASSERT_EQ(v.s.logfiles.size(), 2u);
    EXPECT_EQ(v.s.logfiles[1].offsets.size(), 4u);  // lines 1, 65537, 131073, 196609 of the long file
    struct Case { std::int32_t first, last; std::vector<std::string> want; };
    // The long file begins at line 4 with a fix; its line 2 * step + 9 (past two index steps)
    // is "# line 2 * step + 8".
    const std::int32_t far = 4 + 2 * kLineIndexStep + 8;
    const Case cases[] = {
        {3, 5, {test::WithChecksum("$GPRMC,090002,A,5130.002,N,00007.000,W,5.0,90.0,051226,,"),
                test::WithChecksum("$GPRMC,100000,A,5130.000,N,00007.000,W,5.0,90.0,051226,,"), "# line 1"}},
        {far, far + 1, {Fmt("# line %d", 2 * kLineIndexStep + 8), Fmt("# line %d", 2 * kLineIndexStep + 9)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.first);
        std::vector<std::string> got;
        std::vector<std::int32_t> numbers;
        std::string failed;
        ASSERT_TRUE(ReadLogLines(v.s.logfiles, c.first, c.last, [&](std::int32_t n, std::string_view l) {
            numbers.push_back(n);
            got.emplace_back(l);
        }, failed));
        EXPECT_EQ(got, c.want);
        ASSERT_FALSE(numbers.empty());
        EXPECT_EQ(numbers.front(), c.first);
    }
    std::string failed;
    std::filesystem::remove(late);
    EXPECT_FALSE(ReadLogLines(v.s.logfiles, 4, 4, [](std::int32_t, std::string_view) {}, failed));
    EXPECT_EQ(failed, late);
}

}  // namespace
}  // namespace brenvik
