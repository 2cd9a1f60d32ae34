#pragma once
// Opening logs: the open dialog, ReOpen, a path from the command line or a drop; the busy
// cursor while the file is read, and the status bar's account of the load.
#include <QObject>
#include <QString>

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
    void Reopen();  // lastfile again
    // Reads a log; true when the load completed. The window title names the file read.
    bool OpenPath(const QString& path);

signals:
    // A load completed: the window shows the grids.
    void loaded();

private:
    AppState& app_;
    GridCommands& grids_;
    QStatusBar& status_;
    QWidget& window_;
};

// The status bar after a completed load: the report's line count, events, AIS reports and the
// load time, then where a capacity stopped it, the per-line message counts and the clock verdict.
QString LoadStatusText(const Session& s, const QString& name, double loadsecs);

}  // namespace brenvik::ui
