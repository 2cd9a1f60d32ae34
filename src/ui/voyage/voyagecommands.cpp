#include "voyage/voyagecommands.h"

#include <QAction>
#include <QMenu>
#include <QSplitter>

#include "appstate.h"
#include "gridcommands.h"
#include "mainactions.h"
#include "models/eventtablemodel.h"
#include "textviews.h"
#include "voyage/mapview.h"
#include "voyage/stripsview.h"
#include "voyage/timecursor.h"
#include "voyage/voyagepane.h"
#include "voyage/voyagesettings.h"
#include "widgets/gridarea.h"

namespace brenvik::ui {

VoyageCommands::VoyageCommands(AppState& app, VoyagePane& pane, QSplitter& beside, GridCommands& grids,
                               TextViews& views, MainActions& actions, QObject* parent)
    : QObject(parent), app_(app), pane_(pane), beside_(beside), grids_(grids), views_(views) {
    view_ = new QAction(QStringLiteral("Voyage"), this);
    view_->setCheckable(true);
    view_->setShortcut(Qt::Key_F7);
    actions.viewMenu->addSeparator();
    actions.viewMenu->addAction(view_);
    actions.voyage = view_;
    connect(view_, &QAction::toggled, this, &VoyageCommands::SetShown);

    connect(pane_.cursor(), &TimeCursor::changed, this, &VoyageCommands::CursorMoved);
    FrozenTableView* grid = grids_.area().dataGrid();
    connect(grid, &FrozenTableView::cellClicked, this, [this](const QModelIndex& ix) {
        if (!shown()) return;
        const int ev = grids_.eventModel()->EventAt(ix.row());
        if (ev < 0) return;
        // The grid has done what its click does (source lines, pop-up); the cursor follows.
        fromgrid_ = true;
        if (pane_.cursor()->current() == ev) CursorMoved(ev);
        else pane_.cursor()->setEvent(ev);
        fromgrid_ = false;
    });
    connect(pane_.map(), &MapView::vesselClicked, this, [this](int mmsi) {
        if (!app_.session.aisselection.empty()) grids_.SelectAISVessel(-1);
        else grids_.SelectAISVessel(mmsi);
        pane_.map()->update();  // a shown encounter ends with another choice
    });
    connect(&views_, &TextViews::encounterChosen, this, &VoyageCommands::ShowEncounter);
    // A click in the AIS grid may choose another vessel, which ends a shown encounter.
    connect(grids_.area().aisGrid(), &FrozenTableView::cellClicked, pane_.map(), qOverload<>(&QWidget::update));
    connect(pane_.strips(), &StripsView::markSpanWanted, this, [this](int first, int last) {
        app_.marks.markfirst = first + 1;
        app_.marks.marklast = last + 1;
        grids_.ShowMarked();
        pane_.update();
        pane_.map()->update();
    });
    // The options dialogs run modally within their commands: afterwards the units may differ.
    for (QAction* a : {actions.optGeneral, actions.optFormats, actions.optFields})
        connect(a, &QAction::triggered, &pane_, &VoyagePane::Refresh);
    for (QAction* a : {actions.makeFirst, actions.makeLast})
        connect(a, &QAction::triggered, pane_.map(), qOverload<>(&QWidget::update));
    pane_.hide();
}

bool VoyageCommands::shown() const { return !pane_.isHidden(); }

int VoyageCommands::paneWidth() const { return shown() ? beside_.sizes().value(1, 0) : 0; }

void VoyageCommands::SetShown(bool on) {
    if (on == shown()) {
        view_->setChecked(on);
        return;
    }
    if (!on) width_ = paneWidth();
    pane_.setVisible(on);
    view_->setChecked(on);
    if (on) {
        const int total = std::max(beside_.width(), 2);
        const int w = width_ > 0 ? std::min(width_, total - 100) : total / 2;
        beside_.setSizes({std::max(total - w, 100), std::max(w, 100)});
        pane_.map()->FitAll();
    }
}

void VoyageCommands::ReadSettings() {
    const VoyageSettings v = ReadVoyageSettings(app_.session.settings.inifile);
    width_ = v.width;
    SetShown(v.shown);
}

void VoyageCommands::WriteSettings() {
    VoyageSettings v;
    v.shown = shown();
    v.width = shown() ? paneWidth() : width_;
    WriteVoyageSettings(app_.session.settings.inifile, v);
}

void VoyageCommands::AfterLoad() { pane_.Reload(); }

void VoyageCommands::ShowEncounter(int index) {
    const auto& list = app_.session.encounters.list;
    if (!shown() || index < 0 || static_cast<std::size_t>(index) >= list.size()) return;
    const TEncounter& e = list[static_cast<std::size_t>(index)];
    pane_.map()->SetEncounter(e);
    const chart::TVoyage& v = pane_.voyage();
    const std::ptrdiff_t k = chart::NearestInTime(v, chart::Seconds(e.when));
    if (k < 0) return;
    // The cursor moves as for any pick, but the encounter table stays for the next row.
    fromencounter_ = true;
    const int ev = v.timed[static_cast<std::size_t>(k)];
    if (pane_.cursor()->current() == ev) CursorMoved(ev);
    else pane_.cursor()->setEvent(ev);
    fromencounter_ = false;
}

void VoyageCommands::CursorMoved(int ev) {
    const Session& s = app_.session;
    if (ev < 0 || ev >= s.events.count()) return;
    FrozenTableView* grid = grids_.area().dataGrid();
    const QModelIndex ix = grids_.eventModel()->index(ev, 1);
    if (!fromgrid_) {
        static_cast<QTableView*>(grid)->scrollTo(ix);  // the grid's own scrolling by whole rows
        if (!fromencounter_) views_.ShowSource(s.events[ev].recnumb);
    }
    grid->selectionModel()->select(ix, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

}  // namespace brenvik::ui
