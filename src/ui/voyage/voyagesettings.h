#pragma once
// Where the voyage pane's state lives in the settings file: section [VOYAGE], Shown (Y or N)
// and Width (the pane's width in pixels; 0: half the window). Files without it read as hidden.
#include <string>

namespace brenvik::ui {

struct VoyageSettings {
    bool shown = false;
    int width = 0;
};

VoyageSettings ReadVoyageSettings(const std::string& inifile);
// Keeps everything else the file holds; false when it cannot be read or written.
bool WriteVoyageSettings(const std::string& inifile, const VoyageSettings& v);

}  // namespace brenvik::ui
