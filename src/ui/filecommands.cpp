#include "filecommands.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QStatusBar>

#include <algorithm>
#include <string>
#include <vector>

#include "appstate.h"
#include "gridcommands.h"
#include "logtext.h"
#include "model/logfiles.h"
#include "openlog.h"
#include "present/report.h"
#include "present/sourcestable.h"
#include "session.h"

namespace brenvik::ui {

const QString kTitle = QStringLiteral("Brenvik V1.1");
// The first filter shows the names logs usually have, the bundled sample's ".log" among them.
const QString kLogFilter = QStringLiteral("Text files (*.txt *.TXT *.log *.LOG *.nmea *.nme *.vdr)");

FileCommands::FileCommands(AppState& app, GridCommands& grids, QStatusBar& status, QWidget& window, QObject* parent)
    : QObject(parent), app_(app), grids_(grids), status_(status), window_(window) {}

void FileCommands::Open() {
    const QString last = LogText(EntryFirstPath(app_.session.settings.lastfile));
    QFileDialog dialog(&window_);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters({kLogFilter, QStringLiteral("All files (*)")});
    dialog.selectNameFilter(kLogFilter);
    if (!last.isEmpty()) {
        dialog.setDirectory(QFileInfo(last).absolutePath());
        dialog.selectFile(last);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    OpenPath(dialog.selectedFiles().front());
}

void FileCommands::OpenVoyage() {
    QFileDialog dialog(&window_, QStringLiteral("Open Voyage: choose its files"));
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setNameFilters({kLogFilter, QStringLiteral("All files (*)")});
    dialog.selectNameFilter(kLogFilter);
    const QString last = LogText(EntryFirstPath(app_.session.settings.lastfile));
    if (!last.isEmpty()) dialog.setDirectory(QFileInfo(last).absolutePath());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    OpenPaths(dialog.selectedFiles());
}

void FileCommands::OpenVoyageFolder() {
    QFileDialog dialog(&window_, QStringLiteral("Open Voyage: choose the folder of its files"));
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    const QString last = LogText(EntryFirstPath(app_.session.settings.lastfile));
    if (!last.isEmpty()) dialog.setDirectory(QFileInfo(last).absolutePath());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    OpenPaths({dialog.selectedFiles().front()});
}

bool FileCommands::OpenPaths(const QStringList& paths) {
    std::vector<std::string> core;
    for (const QString& p : paths) core.push_back(CoreText(QFileInfo(p).absoluteFilePath()));
    return OpenPath(LogText(VoyageEntry(core)));
}

void FileCommands::Reopen() { OpenPath(LogText(app_.session.settings.lastfile)); }

bool FileCommands::OpenPath(const QString& path) {
    if (path.isEmpty()) return false;
    QElapsedTimer timer;
    timer.start();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const LoadOutcome outcome = OpenLogFile(app_.session, CoreText(path));
    // The load's own time: the minutes a box waited for the user are not the program's.
    const double loadsecs = static_cast<double>(std::max<qint64>(timer.nsecsElapsed() - app_.platform.BoxWaitNanos(), 0)) / 1e9;
    if (outcome == LoadOutcome::Complete) {
        grids_.AfterLoad();
        emit loaded();
    }
    QApplication::restoreOverrideCursor();
    if (outcome != LoadOutcome::Complete) {
        window_.setWindowTitle(kTitle);
        status_.showMessage(QStringLiteral("%1: not read").arg(QFileInfo(LogText(EntryFirstPath(CoreText(path)))).fileName()));
        return false;
    }
    const QString name = LoadedName(app_.session);
    window_.setWindowTitle(name + QStringLiteral(" - ") + kTitle);
    status_.showMessage(LoadStatusText(app_.session, name, loadsecs));
    return true;
}

QString LoadedName(const Session& s) {
    const auto& files = s.logfiles;
    if (files.empty()) return QFileInfo(LogText(EntryFirstPath(s.settings.lastfile))).fileName();
    const QString first = QFileInfo(LogText(files.front().path)).fileName();
    if (files.size() == 1) return first;
    return QStringLiteral("%1 ... %2 (%3 files)")
        .arg(first, QFileInfo(LogText(files.back().path)).fileName())
        .arg(files.size());
}

QString LoadStatusText(const Session& s, const QString& name, double loadsecs) {
    // The line count is the report's "Total lines", so the two never disagree.
    QString text = QStringLiteral("%1 - %L2 lines, %L3 events, %L4 AIS reports - read in %5 s")
                       .arg(name)
                       .arg(s.totlines)
                       .arg(s.events.count())
                       .arg(s.aisevents.count())
                       .arg(loadsecs, 0, 'f', 2);
    if (s.limitline > 0)
        text += QStringLiteral(" - stopped at line %L1: %2").arg(s.limitline).arg(LogText(CapacityName(s.limitname) + std::string(kNoLimitsHint)));
    if (s.cancelline > 0) text += QStringLiteral(" - cancelled at line %L1").arg(s.cancelline);
    for (const LineMsg kind : {LineMsg::FormatError, LineMsg::Error, LineMsg::DecodeAIS}) {
        const TLineMsgCount& c = s.linemessages[kind];
        if (c.count == 0) continue;
        QString what = LogText(LineMsgCountName(kind));
        what[0] = what[0].toLower();
        text += QStringLiteral(" - %L1 %2 (first at line %L3)").arg(c.count).arg(what).arg(c.firstline);
    }
    if (const std::string verdict = SourcesVerdict(s); !verdict.empty()) text += QStringLiteral(" - ") + LogText(verdict);
    return text;
}

}  // namespace brenvik::ui
