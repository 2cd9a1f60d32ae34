#include "filecommands.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QStatusBar>

#include <string>

#include "appstate.h"
#include "gridcommands.h"
#include "logtext.h"
#include "openlog.h"
#include "present/report.h"
#include "present/sourcestable.h"

namespace brenvik::ui {

FileCommands::FileCommands(AppState& app, GridCommands& grids, QStatusBar& status, QWidget& window, QObject* parent)
    : QObject(parent), app_(app), grids_(grids), status_(status), window_(window) {}

void FileCommands::Open() {
    const QString last = LogText(app_.session.settings.lastfile);
    QFileDialog dialog(&window_);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters({QStringLiteral("Text files (*.txt *.TXT)"), QStringLiteral("All files (*)")});
    dialog.selectNameFilter(QStringLiteral("Text files (*.txt *.TXT)"));
    if (!last.isEmpty()) {
        dialog.setDirectory(QFileInfo(last).absolutePath());
        dialog.selectFile(last);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    OpenPath(dialog.selectedFiles().front());
}

void FileCommands::Reopen() { OpenPath(LogText(app_.session.settings.lastfile)); }

bool FileCommands::OpenPath(const QString& path) {
    if (path.isEmpty()) return false;
    QElapsedTimer timer;
    timer.start();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const LoadOutcome outcome = OpenLogFile(app_.session, CoreText(path));
    app_.platform.LoadEnded();
    const double loadsecs = static_cast<double>(timer.nsecsElapsed()) / 1e9;
    if (outcome == LoadOutcome::Complete) {
        grids_.AfterLoad();
        emit loaded();
    }
    QApplication::restoreOverrideCursor();
    if (outcome != LoadOutcome::Complete) {
        status_.showMessage(QStringLiteral("%1: not read").arg(QFileInfo(path).fileName()));
        return false;
    }
    const Session& s = app_.session;
    QString text = QStringLiteral("%1 - %L2 lines, %L3 events, %L4 AIS reports - read in %5 s")
                       .arg(QFileInfo(path).fileName())
                       .arg(s.recnumb)
                       .arg(s.events.count())
                       .arg(s.aisevents.count())
                       .arg(loadsecs, 0, 'f', 2);
    if (const std::string stop = CapacityStopLine(s); !stop.empty()) text += QStringLiteral(" - ") + LogText(stop);
    if (const QString silenced = app_.platform.SilencedSummary(); !silenced.isEmpty()) text += QStringLiteral(" - ") + silenced;
    if (const std::string verdict = SourcesVerdict(s); !verdict.empty()) text += QStringLiteral(" - ") + LogText(verdict);
    status_.showMessage(text);
    return true;
}

}  // namespace brenvik::ui
