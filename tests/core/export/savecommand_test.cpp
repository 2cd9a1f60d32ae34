#include "export/savecommand.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/export/writerfixture.h"
#include "helptopics.h"

namespace brenvik {
namespace {

using test::AddReport;
using test::AddVessel;
using test::CrLfLines;
using test::FullEvent;

TEST(SaveName, ExtensionAndProposal) {
    struct ExtCase { const char* name; const char* ext; const char* schema; };
    const ExtCase exts[] = {
        {"trip.csv", ".csv", "trip"},
        {"/logs/trip.TXT", ".TXT", "trip"},
        {"/logs.d/trip", "", "trip"},
        {"C:\\logs.d\\trip", "", "trip"},
        {"/a/b.tar.gz", ".gz", "b.tar"},
        {"noext.", ".", "noext"},
        {"", "", ""},
    };
    for (const auto& c : exts) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FileExt(c.name), c.ext);
        EXPECT_EQ(SchemaName(c.name), c.schema);
    }

    struct NameCase { const char* lastfile; const char* savedext; const char* proposed; int filter; };
    const NameCase names[] = {
        {"/logs/trip.txt", ".csv", "/logs/trip.csv", 1},
        {"/logs/trip.txt", ".KML", "/logs/trip.KML", 2},
        {"/logs/trip.nmea", ".gps", "/logs/trip.gps", 3},
        {"/logs/trip.txt", ".gpx", "/logs/trip.gpx", 4},
        {"/logs/trip.txt", ".GeoJSON", "/logs/trip.GeoJSON", 5},
        {"/logs/trip.txt", ".txt", "/logs/trip.txt", 6},
        {"/logs/trip", "", "/logs/trip", 6},
        {"", "", "untitled", 6},
        {"", ".csv", "untitled.csv", 1},
    };
    for (const auto& c : names) {
        SCOPED_TRACE(std::string(c.lastfile) + " + " + c.savedext);
        TSettings st;
        st.lastfile = c.lastfile;
        st.savedext = c.savedext;
        st.lastfolder = "/logs";
        EXPECT_EQ(ProposedSaveName(st), c.proposed);
        const TSaveDialogSetup d = SaveDialogSetup(st);
        EXPECT_EQ(d.folder, "/logs");
        EXPECT_EQ(d.filterindex, c.filter);
        EXPECT_EQ(d.filename + FileExt(c.proposed), c.proposed);
        EXPECT_EQ(d.defaultext, std::string(c.savedext).substr(std::string(c.savedext).empty() ? 0 : 1));
    }
    EXPECT_EQ(SaveFilterIndex(".Gps"), 3);
    EXPECT_EQ(SaveFilterIndex("csv"), 6);
}

class SaveAsTest : public test::WriterTest {
protected:
    void SetUp() override {
        WriterTest::SetUp();
        for (int i = 0; i < 12; ++i) {
            TEvent e = FullEvent();
            e.recnumb = 100 + i;
            s.events.Add(std::move(e));
        }
        s.settings.savedext = ".csv";
    }
};

