#pragma once
// The main window: layout and wiring only. The text panel sits above the splitter, the grid area
// (with the welcome panel under it until a log is read) below; the commands live in their
// controllers.
#include <QMainWindow>

#include <QPointer>

#include <memory>
#include <vector>

#include "appstate.h"
#include "mainactions.h"

class QSplitter;
class QTimer;

namespace brenvik::ui {

class DialogCommands;
class FileCommands;
class GridArea;
class GridCommands;
class TextPanel;
class TextViews;
class VoyageCommands;
class VoyagePane;
class WelcomePanel;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    // A log to open right after the window is first shown, instead of the start-up reopen.
    void setStartupFile(const QString& path) { startupfile_ = path; }

    AppState& app() { return *app_; }
    Session& session() { return app_->session; }
    MainActions& actions() { return actions_; }
    TextPanel* textPanel() const { return panel_; }
    GridArea* gridArea() const { return area_; }
    WelcomePanel* welcomePanel() const { return welcome_; }
    QSplitter* splitter() const { return splitter_; }
    TextViews* views() const { return views_; }
    GridCommands* grids() const { return grids_; }
    FileCommands* files() const { return files_; }
    DialogCommands* dialogs() const { return dialogs_; }
    QTimer* startTimer() const { return timer_; }
    VoyagePane* voyagePane() const { return voyage_; }
    VoyageCommands* voyage() const { return voyagecmds_; }
    QSplitter* besideSplitter() const { return beside_; }

protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dropEvent(QDropEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void BuildMenus();
    void Wire();
    void FormShow();
    void PlaceWelcome();
    void StartupOpen();
    // While a load reads on its worker thread: the commands, the views' input and whatever
    // would paint from the lists being filled are off.
    void LockForLoad();
    void UnlockAfterLoad(bool complete);
    void HideGrids();

    std::unique_ptr<AppState> app_;
    MainActions actions_;
    TextPanel* panel_;
    QSplitter* splitter_;
    QWidget* bottom_;
    QSplitter* beside_;  // the grids, and the voyage pane beside them when it is shown
    VoyagePane* voyage_;
    VoyageCommands* voyagecmds_ = nullptr;
    GridArea* area_;
    WelcomePanel* welcome_;
    TextViews* views_;
    GridCommands* grids_;
    FileCommands* files_;
    DialogCommands* dialogs_;
    QTimer* timer_;
    QString startupfile_;
    bool shown_ = false;
    std::vector<QPointer<QAction>> locked_;  // the actions a load turned off
    QPointer<QWidget> focus_;                // and where the keyboard was
    bool areashown_ = false;                 // the grid area was shown before the load
    bool closeafterload_ = false;            // the window was closed during a load
};

}  // namespace brenvik::ui
