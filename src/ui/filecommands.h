#pragma once
// Opening logs: the open dialog, ReOpen, a path from the command line or a drop; the busy
// cursor while the file is read, and the status bar's account of the load. The file is read
// on a worker thread while the window stays responsive; after a moment the status bar shows
// the progress with a Cancel button (Esc cancels too).
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

#include "parse/loader.h"

class QElapsedTimer;
class QShortcut;
class QStatusBar;
class QWidget;

namespace brenvik {
class Session;
}

namespace brenvik::ui {

// The main window's title without a file, and the open dialog's first filter.
extern const QString kTitle;
extern const QString kLogFilter;

struct AppState;
class GridCommands;
class LoadProgressBar;

class FileCommands : public QObject {
    Q_OBJECT
public:
    FileCommands(AppState& app, GridCommands& grids, QStatusBar& status, QWidget& window, QObject* parent = nullptr);

    void Open();    // asks for a file
    void OpenVoyage();        // asks for several files read as one voyage
    void OpenVoyageFolder();  // asks for a folder: its log files are the voyage
    void Reopen();  // lastfile again, a voyage's files included
    // Reads a log; true when the load completed. The window title names the file read. Returns
    // when the reading is done; meanwhile the window's events are served. A second open while
    // one reads is refused (false).
    bool OpenPath(const QString& path);
    // Reads the files (and folders) as one voyage; one file reads as OpenPath does.
    bool OpenPaths(const QStringList& paths);
    bool loading() const { return loading_; }
    // Stops the running load where it is; what was read is shown.
    void Cancel();
    LoadProgressBar* progressBar() const { return progress_; }

signals:
    // A load is about to start on the worker thread: until loadEnds nothing may touch the
    // session but the load. loadEnds comes before the grids are refilled.
    void loadBegins();
    void loadEnds(bool complete);
    // The progress bar was shown or updated.
    void progressShown();
    // A load completed: the window shows the grids.
    void loaded();

private:
    // Runs load on a worker thread, serving the window's events until it has ended.
    LoadOutcome ReadOffThread(const std::function<LoadOutcome(Session&)>& load, const QElapsedTimer& timer);
    void ShowProgress(const QElapsedTimer& timer);

    AppState& app_;
    GridCommands& grids_;
    QStatusBar& status_;
    QWidget& window_;
    LoadProgressBar* progress_;
    QShortcut* esc_;
    bool loading_ = false;
};

// The loaded log's name for the title and status bar: its file name, or for a voyage the first
// and last file names and the count.
QString LoadedName(const Session& s);

// The status bar after a completed load: the report's line count, events, AIS reports and the
// load time, then where a capacity stopped it, the per-line message counts and the clock verdict.
QString LoadStatusText(const Session& s, const QString& name, double loadsecs);

}  // namespace brenvik::ui
