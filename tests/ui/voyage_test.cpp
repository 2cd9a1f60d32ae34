// The voyage pane: View > Voyage and its settings, one time cursor for map, strips and grid,
// and the explanatory text for logs with nothing to draw.
#include <QAction>
#include <QFile>
#include <QItemSelectionModel>
#include <QSplitter>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>

#include "filecommands.h"
#include "gridcommands.h"
#include "models/eventtablemodel.h"
#include "present/encountertable.h"
#include "textviews.h"
#include "uitest.h"
#include "voyage/mapview.h"
#include "voyage/stripsview.h"
#include "voyage/timecursor.h"
#include "voyage/voyagecommands.h"
#include "voyage/voyagepane.h"
#include "voyage/voyagestyle.h"
#include "widgets/gridarea.h"
#include "widgets/textpanel.h"

namespace brenvik::ui::test {
namespace {

class VoyageTest : public UiTest {
protected:
    MainWindow& Open(const QString& log) {
        MainWindow& w = Window();
        w.resize(1400, 900);
        w.actions().voyage->setChecked(true);
        EXPECT_TRUE(w.files()->OpenPath(log));
        QApplication::processEvents();
        return w;
    }
    static int SelectedRow(MainWindow& w) {
        const QModelIndexList rows = w.gridArea()->dataGrid()->selectionModel()->selectedIndexes();
        return rows.isEmpty() ? -1 : rows.front().row();
    }
    static QString SourceMark(MainWindow& w, int ev) {
        return QStringLiteral("%1|").arg(w.session().events[ev].recnumb, 7, 10, QChar('0'));
    }
};

TEST_F(VoyageTest, ShownWithF7AndRememberedInANewSection) {
    MainWindow& w = Window();
    VoyagePane* pane = w.voyagePane();
    EXPECT_FALSE(pane->isVisible());  // older settings files have no [VOYAGE]: hidden
    EXPECT_EQ(w.actions().voyage->shortcut(), QKeySequence(Qt::Key_F7));
    w.actions().voyage->trigger();
    EXPECT_TRUE(pane->isVisible());
    w.besideSplitter()->setSizes({500, 400});
    CloseWindow();
    QFile ini(DataFolder() + QStringLiteral("/brenv.ini"));
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    const QByteArray text = ini.readAll();
    EXPECT_TRUE(text.contains("[VOYAGE]\r\nShown=Y\r\nWidth=")) << text.toStdString();
    MainWindow& again = Window();
    EXPECT_TRUE(again.voyagePane()->isVisible());
    EXPECT_TRUE(again.actions().voyage->isChecked());
}

TEST_F(VoyageTest, MapStripAndGridClicksSelectTheSameEventEverywhere) {
    MainWindow& w = Open(SampleLog());
    VoyagePane* pane = w.voyagePane();
    const chart::TVoyage& v = pane->voyage();
    ASSERT_GT(v.own.size(), 100u);
    MapView* map = pane->map();
    ASSERT_TRUE(map->isVisible());

    // The map: a click on a track point picks an event drawn on that very spot.
    const std::size_t pt = v.own.size() / 3;
    const QPoint at(static_cast<int>(std::lround(map->view().MercToScreenX(v.own.mx[pt]))),
                    static_cast<int>(std::lround(map->view().MercToScreenY(v.own.my[pt]))));
    QTest::mouseClick(map, Qt::LeftButton, Qt::NoModifier, at);
    int ev = pane->cursor()->current();
    ASSERT_GE(ev, 0);
    const auto& own = v.own;
    const auto k = static_cast<std::size_t>(std::find(own.ix.begin(), own.ix.end(), ev) - own.ix.begin());
    ASSERT_LT(k, own.size());
    EXPECT_LE(std::hypot(map->view().MercToScreenX(own.mx[k]) - at.x(), map->view().MercToScreenY(own.my[k]) - at.y()), 1.5);
    EXPECT_EQ(SelectedRow(w), ev);
    EXPECT_TRUE(w.textPanel()->memo()->toPlainText().contains(SourceMark(w, ev)));

    // A strip: the event nearest in time to the click.
    StripsView* strips = pane->strips();
    const int target = v.timed[v.timed.size() * 2 / 3];
    const double x = strips->XOf(v.secs[static_cast<std::size_t>(target)]);
    QTest::mouseClick(strips, Qt::LeftButton, Qt::NoModifier, QPoint(static_cast<int>(std::lround(x)), strips->StripRect(0).center().y()));
    ev = pane->cursor()->current();
    ASSERT_GE(ev, 0);
    const double secsperpx = (strips->viewEnd() - strips->viewStart()) / (strips->width() - 72);
    EXPECT_LE(std::abs(v.secs[static_cast<std::size_t>(ev)] - v.secs[static_cast<std::size_t>(target)]), secsperpx);
    EXPECT_EQ(SelectedRow(w), ev);

    // A data-grid row: the cursor, hence map and strips, go to its event.
    FrozenTableView* grid = w.gridArea()->dataGrid();
    grid->setTopRow(50);
    QApplication::processEvents();
    const QModelIndex cell = w.grids()->eventModel()->index(55, 2);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, grid->visualRect(cell).center());
    EXPECT_EQ(pane->cursor()->current(), 55);
    EXPECT_EQ(SelectedRow(w), 55);
    EXPECT_TRUE(w.textPanel()->memo()->toPlainText().contains(SourceMark(w, 55)));