TEST_F(SaveAsTest, ExtensionChoosesTheWriter) {
    const std::string aisnotice =
        "The AIS data will not be saved in this file.\r\nPlease use the other save options for AIS data.";
    const std::string nowriter =
        "Nothing was saved: NMEA events can be saved as CSV, KML, GPS, GPX or GeoJSON files only.\r\n"
        "Please choose a file name ending in .csv, .kml, .gps, .gpx or .geojson.";
    struct Case {
        const char* name;
        const char* file;
        char what;
        bool ais;
        std::vector<std::string> messages;
        const char* savedext;
        bool written;
    };
    const Case cases[] = {
        {"events as CSV", "trip.csv", 'N', false,
         {"12 events with 20 data fields successfully written to CSV file."}, ".csv", true},
        {"events as CSV with AIS loaded", "trip.CSV", 'N', true,
         {aisnotice, "12 events with 20 data fields successfully written to CSV file."}, ".CSV", true},
        {"events as KML", "trip.kml", 'N', true, {"KML file successfully written."}, ".kml", true},
        {"events as GPS", "trip.Gps", 'N', true, {"Coordinates and Time successfully written to GPS file."},
         ".Gps", true},
        {"events as GPX", "trip.gpx", 'N', true, {"GPX file successfully written."}, ".gpx", true},
        {"events as GeoJSON", "trip.GeoJSON", 'N', true, {"GeoJSON file successfully written."}, ".GeoJSON",
         true},
        {"events, no writer", "trip.txt", 'N', false, {nowriter}, ".txt", false},
        {"events, no extension", "trip", 'N', false, {nowriter}, "", false},
        {"positions as KML", "pos.kml", 'P', true,
         {"Currently AIS Position reports are saved as Tracks in KML files using the Save All as.. menu"}, ".csv",
         false},
        {"vessels as GPS", "ves.gps", 'S', true,
         {"Currently AIS Vessel Information is saved as Waypoints in GPS files using the Save All as.. menu"},
         ".csv", false},
        {"positions as GPX", "pos.gpx", 'P', true,
         {"Currently AIS Position reports are saved as Tracks in GPX files using the Save All as.. menu"}, ".csv",
         false},
        {"vessels as GeoJSON", "ves.geojson", 'S', true,
         {"Currently AIS Vessel Information is saved as Waypoints in GEOJSON files using the Save All as.. menu"},
         ".csv", false},
        {"positions as text", "pos.txt", 'P', true, {"1 AIS events written to TXT file."}, ".txt", true},
        {"vessels as CSV", "ves.csv", 'S', true, {"1 AIS Vessels written to CSV file."}, ".csv", true},
        {"unknown kind", "x.csv", 'X', false, {}, ".csv", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        s.aisevents.clear();
        s.vehicles.Clear();
        if (c.ais) {
            AddVessel(s, 235000001, "235000001", "SEA LION");
            AddReport(s, 1, 235000001, 51.5, -0.1275, true);
        }
        s.settings.savedext = ".csv";
        p.messages.clear();
        std::filesystem::remove_all(dir.path());
        std::filesystem::create_directories(dir.path());
        const std::string path = dir / c.file;
        SaveAsChosen(s, path, c.what, false, 1, 12);
        EXPECT_EQ(p.Texts(), c.messages);
        EXPECT_EQ(s.settings.savedext, c.savedext);
        EXPECT_EQ(std::filesystem::exists(path), c.written);
        EXPECT_TRUE(p.questions.empty());
    }
}

TEST_F(SaveAsTest, MarkedRangeOnlyForCsv) {
    SaveAsChosen(s, dir / "m.csv", 'N', true, 5, 9);
    const auto lines = CrLfLines(File("m.csv"));
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[1].substr(0, 8), "     104");
    EXPECT_EQ(lines[5].substr(0, 8), "     108");
    EXPECT_EQ(p.Texts().back(), "5 events with 20 data fields successfully written to CSV file.");

    SaveAsChosen(s, dir / "m.kml", 'N', true, 5, 9);
    const std::string kml = File("m.kml");
    std::size_t points = 0;
    for (std::size_t at = kml.find("<Point>"); at != std::string::npos; at = kml.find("<Point>", at + 1)) ++points;
    EXPECT_EQ(points, 12u);
    EXPECT_NE(kml.find("<Document><name>m</name>"), std::string::npos);

    // The map exports with times take the marked range, like the CSV.
    SaveAsChosen(s, dir / "m.gpx", 'N', true, 5, 9);
    const std::string gpx = File("m.gpx");
    std::size_t trkpts = 0;
    for (std::size_t at = gpx.find("<trkpt "); at != std::string::npos; at = gpx.find("<trkpt ", at + 1)) ++trkpts;
    EXPECT_EQ(trkpts, 5u);
    SaveAsChosen(s, dir / "m.geojson", 'N', true, 5, 9);
    const std::string json = File("m.geojson");
    EXPECT_NE(json.find("\"Source#\":104,"), std::string::npos);
    EXPECT_EQ(json.find("\"Source#\":103,"), std::string::npos);
    EXPECT_EQ(json.find("\"Source#\":109,"), std::string::npos);
    EXPECT_EQ(p.Texts().back(), "GeoJSON file successfully written.");
}

TEST_F(SaveAsTest, OverwriteQuestion) {
    const std::string path = dir / "old.csv";
    test::WriteFile(path, "keep me");
    p.answers = {Answer::No};
    s.settings.savedext = ".gps";
    SaveAsChosen(s, path, 'N', false, 1, 12);
    EXPECT_EQ(p.questions, std::vector<std::string>{"File exists, Overwrite it ?\r\n" + path});
    EXPECT_EQ(File("old.csv"), "keep me");
    EXPECT_EQ(s.settings.savedext, ".gps");
    EXPECT_TRUE(p.messages.empty());

    p.answers = {Answer::Yes};
    SaveAsChosen(s, path, 'N', false, 1, 12);
    EXPECT_EQ(p.questions.size(), 2u);
    EXPECT_EQ(CrLfLines(File("old.csv")).size(), 13u);
    EXPECT_EQ(s.settings.savedext, ".csv");
}

}  // namespace
}  // namespace brenvik
