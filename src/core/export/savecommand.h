#pragma once
// The save command after the file dialog: which writer the chosen extension selects, the
// notices, the range of events, and what the dialog proposes next time (savedext).
#include <string>
#include <string_view>

namespace brenvik {

class Session;
struct TSettings;

// The save dialog's filter entries, in this order: CSV, KML, GPS, GPX, GeoJSON, all files.
constexpr std::string_view savefilter =
    "CSV files (*.csv)|*.csv|KML files (*.kml)|*.kml|GPS files (*.gps)|*.gps|GPX files (*.gpx)|*.gpx|"
    "GeoJSON files (*.geojson)|*.geojson|All files (*.*)|*.*";

// The AIS exports' filter: the one type they write.
constexpr std::string_view aissavefilter = "CSV files (*.csv)|*.csv";

// What an export covers.
constexpr char saveEvents = 'N';
constexpr char saveAISPositions = 'P';
constexpr char saveAISStatic = 'S';

// The extension of the last path component, point included; empty when it has none.
std::string FileExt(std::string_view name);
// The last path component without its extension: the KML document's name.
std::string SchemaName(std::string_view path);

// The name the dialog proposes: the loaded file without its extension, followed by savedext;
// "untitled" stands in for a missing name.
std::string ProposedSaveName(const TSettings& st);
// 1-based index in savefilter of the entry for an extension (any case); 6 (all files) for others.
int SaveFilterIndex(std::string_view ext);

// How the desktop program sets up its save dialog.
struct TSaveDialogSetup {
    std::string folder;      // initial folder: the loaded file's
    std::string filename;    // proposed name without extension
    std::string defaultext;  // added by the dialog to a name typed without one; no point
    int filterindex = 6;
};
TSaveDialogSetup SaveDialogSetup(const TSettings& st);

// The user chose `chosenpath` for an export of `what` (saveEvents, saveAISPositions,
// saveAISStatic). Asks before replacing an existing file, then runs the writer the
// extension selects. `markfirst`, `marklast`: 1-based grid rows, used when `marked`.
void SaveAsChosen(Session& s, const std::string& chosenpath, char what, bool marked, int markfirst,
                  int marklast);

}  // namespace brenvik
