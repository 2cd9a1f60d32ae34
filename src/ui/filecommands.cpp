#include "filecommands.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QPushButton>
#include <QShortcut>
#include <QStatusBar>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <exception>
#include <memory>
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
#include "widgets/loadprogressbar.h"

namespace brenvik::ui {
namespace {

constexpr qint64 kProgressAfterNanos = 300'000'000;  // a shorter load needs no bar
constexpr int kProgressPollMs = 100;

}  // namespace

const QString kTitle = QStringLiteral("Brenvik V1.1");
// The first filter shows the names logs usually have, the bundled sample's ".log" among them.
const QString kLogFilter = QStringLiteral("Text files (*.txt *.TXT *.log *.LOG *.nmea *.nme *.vdr)");

FileCommands::FileCommands(AppState& app, GridCommands& grids, QStatusBar& status, QWidget& window, QObject* parent)
    : QObject(parent),
      app_(app),
      grids_(grids),
      status_(status),
      window_(window),
      progress_(new LoadProgressBar),
      esc_(new QShortcut(QKeySequence(Qt::Key_Escape), &window)) {
    status_.addPermanentWidget(progress_);
    progress_->hide();
    esc_->setEnabled(false);
    connect(esc_, &QShortcut::activated, this, &FileCommands::Cancel);
    connect(progress_->cancelButton(), &QPushButton::clicked, this, &FileCommands::Cancel);
}

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
    if (path.isEmpty() || loading_) return false;
    loading_ = true;
    emit loadBegins();
    QElapsedTimer timer;
    timer.start();
    // Busy, yet the window answers: Cancel and Esc work while the file is read.
    QApplication::setOverrideCursor(Qt::BusyCursor);
    const std::string entry = CoreText(path);
    const QString first = QFileInfo(LogText(EntryFirstPath(entry))).fileName();
    status_.showMessage(IsVoyageEntry(entry) ? QStringLiteral("Reading the voyage from %1...").arg(first)
                                             : QStringLiteral("Reading %1...").arg(first));
    const LoadOutcome outcome = ReadOffThread([&entry](Session& s) { return OpenLogFile(s, entry); }, timer);
    // The load's own time: the minutes a box waited for the user are not the program's.
    const double loadsecs = static_cast<double>(std::max<qint64>(timer.nsecsElapsed() - app_.platform.BoxWaitNanos(), 0)) / 1e9;
    loading_ = false;
    emit loadEnds(outcome == LoadOutcome::Complete);
    if (outcome == LoadOutcome::Complete) {
        grids_.AfterLoad();
        emit loaded();
    }
    QApplication::restoreOverrideCursor();
    if (outcome != LoadOutcome::Complete) {
        window_.setWindowTitle(kTitle);
        status_.showMessage(QStringLiteral("%1: not read").arg(first));
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

void FileCommands::Cancel() {
    if (!loading_ || app_.platform.cancelRequested()) return;
    app_.platform.RequestCancel();
    progress_->SetCancelling();
}

LoadOutcome FileCommands::ReadOffThread(const std::function<LoadOutcome(Session&)>& load, const QElapsedTimer& timer) {
    app_.platform.ResetProgress();
    progress_->Reset();
    esc_->setEnabled(true);
    LoadOutcome outcome = LoadOutcome::Skipped;
    std::exception_ptr error;
    // The worker is the only one to touch the session until it ends; what it asks of the
    // platform (boxes, the report) the platform runs here, on this thread, while it waits.
    const std::unique_ptr<QThread> worker(QThread::create([this, &load, &outcome, &error] {
        try {
            outcome = load(app_.session);
        } catch (...) {
            error = std::current_exception();
        }
    }));
    QEventLoop loop;
    connect(worker.get(), &QThread::finished, &loop, &QEventLoop::quit);
    QTimer poll;
    poll.setInterval(kProgressPollMs);
    connect(&poll, &QTimer::timeout, this, [this, &timer] { ShowProgress(timer); });
    worker->start();
    poll.start();
    loop.exec();
    // An application quit ends every event loop, this one too, while the worker may still read
    // or wait for a box: it is stopped then, and its calls are served until it has ended.
    while (!worker->wait(QDeadlineTimer(20))) {
        app_.platform.RequestCancel();
        QCoreApplication::processEvents();
    }
    poll.stop();
    progress_->hide();
    esc_->setEnabled(false);
    app_.platform.ResetProgress();  // a cancel asked for stays with this load only
    if (error) std::rethrow_exception(error);
    return outcome;
}

void FileCommands::ShowProgress(const QElapsedTimer& timer) {
    // While a box waits for the user the reading waits too: neither its time nor its rate moves.
    if (QApplication::activeModalWidget() != nullptr) return;
    const qint64 boxes = app_.platform.BoxWaitNanos();
    if (timer.nsecsElapsed() - boxes < kProgressAfterNanos) return;
    const QtPlatform::Progress p = app_.platform.progress();
    progress_->Show(p.at, static_cast<double>(std::max<qint64>(p.nanos - boxes, 0)) / 1e9);
    progress_->show();
    emit progressShown();
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
