#include "dialogcommands.h"

#include <QAction>

#include "appstate.h"
#include "dialogs/aboutbox.h"
#include "dialogs/optionsdialog.h"
#include "export/savecommand.h"
#include "filecommands.h"
#include "filedialogs.h"
#include "gridcommands.h"
#include "logtext.h"
#include "mainactions.h"
#include "present/fieldtext.h"
#include "recentfiles.h"
#include "savecommands.h"
#include "settingscommands.h"

namespace brenvik::ui {

DialogCommands::DialogCommands(AppState& app, MainActions& actions, GridCommands& grids, FileCommands& files,
                               QWidget& window, QObject* parent)
    : QObject(parent),
      app_(app),
      grids_(grids),
      files_(files),
      window_(window),
      qtdialogs_(std::make_unique<QtFileDialogs>(&window)),
      dialogs_(qtdialogs_.get()),
      options_(new OptionsDialog(app.session, &window)),
      recent_(new RecentFiles(app.session, actions.fileMenu, actions.recent,
                              [this](const std::string& path) { files_.OpenPath(LogText(path)); }, this)),
      settings_(std::make_unique<SettingsCommands>(app.session, *dialogs_, [this] { recent_->RefreshRecentMenu(); })) {
    const std::array<std::pair<QAction*, int>, 4> pages{{
        {actions.optGeneral, OptionsDialog::General},
        {actions.optFormats, OptionsDialog::Formats},
        {actions.optFields, OptionsDialog::Fields},
        {actions.optEvents, OptionsDialog::Events},
    }};
    for (const auto& [action, page] : pages) {
        action->setEnabled(true);
        connect(action, &QAction::triggered, this, [this, page = page] { OptionsClick(page); });
    }
    for (QAction* a : {actions.saveAll, actions.saveAISPos, actions.saveAISStatic, actions.openSettings,
                       actions.saveSettings, actions.saveSettingsAs, actions.resetSettings, actions.about})
        a->setEnabled(true);
    // "Save Marked" stays as the marked range sets it.
    connect(actions.saveAll, &QAction::triggered, this, [this] { SaveClick(saveEvents, false); });
    connect(actions.saveMarked, &QAction::triggered, this, [this] { SaveClick(saveEvents, true); });
    connect(actions.saveAISPos, &QAction::triggered, this, [this] { SaveClick(saveAISPositions, false); });
    connect(actions.saveAISStatic, &QAction::triggered, this, [this] { SaveClick(saveAISStatic, false); });
    connect(actions.openSettings, &QAction::triggered, this, [this] { settings_->OpenSettings(); });
    connect(actions.saveSettings, &QAction::triggered, this, [this] { settings_->SaveSettings(); });
    connect(actions.saveSettingsAs, &QAction::triggered, this, [this] { settings_->SaveSettingsAs(); });
    connect(actions.resetSettings, &QAction::triggered, this, [this] { settings_->ResetSettings(); });
    connect(actions.about, &QAction::triggered, this, &DialogCommands::AboutClick);
    connect(&files_, &FileCommands::loaded, recent_, &RecentFiles::RefreshRecentMenu);
}

DialogCommands::~DialogCommands() = default;

void DialogCommands::setFileDialogs(FileDialogs* dialogs) {
    dialogs_ = dialogs ? dialogs : qtdialogs_.get();
    settings_ = std::make_unique<SettingsCommands>(app_.session, *dialogs_, [this] { recent_->RefreshRecentMenu(); });
}

void DialogCommands::OptionsClick(int page) {
    options_->ShowPage(page);
    AfterOptions();
}

void DialogCommands::AfterOptions() {
    Session& s = app_.session;
    if (options_->eventsmodified) {
        files_.OpenPath(LogText(s.settings.lastfile));
    } else if (options_->modified) {
        grids_.SetGridMode(grids_.ShownMode());
        GatherRanges(s);
        grids_.FillMaxMinGrid();
        emit displayChanged();
    }
}

void DialogCommands::SaveClick(char what, bool marked) {
    const MarkState& m = app_.marks;
    SaveAs(app_.session, *dialogs_, what, marked, m.markfirst, m.marklast);
}

void DialogCommands::AboutClick() { ShowAboutBox(&window_); }

}  // namespace brenvik::ui
