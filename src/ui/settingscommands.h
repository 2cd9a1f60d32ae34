#pragma once
// The Options menu's settings commands: open, save, save as and reset the settings file.
#include <functional>

namespace brenvik {
class Session;
}

namespace brenvik::ui {

class FileDialogs;

class SettingsCommands {
public:
    // recentchanged: rebuilds the File menu's recent entries after the list was read anew.
    SettingsCommands(Session& s, FileDialogs& dialogs, std::function<void()> recentchanged)
        : s_(s), dialogs_(dialogs), recentchanged_(std::move(recentchanged)) {}

    void OpenSettings();
    void SaveSettings();
    void SaveSettingsAs();
    void ResetSettings();

private:
    Session& s_;
    FileDialogs& dialogs_;
    std::function<void()> recentchanged_;
};

}  // namespace brenvik::ui
