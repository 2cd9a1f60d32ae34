#include "settingscommands.h"

#include <gtest/gtest.h>

#include "fakefiledialogs.h"
#include "session.h"
#include "settings/settingsfile.h"
#include "support/fakeplatform.h"
#include "support/tempdir.h"

namespace brenvik::ui {
namespace {

class SettingsCommandsTest : public ::testing::Test {
protected:
    test::TempDir dir;
    test::FakePlatform p;
    Session s{p};
    test::FakeFileDialogs dialogs;
    int refreshed = 0;
    SettingsCommands commands{s, dialogs, [this] { ++refreshed; }};

    void SetUp() override { InitSettingsFile(s, dir.path().string()); }
};

TEST_F(SettingsCommandsTest, OpenReadsTheChosenFileAndRebuildsRecent) {
    const std::string other = dir.Write("other.ini", "[FILES]\r\nFile00=/logs/x.txt\r\n[EVENTS]\r\nThresholds=60,100,2\r\n");
    s.settings.settingsfile = dir.File("old.ini");
    dialogs.answers.push_back(QString::fromStdString(other));
    commands.OpenSettings();
    ASSERT_EQ(dialogs.opened.size(), 1u);
    EXPECT_EQ(dialogs.opened.front().filename, QStringLiteral("old.ini"));
    EXPECT_EQ(dialogs.opened.front().folder.toStdString(), dir.path().string());
    EXPECT_EQ(dialogs.opened.front().filters.front(), QStringLiteral("Ini files (*.ini)"));
    EXPECT_EQ(s.settings.lastfile, "/logs/x.txt");
    EXPECT_EQ(s.settings.timethresh, 60);
    EXPECT_EQ(refreshed, 1);

    commands.OpenSettings();  // cancelled
    EXPECT_EQ(refreshed, 1);
}

TEST_F(SettingsCommandsTest, SaveAsProposesMySettingsAndSaveWritesTheChosenFile) {
    s.settings.lastfolder = dir.path().string() + "/";
    commands.SaveSettings();  // no settings file yet: asks, and is cancelled
    ASSERT_EQ(dialogs.saved.size(), 1u);
    EXPECT_EQ(dialogs.saved.front().filename, QStringLiteral("mysettings.ini"));
    EXPECT_EQ(s.settings.settingsfile, "mysettings.ini");

    const std::string chosen = dir.File("mine.ini");
    dialogs.answers.push_back(QString::fromStdString(chosen));
    commands.SaveSettingsAs();
    EXPECT_EQ(s.settings.settingsfile, chosen);
    s.settings.pagesize = 500;
    commands.SaveSettings();
    EXPECT_EQ(dialogs.saved.size(), 2u);
    EXPECT_NE(test::ReadFile(chosen).find("pagesize=500"), std::string::npos);
}

TEST_F(SettingsCommandsTest, ResetRestoresTheStartFileOnYesOnly) {
    dir.Write("brenv.ini", "[FILES]\r\nFile00=/a.txt\r\nFile01=/b.txt\r\n");
    ReadSettings(s, s.settings.inifile);
    s.settings.recentfiles = {"/c.txt", "/a.txt", "/b.txt"};
    p.answers.push_back(Answer::Cancel);
    commands.ResetSettings();
    EXPECT_EQ(s.settings.recentfiles.size(), 3u);
    EXPECT_EQ(refreshed, 0);
    commands.ResetSettings();
    EXPECT_EQ(s.settings.recentfiles, (std::vector<std::string>{"/a.txt", "/b.txt"}));
    EXPECT_EQ(refreshed, 1);
    EXPECT_EQ(p.questions.back(), "Do you wish to restore the settings as they were at the start of this session?");
}

}  // namespace
}  // namespace brenvik::ui
