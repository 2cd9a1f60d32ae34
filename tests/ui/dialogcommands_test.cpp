#include "dialogcommands.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QListWidget>
#include <QToolButton>
#include <QSplitter>

#include "dialogs/optionsdialog.h"
#include "dialogs/stepspin.h"
#include "fakefiledialogs.h"
#include "filecommands.h"
#include "gridcommands.h"
#include "models/eventtablemodel.h"
#include "recentfiles.h"
#include "settingscommands.h"
#include "uitest.h"

namespace brenvik::ui::test {
namespace {

int Column(EventTableModel* m, const QString& head) {
    for (int c = 0; c < m->columnCount(); ++c)
        if (m->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString() == head) return c;
    return -1;
}

TEST_F(UiTest, EveryMenuItemWorksButSaveMarkedAndReopenAsTheyAre) {
    MainActions& a = Window().actions();
    for (QAction* action : {a.open, a.saveAll, a.saveAISPos, a.saveAISStatic, a.exit, a.optGeneral, a.optFormats,
                            a.optFields, a.optEvents, a.openSettings, a.saveSettings, a.saveSettingsAs,
                            a.resetSettings, a.report, a.source, a.corrupt, a.vessels, a.nmea, a.ais, a.both,
                            a.contents, a.about})
        EXPECT_TRUE(action->isEnabled()) << action->text().toStdString();
    EXPECT_FALSE(a.saveMarked->isEnabled());
}

TEST_F(UiTest, OptionsReloadOnThresholdAndReorderOnMove) {
    MainWindow& w = Window();
    ASSERT_TRUE(w.files()->OpenPath(SampleLog()));
    int loads = 0;
    QObject::connect(w.files(), &FileCommands::loaded, [&] { ++loads; });
    OptionsDialog* d = w.dialogs()->options();

    d->FormShow();
    d->sbtnpagesize->stepBy(1);
    d->OKBtnClick();
    w.dialogs()->AfterOptions();
    EXPECT_EQ(loads, 0);

    d->FormShow();
    const int before = w.session().events.count();
    d->sbtntime->stepBy(1);  // 1 s -> 5 s: fewer events
    d->OKBtnClick();
    w.dialogs()->AfterOptions();
    EXPECT_EQ(loads, 1);
    EXPECT_LT(w.session().events.count(), before);

    d->FormShow();
    QListWidgetItem* heading = d->cbfields->findItems(QStringLiteral("Heading"), Qt::MatchExactly).front();
    heading->setCheckState(Qt::Checked);  // Heading starts hidden, so unticked
    d->cbfields->setCurrentRow(d->cbfields->row(heading));
    d->fieldup->click();
    d->OKBtnClick();
    w.dialogs()->AfterOptions();
    EXPECT_EQ(loads, 1);
    EventTableModel* m = w.grids()->eventModel();
    ASSERT_GE(Column(m, QStringLiteral("Heading")), 0);
    EXPECT_EQ(Column(m, QStringLiteral("Heading")) + 1, Column(m, QStringLiteral("Speed")));
}

TEST_F(UiTest, ElevenOpenedFilesLeaveTheTenNewestInTheMenu) {
    MainWindow& w = Window();
    for (int i = 0; i < 11; ++i)
        w.files()->OpenPath(WriteFile(QStringLiteral("f%1.txt").arg(i), "$GPGGA,120000,5130.0,N,00007.0,W,1,08,1.0,10,M,,M,,\r\n"));
    EXPECT_EQ(w.session().settings.recentfiles.size(), 10u);
    EXPECT_TRUE(w.actions().recent[0]->text().startsWith(QStringLiteral("&1 ")));
    EXPECT_TRUE(w.actions().recent[0]->text().endsWith(QStringLiteral("f10.txt")));
    EXPECT_TRUE(w.actions().recent[9]->text().endsWith(QStringLiteral("f1.txt")));
}

TEST_F(UiTest, OpenAndResetSettingsRebuildTheRecentEntries) {
    MainWindow& w = Window();
    brenvik::test::FakeFileDialogs dialogs;
    w.dialogs()->setFileDialogs(&dialogs);
    dialogs.answers.push_back(WriteFile(QStringLiteral("other.ini"), "[FILES]\r\nFile00=/logs/x.txt\r\n"));
    w.dialogs()->settings().OpenSettings();
    EXPECT_EQ(w.actions().recent[0]->text(), QStringLiteral("&1 /logs/x.txt"));
    EXPECT_TRUE(w.actions().recent[0]->isVisible());
    w.dialogs()->settings().ResetSettings();  // the script answers Yes
    EXPECT_FALSE(w.actions().recent[0]->isVisible());
    w.dialogs()->setFileDialogs(nullptr);
}

TEST_F(UiTest, RestartRestoresWhatTheSettingsFileHolds) {
    {
        MainWindow& w = Window();
        ASSERT_TRUE(w.files()->OpenPath(SampleLog()));
        Session& s = w.session();
        s.settings.coordformat = 'M';
        s.settings.parms = {'N', 'F'};
        std::swap(s.fields.fieldorder[9], s.fields.fieldorder[10]);
        s.fields.fields[fDepth].kind = 0;
        w.resize(800, 600);
        w.splitter()->setSizes({150, 450});
        CloseWindow();
    }
    MainWindow& w = Window();
    const Session& s = w.session();
    EXPECT_EQ(w.size(), QSize(800, 600));
    EXPECT_EQ(w.splitter()->sizes().value(0), 150);
    EXPECT_EQ(s.settings.coordformat, 'M');
    EXPECT_EQ(s.settings.parms.hunits, 'N');
    EXPECT_EQ(s.settings.parms.vunits, 'F');
    EXPECT_EQ(s.fields.fieldorder[9], fHeading);
    EXPECT_FALSE(s.fields.fields[fDepth].vis);
    EXPECT_TRUE(w.actions().recent[0]->text().endsWith(QStringLiteral("harbour.log")));
}

}  // namespace
}  // namespace brenvik::ui::test