    // Arrow keys step event by event.
    QTest::keyClick(pane, Qt::Key_Right);
    EXPECT_EQ(pane->cursor()->current(), 56);
}

TEST_F(VoyageTest, ShiftDragMarksTheSpanAndPicturesCarryTheCaption) {
    MainWindow& w = Open(SampleLog());
    VoyagePane* pane = w.voyagePane();
    StripsView* strips = pane->strips();
    const chart::TVoyage& v = pane->voyage();
    // Shift-drag from the 50th to the 80th event's time, then "Mark this span".
    const double t0 = v.secs[static_cast<std::size_t>(v.timed[50])], t1 = v.secs[static_cast<std::size_t>(v.timed[80])];
    const int y = strips->StripRect(0).center().y();
    const int x0 = static_cast<int>(std::ceil(strips->XOf(t0))), x1 = static_cast<int>(std::floor(strips->XOf(t1)));
    QTest::mousePress(strips, Qt::LeftButton, Qt::ShiftModifier, QPoint(x0, y));
    QTest::mouseMove(strips, QPoint(x1, y));
    QTest::mouseRelease(strips, Qt::LeftButton, Qt::ShiftModifier, QPoint(x1, y));
    ASSERT_TRUE(strips->spanShown());
    ASSERT_TRUE(strips->markSpanButton()->isVisible());
    strips->markSpanButton()->click();
    const MarkState& m = w.app().marks;
    EXPECT_TRUE(m.markactive);
    // Whole pixels inside the two events' times: from the 51st or 52nd event to the 80th or 81st.
    EXPECT_NEAR(m.markfirst, v.timed[50] + 1, 1);
    EXPECT_NEAR(m.marklast, v.timed[80] + 1, 1);
    EXPECT_LE(std::abs(strips->viewEnd() - strips->viewStart() - (v.t1 - v.t0)), 1.0);  // a span is no zoom

    const QString png = Home() + QStringLiteral("/voyage.png"), svg = Home() + QStringLiteral("/voyage.svg");
    ASSERT_TRUE(pane->Export(2, png));
    ASSERT_TRUE(pane->Export(0, svg));
    const QImage image(png);
    EXPECT_EQ(image.height(), pane->map()->height() + strips->height() + 24);
    QFile file(svg);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    EXPECT_TRUE(text.contains("harbour.log, 12-06-2025 13:58:00 - 12-06-2025 14:01:10 UTC, speed m/s")) << pane->Caption().toStdString();
}

TEST_F(VoyageTest, NothingToDrawIsExplained) {
    MainWindow& w = Open(WriteFile(QStringLiteral("empty.log"), QByteArray()));
    VoyagePane* pane = w.voyagePane();
    EXPECT_TRUE(pane->message().startsWith(QStringLiteral("This log is empty"))) << pane->message().toStdString();
    EXPECT_FALSE(pane->splitter()->isVisible());

    // Depth with a clock but never a fix: no events, and the pane says why.
    QByteArray log;
    for (int i = 0; i < 30; ++i)
        log += QStringLiteral("$GPZDA,1200%1.00,12,06,2025,00,00\r\n$SDDPT,%2,0.5\r\n").arg(i, 2, 10, QChar('0')).arg(10 + i).toLatin1();
    ASSERT_TRUE(w.files()->OpenPath(WriteFile(QStringLiteral("depth.log"), log)));
    QApplication::processEvents();
    EXPECT_TRUE(pane->message().startsWith(QStringLiteral("No positions in this log"))) << pane->message().toStdString();
    EXPECT_FALSE(pane->splitter()->isVisible());

    // A log with fixes again: the map and strips instead of the text.
    w.files()->OpenPath(SampleLog());
    QApplication::processEvents();
    EXPECT_TRUE(pane->message().isEmpty());
    EXPECT_TRUE(pane->map()->isVisible());
    EXPECT_TRUE(pane->strips()->isVisible());
}

TEST_F(VoyageTest, EncounterRowShowsTheClosestApproachAndMovesTheCursor) {
    MainWindow& w = Open(SampleLog());
    VoyagePane* pane = w.voyagePane();
    MapView* map = pane->map();
    const auto& list = w.session().encounters.list;
    ASSERT_GE(list.size(), 2u);
    w.actions().encounters->trigger();
    auto click = [&](int row) {
        MemoEdit* memo = w.textPanel()->memo();
        memo->setTextCursor(QTextCursor(memo->document()->findBlockByNumber(kEncounterHeadLine + 1 + row)));
        w.views()->Memo1Click();
        QApplication::processEvents();
    };
    for (const int row : {1, 0}) {
        SCOPED_TRACE(row);
        click(row);
        const TEncounter& e = list[static_cast<std::size_t>(row)];
        ASSERT_NE(map->encounter(), nullptr);
        EXPECT_EQ(map->encounter()->id, e.id);
        // The cursor on an event no other timed event beats in nearness to the closest approach.
        const chart::TVoyage& v = pane->voyage();
        const int ev = pane->cursor()->current();
        ASSERT_GE(ev, 0);
        const double gap = std::abs(v.secs[static_cast<std::size_t>(ev)] - chart::Seconds(e.when));
        for (const std::int32_t t : v.timed) ASSERT_LE(gap, std::abs(v.secs[static_cast<std::size_t>(t)] - chart::Seconds(e.when)) + 1e-6);
        EXPECT_EQ(SelectedRow(w), ev);
        // The table stays for the next row; both positions are on the screen, the vessel's
        // marked in the encounter colour.
        EXPECT_EQ(w.textPanel()->title()->text(), QStringLiteral("Encounters"));
        const QPoint other(static_cast<int>(std::lround(map->view().ToScreenX(e.other.lng))),
                           static_cast<int>(std::lround(map->view().ToScreenY(e.other.lat))));
        const QPoint own(static_cast<int>(std::lround(map->view().ToScreenX(e.own.lng))),
                         static_cast<int>(std::lround(map->view().ToScreenY(e.own.lat))));
        ASSERT_TRUE(map->rect().contains(other) && map->rect().contains(own));
        EXPECT_EQ(map->grab().toImage().pixelColor(other), style::kEncounter);
    }
    // Another vessel chosen, or a new load, ends it.
    w.grids()->SelectAISVessel(-1);
    EXPECT_EQ(map->encounter(), nullptr);
    click(0);
    ASSERT_NE(map->encounter(), nullptr);
    ASSERT_TRUE(w.files()->OpenPath(SampleLog()));
    EXPECT_EQ(map->encounter(), nullptr);
}

}  // namespace
}  // namespace brenvik::ui::test
