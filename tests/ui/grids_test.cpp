// The grids on the sample log: texts computed from the catalogues, the strip, marking, finding a
// minimum or maximum, the AIS grid's clicks and the three grid modes.
#include <QAbstractItemModelTester>
#include <QApplication>
#include <QTest>
#include <QAction>
#include <QColor>
#include <QFont>
#include <QLabel>
#include <QMenu>
#include <QScrollBar>

#include "export/aiswriters.h"
#include "model/strutil.h"
#include "support/loadhelper.h"
#include "filecommands.h"
#include "gridcommands.h"
#include "models/aistablemodel.h"
#include "models/eventtablemodel.h"
#include "models/maxminmodel.h"
#include "present/fieldtext.h"
#include "textviews.h"
#include "uitest.h"
#include "widgets/gridarea.h"
#include "widgets/textpanel.h"

namespace brenvik::ui::test {
namespace {

class GridTest : public UiTest {
protected:
    void SetUp() override { ASSERT_TRUE(Window().files()->OpenPath(SampleLog())); }
    GridCommands& G() { return *Window().grids(); }
    Session& S() { return Window().session(); }
    QString Cell(QAbstractItemModel* m, int row, int col, int role = Qt::DisplayRole) {
        return m->data(m->index(row, col), role).toString();
    }
    // The column of the data grid showing a field.
    int ColumnOf(int field) {
        const auto& shown = S().fields.shownfields;
        return static_cast<int>(std::find(shown.begin(), shown.end(), field) - shown.begin());
    }
    void Mark(int gridrow, QAction* command) {
        G().DataGridFixedCellClick(G().eventModel()->index(gridrow - 1, 0));
        EXPECT_TRUE(Window().actions().popup->isVisible());
        Window().actions().popup->hide();
        command->trigger();
    }
};

TEST_F(GridTest, ModelsPassTheModelTesterAndComputeCellsFromTheCatalogue) {
    for (QAbstractItemModel* m : std::initializer_list<QAbstractItemModel*>{G().eventModel(), G().maxminModel(), G().aisModel()})
        QAbstractItemModelTester tester(m, QAbstractItemModelTester::FailureReportingMode::Fatal);
    const TFormat f = S().Format();
    EventTableModel* ev = G().eventModel();
    ASSERT_GT(S().events.count(), 100);
    EXPECT_EQ(ev->rowCount(), S().events.count() + 1);  // the blank last row
    const int speed = ColumnOf(fSpeed);
    EXPECT_EQ(Cell(ev, 7, speed).toStdString(), CellText(S().events, fSpeed, 7, f));
    EXPECT_EQ(Cell(ev, S().events.count(), speed), QString());
    EXPECT_EQ(ev->headerData(ColumnOf(fDate), Qt::Horizontal).toString(), QStringLiteral("Date.Time"));
    MaxMinModel* mm = G().maxminModel();
    EXPECT_EQ(Cell(mm, 0, 0), QStringLiteral("Minimum"));
    EXPECT_EQ(Cell(mm, 1, speed).toStdString(), RangeText(fSpeed, S().fields.fields[fSpeed].range.max, f));
    AisTableModel* ais = G().aisModel();
    EXPECT_EQ(ais->rowCount(), S().aisevents.count() + 1);
    EXPECT_EQ(ais->headerData(2, Qt::Horizontal).toString(), QStringLiteral("MMSI"));
    EXPECT_EQ(Cell(ais, 0, 2), QStringLiteral("%1").arg(S().aisevents[0].id, 9, 10, QLatin1Char('0')));
}

TEST_F(GridTest, StripFollowsColumnWidthsAndSidewaysScrolling) {
    GridArea* a = Window().gridArea();
    a->dataGrid()->setColumnWidth(3, 140);
    EXPECT_EQ(a->maxminGrid()->columnWidth(3), 140);
    a->dataGrid()->horizontalScrollBar()->setValue(120);
    EXPECT_EQ(a->maxminGrid()->horizontalScrollBar()->value(), 120);
    a->maxminGrid()->horizontalScrollBar()->setValue(40);
    EXPECT_EQ(a->dataGrid()->horizontalScrollBar()->value(), 40);
}

TEST_F(GridTest, MarkingColoursTheRangeAndCountsIt) {
    MainActions& act = Window().actions();
    QLabel* label = Window().textPanel()->marked();
    EventTableModel* ev = G().eventModel();
    Mark(10, act.makeFirst);
    Mark(20, act.makeLast);
    EXPECT_EQ(label->text(), QStringLiteral("  11 marked events  "));
    EXPECT_TRUE(act.saveMarked->isEnabled());
    EXPECT_EQ(ev->data(ev->index(9, 2), Qt::BackgroundRole).value<QColor>(), QColor(255, 255, 153));
    EXPECT_EQ(ev->data(ev->index(8, 2), Qt::BackgroundRole).value<QColor>(), QColor(Qt::white));
    EXPECT_TRUE(ev->data(ev->index(19, 0), Qt::FontRole).value<QFont>().bold());
    EXPECT_EQ(ev->data(ev->index(20, 0), Qt::ForegroundRole).value<QColor>(), QColor(112, 112, 112));
    EXPECT_TRUE(ev->headerData(0, Qt::Horizontal, Qt::FontRole).value<QFont>().bold());

    Mark(1, act.makeFirst);
    Mark(S().events.count(), act.makeLast);
    EXPECT_EQ(label->text(), QString());
    EXPECT_FALSE(act.saveMarked->isEnabled());
    EXPECT_NE(ev->data(ev->index(9, 2), Qt::BackgroundRole).value<QColor>(), QColor(255, 255, 153));

    Mark(30, act.makeLast);
    Mark(40, act.makeFirst);  // after the last: a count of -9, still active, nothing yellow
    EXPECT_EQ(label->text(), QStringLiteral("  -9 marked events  "));
    EXPECT_EQ(ev->data(ev->index(34, 2), Qt::BackgroundRole).value<QColor>(), QColor(Qt::white));
}

TEST_F(GridTest, StripClickBringsTheNextMaximumToTheTopAndWrapsOnYes) {
    FrozenTableView* grid = Window().gridArea()->dataGrid();
    const int col = ColumnOf(fSpeed);
    const double max = S().fields.fields[fSpeed].range.max;
    std::vector<int> holders;
    for (int i = 0; i < S().events.count(); ++i)
        if (S().events[i].speed >= max) holders.push_back(i);
    ASSERT_FALSE(holders.empty());
    const QModelIndex maxcell = G().maxminModel()->index(1, col);
    G().MaxMinGridClick(maxcell);
    EXPECT_EQ(grid->topRow(), holders[0]);
    // Past the last holder: asked, and Yes finds the first one again.
    grid->setTopRow(holders.back());
    auto& script = Window().app().platform.script;
    script.shown.clear();
    script.answer = Answer::Yes;
    G().MaxMinGridClick(maxcell);
    ASSERT_EQ(script.shown.size(), 1u);
    EXPECT_EQ(script.shown[0], "Not found. Continue from start?");
    EXPECT_EQ(grid->topRow(), holders[0]);
}

TEST_F(GridTest, DataCellClickShowsTheSourceAndKeepsTheCellSelected) {
    const QModelIndex ix = G().eventModel()->index(5, 3);
    Window().gridArea()->dataGrid()->selectionModel()->select(ix, QItemSelectionModel::Select);
    G().DataGridClick(ix);
    EXPECT_EQ(Window().textPanel()->title()->text(), QStringLiteral("Source File"));
    const CaretLine c = Window().textPanel()->memo()->Caret(false);
    EXPECT_EQ(c.text.left(8), QStringLiteral("%1|").arg(S().events[5].recnumb, 7, 10, QLatin1Char('0')));
    EXPECT_TRUE(Window().gridArea()->dataGrid()->selectionModel()->isSelected(ix));
    // The blank last row holds no event: no source.
    Window().views()->ShowSummary();
    G().DataGridClick(G().eventModel()->index(S().events.count(), 3));
    EXPECT_EQ(Window().textPanel()->title()->text(), QStringLiteral("Report"));
}

TEST_F(GridTest, MouseClicksOnTheGridsReachTheirCommands) {
    FrozenTableView* grid = Window().gridArea()->dataGrid();
    grid->setTopRow(0);
    QApplication::processEvents();
    const QModelIndex cell = G().eventModel()->index(5, 3);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(cell).center());
    EXPECT_EQ(Window().textPanel()->title()->text(), QStringLiteral("Source File"));
    // The keyboard stays with the grid and the text panel follows its moves.
    EXPECT_TRUE(grid->hasFocus());
    EXPECT_EQ(grid->currentIndex(), cell);
    QTest::keyClick(grid, Qt::Key_Down);
    EXPECT_EQ(grid->currentIndex().row(), 6);
    EXPECT_EQ(Window().app().sourceline, S().events[6].recnumb);
    QTest::keyClick(grid, Qt::Key_PageDown);
    EXPECT_GT(grid->currentIndex().row(), 6);
    EXPECT_EQ(Window().app().sourceline, S().events[grid->currentIndex().row()].recnumb);
    EXPECT_TRUE(grid->hasFocus());
    // Alt and a menu's letter open that menu from the grid.
    QTest::keyClick(grid, Qt::Key_V, Qt::AltModifier);
    EXPECT_TRUE(Window().actions().viewMenu->isVisible());
    Window().actions().viewMenu->hide();
    // The fixed column lies over the grid: a click there opens the pop-up menu.
    QTableView* fixed = grid->frozenView();
    QTest::mouseClick(fixed->viewport(), Qt::LeftButton, {}, fixed->visualRect(G().eventModel()->index(4, 0)).center());
    EXPECT_TRUE(Window().actions().popup->isVisible());
    Window().actions().popup->hide();
    Window().actions().makeFirst->trigger();
    EXPECT_EQ(Window().app().marks.markfirst, 5);
    Window().actions().corrupt->trigger();
    EXPECT_EQ(Window().textPanel()->title()->text(), QStringLiteral("Corrupt Lines"));
}

TEST_F(GridTest, AisClicksToggleOneVesselAndTheSourceColumnShowsTheSource) {
    AisTableModel* ais = G().aisModel();
    const int id = S().aisevents[2].id;
    G().AisGridMouseUp(ais->index(2, 4));
    ASSERT_FALSE(S().aisselection.empty());
    EXPECT_EQ(ais->rowCount(), static_cast<int>(S().aisselection.size()) + 1);
    for (int r = 0; r + 1 < ais->rowCount(); ++r) EXPECT_EQ(ais->data(ais->index(r, 2)).toInt(), id);
    G().AisGridMouseUp(ais->index(0, 6));  // again: all reports
    EXPECT_EQ(ais->rowCount(), S().aisevents.count() + 1);
    G().AisGridMouseUp(ais->index(3, 0));
    EXPECT_EQ(Window().app().sourceline, S().aisevents[3].srcnumb);
    G().AisGridMouseUp(ais->index(S().aisevents.count(), 0));  // the blank row: nothing
    EXPECT_EQ(Window().app().sourceline, S().aisevents[3].srcnumb);
}

TEST_F(GridTest, AnyMouseButtonClicksTheAisGrid) {
    G().SwitchGridMode('A');
    FrozenTableView* grid = Window().gridArea()->aisGrid();
    QApplication::processEvents();
    const QModelIndex ix = G().aisModel()->index(1, 4);
    QTest::mouseClick(grid->viewport(), Qt::RightButton, {}, grid->visualRect(ix).center());
    EXPECT_TRUE(S().aisselected);
    QTest::mouseClick(grid->viewport(), Qt::MiddleButton, {}, grid->visualRect(ix).center());
    EXPECT_FALSE(S().aisselected);
}

// Repeated clicks on a strip cell step through every event holding the extreme, also those in
// the last screenful, which the grid cannot scroll to its top; then the question comes.
TEST_F(UiTest, FindExtremeStepsThroughTheLastScreenful) {
    QByteArray log;
    for (int i = 0; i < 80; ++i) {
        const int speed = i == 10 || i >= 76 ? 9 : 1 + i % 5;
        log += brenvik::test::WithChecksum(Fmt("$GPRMC,12%02d%02d,A,6000.%04d,N,00500.0000,E,%d.0,0.0,120625,,", i / 60,
                                               i % 60, i, speed))
                   .c_str();
        log += "\r\n";
    }
    MainWindow& w = Window();
    ASSERT_TRUE(w.files()->OpenPath(WriteFile(QStringLiteral("fast.txt"), log)));
    GridCommands& g = *w.grids();
    const Session& s = w.session();
    const auto& shown = s.fields.shownfields;
    const int col = static_cast<int>(std::find(shown.begin(), shown.end(), fSpeed) - shown.begin());
    std::vector<int> holders;
    for (int i = 1; i < s.events.count(); ++i)
        if (CellValue(s.events, fSpeed, i) >= s.fields.fields[fSpeed].range.max) holders.push_back(i);
    ASSERT_GE(holders.size(), 4u);
    FrozenTableView* grid = w.gridArea()->dataGrid();
    auto& script = w.app().platform.script;
    script.shown.clear();
    for (const int expected : holders) {
        g.MaxMinGridClick(g.maxminModel()->index(1, col));
        EXPECT_EQ(grid->currentIndex().row(), expected);
    }
    EXPECT_LT(grid->topRow(), holders.back());  // the last ones could not come to the top
    EXPECT_TRUE(script.shown.empty());
    script.answer = Answer::Yes;
    g.MaxMinGridClick(g.maxminModel()->index(1, col));
    EXPECT_EQ(script.shown, std::vector<std::string>{"Not found. Continue from start?"});
    EXPECT_EQ(grid->currentIndex().row(), holders.front());
}

TEST_F(GridTest, GridModesShowAndSplitTheGrids) {
    GridArea* a = Window().gridArea();
    G().SwitchGridMode('B');
    EXPECT_TRUE(a->dataGrid()->isVisible() && a->maxminGrid()->isVisible() && a->aisGrid()->isVisible());
    EXPECT_LT(a->dataGrid()->geometry().bottom(), a->aisGrid()->geometry().top());
    EXPECT_EQ(a->aisGrid()->geometry().top(), a->height() / 2 - 1 + 2);
    EXPECT_EQ(a->maxminGrid()->geometry().top(), 0);
    EXPECT_EQ(a->dataGrid()->geometry().top(), 64);
    G().SwitchGridMode('N');
    EXPECT_TRUE(a->dataGrid()->isVisible());
    EXPECT_FALSE(a->aisGrid()->isVisible());
    G().SwitchGridMode('A');
    EXPECT_FALSE(a->dataGrid()->isVisible() || a->maxminGrid()->isVisible());
    EXPECT_EQ(a->aisGrid()->geometry().top(), 2);
    EXPECT_EQ(S().settings.gridmode, 'A');
}

}  // namespace
}  // namespace brenvik::ui::test
