#include "savecommands.h"

#include "export/savecommand.h"
#include "filedialogs.h"
#include "session.h"

namespace brenvik::ui {

FileDialogRequest SaveRequest(const Session& s, char what, bool marked) {
    const TSaveDialogSetup setup = SaveDialogSetup(s.settings);
    FileDialogRequest r;
    r.folder = QString::fromStdString(setup.folder);
    r.filename = QString::fromStdString(setup.filename);
    if (what == saveAISPositions || what == saveAISStatic) {
        r.caption = what == saveAISPositions ? QStringLiteral("Save AIS Position Reports") : QStringLiteral("Save AIS Vessels");
        r.filters = NameFilters(aissavefilter);
        r.filterindex = 1;
        r.defaultsuffix = QStringLiteral("csv");
        return r;
    }
    r.caption = marked ? QStringLiteral("Save Marked Events") : QStringLiteral("Save All Events");
    r.filters = NameFilters(savefilter);
    r.filterindex = setup.filterindex;
    r.defaultsuffix = QString::fromStdString(setup.defaultext);
    return r;
}

void SaveAs(Session& s, FileDialogs& dialogs, char what, bool marked, int markfirst, int marklast) {
    const std::optional<QString> chosen = dialogs.SaveFile(SaveRequest(s, what, marked));
    if (!chosen) return;
    SaveAsChosen(s, chosen->toStdString(), what, marked, markfirst, marklast);
}

}  // namespace brenvik::ui
