#pragma once
// The grids' commands: the grid modes and column layout, the min/max strip, marking a range of
// events, finding a minimum or maximum, and what a click on each grid leads to.
#include <QObject>

class QLabel;
class QModelIndex;

namespace brenvik::ui {

struct AppState;
struct MainActions;
class AisTableModel;
class EventTableModel;
class GridArea;
class MaxMinModel;
class TextViews;

class GridCommands : public QObject {
    Q_OBJECT
public:
    GridCommands(AppState& app, GridArea& area, TextViews& views, MainActions& actions, QLabel& lblmarked,
                 QObject* parent = nullptr);

    EventTableModel* eventModel() const { return events_; }
    MaxMinModel* maxminModel() const { return maxmin_; }
    AisTableModel* aisModel() const { return ais_; }

    // Shows the grids of a mode letter and rebuilds their columns.
    void SetGridMode(char mode);
    // The mode the grids are shown in: gridmode, or A after a log with AIS reports only.
    char ShownMode() const;
    // The view switches: the grid mode in memory, then SetGridMode.
    void SwitchGridMode(char mode);
    void FillMaxMinGrid();
    void ShowMarked();
    // After a completed load: every event marked, no selection, the grids shown.
    void AfterLoad();

    void MakeFirstEvent();
    void MakeLastEvent();
    void SelectAISVessel(int mmsi);
    // Brings an event to the data grid's top row.
    void ShowEventAtTop(int eventindex);
    // The source line of the selected event, or of the first event; 0 when there are none.
    int SelectedSourceLine() const;

    // Clicks, by model index of the grid concerned.
    void DataGridClick(const QModelIndex& ix);
    void DataGridFixedCellClick(const QModelIndex& ix);
    void MaxMinGridClick(const QModelIndex& ix);
    void AisGridMouseUp(const QModelIndex& ix);
    // The keyboard moved to a cell: the text panel follows as after a click on it.
    void DataGridKeyed(const QModelIndex& ix);
    void AisGridKeyed(const QModelIndex& ix);

private:
    void ClearSelections();
    void ShowTextFailure(const char* prefix, int field);
    bool FindExtreme(int field, bool maximum, int start);
    void ShowFound(int field, int event);

    AppState& app_;
    GridArea& area_;
    TextViews& views_;
    MainActions& actions_;
    QLabel& lblmarked_;
    EventTableModel* events_;
    MaxMinModel* maxmin_;
    AisTableModel* ais_;
    // The last event find extreme went to, and the top row it left: a click on the same strip
    // cell goes on after that event even where the grid could not scroll it to the top.
    struct Found {
        int column = -1, row = -1, event = -1, toprow = -1;
    } found_;
};

}  // namespace brenvik::ui
