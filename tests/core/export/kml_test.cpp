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

std::vector<std::string> DocumentHead(const std::string& schema, const std::vector<std::string>& names) {
    std::vector<std::string> l = {
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>",
        "<kml xmlns=\"http://www.opengis.net/kml/2.2\" xmlns:gx=\"http://www.google.com/kml/ext/2.2\" "
        "xmlns:kml=\"http://www.opengis.net/kml/2.2\" xmlns:atom=\"http://www.w3.org/2005/Atom\">",
        "<Document><name>" + schema + "</name>",
        "<Schema name=\"" + schema + "\" id=\"" + schema + "_SSSSSSDDSSSSSSSSSSSSS\">",
    };
    for (const auto& n : names)
        l.push_back("<SimpleField type=\"string\" name=\"" + n + "\"><displayName>&lt;b&gt;" + n +
                    "&lt;/b&gt;</displayName></SimpleField>");
    const std::vector<std::string> styles = {
        "</Schema>",
        "<Style id=\"pathStyle\"><LineStyle><color>FFFF0000</color><width>1</width></LineStyle></Style>",
        "<Style id=\"trkpntStyle\"><IconStyle><scale>  1.00</scale><Icon><href>http://maps.google.com/mapfiles/kml/"
        "paddle/wht-diamond.png</href></Icon><hotSpot x=\"32\" y=\"0\" xunits=\"pixels\" yunits=\"pixels\"/>"
        "<color>FF990000</color></IconStyle></Style>",
        "<Style id=\"multiTrack_h\"><IconStyle><scale>  1.20</scale><Icon><href>http://earth.google.com/images/"
        "kml-icons/track-directional/track-0.png</href></Icon></IconStyle><LineStyle><color>99FFAC59</color>"
        "<width>8</width></LineStyle></Style>",
        "<Style id=\"multiTrack_n\"><IconStyle><scale>  1.00</scale><Icon><href>http://earth.google.com/images/"
        "kml-icons/track-directional/track-0.png</href></Icon></IconStyle><LineStyle><color>99FFAC59</color>"
        "<width>6</width></LineStyle></Style>",
        "<Style id=\"waypntStyle\"><IconStyle><scale>  1.00</scale><Icon><href>http://maps.google.com/mapfiles/kml/"
        "pushpin/wht-pushpin.png</href></Icon><hotSpot x=\"20\" y=\"2\" xunits=\"pixels\" yunits=\"pixels\"/>"
        "<color>FFFFFF00</color></IconStyle></Style>",
    };
    l.insert(l.end(), styles.begin(), styles.end());
    for (const char* style : {"hlightPointStyle", "normPointStyle"}) {
        const std::string icon = style[0] == 'h' ? "placemark_circle_highlight.png" : "placemark_circle.png";
        l.push_back("<Style id=\"" + std::string(style) + "\"><IconStyle>");
        l.push_back("<Icon><href>http://maps.google.com/mapfiles/kml/shapes/" + icon + "</href></Icon>");
        l.push_back("</IconStyle><BalloonStyle><text><![CDATA[<table border=\"0\">");
        for (const auto& n : names)
            l.push_back("<tr><td><b>" + n + "</b></td><td>$[" + schema + "/" + n + "]</td></tr>");
        l.push_back("</table>]]></text></BalloonStyle></Style>");
    }
    const std::vector<std::string> tail = {
        "<StyleMap id=\"multiTrack\"><Pair><key>normal</key><styleUrl>#multiTrack_n</styleUrl></Pair><Pair><key>"
        "highlight</key><styleUrl>#multiTrack_h</styleUrl></Pair></StyleMap>",
        "<StyleMap id=\"pointStyleMap\"><Pair><key>normal</key><styleUrl>#normPointStyle</styleUrl></Pair><Pair>"
        "<key>highlight</key><styleUrl>#hlightPointStyle</styleUrl></Pair></StyleMap>",
        "<Folder id=\"layer 0\">",
        "<name>" + schema + "</name>",
    };
    l.insert(l.end(), tail.begin(), tail.end());
    return l;
}

const std::vector<std::string> kDocumentEnd = {"</Folder>", "</Document>", "</kml>"};

void Append(std::vector<std::string>& a, const std::vector<std::string>& b) { a.insert(a.end(), b.begin(), b.end()); }

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
    std::vector<std::string> names;
    for (int f : s.fields.shownfields) names.push_back(ReplaceChar(' ', '_', std::string(eventfields[static_cast<std::size_t>(f)].head)));
    auto expected = DocumentHead("track", names);
    Append(expected, kDocumentEnd);
    EXPECT_EQ(Write("track", s.fields.shownfields), expected);
    EXPECT_NE(std::find(names.begin(), names.end(), "V_M_G"), names.end());
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
    auto expected = DocumentHead("track", {"Source#", "R_of_Turn", "Latitude", "Proprietary"});
    Append(expected, {
        "<Placemark><styleUrl>#pointStyleMap</styleUrl>",
        "<Style id=\"inline\"><IconStyle><color>fff0f0f0</color><colorMode>normal</colorMode>",
        "<Icon><href>http://maps.google.com/mapfiles/kml/shapes/placemark_circle.png</href>",
        "</Icon></IconStyle>",
        "<LineStyle><color>fff0f0f0</color><colorMode>normal</colorMode></LineStyle>",
        "<PolyStyle><color>fff0f0f0</color><colorMode>normal</colorMode></PolyStyle></Style>",
        "<ExtendedData><SchemaData schemaUrl=\"#track_SSSSSSDDSSSSSSSSSSSSS\">",
        "<SimpleData name=\"Source#\">      12</SimpleData>",
        "<SimpleData name=\"R_of_Turn\"> -3.25</SimpleData>",
        "<SimpleData name=\"Latitude\"> 51\xC2\xB0" "30.0000'</SimpleData>",
        "<SimpleData name=\"Proprietary\">\"$PFEC,a&lt;b&amp;c\"</SimpleData>",
        "</SchemaData></ExtendedData>",
        "<Point><coordinates>-000.127500,51.500000,0</coordinates></Point></Placemark>",
        "<Placemark>",
        "<name>235000001</name>",
        "<styleUrl>#multiTrack</styleUrl>",
        "<LineString><coordinates>",
        "-0.127500,51.500000,0",
        "151.250000,-33.500000,0",
        "</coordinates></LineString>",
        "</Placemark>",
        "<Placemark>",
        "<name>244000002</name>",
        "<styleUrl>#multiTrack</styleUrl>",
        "<gx:Track>",
        "</gx:Track>",
        "</Placemark>",
    });
    Append(expected, kDocumentEnd);
    // R of Turn is the heading with inner spaces.
    EXPECT_EQ(Write("track", {fSource, fRofTurn, fLatitude, fProprietary}), expected);
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
        {"a folder", dir.dir.string(), false},
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
