#include "openlog.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

#include "helptopics.h"
#include "model/datetime.h"
#include "present/report.h"
#include "support/loadhelper.h"
#include "support/tempdir.h"

namespace brenvik {
namespace {

using test::LoadText;

const char* const kGga = "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,";

// Inputs that must load completely without a crash or a message.
TEST(LoadLogFile, OddInputLoadsCompletely) {
    const std::string big(3 << 20, 'x');
    std::string fields300 = "$GPGSA,A,3";
    for (int i = 3; i < 300; ++i) fields300 += i == 16 ? ",1.7" : ",9";
    auto utf16le = [](std::string_view ascii) {
        std::string t = "\xFF\xFE";
        for (char c : ascii) t += {c, '\0'};
        return t;
    };
    struct Case { const char* name; std::string text; std::int32_t recnumb, totlines, events; };
    const Case cases[] = {
        {"empty file", "", 0, 0, 0},
        {"blank lines only", "\n\r\n  \n", 3, 0, 0},
        {"no final line end", std::string(kGga) + "\n" + kGga, 2, 2, 2},
        {"CR LF", std::string(kGga) + "\r\n" + kGga + "\r\n", 2, 2, 2},
        {"CR only", "$IIHDT,10,T\r$IIHDT,20,T\r", 2, 2, 0},
        {"UTF-16 LE", utf16le("$IIHDT,10,T\r\n\r"), 2, 1, 0},
        {"NUL bytes", std::string("$IIHDT,1\0\0,T\n", 14) + kGga + "\n", 2, 2, 2},
        {"bytes above 127", "$IIHDT,\xC3\xA9,T\n$GPTXT,\xFF\xFE\n", 2, 2, 0},
        {"multi-megabyte line", "#" + big + "\n" + kGga + "\n", 2, 1, 2},
        {"300 fields", fields300 + "\n", 1, 1, 0},
        {"huge numbers",
         "$IIHDT,123456789012345678901234567890,T\n$SDDPT,1e999,0\n$SDDPT," + std::string(400, '9') + ",0\n", 3, 3, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto log = LoadText(c.text);
        EXPECT_EQ(log->outcome, LoadOutcome::Complete);
        EXPECT_EQ(log->s.recnumb, c.recnumb);
        EXPECT_EQ(log->s.totlines, c.totlines);
        EXPECT_EQ(log->s.events.count(), c.events);
        EXPECT_TRUE(log->Messages().empty());
        EXPECT_EQ(log->platform.reports.size(), 1u);
        EXPECT_EQ(log->platform.loadsfinished, 1);
    }
}

TEST(LoadLogFile, ProgressAndCancel) {
    std::string text;
    for (int i = 0; i < 20000; ++i) text += Fmt("$GPGGA,%02d%02d%02d,4807.038,N,01131.000,E,1,,,,\n", 10 + i / 3600, i / 60 % 60, i % 60);
    auto whole = LoadText(text);
    ASSERT_EQ(whole->platform.progress.size(), 2u);  // every 8192 lines
    EXPECT_EQ(whole->platform.progress[1].lines, 16384);
    EXPECT_EQ(whole->platform.progress[1].totalbytes, text.size());
    EXPECT_GT(whole->platform.progress[1].bytes, 0u);
    EXPECT_LE(whole->platform.progress[1].bytes, text.size());
    EXPECT_EQ(whole->s.cancelline, 0);

    // Cancelled at the second call: what was read stays, as after a capacity stop.
    auto log = std::make_unique<test::LoadedLog>();
    log->platform.cancelat = 2;
    test::TempFile file(text);
    log->outcome = OpenLogFile(log->s, file.path());
    EXPECT_EQ(log->outcome, LoadOutcome::Complete);
    EXPECT_EQ(log->s.cancelline, 16384);
    EXPECT_EQ(log->s.totlines, 16383);
    EXPECT_EQ(log->s.events.count(), 16384);  // one per fix, and the final cut
    EXPECT_EQ(log->platform.loadsfinished, 1);
    EXPECT_TRUE(log->platform.messages.empty());
    EXPECT_EQ(SummaryReport(log->s).back(), "Reading cancelled at line 16384");
    // The next load starts afresh.
    log->platform.cancelat = 0;
    log->outcome = OpenLogFile(log->s, file.path());
    EXPECT_EQ(log->s.cancelline, 0);
    EXPECT_EQ(log->s.totlines, 20000);
}

TEST(LoadLogFile, CannotOpen) {
    // A device would give one endless line, a pipe without a writer would block for ever.
    const test::TempDir dir;
    const std::string fifo = dir.File("pipe.log");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string empty = dir.File("empty");
    std::filesystem::create_directory(empty);
    for (const std::string& path : {std::string("/nonexistent/brenvik.log"), empty, std::string("/dev/zero"), fifo}) {
        SCOPED_TRACE(path);
        test::FakePlatform p;
        Session s(p);
        s.settings.lastfile = "previous.log";
        s.curevent.heading = 5;
        EXPECT_EQ(OpenLogFile(s, path), LoadOutcome::NotOpened);
        ASSERT_EQ(p.messages.size(), 1u);
        // A folder is read as the voyage of its log files: this one has none.
        EXPECT_EQ(p.messages[0].text, (path == empty ? "No log files (*.txt, *.log, *.nmea) in:\r\n" : "Could not open the file:\r\n") + path);
        EXPECT_EQ(p.messages[0].kind, MsgKind::Error);
        EXPECT_EQ(s.settings.lastfile, "previous.log");
        EXPECT_EQ(s.curevent.heading, novalue);
        EXPECT_EQ(p.loadsfinished, 0);
    }
    test::FakePlatform p;
    Session s(p);
    EXPECT_EQ(OpenLogFile(s, ""), LoadOutcome::Skipped);
    EXPECT_EQ(p.loadsstarted, 0);
}

TEST(LoadLogFile, HeaderLinesAreSkippedUntilTheFirstOtherLine) {
    auto log = LoadText("Title of the voyage\nCOLUMNS A B\n$IIHDT,10,T\nVoyage notes\n");
    EXPECT_EQ(log->s.recnumb, 4);
    EXPECT_EQ(log->s.totlines, 1);
    EXPECT_EQ(log->Messages(), std::vector<std::string>{"Format Error=line 4: Voyage notes"});
}

TEST(LoadLogFile, FirstEventWithoutADateTakesTheSecondsTimeLessOneSecond) {
    auto log = LoadText(std::string(kGga) + "\n$GPRMC,123520,A,4807.038,N,01131.000,E,0,0,230394,,\n",
                        [](TSettings& s) { s.timethresh = 3600; });
    ASSERT_EQ(log->s.events.count(), 2);
    const TDateTime second = *EncodeDate(1994, 3, 23) + *EncodeTime(12, 35, 20, 0);
    EXPECT_NEAR(log->s.events[1].dts, second, kSecond / 1000);
    EXPECT_NEAR(log->s.events[0].dts, second - kSecond, kSecond / 1000);
    EXPECT_EQ(log->s.firstdts, log->s.events[0].dts);
}

TEST(LoadLogFile, RecorderTimesDoNotLeakIntoTheNextFile) {
    test::FakePlatform p;
    Session s(p);
    const test::TempFile withvdr(std::string("2012/03/15 10:11:12,") + kGga + "\n");
    const test::TempFile plain(std::string(kGga) + "\n");
    ASSERT_EQ(OpenLogFile(s, withvdr.path()), LoadOutcome::Complete);
    EXPECT_NE(s.events[0].vdrdts, 0);
    EXPECT_TRUE(s.fields.fields[fOffset].dataval);  // VDRTime and Time both hold data
    ASSERT_EQ(OpenLogFile(s, plain.path()), LoadOutcome::Complete);
    for (const TEvent& e : s.events) EXPECT_EQ(e.vdrdts, 0);
    EXPECT_FALSE(s.fields.fields[fOffset].dataval);
    EXPECT_EQ(s.settings.lastfile, plain.path());
    EXPECT_EQ(s.settings.lastfolder, std::filesystem::path(plain.path()).parent_path().string() + "/");
    EXPECT_EQ(s.settings.recentfiles, (std::vector<std::string>{plain.path(), withvdr.path()}));
}

TEST(LoadLogFile, AutoShowValidShowsTheFieldsWithData) {
    auto log = LoadText(std::string(kGga) + "\n", [](TSettings& s) { s.autoshowvalid = true; });
    const auto& f = log->s.fields.fields;
    EXPECT_TRUE(f[fLatitude].vis);
    EXPECT_TRUE(f[fHDOP].vis);
    EXPECT_FALSE(f[fWindSpd].vis);
    EXPECT_EQ(f[fWindSpd].kind, 0);
    EXPECT_EQ(log->s.fields.shownfields.front(), fSource);
}

TEST(LoadLogFile, CapacityStops) {
    // 1000001 lines: the last one is not processed.
    auto records = LoadText(std::string(linelimit, '\n') + "$IIHDT,10,T\n");
    EXPECT_EQ(records->outcome, LoadOutcome::Complete);
    EXPECT_EQ(records->s.totlines, 0);
    ASSERT_EQ(records->platform.messages.size(), 1u);
    const test::Shown& m = records->platform.messages[0];
    EXPECT_EQ(m.text,
              "The number of Records exceeds the capability of this program.\r\n"
              "Please send a note to the author describing the problem you are having.\r\n\r\n"
              "To avoid seeing this warning message, try using a smaller data file.");
    EXPECT_EQ(m.kind, MsgKind::Warning);
    EXPECT_EQ(m.helpcontext, help::Capacity);
    EXPECT_TRUE(m.helpbutton);
    EXPECT_EQ(records->platform.reports.size(), 1u);
    EXPECT_EQ(records->s.limitline, linelimit + 1);
    EXPECT_NE(SummaryReport(records->s).back().find("Read files of any size"), std::string::npos);

    // With the capacities lifted the same file is read to its end, without a message.
    auto whole = LoadText(std::string(linelimit, '\n') + "$IIHDT,10,T\n", [](TSettings& st) { st.nolimits = true; });
    EXPECT_EQ(whole->outcome, LoadOutcome::Complete);
    EXPECT_EQ(whole->s.totlines, 1);
    EXPECT_TRUE(whole->platform.messages.empty());
    EXPECT_EQ(whole->s.limithit, 0);
    EXPECT_EQ(whole->s.limitline, 0);

    // One fix per second from 10:00:00; times run past midnight into the next day.
    std::string text;
    for (int i = 36000; i <= 36000 + eventlimit + 1; ++i)
        text += Fmt("$GPGGA,%02d%02d%02d,4807.038,N,01131.000,E,1,,,,\n", i / 3600 % 24, i / 60 % 60, i % 60);
    auto events = LoadText(text);
    EXPECT_EQ(events->s.events.count(), eventlimit);
    EXPECT_EQ(events->s.recnumb, eventlimit + 1);
    ASSERT_EQ(events->platform.messages.size(), 1u);
    EXPECT_NE(events->platform.messages[0].text.find("The number of NMEA Events exceeds"), std::string::npos);
    EXPECT_GT(events->s.events.back().dts, 1.0);  // a day later, not stuck at midnight
    EXPECT_EQ(events->s.limitline, eventlimit + 1);
    auto allevents = LoadText(text, [](TSettings& st) { st.nolimits = true; });
    EXPECT_EQ(allevents->s.events.count(), eventlimit + 3);  // one per line, and the final cut
    EXPECT_TRUE(allevents->platform.messages.empty());
}

TEST(AddRecentFile, NewestFirstAtMostTenNoRepeats) {
    struct Case { std::vector<std::string> before; std::string path; std::vector<std::string> after; };
    std::vector<std::string> ten;
    for (char c = 'a'; c < 'a' + 10; ++c) ten.emplace_back(1, c);
    std::vector<std::string> tenafter{"k"};
    tenafter.insert(tenafter.end(), ten.begin(), ten.end() - 1);
    const Case cases[] = {
        {{}, "a", {"a"}},
        {{"a", "b"}, "a", {"a", "b"}},
        {{"a", "b", "c"}, "c", {"c", "a", "b"}},
        {{"a", "b"}, "A", {"A", "a", "b"}},  // letter case counts
        {ten, "k", tenafter},
        {ten, "j", {"j", "a", "b", "c", "d", "e", "f", "g", "h", "i"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        TSettings s;
        s.recentfiles = c.before;
        AddRecentFile(s, c.path);
        EXPECT_EQ(s.recentfiles, c.after);
        EXPECT_EQ(s.lastfile, c.after.front());
    }
}

}  // namespace
}  // namespace brenvik

namespace brenvik {
namespace {

// The min/max strip is gathered at the end of a load, for the shown fields only.
TEST(LoadLogFile, GathersTheRangesOfTheShownFields) {
    auto log = test::LoadText(
        "$GPGGA,120000,4807.038,N,01131.000,E,1,08,0.9,10.0,M,46.9,M,,\n"
        "$SDDPT,4.1,0.5\n"
        "$GPGGA,120001,4807.038,N,01131.000,E,1,08,1.5,20.0,M,46.9,M,,\n");
    ASSERT_EQ(log->outcome, LoadOutcome::Complete);
    const auto& f = log->s.fields.fields;
    EXPECT_DOUBLE_EQ(f[fAntAltitude].range.max, 20.0);
    EXPECT_DOUBLE_EQ(f[fAntAltitude].range.min, 10.0);
    EXPECT_DOUBLE_EQ(f[fHDOP].range.max, 1.5);
    EXPECT_DOUBLE_EQ(f[fHDOP].range.min, 0.9);
    // Depth is not shown by default, so its range is left as it was.
    EXPECT_DOUBLE_EQ(f[fDepth].range.max, 0);
    EXPECT_DOUBLE_EQ(f[fDepth].range.min, 0);
}

}  // namespace
}  // namespace brenvik
