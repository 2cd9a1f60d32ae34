#include "gridcommands.h"

#include <QAction>
#include <QItemSelectionModel>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPalette>

#include <algorithm>

#include "export/aiswriters.h"
#include "present/aiscolumns.h"
#include "appstate.h"
#include "mainactions.h"
#include "models/aistablemodel.h"
#include "models/eventtablemodel.h"
#include "models/gridcolours.h"
#include "models/maxminmodel.h"
#include "present/fieldtext.h"
#include "textviews.h"
#include "widgets/gridarea.h"

namespace brenvik::ui {

GridCommands::GridCommands(AppState& app, GridArea& area, TextViews& views, MainActions& actions, QLabel& lblmarked,
                           QObject* parent)
    : QObject(parent),
      app_(app),
      area_(area),
      views_(views),
      actions_(actions),
      lblmarked_(lblmarked),
      events_(new EventTableModel(app.session, app.marks, this)),
      maxmin_(new MaxMinModel(app.session, this)),
      ais_(new AisTableModel(app.session, this)) {
    const QFont& font = app.platform.gridFont();
    events_->setGridFont(font);
    maxmin_->setGridFont(font);
    ais_->setGridFont(font);
    area_.setGridFont(font);
    area_.dataGrid()->setModel(events_);
    area_.maxminGrid()->setModel(maxmin_);
    area_.aisGrid()->setModel(ais_);

    connect(area_.dataGrid(), &FrozenTableView::cellClicked, this, [this](const QModelIndex& ix) {
        if (ix.column() == 0) DataGridFixedCellClick(ix);
        else DataGridClick(ix);
    });
    connect(area_.maxminGrid(), &FrozenTableView::cellClicked, this, &GridCommands::MaxMinGridClick);
    connect(area_.aisGrid(), &FrozenTableView::cellClicked, this, &GridCommands::AisGridMouseUp);
    connect(area_.dataGrid(), &FrozenTableView::cellKeyed, this, &GridCommands::DataGridKeyed);
    connect(area_.aisGrid(), &FrozenTableView::cellKeyed, this, &GridCommands::AisGridKeyed);
    area_.aisGrid()->setClickAnyButton(true);
    connect(events_, &EventTableModel::cellTextFailed, this,
            [this](int field) { ShowTextFailure("Unknown Error in Main Grid, Field no=", field); }, Qt::QueuedConnection);
    connect(maxmin_, &MaxMinModel::rangeTextFailed, this,
            [this](int field) { ShowTextFailure("Unknown error Field No=", field); }, Qt::QueuedConnection);
}

void GridCommands::ShowTextFailure(const char* prefix, int field) {
    app_.platform.ShowMessage(MsgKind::Error, prefix + std::to_string(field));
}

void GridCommands::SetGridMode(char mode) {
    Session& s = app_.session;
    FrozenTableView* grid = area_.dataGrid();
    const int top = grid->topRow();
    s.fields.RebuildShown(s.settings.ignorevdr);
    std::vector<int> widths;
    for (const int field : s.fields.shownfields) {
        if (s.settings.autowidths) FitWidth(s, field);
        widths.push_back(s.fields.fields[static_cast<std::size_t>(field)].wdth);
    }
    events_->Refresh();
    maxmin_->Refresh();
    ais_->Refresh();
    area_.SetDataWidths(widths);
    std::vector<int> aiswidths;
    for (const auto& f : aisfields) aiswidths.push_back(f.wdth);
    area_.SetAisWidths(aiswidths);
    area_.SetMode(mode);
    grid->setTopRow(top);
}

char GridCommands::ShownMode() const { return area_.mode(); }

void GridCommands::SwitchGridMode(char mode) {
    app_.session.settings.gridmode = mode;
    SetGridMode(mode);
}

void GridCommands::FillMaxMinGrid() {
    FrozenTableView* grid = area_.dataGrid();
    for (int c = 0; c < events_->columnCount(); ++c) area_.maxminGrid()->setColumnWidth(c, grid->columnWidth(c));
    maxmin_->Refresh();
    for (int c = 0; c < events_->columnCount(); ++c) area_.maxminGrid()->setColumnWidth(c, grid->columnWidth(c));
}

void GridCommands::ShowMarked() {
    MarkState& m = app_.marks;
    const int count = m.Count();
    m.markactive = count < app_.session.events.count();
    actions_.saveMarked->setEnabled(m.markactive);
    QPalette pal = lblmarked_.palette();
    if (m.markactive) {
        pal.setColor(QPalette::Window, colours::kMarked);
        pal.setColor(QPalette::WindowText, Qt::black);
        lblmarked_.setText(QStringLiteral("  %1 marked events  ").arg(count));
    } else {
        pal = QPalette();
        lblmarked_.setText(QString());
    }
    lblmarked_.setPalette(pal);
    events_->MarksChanged();
}

void GridCommands::AfterLoad() {
    app_.marks.Reset(app_.session.events.count());
    ShowMarked();
    ClearSelections();
    found_ = {};
    // A receiver's log without NMEA events would show an empty data grid: its AIS reports are
    // what the user came for. The setting stays as it is.
    const Session& s = app_.session;
    const bool aisonly = s.events.empty() && !s.aisevents.empty();
    SetGridMode(aisonly ? 'A' : s.settings.gridmode);
    area_.dataGrid()->setTopRow(0);
    area_.aisGrid()->setTopRow(0);
    FillMaxMinGrid();
}

int GridCommands::SelectedSourceLine() const {
    const TEvents& events = app_.session.events;
    if (events.empty()) return 0;
    const QModelIndexList rows = area_.dataGrid()->selectionModel()->selectedIndexes();
    int ev = rows.isEmpty() ? 0 : events_->EventAt(rows.front().row());
    if (ev < 0) ev = 0;
    return events[ev].recnumb;
}

void GridCommands::MakeFirstEvent() {
    const QModelIndexList rows = area_.dataGrid()->selectionModel()->selectedIndexes();
    if (rows.isEmpty()) return;
    app_.marks.markfirst = rows.front().row() + 1;
    ShowMarked();
}

void GridCommands::MakeLastEvent() {
    const QModelIndexList rows = area_.dataGrid()->selectionModel()->selectedIndexes();
    if (rows.isEmpty()) return;
    app_.marks.marklast = rows.front().row() + 1;
    ShowMarked();
}

void GridCommands::ClearSelections() {
    area_.dataGrid()->clearSelection();
    area_.maxminGrid()->clearSelection();
}

void GridCommands::DataGridClick(const QModelIndex& ix) {
    if (ix.column() >= 1) {
        const int ev = events_->EventAt(ix.row());
        if (ev >= 0) views_.ShowSource(app_.session.events[ev].recnumb);
    }
    // The clicked cell stays selected and the grid keeps the keyboard.
    area_.maxminGrid()->clearSelection();
}

void GridCommands::DataGridKeyed(const QModelIndex& ix) {
    const int ev = events_->EventAt(ix.row());
    if (ev >= 0) views_.ShowSource(app_.session.events[ev].recnumb);
}

void GridCommands::AisGridKeyed(const QModelIndex& ix) {
    // As a click on the report's first cell: its source. Narrowing to a vessel stays a click's.
    const int pos = ais_->ReportAt(ix.row());
    if (pos >= 0) views_.ShowSource(app_.session.aisevents[pos].srcnumb);
}

void GridCommands::DataGridFixedCellClick(const QModelIndex& ix) {
    FrozenTableView* grid = area_.dataGrid();
    grid->selectionModel()->select(ix, QItemSelectionModel::ClearAndSelect);
    QTableView* fixed = grid->frozenView();
    const QRect cell = fixed->visualRect(ix);
    actions_.popup->popup(fixed->viewport()->mapToGlobal(cell.topLeft()));
}

bool GridCommands::FindExtreme(int field, bool maximum, int start) {
    const Session& s = app_.session;
    const Trange& r = s.fields.fields[static_cast<std::size_t>(field)].range;
    for (int i = std::max(start, 0); i < s.events.count(); ++i) {
        const double v = CellValue(s.events, field, i);
        if (v < 1e24 && (maximum ? v >= r.max : v <= r.min)) {
            ShowFound(field, i);
            return true;
        }
    }
    return false;
}

// The event moves to the top row where the grid can scroll that far; its cell in the clicked
// column becomes the selected one, so it can be seen in the last screenful too.
void GridCommands::ShowFound(int field, int event) {
    FrozenTableView* grid = area_.dataGrid();
    grid->setTopRow(event);
    const auto& shown = app_.session.fields.shownfields;
    const int column = static_cast<int>(std::find(shown.begin(), shown.end(), field) - shown.begin());
    const QModelIndex ix = events_->index(event, column);
    grid->selectionModel()->setCurrentIndex(ix, QItemSelectionModel::ClearAndSelect);
    grid->setTopRow(event);
    found_.event = event;
    found_.toprow = grid->topRow();
}

void GridCommands::MaxMinGridClick(const QModelIndex& ix) {
    const Session& s = app_.session;
    if (ix.column() < 1 || ix.column() >= static_cast<int>(s.fields.shownfields.size())) return;
    const int field = s.fields.shownfields[static_cast<std::size_t>(ix.column())];
    if (s.fields.fields[static_cast<std::size_t>(field)].range.min > 1e24) return;
    const bool maximum = ix.row() == 1;
    FrozenTableView* grid = area_.dataGrid();
    // The top row shows event topRow; the search begins with the event below it. Near the end
    // the grid cannot bring a found event to the top: the next click on the same cell goes on
    // after the event found last, as long as the grid was not scrolled since.
    int start = grid->topRow() + 1;
    const bool again = found_.column == ix.column() && found_.row == ix.row() && found_.toprow == grid->topRow();
    if (again && found_.event >= 0) start = found_.event + 1;
    found_ = {ix.column(), ix.row(), -1, -1};
    if (!FindExtreme(field, maximum, start)) {
        if (app_.platform.Ask(QuestionKind::YesNo, "Not found. Continue from start?") == Answer::Yes)
            FindExtreme(field, maximum, 0);
    }
    area_.maxminGrid()->setTopRow(0);
    area_.maxminGrid()->clearSelection();
    grid->setFocus();
}

void GridCommands::SelectAISVessel(int mmsi) {
    brenvik::SelectAISVessel(app_.session, mmsi);
    ais_->Refresh();
}

void GridCommands::ShowEventAtTop(int eventindex) { area_.dataGrid()->setTopRow(eventindex); }

void GridCommands::AisGridMouseUp(const QModelIndex& ix) {
    const int pos = ais_->ReportAt(ix.row());
    if (ix.column() != 0) {
        if (app_.session.aisselected) SelectAISVessel(-1);
        else if (pos >= 0) SelectAISVessel(app_.session.aisevents[pos].id);
    } else if (pos >= 0) {
        views_.ShowSource(app_.session.aisevents[pos].srcnumb);
    }
}

}  // namespace brenvik::ui
