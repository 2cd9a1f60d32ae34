// brenvik-cli's event exports: --events, --csv, --kml, --gps, --gpx, --geojson and --marked.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "model/strutil.h"
#include "support/clirun.h"
#include "support/tempdir.h"

namespace brenvik::test {
namespace {

// Three positions, two proprietary sentences (one with a Latin-1 degree sign, sent without
// checksum) and one AIS position report.
std::string Log() {
    return Sentence("$GPRMC,120000,A,5130.000,N,00007.650,W,5.0,90.0,010618,,") +
           Sentence("$PFEC,GPatt,\"q\",<a&b>,x") + "$PFEC,GPxyz,\xB0" "C\r\n" +
           Sentence("$GPRMC,120004,A,5130.200,N,00007.650,W,5.0,90.0,010618,,") +
           Sentence("!AIVDM,1,1,,A,15RTgt0PAso;90TKcjM8h6g208CQ,0") +
           Sentence("$GPRMC,120006,A,3330.000,S,15115.000,E,5.0,90.0,010618,,");
}

TEST(CliExport, EventsOnStdoutAreTheCsvFileBytes) {
    TempDir dir;
    const std::string log = dir.Write("trip.log", Log());
    const CliResult r = RunCli(dir, "--events --csv " + Q(dir.File("trip.csv")) + " --fields 6,7,14 " + Q(log));
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out,
              ",Latitude,Longitude,Proprietary\r\n"
              "       1,51.500000,-000.127500,\"\"\r\n"
              "       4,51.503333,-000.127500,\"GPatt,q,<a&b>,x|GPxyz,\xC2\xB0" "C\"\r\n"
              "       6,-33.500000,151.250000,\"\"\r\n"
              "       6,-33.500000,151.250000,\"\"\r\n");
    EXPECT_EQ(ReadFile(dir.File("trip.csv")), r.out);
    EXPECT_EQ(r.err, "4 events with 3 data fields successfully written to CSV file.\n");
}

TEST(CliExport, FormatsAndUnitsShapeTheCells) {
    TempDir dir;
    const std::string log = dir.Write("trip.log", Log());
    const CliResult r = RunCli(dir, "--events --fields 6,9 --coord S --units KF " + Q(log));
    EXPECT_EQ(r.status, 0);
    // The seconds sign of Degs Mins Secs is a double quote: the cell is quoted, the quote doubled.
    EXPECT_EQ(r.out.substr(0, r.out.find("\r\n       4")),
              ",Latitude,Speed\r\n       1,\" 51\xC2\xB0" "30'00.00\"\"\",  9.26");
}

TEST(CliExport, MarkedRowsForCsv) {
    TempDir dir;
    const std::string log = dir.Write("trip.log", Log());
    const std::string csv = dir.File("m.csv");
    CliResult r = RunCli(dir, "--csv " + Q(csv) + " --marked 2:3 --fields 5 " + Q(log));
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(ReadFile(csv), ",Time\r\n       4,12:00:04\r\n       6,12:00:06\r\n");
    EXPECT_EQ(r.err, "2 events with 1 data fields successfully written to CSV file.\n");

    r = RunCli(dir, "--marked 1:2 " + Q(log));
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("--marked chooses the rows of --csv, --gpx and --geojson"), std::string::npos);

    r = RunCli(dir, "--csv " + Q(dir.File("n.csv")) + " --marked 3:5 " + Q(log));
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("--marked 3:5: the log holds 4 events"), std::string::npos);
    EXPECT_EQ(ReadFile(dir.File("n.csv")), "");
}

TEST(CliExport, GpsAndKmlFiles) {
    TempDir dir;
    const std::string log = dir.Write("trip.log", Log());
    const std::string kml = dir.File("trip.kml");
    const CliResult r = RunCli(dir, "--kml " + Q(kml) + " --gps " + Q(dir.File("trip.gps")) + " " + Q(log));
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "KML file successfully written.\nCoordinates and Time successfully written to GPS file.\n");
    EXPECT_EQ(ReadFile(dir.File("trip.gps")),
              "H  SOFTWARE NAME & VERSION\r\nI  Brenvik 1.1\r\nS DateFormat=dd/mm/yy\r\nS Timezone=+00:00\r\n"
              "S Units=K,M\r\n\r\nH R DATUM\r\n"
              "M E               WGS 84 100  0.0000000E+00  0.0000000E+00 0 0 0\r\n\r\n"
              "H  COORDINATE SYSTEM\r\nU  LAT LON D\r\n\r\n"
              "F ID------- Latitude  Longitude  Symbol---- T O Comment\r\n"
              "W 371798000 48.381633 -123.395383 Waypoint   I E \r\n\r\n"
              "F Latitude  Longitude  Date     Time     S\r\n"
              "T 51.500000 -000.127500 01-06-2018 12:00:00 1\r\n"
              "T 51.503333 -000.127500 01-06-2018 12:00:04 0\r\n"
              "T -33.500000 151.250000 01-06-2018 12:00:06 0\r\n"
              "T -33.500000 151.250000 01-06-2018 12:00:07 0\r\n"
              "T 48.381633 -123.395383 30-12-1899 00:00:00 1\r\n");
    const std::string doc = ReadFile(kml);
    EXPECT_NE(doc.find("<Document><name>trip</name>"), std::string::npos);
    EXPECT_NE(doc.find("<SimpleData name=\"Proprietary\">\"GPatt,q,&lt;a&amp;b&gt;,x|GPxyz,\xC2\xB0" "C\"</SimpleData>"),
              std::string::npos);
    EXPECT_NE(doc.find("<Point><coordinates>-123.395383,48.381633,0</coordinates></Point>"), std::string::npos);
    if (std::system("command -v xmllint >/dev/null 2>&1") == 0) {
        EXPECT_EQ(std::system(("xmllint --noout " + Q(kml)).c_str()), 0);
    }
}

