// The window's start-up and close: settings file in the data folder, geometry and splitter,
// the remembered data folder, the start-up reopen, and messages silenced during a load.
#include <QFile>
#include <QSettings>
#include <QSplitter>
#include <QStatusBar>
#include <QTest>
#include <QTimer>

#include "datafolder.h"
#include "filecommands.h"
#include "help/helpviewer.h"
#include "settings/inifile.h"
#include "uitest.h"
#include "widgets/gridarea.h"
#include "widgets/welcomepanel.h"

namespace brenvik::ui::test {
namespace {

TEST_F(UiTest, FirstStartRemembersTheDataFolderAndUsesDefaults) {
    MainWindow& w = Window();
    EXPECT_EQ(RegReadString(), DataFolder());
    EXPECT_TRUE(QFile::exists(DataFolder() + QStringLiteral("/brenv.ini")));
    EXPECT_EQ(w.pos(), QPoint(200, 80));
    EXPECT_EQ(w.size(), QSize(960, 720));
    EXPECT_EQ(w.splitter()->sizes().value(0), 120);
    EXPECT_TRUE(w.welcomePanel()->isVisible());
    EXPECT_FALSE(w.gridArea()->isVisible());
    EXPECT_FALSE(w.actions().reopen->isVisible());  // no last file
}

TEST_F(UiTest, GeometryComesFromTheSettingsFileAndTheSplitterStopsAt96) {
    QDir().mkpath(DataFolder());
    WriteFile(QStringLiteral("data/Harbex/BRENV/brenv.ini"),
              "[WPARMS]\r\nSplitter=150\r\nBounds=30,40,830,640\r\n");
    MainWindow& w = Window();
    EXPECT_EQ(w.pos(), QPoint(30, 40));
    EXPECT_EQ(w.size(), QSize(800, 600));
    EXPECT_EQ(w.splitter()->sizes().value(0), 150);
    w.splitter()->setSizes({40, 500});
    EXPECT_EQ(w.splitter()->sizes().value(0), 96);
    CloseWindow();
    QSettings ini(DataFolder() + QStringLiteral("/brenv.ini"), QSettings::IniFormat);
    EXPECT_EQ(ini.value(QStringLiteral("WPARMS/Splitter")).toInt(), 96);
}

TEST_F(UiTest, AFolderThatCannotBeMadeIsForgotten) {
    WriteFile(QStringLiteral("blocker"), "a file, not a folder");
    RegWriteString(Home() + QStringLiteral("/blocker/BRENV"));
    QtPlatform platform;
    platform.script.active = true;
    EXPECT_EQ(FindDataFolder(platform, Home()), QString());
    ASSERT_EQ(platform.script.shown.size(), 1u);
    EXPECT_EQ(platform.script.shown[0], "Deleted Key: Software\\Harbex\\BRENV");
    EXPECT_EQ(RegReadString(), QString());
}

TEST_F(UiTest, ReopenLastOpensTheLastFileOnceShown) {
    QDir().mkpath(DataFolder());
    WriteFile(QStringLiteral("data/Harbex/BRENV/brenv.ini"),
              "[FILES]\r\nFile00=" + SampleLog().toUtf8() + "\r\n[GENERAL]\r\nGenModes=RCNNN\r\n");
    MainWindow& w = Window();
    EXPECT_TRUE(w.startTimer()->isActive());
    for (int waited = 0; !w.gridArea()->isVisible() && waited < 5000; waited += 10) QTest::qWait(10);
    EXPECT_TRUE(w.gridArea()->isVisible());
    EXPECT_FALSE(w.welcomePanel()->isVisible());
    EXPECT_GT(w.session().events.count(), 0);
    EXPECT_TRUE(w.statusBar()->currentMessage().startsWith(QStringLiteral("harbour.log - ")));
}

TEST_F(UiTest, APerLineMessageShowsOncePerLoadAndIsCounted) {
    QByteArray log;
    for (int i = 0; i < 5; ++i) log += "[13/45/2025 10:00:00.000] $GPZDA,100000.00,12,06,2025,00,00\r\n";
    const QString path = WriteFile(QStringLiteral("bad.txt"), log);
    MainWindow& w = Window();
    auto& script = w.app().platform.script;
    script.shown.clear();
    ASSERT_TRUE(w.files()->OpenPath(path));
    ASSERT_EQ(script.shown.size(), 1u);
    EXPECT_EQ(script.shown[0].rfind("Error=", 0), 0u);
    EXPECT_TRUE(w.statusBar()->currentMessage().contains(
        QStringLiteral("5 lines with unreadable bracketed time prefixes (first at line 1)")));
    // The next load shows the first one again.
    ASSERT_TRUE(w.files()->OpenPath(path));
    EXPECT_EQ(script.shown.size(), 2u);
}

TEST_F(UiTest, ExitClosesTheHelpWindowToo) {
    MainWindow& w = Window();
    w.actions().contents->trigger();
    HelpWindow* help = CurrentHelpWindow();
    ASSERT_NE(help, nullptr);
    ASSERT_TRUE(help->isVisible());
    w.actions().exit->trigger();
    EXPECT_FALSE(w.isVisible());
    EXPECT_FALSE(help->isVisible());
}

}  // namespace
}  // namespace brenvik::ui::test
