#pragma once
// Opening logs: the open dialog, ReOpen, a path from the command line or a drop; the busy
// cursor while the file is read, and the status bar's account of the load.
#include <QObject>
#include <QString>

class QStatusBar;
class QWidget;

namespace brenvik::ui {

struct AppState;
class GridCommands;

class FileCommands : public QObject {
    Q_OBJECT
public:
    FileCommands(AppState& app, GridCommands& grids, QStatusBar& status, QWidget& window, QObject* parent = nullptr);

    void Open();    // asks for a file
    void Reopen();  // lastfile again
    // Reads a log; true when the load completed.
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

}  // namespace brenvik::ui
