// The desktop program when the file system lets it down: settings that cannot be written or
// are damaged, a log that goes away after its load, exports that cannot be completed. Each
// ends in a message and loses nothing. The tests run as root in CI, where permission bits stop
// nothing: the program honours a read-only marking itself, and the other faults (a folder
// turned into a file, a file-size limit) fail for root too.
#include <sys/resource.h>
#include <unistd.h>

#include <QAction>
#include <QFile>

#include <csignal>
#include <filesystem>

#include "fakefiledialogs.h"
#include "dialogcommands.h"
#include "filecommands.h"
#include "gridcommands.h"
#include "logtext.h"
#include "mainactions.h"
#include "models/eventtablemodel.h"
#include "textviews.h"
#include "uitest.h"
#include "widgets/textpanel.h"

namespace brenvik::ui::test {
namespace {

namespace fs = std::filesystem;

std::string Bytes(const fs::path& p) {
    QFile f(QString::fromStdString(p.string()));
    return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : std::string("<unreadable>");
}

class FaultTest : public UiTest {
protected:
    fs::path Ini() const { return fs::path(DataFolder().toStdString()) / "brenv.ini"; }
    void WriteIni(const std::string& bytes) const {
        fs::create_directories(Ini().parent_path());
        QFile f(QString::fromStdString(Ini().string()));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes.data(), static_cast<qint64>(bytes.size()));
    }
    std::vector<std::string>& Shown() { return Window().app().platform.script.shown; }
    // The boxes that name the settings file (a build tree may also lack the country tables).
    std::vector<std::string> SettingsMessages() {
        std::vector<std::string> out;
        for (const std::string& m : Shown())
            if (m.find(Ini().string()) != std::string::npos) out.push_back(m);
        return out;
    }
};

TEST_F(FaultTest, SettingsThatCannotBeWrittenAreReportedOnceAndTheWindowStillCloses) {
    const std::string before = "\xEF\xBB\xBF[EVENTS]\r\nThresholds=5,6,7\r\n\r\n";
    struct Case {
        const char* name;
        void (*fault)(const fs::path& ini);
        void (*undo)(const fs::path& ini);
    };
    const Case cases[] = {
        {"read-only settings file",
         [](const fs::path& ini) { fs::permissions(ini, fs::perms::owner_read | fs::perms::group_read); },
         [](const fs::path& ini) { fs::permissions(ini, fs::perms::owner_read | fs::perms::owner_write); }},
        {"read-only data folder",
         [](const fs::path& ini) { fs::permissions(ini.parent_path(), fs::perms::owner_read | fs::perms::owner_exec); },
         [](const fs::path& ini) { fs::permissions(ini.parent_path(), fs::perms::owner_all); }},
        // No permission at all can stop root from this one: the folder's path now names a file.
        {"data folder replaced by a file",
         [](const fs::path& ini) {
             fs::rename(ini.parent_path(), ini.parent_path().string() + ".moved");
             QFile f(QString::fromStdString(ini.parent_path().string()));
             ASSERT_TRUE(f.open(QIODevice::WriteOnly));
         },
         [](const fs::path& ini) {
             fs::remove(ini.parent_path());
             fs::rename(ini.parent_path().string() + ".moved", ini.parent_path());
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteIni(before);
        MainWindow& w = Window();
        EXPECT_TRUE(SettingsMessages().empty());
        EXPECT_EQ(w.session().settings.timethresh, 5);
        w.session().settings.timethresh = 60;
        c.fault(Ini());
        Shown().clear();
        w.close();
        EXPECT_FALSE(w.isVisible());
        ASSERT_EQ(Shown().size(), 1u);
        EXPECT_EQ(Shown().front(), "Unable to write the settings file:\r\n" + Ini().string());
        c.undo(Ini());
        EXPECT_EQ(Bytes(Ini()), before);
        window_.reset();  // closed already
    }
}

TEST_F(FaultTest, ADamagedSettingsFileIsKeptAsideAndTheDefaultsUsed) {
    struct Case {
        const char* name;
        std::string bytes;
    };
    const Case cases[] = {
        {"binary garbage", std::string("\x7F" "ELF\x02\x01\x01") + std::string(3, '\0') + "[EVENTS]\nThresholds=5,6,7\n"},
        {"cut short", "\xEF\xBB\xBF[FILES]\r\nFile00=/logs/a.log\r\n\r\n[EVENTS]\r\nThresholds=5,6"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove(Ini().string() + ".broken");
        WriteIni(c.bytes);
        Session& s = Window().session();
        ASSERT_EQ(SettingsMessages().size(), 1u);
        EXPECT_EQ(SettingsMessages().front(), "The settings file is damaged and was not read:\r\n" + Ini().string() +
                                       "\r\nThe default settings are used; the damaged file is kept as:\r\n" +
                                       Ini().string() + ".broken");
        EXPECT_EQ(s.settings.timethresh, 1);
        EXPECT_TRUE(s.settings.recentfiles.empty());
        EXPECT_EQ(Bytes(Ini().string() + ".broken"), c.bytes);
        CloseWindow();
        // The close wrote a new file of its own, which the next start reads without a word.
        EXPECT_EQ(Bytes(Ini()).rfind("\xEF\xBB\xBF[FILES]\r\n", 0), 0u);
        EXPECT_TRUE(SettingsMessages().empty());
        CloseWindow();
    }
}

TEST_F(FaultTest, ALogGoneAfterItsLoadGivesTheReadErrorAndTheProgramGoesOn) {
    QFile::copy(SampleLog(), Home() + QStringLiteral("/trip.log"));
    const fs::path log = (Home() + QStringLiteral("/trip.log")).toStdString();
    struct Case {
        const char* name;
        void (*fault)(const fs::path& p);
    };
    const Case cases[] = {
        {"deleted", [](const fs::path& p) { fs::remove(p); }},
        {"replaced by a folder",
         [](const fs::path& p) {
             fs::remove(p);
             fs::create_directory(p);
         }},
    };
    MainWindow& w = Window();
    ASSERT_TRUE(w.files()->OpenPath(QString::fromStdString(log.string())));
    const std::string error = "Error reading file:\n" + log.string();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Shown().clear();
        const std::string bytes = Bytes(log);
        c.fault(log);
        w.grids()->DataGridClick(w.grids()->eventModel()->index(3, 1));  // reads the log again
        // A message box, or the panel where the source would be.
        const std::string panel = CoreText(w.textPanel()->memo()->toPlainText());
        const bool boxed = !Shown().empty() && Shown().back().find("Error reading file:") == 0 &&
                           Shown().back().find(log.string()) != std::string::npos;
        EXPECT_TRUE(boxed || panel.find(error) != std::string::npos) << panel;
        // The events stay, and the log back in place reads again.
        EXPECT_GT(w.session().events.count(), 0);
        fs::remove(log);
        QFile f(QString::fromStdString(log.string()));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes.data(), static_cast<qint64>(bytes.size()));
        f.close();
        w.views()->ShowSource(1);
        EXPECT_TRUE(w.textPanel()->memo()->toPlainText().startsWith(QStringLiteral("0000001|")));
    }
}

TEST_F(FaultTest, AnExportThatCannotBeCompletedKeepsTheOldFile) {
    MainWindow& w = Window();
    ASSERT_TRUE(w.files()->OpenPath(SampleLog()));
    brenvik::test::FakeFileDialogs dialogs;
    w.dialogs()->setFileDialogs(&dialogs);
    struct Export {
        QAction* action;
        const char* name;
        const char* failure;
    };
    const MainActions& a = w.actions();
    const Export exports[] = {
        {a.saveAll, "events.csv", "Unable to write to CSV file."},
        {a.saveAll, "events.kml", "Error writing KML file."},
        {a.saveAll, "events.gps", "Error writing GPS file."},
        {a.saveAISPos, "positions.csv", "Unable to write to CSV file."},
        {a.saveAISStatic, "vessels.csv", "Unable to write to CSV file."},
    };
    const fs::path folder = (Home() + QStringLiteral("/out")).toStdString();
    for (const Export& e : exports) {
        for (const bool fulldisk : {false, true}) {
            SCOPED_TRACE(std::string(e.name) + (fulldisk ? ": full disk" : ": folder gone"));
            fs::create_directories(folder);
            const fs::path target = folder / e.name;
            const std::string old = "the export before\r\n";
            {
                QFile f(QString::fromStdString(target.string()));
                ASSERT_TRUE(f.open(QIODevice::WriteOnly));
                f.write(old.data(), static_cast<qint64>(old.size()));
            }
            dialogs.answers.push_back(QString::fromStdString(target.string()));
            Shown().clear();
            if (fulldisk) {
                // A disk with room for a few bytes: writes beyond the limit fail with EFBIG.
                const auto previous = std::signal(SIGXFSZ, SIG_IGN);
                rlimit saved{};
                ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
                rlimit tight = saved;
                tight.rlim_cur = 16;
                ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tight), 0);
                e.action->trigger();
                setrlimit(RLIMIT_FSIZE, &saved);
                std::signal(SIGXFSZ, previous);
                EXPECT_EQ(Bytes(target), old);
                EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);  // no leftovers
            } else {
                fs::remove_all(folder);  // between the dialog and the writing, as far as the writer can tell
                e.action->trigger();
                EXPECT_FALSE(fs::exists(folder));
            }
            ASSERT_FALSE(Shown().empty());
            EXPECT_EQ(Shown().back(), e.failure);
        }
    }
    w.dialogs()->setFileDialogs(nullptr);
}

}  // namespace
}  // namespace brenvik::ui::test
