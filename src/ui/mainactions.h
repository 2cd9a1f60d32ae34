#pragma once
// Every command of the main menu and of the data grid's pop-up menu, reachable by name so that
// each group of commands can be wired by its own controller.
#include <array>

class QAction;
class QMenu;

namespace brenvik::ui {

struct MainActions {
    // File
    QAction* open = nullptr;
    QAction* openVoyage = nullptr;
    QAction* openVoyageFolder = nullptr;
    QAction* reopen = nullptr;
    QAction* saveAll = nullptr;
    QAction* saveMarked = nullptr;
    QAction* saveAISPos = nullptr;
    QAction* saveAISStatic = nullptr;
    QAction* exit = nullptr;
    std::array<QAction*, 10> recent{};  // hidden until there are recent files
    // Options
    QAction* optGeneral = nullptr;
    QAction* optFormats = nullptr;
    QAction* optFields = nullptr;
    QAction* optEvents = nullptr;
    QAction* openSettings = nullptr;
    QAction* saveSettings = nullptr;
    QAction* saveSettingsAs = nullptr;
    QAction* resetSettings = nullptr;
    // View
    QAction* report = nullptr;
    QAction* source = nullptr;
    QAction* corrupt = nullptr;
    QAction* vessels = nullptr;
    QAction* sources = nullptr;
    QAction* encounters = nullptr;
    QAction* nmea = nullptr;
    QAction* ais = nullptr;
    QAction* both = nullptr;
    QAction* voyage = nullptr;  // the voyage pane beside the grids (a check item)
    // Help
    QAction* contents = nullptr;
    QAction* about = nullptr;
    // Data grid pop-up
    QMenu* popup = nullptr;
    QAction* makeFirst = nullptr;
    QAction* makeLast = nullptr;
    // Menus, for the controllers that add to them
    QMenu* fileMenu = nullptr;
    QMenu* optionsMenu = nullptr;
    QMenu* viewMenu = nullptr;
    QMenu* helpMenu = nullptr;
};

}  // namespace brenvik::ui
