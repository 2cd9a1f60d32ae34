// The GPX and GeoJSON writers: their documents, and what real readers make of them.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <ostream>
#include <regex>

#include "core/export/writerfixture.h"
#include "export/csvwriter.h"
#include "export/geojsonwriter.h"
#include "export/gpxwriter.h"
#include "export/trackpoints.h"
#include "openlog.h"

namespace brenvik {
namespace {

using test::AddReport;
using test::AddVessel;
using test::At;
using test::HaveTool;
using test::Quoted;
using test::RunCommand;

std::string Golden(const std::string& name) {
    return test::ReadFile(std::string(BRENVIK_SOURCE_DIR) + "/tests/data/maps/" + name);
}

TEST(MapTexts, NumbersAndTimesIgnoreTheLocale) {
    struct NumCase { double v; int decimals; const char* text; };
    const NumCase nums[] = {
        {51.5, 7, "51.5000000"}, {-0.1275, 7, "-0.1275000"}, {-0.00000004, 7, "0.0000000"},
        {151.25, 7, "151.2500000"}, {2.5722222, 3, "2.572"}, {-1e24, 0, "-999999999999999983222784"},
    };
    for (const auto& c : nums) {
        SCOPED_TRACE(c.text);
        std::string out = "x";
        AppendFixed(out, c.v, c.decimals);
        EXPECT_EQ(out, std::string("x") + c.text);
    }
    const TDateTime noon = At(2018, 6, 1, 12, 0, 0);
    struct TimeCase { TDateTime v; const char* iso; const char* clock; };
    const TimeCase times[] = {
        {noon, "2018-06-01T12:00:00Z", "12:00:00"},
        {noon + 0.5 * kSecond, "2018-06-01T12:00:00.5Z", "12:00:00.5"},
        {noon + 10.25 * kSecond, "2018-06-01T12:00:10.25Z", "12:00:10.25"},
        {noon + 59.9996 * kSecond, "2018-06-01T12:01:00Z", "12:01:00"},  // milliseconds round up
        {0.5, "", "12:00:00"},                                           // a time without a date
        {0, "", ""},
        {novalue, "", ""},
    };
    for (const auto& c : times) {
        SCOPED_TRACE(c.iso);
        std::string iso, clock;
        EXPECT_EQ(AppendIsoTime(iso, c.v), *c.iso != 0);
        EXPECT_EQ(iso, c.iso);
        EXPECT_EQ(AppendIsoClock(clock, c.v), *c.clock != 0);
        EXPECT_EQ(clock, c.clock);
    }
}

// Events with a fix and a gap of 370 s in steps of 10 s, one without a position, one with
// fractional seconds, one alarm; a vessel heard twice, the own vessel heard once, one vessel
// without reports.
class MapWriterTest : public test::WriterTest {
protected:
    void SetUp() override {
        WriterTest::SetUp();
        const double steps[] = {0, 10.5, 20, 30, 40, 410, 420};
        for (int i = 0; i < 7; ++i) {
            TEvent e;
            e.recnumb = 10 + i;
            e.dts = At(2018, 6, 1, 12, 0, 0) + steps[i] * kSecond;
            e.coord = {51.5 + i * 0.001, -0.1275 - i * 0.0000001};
            e.speed = 2.5;
            e.cmg = 359.999;
            e.depth = 10;
            e.heading = 725;  // two turns and 5 degrees
            if (i == 2) e.coord = {0, 0};
            if (i == 3) e.bwalarm = "2:$BWALR,Fire & <smoke>";
            if (i == 6) e.speed = novalue;
            s.events.Add(std::move(e));
        }
        AddVessel(s, 235000001, "235000001", "SEA \"LION\"").vtype = 70;
        s.vehicles.Get(0).ctry = "GB United Kingdom";
        AddVessel(s, 244000002, "244000002", "NO REPORTS");
        AddVessel(s, 257000003, "257000003", "MY BOAT");
        s.ownmmsi = "257000003";
        AddReport(s, 1, 235000001, 51.5, -0.1275, true);
        AddReport(s, 1, 235000001, 91, 181, false);
        AddReport(s, 3, 235000001, 51.51, -0.13, true);
        AddReport(s, 1, 257000003, 51.4, -0.1, true);
        s.settings.lastfile = "/logs/harbour.log";
        s.settings.parms = {'N', 'F'};
    }
};

TEST_F(MapWriterTest, GoldenDocuments) {
    EXPECT_TRUE(WriteGPX(s, dir / "t.gpx", {0, 6}));
    EXPECT_EQ(File("t.gpx"), Golden("track.gpx"));
    EXPECT_TRUE(WriteGeoJSON(s, dir / "t.geojson", std::vector<int>{fSource, fTime, fLatitude, fDepth, fSpeed,
                                                                    fHeading, fAlarms, fOffset}, {0, 6}));
    EXPECT_EQ(File("t.geojson"), Golden("track.geojson"));
    EXPECT_EQ(Messages(), (std::vector<std::string>{"GPX file successfully written.",
                                                    "GeoJSON file successfully written."}));
    // A range: the own track and the events of rows 4 to 5 only, the vessels as before.
    EXPECT_TRUE(WriteGPX(s, dir / "r.gpx", {3, 4}));
    const std::string gpx = File("r.gpx");
    EXPECT_NE(gpx.find("<desc>2018-06-01T12:00:30Z/2018-06-01T12:00:40Z</desc>"), std::string::npos) << gpx;
    EXPECT_EQ(std::count(gpx.begin(), gpx.end(), '\n'), 22);
}

TEST_F(MapWriterTest, FailuresLeaveNoFile) {
    const std::string missing = dir.File("none/t");
    EXPECT_FALSE(WriteGPX(s, missing + ".gpx", {0, 6}));
    EXPECT_FALSE(WriteGeoJSON(s, missing + ".geojson", s.fields.shownfields, {0, 6}));
    s.vehicles.SetId(s.vehicles.Get(1), "24400000x");
    EXPECT_FALSE(WriteGPX(s, dir / "t.gpx", {0, 6}));
    EXPECT_FALSE(WriteGeoJSON(s, dir / "t.geojson", s.fields.shownfields, {0, 6}));
    EXPECT_EQ(Messages(), (std::vector<std::string>{"Error writing GPX file.", "Error writing GeoJSON file.",
                                                    "Error writing GPX file.", "Error writing GeoJSON file."}));
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

// ogrinfo -so: the layers' feature counts.
std::map<std::string, int> OgrCounts(const std::string& path) {
    const auto r = RunCommand("ogrinfo -ro -al -so " + Quoted(path) + " 2>&1");
    EXPECT_EQ(r.status, 0) << r.output;
    std::map<std::string, int> counts;
    static const std::regex layer(R"(Layer name: (\S+)\n(?:.*\n)*?Feature Count: (\d+))");
    for (auto it = std::sregex_iterator(r.output.begin(), r.output.end(), layer); it != std::sregex_iterator(); ++it)
        counts[(*it)[1].str()] = std::stoi((*it)[2].str());
    return counts;
}

std::vector<std::string> Split(const std::string& line, char sep) {
    std::vector<std::string> cells;
    std::size_t at = 0;
    for (std::size_t end; (end = line.find(sep, at)) != std::string::npos; at = end + 1)
        cells.push_back(line.substr(at, end - at));
    cells.push_back(line.substr(at));
    return cells;
}

// Writes the event CSV (dates and times as the grid shows them), GPX and GeoJSON of a loaded
// log, and has gpsbabel and ogrinfo read them back.
void CheckWithReaders(Session& s, const test::TempDir& dir, const std::string& name) {
    s.fields.RebuildShown(s.settings.ignorevdr);
    const TEventRange all{0, s.events.count() - 1};
    const std::string csv = dir / (name + ".csv"), gpx = dir / (name + ".gpx"), json = dir / (name + ".geojson");
    ASSERT_TRUE(WriteCSV(s, csv, {s.fields.shownfields}, all));
    ASSERT_TRUE(WriteGPX(s, gpx, all));
    ASSERT_TRUE(WriteGeoJSON(s, json, s.fields.shownfields, all));

    // The CSV's events with a position: date, time, latitude, longitude.
    const auto rows = Split(test::ReadFile(csv), '\n');
    const auto head = Split(rows[0].substr(0, rows[0].size() - 1), ',');
    const auto col = [&](const char* h) { return std::find(head.begin(), head.end(), h) - head.begin(); };
    const auto cdate = col("Date"), ctime = col("Time"), clat = col("Latitude"), clon = col("Longitude");
    ASSERT_LT(static_cast<std::size_t>(std::max({cdate, ctime, clat, clon})), head.size());
    struct Fix { std::string date, time; double lat, lon; };
    std::vector<Fix> fixes;
    for (std::size_t i = 1; i < rows.size() && !rows[i].empty(); ++i) {
        const auto c = Split(rows[i].substr(0, rows[i].size() - 1), ',');
        const double lat = std::atof(c[static_cast<std::size_t>(clat)].c_str());
        const double lon = std::atof(c[static_cast<std::size_t>(clon)].c_str());
        if (c[static_cast<std::size_t>(clat)].find('*') != std::string::npos || (lat == 0 && lon == 0)) continue;
        const std::string& d = c[static_cast<std::size_t>(cdate)];  // dd-mm-yyyy
        fixes.push_back({d.substr(6, 4) + "/" + d.substr(3, 2) + "/" + d.substr(0, 2), c[static_cast<std::size_t>(ctime)], lat, lon});
    }
    ASSERT_FALSE(fixes.empty());

    // gpsbabel: the own track first, point for point, in the CSV's positions and UTC times.
    const auto babel = RunCommand("gpsbabel -t -i gpx -f " + Quoted(gpx) + " -o unicsv -F - 2>&1");
    ASSERT_EQ(babel.status, 0) << babel.output;
    const auto out = Split(babel.output, '\n');
    ASSERT_EQ(out[0], "No,Latitude,Longitude,Date,Time\r");
    ASSERT_GT(out.size(), fixes.size());
    for (std::size_t k = 0; k < fixes.size(); ++k) {
        SCOPED_TRACE(out[k + 1]);
        const auto c = Split(out[k + 1], ',');
        ASSERT_EQ(c.size(), 5u);
        EXPECT_NEAR(std::atof(c[1].c_str()), fixes[k].lat, 1.01e-6);  // unicsv and the CSV have 6 decimals
        EXPECT_NEAR(std::atof(c[2].c_str()), fixes[k].lon, 1.01e-6);
        EXPECT_EQ(c[3], fixes[k].date);
        EXPECT_EQ(c[4].substr(0, 8), fixes[k].time);
    }
    // Its own GPX keeps 9 decimals: the events' positions to 1e-7.
    const auto again = RunCommand("gpsbabel -t -i gpx -f " + Quoted(gpx) + " -o gpx -F - 2>&1").output;
    static const std::regex trkpt(R"re(<trkpt lat="([-0-9.]+)" lon="([-0-9.]+)")re");
    std::vector<const TEvent*> own;
    for (const TEvent& e : s.events)
        if (HasPosition(e)) own.push_back(&e);
    std::size_t k = 0;
    for (auto it = std::sregex_iterator(again.begin(), again.end(), trkpt); it != std::sregex_iterator() && k < own.size(); ++it, ++k) {
        EXPECT_NEAR(std::stod((*it)[1].str()), own[k]->coord.lat, 1e-7);
        EXPECT_NEAR(std::stod((*it)[2].str()), own[k]->coord.lng, 1e-7);
    }
    EXPECT_EQ(k, own.size());
    ASSERT_EQ(own.size(), fixes.size());

    // ogrinfo: every waypoint, track and point written.
    int alarms = 0, vessels = 0, aispoints = 0;
    for (const TEvent* e : own) alarms += IsAlarmEvent(*e);
    const TReportsById byid(s.aisevents);
    std::vector<TTrackPoint> points;
    for (std::int32_t v = 0; v < s.vehicles.count(); ++v) {
        VesselTrack(s, byid, *ParseInt(Trim(s.vehicles[v].id)), points);
        vessels += !points.empty();
        aispoints += static_cast<int>(points.size());
    }
    const auto g = OgrCounts(gpx);
    EXPECT_EQ(g.at("waypoints"), alarms);
    EXPECT_EQ(g.at("tracks"), 1 + vessels);
    EXPECT_EQ(g.at("track_points"), static_cast<int>(own.size()) + aispoints);
    const auto j = OgrCounts(json);
    EXPECT_EQ(j.at(name), (own.size() >= 2 ? 1 : 0) + static_cast<int>(own.size()) + vessels);
    std::printf("%s: %zu events with a position (%d alarms), %d vessels with %d positions; ogrinfo: GPX %d "
                "waypoints, %d tracks, %d track points, GeoJSON %d features\n",
                name.c_str(), own.size(), alarms, vessels, aispoints, g.at("waypoints"), g.at("tracks"),
                g.at("track_points"), j.at(name));
}

struct ReaderLog { const char* name; const char* path; bool corpus; };
// The test's name in listings, not the bytes of the record.
void PrintTo(const ReaderLog& c, std::ostream* os) { *os << c.path; }

class MapReaders : public ::testing::TestWithParam<ReaderLog> {};

TEST_P(MapReaders, ReadBackTheEventsAndTracks) {
    if (!HaveTool("gpsbabel") || !HaveTool("ogrinfo"))
        GTEST_SKIP() << "gpsbabel or ogrinfo not installed (Debian packages gpsbabel, gdal-bin)";
    const ReaderLog& c = GetParam();
    const std::string path = std::string(BRENVIK_SOURCE_DIR) + (c.corpus ? "/../shared/corpus/" : "/") + c.path;
    if (!std::filesystem::exists(path)) GTEST_SKIP() << "corpus log not present: " << path;
    test::FakePlatform p;
    Session s{p};
    ASSERT_EQ(OpenLogFile(s, path), LoadOutcome::Complete);
    test::TempDir dir;
    CheckWithReaders(s, dir, c.name);
}

INSTANTIATE_TEST_SUITE_P(Logs, MapReaders,
                         ::testing::Values(ReaderLog{"harbour", "data/samples/harbour.log", false},
                                           ReaderLog{"vdr", "vdrplayer/Hakefjord.txt", true},
                                           ReaderLog{"receiver", "gpsd/ais-nmea.log", true}),
                         [](const ::testing::TestParamInfo<ReaderLog>& i) { return std::string(i.param.name); });

}  // namespace
}  // namespace brenvik
