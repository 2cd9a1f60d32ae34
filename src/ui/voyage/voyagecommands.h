#pragma once
// The voyage pane's wiring: View > Voyage, the pane's place beside the grids, and the time
// cursor's third observer, the data grid: a grid row picks the cursor's event, the cursor
// selects its row and shows its source lines as a data-cell click does. A chosen encounter is
// shown on the map.
#include <QObject>

class QAction;
class QSplitter;

namespace brenvik::ui {

struct AppState;
struct MainActions;
class GridCommands;
class TextViews;
class VoyagePane;

class VoyageCommands : public QObject {
    Q_OBJECT
public:
    VoyageCommands(AppState& app, VoyagePane& pane, QSplitter& beside, GridCommands& grids, TextViews& views,
                   MainActions& actions, QObject* parent = nullptr);

    QAction* viewAction() const { return view_; }
    void SetShown(bool on);
    bool shown() const;
    // The pane's width in the splitter (0 while hidden).
    int paneWidth() const;
    // At start-up, from the settings file; at close, into it.
    void ReadSettings();
    void WriteSettings();
    void AfterLoad();
    // A row of the encounter table: with the pane shown, the map draws that closest approach
    // and the cursor goes to the event nearest its time; the table stays in the text panel.
    void ShowEncounter(int index);

private:
    void CursorMoved(int ev);

    AppState& app_;
    VoyagePane& pane_;
    QSplitter& beside_;
    GridCommands& grids_;
    TextViews& views_;
    QAction* view_;
    int width_ = 0;      // the pane's last width, kept while it is hidden
    bool fromgrid_ = false;
    bool fromencounter_ = false;
};

}  // namespace brenvik::ui
