#pragma once
// The four export commands: the save dialog, then the core's choice of writer.
namespace brenvik {
class Session;
}

namespace brenvik::ui {

class FileDialogs;
struct FileDialogRequest;

// The save dialog as an export of `what` sets it up: a title saying what is saved, the loaded
// file's folder and name with savedext and the filter of that extension selected; the AIS
// exports offer the one type they write, CSV.
FileDialogRequest SaveRequest(const Session& s, char what, bool marked = false);

// Exports what (saveEvents, saveAISPositions, saveAISStatic); when marked, only the events of
// the 1-based grid rows markfirst to marklast (the CSV, GPX and GeoJSON writers; the others
// write all).
void SaveAs(Session& s, FileDialogs& dialogs, char what, bool marked = false, int markfirst = 0,
            int marklast = 0);

}  // namespace brenvik::ui
