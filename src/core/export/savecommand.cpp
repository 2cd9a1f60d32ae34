#include "export/savecommand.h"

#include <filesystem>

#include "export/aiswriters.h"
#include "export/csvwriter.h"
#include "export/geojsonwriter.h"
#include "export/gpswriter.h"
#include "export/gpxwriter.h"
#include "export/kmlwriter.h"
#include "helptopics.h"
#include "model/logfiles.h"
#include "model/strutil.h"
#include "present/valuetext.h"
#include "session.h"

namespace brenvik {
namespace {

std::size_t NameStart(std::string_view path) {
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string_view::npos ? 0 : slash + 1;
}

// Nothing is written for these types from the AIS commands: the vessels go into them with
// the events instead.
bool IsMapType(std::string_view type) {
    return type == "GPS" || type == "KML" || type == "GPX" || type == "GEOJSON";
}

void SaveEventsAs(Session& s, const std::string& path, std::string_view type, int savefirst, int savelast) {
    const TColumns shown(s.fields.shownfields);
    if (type == "CSV") {
        if (!s.aisevents.empty())
            s.platform.ShowMessage(MsgKind::Plain,
                                   "The AIS data will not be saved in this file.\r\n"
                                   "Please use the other save options for AIS data.");
        WriteCSV(s, path, shown, {savefirst, savelast});
    } else if (type == "KML") {
        WriteKML(s, path, SchemaName(path), shown);
    } else if (type == "GPS") {
        WriteGPS(s, path);
    } else if (type == "GPX") {
        WriteGPX(s, path, {savefirst, savelast});
    } else if (type == "GEOJSON") {
        WriteGeoJSON(s, path, shown, {savefirst, savelast});
    } else {
        // Without a word the user would take the file for saved.
        s.platform.ShowMessage(MsgKind::Information,
                               "Nothing was saved: NMEA events can be saved as CSV, KML, GPS, GPX or GeoJSON "
                               "files only.\r\n"
                               "Please choose a file name ending in .csv, .kml, .gps, .gpx or .geojson.");
    }
}

}  // namespace

std::string FileExt(std::string_view name) {
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || dot < NameStart(name)) return {};
    return std::string(name.substr(dot));
}

std::string SchemaName(std::string_view path) { return StripExt(path.substr(NameStart(path))); }

std::string ProposedSaveName(const TSettings& st) {
    std::string name = StripExt(EntryFirstPath(st.lastfile)) + st.savedext;
    const std::string ext = FileExt(name);
    // A name that is all extension (no file loaded yet) would leave the dialog's name empty.
    const std::size_t start = NameStart(name);
    if (name.size() - ext.size() == start) name = name.substr(0, start) + "untitled" + ext;
    return name;
}

int SaveFilterIndex(std::string_view ext) {
    const std::string e = UpperCase(ext);
    if (e == ".CSV") return 1;
    if (e == ".KML") return 2;
    if (e == ".GPS") return 3;
    if (e == ".GPX") return 4;
    if (e == ".GEOJSON") return 5;
    return 6;
}

TSaveDialogSetup SaveDialogSetup(const TSettings& st) {
    const std::string name = ProposedSaveName(st);
    const std::string ext = FileExt(name);
    TSaveDialogSetup d;
    d.folder = st.lastfolder;
    d.filename = name.substr(0, name.size() - ext.size());
    d.defaultext = ext.empty() ? std::string() : ext.substr(1);
    d.filterindex = SaveFilterIndex(ext);
    return d;
}

void SaveAsChosen(Session& s, const std::string& chosenpath, char what, bool marked, int markfirst,
                  int marklast) {
    std::error_code ec;
    // The question names the file: the one that will be written, whatever the user typed.
    if (std::filesystem::exists(chosenpath, ec) &&
        s.platform.Ask(QuestionKind::YesNo, "File exists, Overwrite it ?\r\n" + chosenpath, help::WriteCSV) !=
            Answer::Yes)
        return;
    const int savefirst = marked ? markfirst - 1 : 0;
    const int savelast = marked ? marklast - 1 : s.events.count() - 1;
    const std::string ext = FileExt(chosenpath);
    const std::string type = UpperCase(ext.empty() ? std::string_view() : std::string_view(ext).substr(1));
    if (what == saveEvents) {
        SaveEventsAs(s, chosenpath, type, savefirst, savelast);
        s.settings.savedext = ext;
        return;
    }
    if (what != saveAISPositions && what != saveAISStatic) return;
    const bool positions = what == saveAISPositions;
    if (IsMapType(type)) {
        s.platform.ShowMessage(MsgKind::Plain,
                               positions ? "Currently AIS Position reports are saved as Tracks in " + type +
                                               " files using the Save All as.. menu"
                                         : "Currently AIS Vessel Information is saved as Waypoints in " + type +
                                               " files using the Save All as.. menu");
        return;
    }
    if (positions)
        WriteAISPositions(s, chosenpath, type);
    else
        WriteAISVessels(s, chosenpath, type);
    s.settings.savedext = ext;
}

}  // namespace brenvik
