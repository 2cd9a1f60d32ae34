#include "savecommands.h"

#include "export/savecommand.h"
#include "filedialogs.h"
#include "session.h"

namespace brenvik::ui {

FileDialogRequest SaveRequest(const Session& s) {
    const TSaveDialogSetup setup = SaveDialogSetup(s.settings);
    FileDialogRequest r;
    r.caption = QStringLiteral("Save As");
    r.folder = QString::fromStdString(setup.folder);
    r.filename = QString::fromStdString(setup.filename);
    r.filters = NameFilters(savefilter);
    r.filterindex = setup.filterindex;
    r.defaultsuffix = QString::fromStdString(setup.defaultext);
    return r;
}

void SaveAs(Session& s, FileDialogs& dialogs, char what, bool marked, int markfirst, int marklast) {
    const std::optional<QString> chosen = dialogs.SaveFile(SaveRequest(s));
    if (!chosen) return;
    SaveAsChosen(s, chosen->toStdString(), what, marked, markfirst, marklast);
}

}  // namespace brenvik::ui
