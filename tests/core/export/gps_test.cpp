#include <gtest/gtest.h>

#include "core/export/writerfixture.h"
#include "export/gpswriter.h"
#include "helptopics.h"

namespace brenvik {
namespace {

using test::AddReport;
using test::AddVessel;
using test::At;
using test::CrLfLines;
using test::FullEvent;

const std::vector<std::string> kHeader = {
    "H  SOFTWARE NAME & VERSION",
    "I  Brenvik 1.1",
    "S DateFormat=dd/mm/yy",
    "S Timezone=+00:00",
    "S Units=K,M",
    "",
    "H R DATUM",
    "M E               WGS 84 100  0.0000000E+00  0.0000000E+00 0 0 0",
    "",
    "H  COORDINATE SYSTEM",
    "U  LAT LON D",
};

std::vector<std::string> Concat(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

class GpsTest : public test::WriterTest {
protected:
    std::vector<std::string> Write() {
        WriteGPS(s, dir / "out.gps");
        return CrLfLines(File("out.gps"));
    }
    void AddTwoEvents() {
        s.events.Add(FullEvent());
        TEvent e = FullEvent();
        e.coord = {-33.5, 151.25};
        e.dts = At(2018, 6, 1, 12, 0, 30);
        s.events.Add(std::move(e));
    }
};

TEST_F(GpsTest, NothingLoaded) {
    EXPECT_EQ(Write(), Concat(kHeader, {"", "F Latitude  Longitude  Date     Time     S"}));
    ASSERT_EQ(p.messages.size(), 1u);
    EXPECT_EQ(p.messages[0].text, "Coordinates and Time successfully written to GPS file.");
    EXPECT_EQ(p.messages[0].kind, MsgKind::Information);
    EXPECT_EQ(p.messages[0].helpcontext, help::WriteGPSKML);
}

TEST_F(GpsTest, GoldenFileWithEventsAndVessels) {
    AddTwoEvents();
    AddVessel(s, 255000003, "255000003", "NO REPORTS");
    AddVessel(s, 235000001, "235000001", "SEA LION");
    AddVessel(s, 244000002, "244000002", "ONLY INVALID");
    // Reports of the vessels interleaved, oldest first.
    AddReport(s, 1, 235000001, 51.5, -0.1275, true);
    AddReport(s, 1, 244000002, 91, 181, false);      // "not available": no waypoint, no track
    AddReport(s, 1, 235000001, 91, 181, false);
    AddReport(s, 3, 235000001, 51.51, -0.13, true);
    AddReport(s, 5, 235000001, novalue, novalue, true);  // static data: no position
    AddReport(s, 4, 235000001, 51.6, -0.2, true);     // a base station report still gives the waypoint
    AddReport(s, 18, 244000002, novalue, novalue, true);
    AddReport(s, 2, 235000001, 0, 0, false);          // newest, but at 0, 0
    const std::vector<std::string> expected = Concat(kHeader, {
        "",
        "F ID------- Latitude  Longitude  Symbol---- T O Comment",
        "W 235000001 51.600000 -000.200000 Waypoint   I E SEA LION",
        "",
        "F Latitude  Longitude  Date     Time     S",
        "T 51.500000 -000.127500 01-06-2018 12:00:00 1",
        "T -33.500000 151.250000 01-06-2018 12:00:30 0",
        "T 51.500000 -000.127500 30-12-1899 00:00:00 1",
        "T 51.510000 -000.130000 30-12-1899 00:00:00 0",
    });
    EXPECT_EQ(Write(), expected);
    EXPECT_EQ(p.Texts(), std::vector<std::string>{"Coordinates and Time successfully written to GPS file."});
}

TEST_F(GpsTest, VesselsWithoutPositionReports) {
    AddVessel(s, 235000001, "235000001", "A");
    AddReport(s, 5, 235000001, novalue, novalue, true);
    EXPECT_EQ(Write(), Concat(kHeader, {"", "F ID------- Latitude  Longitude  Symbol---- T O Comment", "",
                                         "F Latitude  Longitude  Date     Time     S"}));
}

TEST_F(GpsTest, FixedFormatsExceptTheTimeSeparator) {
    AddTwoEvents();
    s.events.Add(test::EmptyEvent());  // no position: no track point
    s.settings.coordformat = 'S';
    s.settings.dateformat = 'N';
    p.decsep = ',';
    p.timesep = '.';
    const auto lines = Write();
    ASSERT_EQ(lines.size(), 15u);
    EXPECT_EQ(lines[13], "T 51.500000 -000.127500 01-06-2018 12.00.00 1");
    EXPECT_EQ(lines[14], "T -33.500000 151.250000 01-06-2018 12.00.30 0");
}

TEST_F(GpsTest, FailuresAreReportedAndNeverAsSuccess) {
    AddTwoEvents();
    struct Case { const char* name; std::string path; bool badid; };
    const Case cases[] = {
        {"folder missing", dir / "none/out.gps", false},
        {"a folder", dir.path().string(), false},
        {"full disk", "/dev/full", false},
        {"vessel id not a number", dir / "out.gps", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        s.vehicles.Clear();
        if (c.badid) AddVessel(s, 235000001, "23500O001", "letter O");
        p.messages.clear();
        EXPECT_FALSE(WriteGPS(s, c.path));
        ASSERT_EQ(p.messages.size(), 1u);
        EXPECT_EQ(p.messages[0].text, "Error writing GPS file.");
        EXPECT_EQ(p.messages[0].kind, MsgKind::Error);
    }
}

}  // namespace
}  // namespace brenvik
