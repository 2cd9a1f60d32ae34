// What the user sees of a load beyond the grids: the boxes a file that is not a log raises,
// the counts in the report and the status bar, the window title, the AIS grid after an AIS
// receiver's log, and the text view after Options.
#include <QAbstractButton>
#include <QButtonGroup>
#include <QImage>
#include <QListWidget>
#include <QStatusBar>

#include <random>

#include "core/ais/aispayload.h"
#include "dialogcommands.h"
#include "dialogs/optionsdialog.h"
#include "filecommands.h"
#include "gridcommands.h"
#include "models/aistablemodel.h"
#include "support/loadhelper.h"
#include "uitest.h"
#include "widgets/gridarea.h"
#include "widgets/textpanel.h"

namespace brenvik::ui::test {
namespace {

QStringList PanelLines(MainWindow& w) { return w.textPanel()->memo()->toPlainText().split(u'\n'); }

TEST_F(UiTest, APictureCostsAtMostThreeBoxesAndEndsWithCountsThatAddUp) {
    // A noisy picture, so its compressed bytes hold every kind of line.
    QImage image(160, 160, QImage::Format_RGB32);
    std::mt19937 rng(7);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) image.setPixel(x, y, rng());
    const QString png = Home() + QStringLiteral("/chart.png");
    ASSERT_TRUE(image.save(png));

    MainWindow& w = Window();
    auto& shown = w.app().platform.script.shown;
    shown.clear();
    ASSERT_TRUE(w.files()->OpenPath(png));
    EXPECT_GE(shown.size(), 1u);
    EXPECT_LE(shown.size(), 3u);
    const Session& s = w.session();
    EXPECT_LE(s.corruptcount, s.totlines);
    const QStringList report = PanelLines(w);
    ASSERT_GE(report.size(), 5);
    EXPECT_TRUE(report[1].startsWith(QStringLiteral("Total lines = %1, Processed Lines = 0, Corrupt lines = %2,")
                                         .arg(s.totlines)
                                         .arg(s.corruptcount)))
        << report[1].toStdString();
    EXPECT_TRUE(report.back().contains(QStringLiteral("(first at line ")));
    const QString status = w.statusBar()->currentMessage();
    EXPECT_TRUE(status.startsWith(QStringLiteral("chart.png - %L1 lines,").arg(s.totlines))) << status.toStdString();
    EXPECT_TRUE(status.contains(QStringLiteral("lines with unreadable time prefixes")));
    EXPECT_EQ(w.windowTitle(), QStringLiteral("chart.png - Brenvik V1.1"));
}

TEST_F(UiTest, AnAisReceiversLogShowsTheAisGridWithoutTimesItLacks) {
    std::string log;
    for (const int second : {12, 60, 61}) {
        const std::string payload =
            brenvik::test::PositionReport(235000001, 0, 0, 100, 51.5, -0.1, 900, 90, second).Armour();
        log += brenvik::test::WithChecksum(brenvik::test::Vdm(payload)) + "\r\n";
    }
    MainWindow& w = Window();
    ASSERT_EQ(w.session().settings.gridmode, 'N');
    ASSERT_TRUE(w.files()->OpenPath(WriteFile(QStringLiteral("receiver.txt"), QByteArray::fromStdString(log))));
    EXPECT_TRUE(w.gridArea()->aisGrid()->isVisible());
    EXPECT_FALSE(w.gridArea()->dataGrid()->isVisible());
    EXPECT_EQ(w.session().settings.gridmode, 'N');  // shown, not set
    AisTableModel* m = w.grids()->aisModel();
    const auto time = [m](int row) { return m->data(m->index(row, 5)).toString(); };
    EXPECT_EQ(time(0), QStringLiteral("00:00:12"));
    EXPECT_EQ(time(1), QString());  // 60: not available
    EXPECT_EQ(time(2), QString());  // 61: manual input
    EXPECT_EQ(m->headerData(8, Qt::Horizontal, Qt::ToolTipRole).toString(), QStringLiteral("SOG (m/s): speed over ground"));
    // A vessel without reports narrows the grid to its heading and the blank row.
    w.grids()->SelectAISVessel(211000999);
    EXPECT_EQ(m->rowCount(), 1);
}

TEST_F(UiTest, OptionsRemakeTheReportAndTicksAreWhatIsShown) {
    MainWindow& w = Window();
    ASSERT_TRUE(w.files()->OpenPath(SampleLog()));
    OptionsDialog* d = w.dialogs()->options();
    d->FormShow();
    for (const char* field : {"Depth", "Heading"}) {
        const QList<QListWidgetItem*> items = d->cbfields->findItems(QString::fromLatin1(field), Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1) << field;
        EXPECT_EQ(items.front()->checkState(), Qt::Unchecked) << field;
    }
    ASSERT_TRUE(PanelLines(w).value(3).endsWith(QStringLiteral("m/s")));
    d->rgHorzUnits->button(2)->click();  // nautical miles and knots
    d->OKBtnClick();
    w.dialogs()->AfterOptions();
    EXPECT_TRUE(PanelLines(w).value(3).endsWith(QStringLiteral("knt"))) << PanelLines(w).value(3).toStdString();
    EXPECT_FALSE(w.session().fields.fields[fDepth].vis);
}

}  // namespace
}  // namespace brenvik::ui::test
