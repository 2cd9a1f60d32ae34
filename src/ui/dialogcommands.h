#pragma once
// The commands behind the dialogs: the options pages and what follows them, the four exports,
// the four settings commands, the recent-file entries and the About box.
#include <QObject>

#include <memory>

class QWidget;

namespace brenvik::ui {

struct AppState;
struct MainActions;
class FileCommands;
class FileDialogs;
class GridCommands;
class OptionsDialog;
class RecentFiles;
class SettingsCommands;

class DialogCommands : public QObject {
    Q_OBJECT
public:
    DialogCommands(AppState& app, MainActions& actions, GridCommands& grids, FileCommands& files, QWidget& window,
                   QObject* parent = nullptr);
    ~DialogCommands() override;

    OptionsDialog* options() const { return options_; }
    RecentFiles* recent() const { return recent_; }
    SettingsCommands& settings() const { return *settings_; }
    // Tests answer the file dialogs themselves.
    void setFileDialogs(FileDialogs* dialogs);

    // mnuOptionsClick: the options dialog on a page, then a reload or a refresh.
    void OptionsClick(int page);
    // What the main window does after the dialog closed.
    void AfterOptions();
    // mnusaveAsClick, mnuSaveAISPosClick, mnuSaveAISStaticClick.
    void SaveClick(char what, bool marked);
    void AboutClick();

signals:
    // Options changed how values are shown: the text view on screen is made again.
    void displayChanged();

private:
    AppState& app_;
    GridCommands& grids_;
    FileCommands& files_;
    QWidget& window_;
    std::unique_ptr<FileDialogs> qtdialogs_;
    FileDialogs* dialogs_;
    OptionsDialog* options_;
    RecentFiles* recent_;
    std::unique_ptr<SettingsCommands> settings_;
};

}  // namespace brenvik::ui
