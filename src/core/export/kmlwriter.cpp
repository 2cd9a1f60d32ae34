// The KML writer: styles, a schema of the shown fields, a point placemark per event and a
// placemark per vessel holding its track.
#include <string>
#include <vector>

#include "export/kmlwriter.h"
#include "export/textfile.h"
#include "export/vesseltracks.h"
#include "export/writercolumns.h"
#include "helptopics.h"
#include "model/strutil.h"
#include "present/valuetext.h"
#include "session.h"

namespace brenvik {
namespace {

constexpr std::string_view mapiconbase = "http://maps.google.com";
constexpr std::string_view earthiconbase = "http://earth.google.com";
constexpr std::string_view kSchemaIdTail = "_SSSSSSDDSSSSSSSSSSSSS";

// What one document's lines are made of. Names are UTF-8, not yet escaped.
struct TKmlDoc {
    const Session& s;
    TFormat f;       // field texts: the user's units, formats and locale
    TFormat coordf;  // coordinates read by programs: always a decimal point
    std::string schema;
    std::vector<std::string> names;  // one per column
    std::vector<int> fields;         // one per column
    TTextOut& out;
    // Made once for all events: the opening tag of each column's value, the schema reference.
    std::vector<std::string> dataopen;
    std::string schemadata;
    std::string scratch, line;  // reused for every value
};

std::string Text(std::string_view raw) {
    std::string r;
    AppendXmlText(r, ToUtf8(raw));
    return r;
}

std::string Attr(std::string_view raw) {
    std::string r;
    AppendXmlAttr(r, ToUtf8(raw));
    return r;
}

std::string CData(std::string_view raw) {
    std::string r;
    AppendXmlCData(r, ToUtf8(raw));
    return r;
}

// The heading without surrounding blanks and control characters, inner spaces as underscores.
std::string FieldName(const Session& s, int field) {
    if (field < 0 || field >= kEventFieldCount) return {};
    return ReplaceChar(' ', '_', Trim(s.fields.fields[static_cast<std::size_t>(field)].head));
}

std::string BalloonText(const TKmlDoc& d) {
    std::string b = "<BalloonStyle><text><![CDATA[<table border=\"0\">\r\n";
    const std::string schema = CData(d.schema);
    for (const std::string& name : d.names) {
        const std::string n = CData(name);
        b += "<tr><td><b>" + n + "</b></td><td>$[" + schema + "/" + n + "]</td></tr>\r\n";
    }
    b += "</table>]]></text></BalloonStyle>";
    return b;
}

void WritePointStyle(TKmlDoc& d, std::string_view id, std::string_view icon, const std::string& balloon) {
    d.out.Line("<Style id=\"" + std::string(id) + "\"><IconStyle>");
    d.out.Line("<Icon><href>" + std::string(mapiconbase) + "/mapfiles/kml/shapes/" + std::string(icon) +
               "</href></Icon>");
    d.out.Line("</IconStyle>" + balloon + "</Style>");
}

void WriteKMLHead(TKmlDoc& d) {
    const std::string map(mapiconbase), earth(earthiconbase);
    const std::string schema = Attr(d.schema);
    d.out.Line("<?xml version=\"1.0\" encoding=\"UTF-8\"?>");
    d.out.Line("<kml xmlns=\"http://www.opengis.net/kml/2.2\" xmlns:gx=\"http://www.google.com/kml/ext/2.2\" "
               "xmlns:kml=\"http://www.opengis.net/kml/2.2\" xmlns:atom=\"http://www.w3.org/2005/Atom\">");
    d.out.Line("<Document><name>" + Text(d.schema) + "</name>");
    d.out.Line("<Schema name=\"" + schema + "\" id=\"" + schema + std::string(kSchemaIdTail) + "\">");
    for (const std::string& name : d.names)
        d.out.Line("<SimpleField type=\"string\" name=\"" + Attr(name) + "\"><displayName>&lt;b&gt;" +
                   Text(name) + "&lt;/b&gt;</displayName></SimpleField>");
    d.out.Line("</Schema>");
    d.out.Line("<Style id=\"pathStyle\"><LineStyle><color>FFFF0000</color><width>1</width></LineStyle></Style>");
    d.out.Line("<Style id=\"trkpntStyle\"><IconStyle><scale>  1.00</scale><Icon><href>" + map +
               "/mapfiles/kml/paddle/wht-diamond.png</href></Icon><hotSpot x=\"32\" y=\"0\" xunits=\"pixels\" "
               "yunits=\"pixels\"/><color>FF990000</color></IconStyle></Style>");
    for (const char* hn : {"h", "n"}) {
        const bool h = hn[0] == 'h';
        d.out.Line("<Style id=\"multiTrack_" + std::string(hn) + "\"><IconStyle><scale>  " +
                   (h ? "1.20" : "1.00") + "</scale><Icon><href>" + earth +
                   "/images/kml-icons/track-directional/track-0.png</href></Icon></IconStyle><LineStyle>"
                   "<color>99FFAC59</color><width>" + (h ? "8" : "6") + "</width></LineStyle></Style>");
    }
    d.out.Line("<Style id=\"waypntStyle\"><IconStyle><scale>  1.00</scale><Icon><href>" + map +
               "/mapfiles/kml/pushpin/wht-pushpin.png</href></Icon><hotSpot x=\"20\" y=\"2\" xunits=\"pixels\" "
               "yunits=\"pixels\"/><color>FFFFFF00</color></IconStyle></Style>");
    const std::string balloon = BalloonText(d);
    WritePointStyle(d, "hlightPointStyle", "placemark_circle_highlight.png", balloon);
    WritePointStyle(d, "normPointStyle", "placemark_circle.png", balloon);
    d.out.Line("<StyleMap id=\"multiTrack\"><Pair><key>normal</key><styleUrl>#multiTrack_n</styleUrl></Pair>"
               "<Pair><key>highlight</key><styleUrl>#multiTrack_h</styleUrl></Pair></StyleMap>");
    d.out.Line("<StyleMap id=\"pointStyleMap\"><Pair><key>normal</key><styleUrl>#normPointStyle</styleUrl>"
               "</Pair><Pair><key>highlight</key><styleUrl>#hlightPointStyle</styleUrl></Pair></StyleMap>");
    d.out.Line("<Folder id=\"layer 0\">");
    d.out.Line("<name>" + Text(d.schema) + "</name>");
}

void KMLEventPlacemark(TKmlDoc& d, std::int32_t ix) {
    const TEvent& e = d.s.events[ix];
    d.out.Line("<Placemark><styleUrl>#pointStyleMap</styleUrl>");
    d.out.Line("<Style id=\"inline\"><IconStyle><color>fff0f0f0</color><colorMode>normal</colorMode>");
    d.out.Line("<Icon><href>" + std::string(mapiconbase) + "/mapfiles/kml/shapes/placemark_circle.png</href>");
    d.out.Line("</Icon></IconStyle>");
    d.out.Line("<LineStyle><color>fff0f0f0</color><colorMode>normal</colorMode></LineStyle>");
    d.out.Line("<PolyStyle><color>fff0f0f0</color><colorMode>normal</colorMode></PolyStyle></Style>");
    d.out.Line(d.schemadata);
    for (std::size_t k = 0; k < d.fields.size(); ++k) {
        std::string text = CellText(e, d.f, d.fields[k]);
        if (IsQuotedText(d.fields[k])) text = "\"" + text + "\"";
        d.scratch.clear();
        AppendUtf8(d.scratch, text);
        d.line = d.dataopen[k];
        AppendXmlText(d.line, d.scratch);
        d.line += "</SimpleData>";
        d.out.Line(d.line);
    }
    d.out.Line("</SchemaData></ExtendedData>");
    // An event without a position number keeps its data but gets no point on the map.
    if (!IsValid(e.coord.lat) || !IsValid(e.coord.lng)) {
        d.out.Line("</Placemark>");
        return;
    }
    d.out.Line("<Point><coordinates>" + PictureText(d.coordf, e.coord.lng, "000.000000") + "," +
               PictureText(d.coordf, e.coord.lat, "00.000000") + ",0</coordinates></Point></Placemark>");
}

// False when the vessel's MMSI text is no number.
bool KMLVesselPlacemark(TKmlDoc& d, const TReportsById& byid, const TVehicle& vessel) {
    const auto id = ParseInt(Trim(vessel.id));
    if (!id) return false;
    d.out.Line("<Placemark>");
    d.out.Line("<name>" + Text(vessel.id) + "</name>");
    d.out.Line("<styleUrl>#multiTrack</styleUrl>");
    std::vector<std::string> coords;
    for (std::int32_t pos : byid.Of(*id)) {
        const TaisEvent& r = d.s.aisevents[pos];
        // A report at the "not available" position would draw a line across the map.
        if (!IsPositionReport(r) || !PositionValid(r)) continue;
        coords.push_back(std::string(Trim(FixedText(d.coordf, r.coord.lng, 10, 6))) + "," +
                         std::string(Trim(FixedText(d.coordf, r.coord.lat, 11, 6))) + ",0");
    }
    // The reports carry no times, so the track is a path: a gx:Track needs one <when> per
    // coordinate, and KML readers refuse the whole file (or crash) on one without them.
    if (coords.size() >= 2) {
        d.out.Line("<LineString><coordinates>");
        for (const auto& c : coords) d.out.Line(c);
        d.out.Line("</coordinates></LineString>");
    } else if (coords.size() == 1) {
        d.out.Line("<Point><coordinates>" + coords[0] + "</coordinates></Point>");
    } else {
        d.out.Line("<gx:Track>");
        d.out.Line("</gx:Track>");
    }
    d.out.Line("</Placemark>");
    return true;
}

}  // namespace

bool WriteKMLDocument(const Session& s, TTextOut& out, const std::string& schemaname, TColumns columns) {
    TKmlDoc d{s, s.Format(), s.Format(), schemaname, {}, {}, out, {}, {}, {}, {}};
    d.coordf.decsep = '.';
    for (const int field : columns) {
        d.fields.push_back(field);
        d.names.push_back(FieldName(s, field));
        d.dataopen.push_back("<SimpleData name=\"" + Attr(d.names.back()) + "\">");
    }
    d.schemadata = "<ExtendedData><SchemaData schemaUrl=\"#" + Attr(d.schema) + std::string(kSchemaIdTail) + "\">";
    WriteKMLHead(d);
    for (std::int32_t ix = 0; ix < s.events.count() && out.ok(); ++ix) KMLEventPlacemark(d, ix);
    const TReportsById byid(s.aisevents);
    bool good = true;
    for (std::int32_t v = 0; v < s.vehicles.count() && good && out.ok(); ++v)
        good = KMLVesselPlacemark(d, byid, s.vehicles[v]);
    if (good) {
        out.Line("</Folder>");
        out.Line("</Document>");
        out.Line("</kml>");
    }
    return good && out.ok();
}

bool WriteKML(Session& s, const std::string& path, const std::string& schemaname, TColumns columns) {
    TTextOut out;
    bool good = out.Create(path) && WriteKMLDocument(s, out, schemaname, columns);
    good = out.Close() && good;
    if (good)
        s.platform.ShowMessage(MsgKind::Information, "KML file successfully written.", help::WriteGPSKML);
    else
        s.platform.ShowMessage(MsgKind::Error, "Error writing KML file.");
    return good;
}

}  // namespace brenvik
