// What a load tells about a file that is not a clean log: one message per per-line kind,
// every one counted in the report, and line counts that add up whatever the bytes.
#include <gtest/gtest.h>

#include <random>

#include "core/ais/aispayload.h"
#include "model/strutil.h"
#include "present/report.h"
#include "present/sourcestable.h"
#include "support/loadhelper.h"

namespace brenvik {
namespace {

using test::LoadText;

// A type 4 report whose month 0 cannot be a date: a "DecodeAIS Fault" on its line.
std::string BadBaseStation() {
    test::Payload pl = test::Payload::Start(4, 2320061);
    pl.Put(2016, 14).Put(0, 4).Put(5, 5).Put(10, 5).Put(0, 6).Put(0, 6).Put(1, 1).Position(51.5, -0.1).Put(0, 34);
    return test::WithChecksum(test::Vdm(pl.Armour()));
}

TEST(LoadCounts, EachPerLineMessageShowsOncePerLoadAndIsCounted) {
    std::string log = "$IIHDT,10,T\n";
    for (int i = 0; i < 5; ++i) log += "root:x:0:0:\x01\x7F:/root\n";                 // line 2 on: no time
    for (int i = 0; i < 3; ++i) log += "[13/45/2025 10:00:00] $IIHDT,10,T\n";        // no such date
    for (int i = 0; i < 2; ++i) log += BadBaseStation() + "\n";
    log += "2025-06-12,10:00:00,,$IIHDT,10,T\n";                                    // the prefix is fine
    auto l = LoadText(log);
    ASSERT_EQ(l->outcome, LoadOutcome::Complete);
    // The first of each kind; an empty text names the line and shows its control bytes.
    const std::vector<std::string> shown = l->Messages();
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0], "Format Error=line 2: root:x:0:0:\\x01\\x7F:/root");
    EXPECT_EQ(shown[1], "Error=13/45/2025 10:00:00");
    EXPECT_EQ(shown[2].rfind("DecodeAIS Fault: ", 0), 0u);
    const std::vector<std::string> report = SummaryReport(l->s);
    ASSERT_GE(report.size(), 3u);
    EXPECT_EQ(std::vector<std::string>(report.end() - 3, report.end()),
              (std::vector<std::string>{"Lines with unreadable time prefixes: 5 (first at line 2)",
                                        "Lines with unreadable bracketed time prefixes: 3 (first at line 7)",
                                        "AIS messages that could not be decoded: 2 (first at line 10)"}));
    // The next load counts afresh.
    {
        test::TempFile again(log);
        l->platform.messages.clear();
        ASSERT_EQ(OpenLogFile(l->s, again.path()), LoadOutcome::Complete);
        EXPECT_EQ(l->Messages().size(), 3u);
        EXPECT_EQ(l->s.linemessages[LineMsg::FormatError].count, 5);
    }
}

TEST(LoadCounts, LongLinesAreQuotedByTheirFirst80Characters) {
    const std::string line(200, 'a');
    auto l = LoadText("$IIHDT,10,T\n" + line + "\n");
    ASSERT_EQ(l->Messages().size(), 1u);
    EXPECT_EQ(l->Messages()[0], "Format Error=line 2: " + line.substr(0, 80));
}

// Whatever the bytes: every corrupt line is among the unprocessed ones and those among the
// lines counted, the sources table's "All" row says the same, and each kind of per-line
// message shows at most once.
TEST(LoadCounts, CountsAddUpForAnyBytes) {
    std::string png("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16);
    const std::string alphabet = "$!*\\,|[]/:- 09AZaz\n\n\r\x01\xFF";
    std::mt19937 rng(1234);
    std::vector<std::string> inputs{png};
    for (int n = 0; n < 40; ++n) {
        std::string bytes = n % 2 ? png : std::string();
        const std::size_t size = 200 + rng() % 3000;
        for (std::size_t i = 0; i < size; ++i)
            bytes.push_back(rng() % 3 == 0 ? static_cast<char>(rng() % 256) : alphabet[rng() % alphabet.size()]);
        inputs.push_back(std::move(bytes));
    }
    inputs.push_back("*\n*5A\n$*\n!*\n\\x\n$GPGGA*00\n!AIVDM*00\n12:00*FF\n");
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        SCOPED_TRACE(i);
        auto l = LoadText(inputs[i]);
        ASSERT_EQ(l->outcome, LoadOutcome::Complete);
        const Session& s = l->s;
        EXPECT_LE(s.corruptcount, s.unproclines);
        EXPECT_LE(s.unproclines, s.totlines);
        EXPECT_LE(s.totlines, s.recnumb);
        const TSourcesTable t = SourcesTable(s);
        const std::vector<std::string>& all = t.rows.back();
        EXPECT_EQ(all[1], std::to_string(s.totlines));
        EXPECT_EQ(all[2], std::to_string(s.totlines - s.unproclines));
        EXPECT_EQ(all[4], std::to_string(s.corruptcount));
        EXPECT_LE(l->Messages().size(), 3u);
    }
}

TEST(LoadCounts, ACapacityStopIsTheReportsLastLine) {
    struct Case { const char* limitname; const char* text; };
    const Case cases[] = {
        {"Records", "Reading stopped at line 1000001: line capacity (lifted by \"Read files of any size (no line, "
                    "event or AIS limits)\" in Options > General, brenvik-cli --no-limits)"},
        {"NMEA Events", "Reading stopped at line 1000001: event capacity (lifted by \"Read files of any size (no line, "
                    "event or AIS limits)\" in Options > General, brenvik-cli --no-limits)"},
        {"AIS Records", "Reading stopped at line 1000001: AIS report capacity (lifted by \"Read files of any size (no line, "
                    "event or AIS limits)\" in Options > General, brenvik-cli --no-limits)"},
        {"Vessels", "Reading stopped at line 1000001: vessel capacity (lifted by \"Read files of any size (no line, "
                    "event or AIS limits)\" in Options > General, brenvik-cli --no-limits)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.limitname);
        test::FakePlatform p;
        Session s(p);
        s.limitname = c.limitname;
        s.limitline = 1000001;
        EXPECT_EQ(SummaryReport(s).back(), c.text);
        EXPECT_EQ(SummaryReport(s).size(), 5u);
    }
}

}  // namespace
}  // namespace brenvik