// GPX and GeoJSON: numbers with a point under a decimal-comma locale, the marked rows, and
// outputs that would overwrite each other refused.
TEST(CliExport, GpxAndGeoJsonFiles) {
    TempDir dir;
    const std::string log = dir.Write("trip.log", Log());
    const std::string gpx = dir.File("trip.gpx"), json = dir.File("trip.geojson");
    CliResult r = RunCli(dir, "--gpx " + Q(gpx) + " --geojson " + Q(json) + " --marked 2:3 --fields 9 " + Q(log),
                         "de_DE.UTF-8");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "GPX file successfully written.\nGeoJSON file successfully written.\n");
    const std::string doc = ReadFile(gpx);
    EXPECT_NE(doc.find("<metadata><name>trip.log</name><desc>2018-06-01T12:00:04Z/2018-06-01T12:00:06Z</desc>"),
              std::string::npos) << doc;
    EXPECT_NE(doc.find("<trkpt lat=\"51.5033333\" lon=\"-0.1275000\"><time>2018-06-01T12:00:04Z</time>"
                       "<extensions><gpxtpx:TrackPointExtension><gpxtpx:speed>2.572</gpxtpx:speed>"
                       "<gpxtpx:course>90.00</gpxtpx:course>"),
              std::string::npos) << doc;
    // The vessel's point at its reception time: the UTC of the fix before its line.
    EXPECT_NE(doc.find("<trk><name>371798000</name>\n<trkseg>\n<trkpt lat=\"48.3816333\" lon=\"-123.3953833\">"
                       "<time>2018-06-01T12:00:04Z</time></trkpt>"),
              std::string::npos) << doc;
    EXPECT_EQ(doc.find("12:00:00Z"), std::string::npos);  // row 1 is not marked
    const std::string features = ReadFile(json);
    EXPECT_NE(features.find("\"units\":{\"Speed\":\"m/s\"}"), std::string::npos) << features;
    EXPECT_NE(features.find("\"coordinates\":[151.2500000,-33.5000000]},\"properties\":{\"time\":"
                            "\"2018-06-01T12:00:06Z\",\"Source#\":6,\"Speed\":2.57}"),
              std::string::npos) << features;

    r = RunCli(dir, "--gpx " + Q(gpx) + " --geojson " + Q(dir.File("./trip.gpx")) + " " + Q(log));
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("the same file as --gpx"), std::string::npos) << r.err;
    EXPECT_EQ(RunCli(dir, "--geojson " + Q(log) + " " + Q(log)).status, 2);
}

TEST(CliExport, WriteFailuresAreTold) {
    TempDir dir;
    const std::string log = dir.Write("trip.log", Log());
    const std::string none = dir.File("none/");
    const CliResult r = RunCli(dir, "--csv " + Q(none + "a.csv") + " --kml " + Q(none + "a.kml") + " --gps " +
                               Q(none + "a.gps") + " " + Q(log));
    EXPECT_EQ(r.err, "Unable to write to CSV file.\nError writing KML file.\nError writing GPS file.\n");
    EXPECT_EQ(r.status, 1);  // a script must not take the files for written
    // One good file among bad ones still fails; all good succeeds.
    EXPECT_EQ(RunCli(dir, "--csv " + Q(dir.File("ok.csv")) + " --gps " + Q(none + "a.gps") + " " + Q(log)).status, 1);
    EXPECT_EQ(RunCli(dir, "--csv " + Q(dir.File("ok.csv")) + " " + Q(log)).status, 0);
    // Standard output that cannot take the events.
    const std::string cmd = "LC_ALL=C '" + std::string(BRENVIK_CLI) + "' --events " + Q(log) + " >/dev/full 2>/dev/null";
    const int st = std::system(cmd.c_str());
    EXPECT_TRUE(WIFEXITED(st));
    EXPECT_EQ(WEXITSTATUS(st), 1);
}

}  // namespace
}  // namespace brenvik::test
