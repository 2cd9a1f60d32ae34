#pragma once
// Opening logs: the open dialog, ReOpen, a path from the command line or a drop; the busy
// cursor while the file is read, and the status bar's account of the load.
#include <QObject>
#include <QString>
#include <QStringList>

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

class FileCommands : public QObject {
    Q_OBJECT
public:
    FileCommands(AppState& app, GridCommands& grids, QStatusBar& status, QWidget& window, QObject* parent = nullptr);

    void Open();    // asks for a file
    void OpenVoyage();        // asks for several files read as one voyage
    void OpenVoyageFolder();  // asks for a folder: its log files are the voyage
    void Reopen();  // lastfile again, a voyage's files included
    // Reads a log; true when the load completed. The window title names the file read.
    bool OpenPath(const QString& path);
    // Reads the files (and folders) as one voyage; one file reads as OpenPath does.
    bool OpenPaths(const QStringList& paths);

signals:
    // A load completed: the window shows the grids.
    void loaded();

private:
    AppState& app_;
    GridCommands& grids_;
    QStatusBar& status_;
    QWidget& window_;
};

// The loaded log's name for the title and status bar: its file name, or for a voyage the first
// and last file names and the count.
QString LoadedName(const Session& s);

// The status bar after a completed load: the report's line count, events, AIS reports and the
// load time, then where a capacity stopped it, the per-line message counts and the clock verdict.
QString LoadStatusText(const Session& s, const QString& name, double loadsecs);

}  // namespace brenvik::ui
