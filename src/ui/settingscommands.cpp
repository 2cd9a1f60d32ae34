#include "settingscommands.h"

#include <QFileInfo>

#include "filedialogs.h"
#include "session.h"
#include "settings/settingsfile.h"

namespace brenvik::ui {
namespace {

constexpr std::string_view inifilter = "Ini files (*.ini)|*.ini|All files (*.*)|*.*";

FileDialogRequest SettingsRequest(const QString& caption, const QString& folder, const QString& name) {
    FileDialogRequest r;
    r.caption = caption;
    r.folder = folder;
    r.filename = name;
    r.filters = NameFilters(inifilter);
    r.filterindex = 1;
    r.confirmoverwrite = true;  // settings written into a file of another kind would spoil it
    return r;
}

}  // namespace

void SettingsCommands::OpenSettings() {
    const QFileInfo current(QString::fromStdString(s_.settings.settingsfile));
    const QString folder = s_.settings.settingsfile.empty() ? QString() : current.absolutePath();
    const auto chosen = dialogs_.OpenFile(SettingsRequest(QStringLiteral("Open Settings"), folder, current.fileName()));
    if (!chosen) return;
    s_.settings.settingsfile = chosen->toStdString();
    ReadSettings(s_, s_.settings.settingsfile);
    if (recentchanged_) recentchanged_();
}

void SettingsCommands::SaveSettings() {
    if (s_.settings.settingsfile.empty()) {
        SaveSettingsAs();
        return;
    }
    WriteSettings(s_, s_.settings.settingsfile);
}

void SettingsCommands::SaveSettingsAs() {
    // The proposed name stays even when the dialog is cancelled.
    if (s_.settings.settingsfile.empty()) s_.settings.settingsfile = "mysettings.ini";
    const auto chosen = dialogs_.SaveFile(SettingsRequest(QStringLiteral("Save Settings As"),
                                                          QString::fromStdString(s_.settings.lastfolder),
                                                          QString::fromStdString(s_.settings.settingsfile)));
    if (!chosen) return;
    s_.settings.settingsfile = chosen->toStdString();
    WriteSettings(s_, s_.settings.settingsfile);
}

void SettingsCommands::ResetSettings() {
    if (s_.platform.Ask(QuestionKind::YesCancel,
                        "Do you wish to restore the settings as they were at the start of this session?") !=
        Answer::Yes)
        return;
    ReadSettings(s_, s_.settings.inifile);
    if (recentchanged_) recentchanged_();
}

}  // namespace brenvik::ui
