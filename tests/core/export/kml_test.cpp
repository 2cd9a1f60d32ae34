#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "core/export/writerfixture.h"
#include "export/kmlwriter.h"
#include "helptopics.h"
#include "present/valuetext.h"

namespace brenvik {
namespace {

using test::AddReport;
using test::AddVessel;
using test::CrLfLines;
using test::FullEvent;
using test::HaveTool;
using test::Quoted;
using test::RunCommand;

// The documents as the writer makes them, each reviewed once.
std::string Golden(const std::string& name) {
    return test::ReadFile(std::string(BRENVIK_SOURCE_DIR) + "/tests/data/kml/" + name);
}

class KmlTest : public test::WriterTest {
protected:
    std::vector<std::string> Write(const std::string& schema, const std::vector<int>& fields) {
        path = dir / (schema + ".kml");
        WriteKML(s, path, schema, fields);
        return CrLfLines(File(schema + ".kml"));
    }
    // xmllint's reading of an XPath string over the written document.
    std::string XPath(const std::string& expr) {
        std::string out = RunCommand("xmllint --xpath " + Quoted(expr) + " " + Quoted(path) + " 2>/dev/null").output;
        if (!out.empty() && out.back() == '\n') out.pop_back();  // newer versions end the result with one
        return out;
    }
    std::string path;
};

TEST_F(KmlTest, EmptyDocumentWithDefaultColumns) {
    Write("track", s.fields.shownfields);
    EXPECT_EQ(File("track.kml"), Golden("defaultcolumns.kml"));
    ASSERT_EQ(p.messages.size(), 1u);
    EXPECT_EQ(p.messages[0].text, "KML file successfully written.");
    EXPECT_EQ(p.messages[0].kind, MsgKind::Information);
    EXPECT_EQ(p.messages[0].helpcontext, help::WriteGPSKML);
}

TEST_F(KmlTest, GoldenEventAndVesselPlacemarks) {
    TEvent e = FullEvent();
    e.proprietary = "$PFEC,a<b&c";
    s.events.Add(std::move(e));
    s.settings.coordformat = 'M';
    AddVessel(s, 244000002, "244000002", "NO REPORTS");
    AddVessel(s, 235000001, "235000001", "SEA LION");
    AddReport(s, 1, 235000001, 51.5, -0.1275, true);
    AddReport(s, 1, 235000001, 91, 181, false);  // "not available" stays off the map
    AddReport(s, 4, 235000001, 51.6, -0.2, true);  // not a class A position report
    AddReport(s, 3, 235000001, -33.5, 151.25, true);
    AddReport(s, 2, 235000001, 0, 0, false);
    // R of Turn is the heading with inner spaces; the vessel without reports gets an empty
    // track, the reports without a usable position and the base station report none.
    Write("track", {fSource, fRofTurn, fLatitude, fProprietary});
    EXPECT_EQ(File("track.kml"), Golden("placemarks.kml"));
}

TEST_F(KmlTest, HostileTextsStayWellFormedAndReadBack) {
    if (!HaveTool("xmllint")) GTEST_SKIP() << "xmllint not installed (Debian package libxml2-utils)";
    TEvent e = FullEvent();
    e.proprietary = "$PFEC,<a>&amp;\"q\" 'x' ]]> \xB0 \xC2\xB0 \x01\x1F end";
    e.bwalarm = "1:$BWALR,\"Fire, deck\"|<![CDATA[x]]>";
    s.events.Add(std::move(e));
    s.events.Add(test::EmptyEvent());
    s.fields.fields[fSpeed].head = " \tSpeed ]]> &\x02<kn>\x01 ";
    AddVessel(s, 235000001, "235000001", "A&B <C>");
    AddReport(s, 1, 235000001, 51.5, -0.1275, true);
    const std::vector<int> fields{fSource, fSpeed, fProprietary, fAlarms};
    Write("a&b <c> ]]>", fields);
    const auto lint = RunCommand("xmllint --noout " + Quoted(path) + " 2>&1");
    EXPECT_EQ(lint.status, 0) << lint.output;
    EXPECT_EQ(XPath("string(//*[local-name()='Document']/*[local-name()='name'])"), "a&b <c> ]]>");
    EXPECT_EQ(XPath("string((//*[local-name()='SimpleData'][@name='Proprietary'])[1])"),
              "\"$PFEC,<a>&amp;\"q\" 'x' ]]> \xC2\xB0 \xC2\xB0 \xEF\xBF\xBD\xEF\xBF\xBD end\"");
    EXPECT_EQ(XPath("string((//*[local-name()='SimpleData'][@name='Alarms'])[1])"),
              "\"$BWALR,\"Fire, deck\"|<![CDATA[x]]>\"");
    // The heading loses its surrounding blanks, its inner control character becomes U+FFFD.
    const std::string name = "Speed_]]>_&\xEF\xBF\xBD<kn>";
    EXPECT_EQ(XPath("string((//*[local-name()='SimpleField'])[2]/@name)"), name);
    EXPECT_EQ(XPath("count(//*[local-name()='SimpleData'][@name='" + std::string("Source#") + "'])"), "2");
    EXPECT_NE(XPath("string((//*[local-name()='BalloonStyle'])[1])").find("<td><b>" + name + "</b></td><td>$[a&b <c> ]]>/" + name + "]</td>"),
              std::string::npos);
    EXPECT_EQ(XPath("string(//*[local-name()='Placemark'][3]/*[local-name()='Point'])"), "-0.127500,51.500000,0");
    EXPECT_EQ(XPath("string(//*[local-name()='Placemark'][3]/*[local-name()='name'])"), "235000001");
}

// Field texts follow the locale; coordinates that programs read keep the decimal point.
TEST_F(KmlTest, CommaLocale) {
    s.events.Add(FullEvent());
    AddVessel(s, 235000001, "235000001", "A");
    AddReport(s, 1, 235000001, 51.5, -0.1275, true);
    p.decsep = ',';
    Write("comma", {fSource, fRofTurn});
    const std::string doc = File("comma.kml");
    EXPECT_NE(doc.find("<SimpleData name=\"R_of_Turn\"> -3,25</SimpleData>"), std::string::npos);
    EXPECT_NE(doc.find("<Point><coordinates>-000.127500,51.500000,0</coordinates></Point>"), std::string::npos);
    EXPECT_NE(doc.find("<Point><coordinates>-0.127500,51.500000,0</coordinates></Point>"), std::string::npos);
}

// Real KML readers find the event points with their data, and the vessel tracks.
TEST_F(KmlTest, ReadersFindTheEventPointsAndTracks) {
    TEvent e = FullEvent();
    e.proprietary = "$PFEC,GPatt,<x> & \xB0";
    s.events.Add(std::move(e));
    e = FullEvent();
    e.coord = {-33.5, 151.25};
    s.events.Add(std::move(e));
    AddVessel(s, 235000001, "235000001", "NO REPORTS");
    AddVessel(s, 235000002, "235000002", "UNDER WAY");
    AddReport(s, 1, 235000002, 51.5, -0.1275, true);
    AddReport(s, 1, 235000002, 51.51, -0.13, true);
    Write("readers", s.fields.shownfields);
    if (HaveTool("gpsbabel")) {
        const auto r = RunCommand("gpsbabel -i kml -f " + Quoted(path) + " -o unicsv -F - 2>&1");
        EXPECT_EQ(r.status, 0) << r.output;
        EXPECT_EQ(r.output,
                  "No,Latitude,Longitude,Name,Altitude\r\n"
                  "1,51.500000,-0.127500,\"WPT001\",0.0\r\n"
                  "2,-33.500000,151.250000,\"WPT002\",0.0\r\n");
        const auto t = RunCommand("gpsbabel -t -i kml -f " + Quoted(path) + " -o unicsv -F - 2>&1");
        EXPECT_EQ(t.status, 0) << t.output;
        EXPECT_NE(t.output.find("1,51.500000,-0.127500"), std::string::npos) << t.output;
        EXPECT_NE(t.output.find("2,51.510000,-0.130000"), std::string::npos) << t.output;
    } else {
        std::printf("gpsbabel not installed: reading with it skipped\n");
    }
    if (HaveTool("ogrinfo")) {
        const auto r = RunCommand("ogrinfo -ro -al -q " + Quoted(path) + " 2>&1");
        EXPECT_EQ(r.status, 0) << r.output;
        EXPECT_NE(r.output.find("POINT Z (-0.1275 51.5 0)"), std::string::npos) << r.output;
        EXPECT_NE(r.output.find("POINT Z (151.25 -33.5 0)"), std::string::npos) << r.output;
        EXPECT_NE(r.output.find("Proprietary (String) = \"$PFEC,GPatt,<x> & \xC2\xB0\""), std::string::npos)
            << r.output;
        EXPECT_NE(r.output.find("V_M_G (String) = 4.00"), std::string::npos) << r.output;
        EXPECT_NE(r.output.find("Name (String) = 235000001"), std::string::npos) << r.output;
        EXPECT_NE(r.output.find("LINESTRING Z (-0.1275 51.5 0,-0.13 51.51 0)"), std::string::npos) << r.output;
    } else {
        std::printf("ogrinfo not installed: reading with it skipped\n");
    }
}

TEST_F(KmlTest, FailuresAreReportedAndNeverAsSuccess) {
    s.events.Add(FullEvent());
    struct Case { const char* name; std::string path; bool badid; };
    const Case cases[] = {
        {"folder missing", dir / "none/out.kml", false},
        {"a folder", dir.path().string(), false},
        {"full disk", "/dev/full", false},
        {"vessel id not a number", dir / "out.kml", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        s.vehicles.Clear();
        if (c.badid) AddVessel(s, 235000001, "MMSI?", "");
        p.messages.clear();
        EXPECT_FALSE(WriteKML(s, c.path, "out", s.fields.shownfields));
        ASSERT_EQ(p.messages.size(), 1u);
        EXPECT_EQ(p.messages[0].text, "Error writing KML file.");
        EXPECT_EQ(p.messages[0].kind, MsgKind::Error);
    }
}

}  // namespace
}  // namespace brenvik
