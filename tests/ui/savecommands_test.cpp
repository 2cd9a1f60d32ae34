#include "savecommands.h"

#include <gtest/gtest.h>

#include <QFileDialog>
#include <memory>

#include "export/savecommand.h"
#include "fakefiledialogs.h"
#include "filedialogs.h"
#include "session.h"
#include "support/fakeplatform.h"
#include "support/tempdir.h"

namespace brenvik::ui {
namespace {

class SaveTest : public ::testing::Test {
protected:
    test::TempDir dir;
    test::FakePlatform p;
    Session s{p};
    test::FakeFileDialogs dialogs;

    void SetUp() override {
        for (int i = 0; i < 3; ++i) {
            TEvent e;
            e.recnumb = i + 1;
            e.dts = 45000 + i / 24.0;
            e.coord = {51.5 + i * 0.01, -0.1};
            s.events.Add(std::move(e));
        }
        TaisEvent r;
        r.msgtype = 1;
        r.id = 235000001;
        r.coord = {51.5, -0.1};
        r.valid = true;
        s.aisevents.Add(std::move(r));
        std::int32_t row = 0;
        s.vehicles.SetId(*s.vehicles.MakeVehicle(235000001, row), "235000001");
        s.fields.RebuildShown(false);
        s.settings.lastfile = dir.File("trip.txt");
        s.settings.lastfolder = dir.path().string() + "/";
    }
    std::string Save(char what, const std::string& name, bool marked = false) {
        dialogs.answers.push_back(QString::fromStdString(dir.File(name)));
        SaveAs(s, dialogs, what, marked, 2, 2);
        return test::ReadFile(dir.File(name));
    }
    std::string LastMessage() const { return p.messages.empty() ? std::string() : p.messages.back().text; }
};

TEST_F(SaveTest, DialogProposesTheLogsNameWithSavedExtension) {
    s.settings.savedext = ".KML";
    SaveAs(s, dialogs, saveEvents);  // cancelled
    ASSERT_EQ(dialogs.saved.size(), 1u);
    const FileDialogRequest& r = dialogs.saved.front();
    EXPECT_EQ(r.filename.toStdString(), dir.File("trip"));
    EXPECT_EQ(r.folder.toStdString(), s.settings.lastfolder);
    EXPECT_EQ(r.filterindex, 2);
    EXPECT_EQ(r.defaultsuffix, QStringLiteral("KML"));
    EXPECT_EQ(r.filters, (QStringList{"CSV files (*.csv)", "KML files (*.kml)", "GPS files (*.gps)", "GPX files (*.gpx)",
                                      "GeoJSON files (*.geojson)", "All files (*.*)"}));
    EXPECT_TRUE(p.messages.empty());
    EXPECT_EQ(s.settings.savedext, ".KML");
}

TEST_F(SaveTest, EachCommandAndExtensionReachesItsWriterOrNotice) {
    struct Case { char what; const char* name; const char* message; bool written; };
    const Case cases[] = {
        {saveEvents, "a.csv", "successfully written to CSV file.", true},
        {saveEvents, "a.kml", "KML file successfully written.", true},
        {saveEvents, "a.gps", "successfully written to GPS file.", true},
        {saveEvents, "a.gpx", "GPX file successfully written.", true},
        {saveEvents, "a.geojson", "GeoJSON file successfully written.", true},
        {saveAISPositions, "p.csv", "CSV file.", true},
        {saveAISPositions, "p.txt", "TXT file.", true},
        {saveAISPositions, "p.kml", "Currently AIS Position reports are saved as Tracks in KML files using the Save All as.. menu", false},
        {saveAISPositions, "p.gps", "Currently AIS Position reports are saved as Tracks in GPS files using the Save All as.. menu", false},
        {saveAISStatic, "v.csv", "CSV file.", true},
        {saveAISStatic, "v.kml", "Currently AIS Vessel Information is saved as Waypoints in KML files using the Save All as.. menu", false},
        {saveAISStatic, "v.gps", "Currently AIS Vessel Information is saved as Waypoints in GPS files using the Save All as.. menu", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(1, c.what) + " " + c.name);
        const std::string before = s.settings.savedext;
        const std::string content = Save(c.what, c.name);
        EXPECT_EQ(!content.empty(), c.written);
        EXPECT_NE(LastMessage().find(c.message), std::string::npos) << LastMessage();
        EXPECT_EQ(s.settings.savedext, c.written ? FileExt(c.name) : before);
    }
}

TEST_F(SaveTest, MarkedCsvWritesTheMarkedRowsOnly) {
    const std::string all = Save(saveEvents, "all.csv");
    const std::string marked = Save(saveEvents, "marked.csv", true);
    EXPECT_LT(marked.size(), all.size());
    EXPECT_NE(LastMessage().find("1 events"), std::string::npos) << LastMessage();
}

TEST_F(SaveTest, NoToOverwriteLeavesTheFileAndExtension) {
    const std::string path = dir.Write("old.gps", "keep me");
    p.answers.push_back(Answer::No);
    Save(saveEvents, "old.gps");
    ASSERT_EQ(p.questions.size(), 1u);
    EXPECT_EQ(p.questions.front(), "File exists, Overwrite it ?\r\n" + path);
    EXPECT_EQ(test::ReadFile(path), "keep me");
    EXPECT_EQ(s.settings.savedext, ".csv");
}

TEST(FileDialogs, QtSaveDialogTakesTheRequest) {
    test::TempDir dir;
    FileDialogRequest r;
    r.folder = QString::fromStdString(dir.path().string());
    r.filename = QStringLiteral("trip");
    r.filters = NameFilters(savefilter);
    r.filterindex = 3;
    r.defaultsuffix = QStringLiteral("gps");
    std::unique_ptr<QFileDialog> d(MakeFileDialog(r, true, nullptr));
    EXPECT_EQ(d->selectedNameFilter(), QStringLiteral("GPS files (*.gps)"));
    EXPECT_EQ(d->defaultSuffix(), QStringLiteral("gps"));
    EXPECT_TRUE(d->testOption(QFileDialog::DontConfirmOverwrite));  // the command asks itself
    EXPECT_TRUE(d->testOption(QFileDialog::DontUseNativeDialog));
    EXPECT_EQ(d->directory().absolutePath().toStdString(), dir.path().string());
    EXPECT_EQ(NameFilters("Ini files (*.ini)|*.ini|Logs|*.log"), (QStringList{"Ini files (*.ini)", "Logs (*.log)"}));
}

// A name typed without an extension takes the chosen filter's, so "harbour" under "KML files"
// is harbour.kml, and the overwrite question is about that file.
TEST(FileDialogs, TheChosenFilterGivesTheExtension) {
    test::TempDir dir;
    const std::string existing = dir.Write("harbour.kml", "old");
    FileDialogRequest r;
    r.folder = QString::fromStdString(dir.path().string());
    r.filters = NameFilters(savefilter);
    r.filterindex = 1;
    r.defaultsuffix = QStringLiteral("csv");
    std::unique_ptr<QFileDialog> d(MakeFileDialog(r, true, nullptr));
    d->selectNameFilter(r.filters[1]);
    emit d->filterSelected(r.filters[1]);  // as the dialog does when the user picks it
    EXPECT_EQ(d->defaultSuffix(), QStringLiteral("kml"));
    d->selectFile(QStringLiteral("harbour"));
    QMetaObject::invokeMethod(d.get(), "accept", Qt::DirectConnection);  // as the Save button does
    ASSERT_EQ(d->selectedFiles().size(), 1);
    EXPECT_EQ(d->selectedFiles().front().toStdString(), existing);
    emit d->filterSelected(r.filters[3]);  // all files: the proposed extension
    EXPECT_EQ(d->defaultSuffix(), QStringLiteral("csv"));
}

TEST_F(SaveTest, TitlesSayWhatIsSavedAndAisOffersCsvOnly) {
    struct Case { char what; bool marked; const char* caption; int filters; };
    const Case cases[] = {{saveEvents, false, "Save All Events", 4},
                          {saveEvents, true, "Save Marked Events", 4},
                          {saveAISPositions, false, "Save AIS Position Reports", 1},
                          {saveAISStatic, false, "Save AIS Vessels", 1}};
    s.settings.savedext = ".kml";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption);
        const FileDialogRequest r = SaveRequest(s, c.what, c.marked);
        EXPECT_EQ(r.caption, QString::fromLatin1(c.caption));
        EXPECT_EQ(r.filters.size(), c.filters);
        EXPECT_EQ(r.defaultsuffix, c.filters == 1 ? QStringLiteral("csv") : QStringLiteral("kml"));
    }
}

}  // namespace
}  // namespace brenvik::ui
