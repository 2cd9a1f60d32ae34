// The text panel's views and where a click on one of their lines leads.
#include <QApplication>
#include <QLabel>
#include <QRegularExpression>
#include <QTextBlock>
#include <QToolButton>

#include "filecommands.h"
#include "gridcommands.h"
#include "logtext.h"
#include "models/aistablemodel.h"
#include "present/encountertable.h"
#include "present/sourcestable.h"
#include "textviews.h"
#include "uitest.h"
#include "widgets/gridarea.h"
#include "widgets/textpanel.h"

namespace brenvik::ui::test {
namespace {

TEST(FieldAtColumn, TakesTheCommaItemAroundTheColumn) {
    const QString line = QStringLiteral("Total lines = 12, Processed Lines = 10, Corrupt lines = 2,  Number of NMEA Events = 4");
    struct Case { int x; const char* want; };
    for (const Case& c : {Case{0, "Total lines = 12"}, Case{45, "Corrupt lines = 2"}, Case{56, "Corrupt lines = 2"}, Case{58, "Number of NMEA Events = 4"},
                          Case{70, "Number of NMEA Events = 4"}, Case{500, "Number of NMEA Events = 4"}}) {
        SCOPED_TRACE(c.x);
        EXPECT_EQ(FieldAtColumn(line, c.x), QString::fromLatin1(c.want));
    }
}

TEST(LogText, DecodesValidUtf8AndTakesOtherBytesAsLatin1) {
    EXPECT_EQ(LogText("Ship \xC3\xB8st"), QStringLiteral("Ship \u00F8st"));
    EXPECT_EQ(LogText("Ship \xF8st"), QStringLiteral("Ship \u00F8st"));
    EXPECT_EQ(LogText("a\xC3"), QStringLiteral("a\u00C3"));           // cut sequence
    EXPECT_EQ(LogText("\xED\xA0\x80"), QStringLiteral("\u00ED\u00A0\u0080"));  // a surrogate is no UTF-8
}

class TextViewTest : public UiTest {
protected:
    void SetUp() override { ASSERT_TRUE(Window().files()->OpenPath(SampleLog())); }
    Session& S() { return Window().session(); }
    TextViews& V() { return *Window().views(); }
    QString Title() { return Window().textPanel()->title()->text(); }
    QStringList Lines() { return Window().textPanel()->memo()->toPlainText().split(u'\n'); }
    void Click(int line, int column) {
        MemoEdit* memo = Window().textPanel()->memo();
        QTextCursor c(memo->document()->findBlockByNumber(line));
        c.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, column);
        memo->setTextCursor(c);
        V().Memo1Click();
    }
};

TEST_F(TextViewTest, SourcePagesAroundTheLineAndPagesByHalfAPage) {
    V().ShowSource(0);
    EXPECT_EQ(Title(), QStringLiteral("Source File"));
    EXPECT_TRUE(Window().textPanel()->pageUp()->isVisible());
    QStringList lines = Lines();
    ASSERT_EQ(lines.size(), 101);
    EXPECT_TRUE(lines.front().startsWith(QStringLiteral("0000001|Brenvik sample log")));
    V().ShowSource(1000);
    lines = Lines();
    EXPECT_EQ(lines.size(), 201);
    EXPECT_TRUE(lines.front().startsWith(QStringLiteral("0000900|")));
    EXPECT_TRUE(Window().textPanel()->memo()->Caret(false).text.startsWith(QStringLiteral("0001000|")));
    Window().textPanel()->pageDown()->click();
    EXPECT_EQ(Window().app().sourceline, 1100);
    V().ShowSource(50);
    Window().textPanel()->pageUp()->click();
    EXPECT_EQ(Window().app().sourceline, 1);
    V().ShowSource(1000000);  // at most the sentence count
    EXPECT_EQ(Window().app().sourceline, S().totlines);
}

TEST_F(TextViewTest, ASourceThatCannotBeReadIsAMessageBox) {
    const std::string gone = CoreText(Home()) + "/gone.log";
    S().logfiles.front().path = gone;
    auto& script = Window().app().platform.script;
    script.shown.clear();
    V().ShowSource(10);
    EXPECT_EQ(script.shown, std::vector<std::string>{"Error reading file:\r\n" + gone});
    EXPECT_FALSE(Window().textPanel()->memo()->toPlainText().contains(QStringLiteral("Error reading")));
}

TEST_F(TextViewTest, ASourceLineClickBringsItsEventToTheTop) {
    const int ev = 30;
    V().ShowSource(S().events[ev].recnumb);
    const int line = static_cast<int>(Lines().indexOf(QRegularExpression(QStringLiteral("^%1\\|.*").arg(S().events[ev].recnumb, 7, 10, QLatin1Char('0')))));
    ASSERT_GE(line, 0);
    Click(line - 1, 3);  // the line before also belongs to event 30 or its predecessor's end
    EXPECT_LE(Window().gridArea()->dataGrid()->topRow(), ev);
    Click(line, 3);
    EXPECT_EQ(Window().gridArea()->dataGrid()->topRow(), ev);
}

TEST_F(TextViewTest, CorruptLinesLeadToTheirSource) {
    V().ShowCorrupt();
    EXPECT_EQ(Title(), QStringLiteral("Corrupt Lines"));
    ASSERT_FALSE(S().corruptrecs.empty());
    Click(0, 2);
    EXPECT_EQ(Title(), QStringLiteral("Source File"));
    EXPECT_EQ(Window().app().sourceline, std::stoi(S().corruptrecs[0].substr(0, 7)));
}

TEST_F(TextViewTest, AVoyageNamesItsFilesAndItsLinesComeFromTheRightFile) {
    const QString later = WriteFile(QStringLiteral("b.log"), "$GPRMC,110000,A,5130.0,N,00007.0,W,5.0,90.0,051226,,\r\n"
                                                             "$GPZDA,bad\r\n");
    const QString earlier = WriteFile(QStringLiteral("a.log"), "$GPRMC,100000,A,5130.0,N,00007.0,W,5.0,90.0,051226,,\r\n");
    MainWindow& w = Window();
    ASSERT_TRUE(w.files()->OpenPaths({later, earlier}));
    EXPECT_TRUE(w.windowTitle().startsWith(QStringLiteral("a.log ... b.log (2 files) - ")));
    EXPECT_TRUE(w.actions().recent[0]->text().endsWith(QStringLiteral("/a.log +1 files")));
    EXPECT_EQ(Lines().value(0), QStringLiteral("Voyage of 2 files, lines 1 to 3:"));
    V().ShowSource(3);
    EXPECT_TRUE(Lines().contains(QStringLiteral("0000003|$GPZDA,bad")));
    EXPECT_TRUE(Lines().contains(QStringLiteral("0000001|$GPRMC,100000,A,5130.0,N,00007.0,W,5.0,90.0,051226,,")));
    // ReOpen reads the same set.
    w.actions().reopen->trigger();
    EXPECT_EQ(S().logfiles.size(), 2u);
}

TEST_F(TextViewTest, ReportClicksSwitchViewsAndNarrowTheAisGrid) {
    V().ShowSummary();
    const QString counts = Lines()[1];
    Click(1, static_cast<int>(counts.indexOf(QStringLiteral("Corrupt"))) + 3);
    EXPECT_EQ(Title(), QStringLiteral("Corrupt Lines"));
    V().ShowSummary();
    Window().grids()->SwitchGridMode('B');
    Click(1, static_cast<int>(counts.indexOf(QStringLiteral("Number of NMEA"))) + 3);
    EXPECT_EQ(Window().gridArea()->mode(), 'N');

    const QString ais = Lines()[4];
    Click(4, static_cast<int>(ais.indexOf(QStringLiteral("MMSI"))) + 8);
    EXPECT_EQ(Window().gridArea()->mode(), 'A');
    const int own = QString::fromStdString(S().ownmmsi).toInt();
    ASSERT_FALSE(S().aisselection.empty());
    for (int pos : S().aisselection) EXPECT_EQ(S().aisevents[pos].id, own);
    EXPECT_EQ(Window().grids()->aisModel()->rowCount(), static_cast<int>(S().aisselection.size()) + 1);
    Click(4, 3);  // "AIS Vessel Count = ": all reports
    EXPECT_TRUE(S().aisselection.empty());
}

TEST_F(TextViewTest, VesselLineClickShowsThatVesselAndTheHeadingIsNoNumber) {
    V().ShowVesselInfo();
    EXPECT_EQ(Title(), QStringLiteral("Vessel Static Info"));
    const QStringList lines = Lines();
    ASSERT_GT(lines.size(), 3);
    Click(2, 4);
    ASSERT_FALSE(S().aisselection.empty());
    EXPECT_EQ(S().aisevents[S().aisselection[0]].id, lines[2].left(9).toInt());
    auto& script = Window().app().platform.script;
    script.shown.clear();
    Click(0, 1);
    ASSERT_EQ(script.shown.size(), 1u);
    EXPECT_EQ(script.shown[0], "'MMSI,Coun' is not a valid integer value");
}

TEST_F(TextViewTest, SourcesViewLeadsFromALineNumberCellToTheSource) {
    V().ShowCorrupt();
    Window().actions().sources->trigger();
    EXPECT_EQ(Title(), QStringLiteral("Sources"));
    EXPECT_FALSE(Window().textPanel()->pageUp()->isVisible());
    EXPECT_EQ(S().settings.memomode, 'C');  // the stored view stays the last panel mode
    const QStringList lines = Lines();
    // The first cell of a source row that leads somewhere: click it, land on that log line.
    int want = -1;
    for (int y = 0; y < lines.size() && want < 0; ++y)
        for (int x = 0; x < lines[y].size() && want < 0; ++x)
            if (const int n = SourcesLineAt(S(), y, x); n > 0) {
                want = n;
                Click(y, x);
            }
    ASSERT_GT(want, 0);
    EXPECT_EQ(Title(), QStringLiteral("Source File"));
    EXPECT_EQ(Window().app().sourceline, want);
    Click(0, 0);  // the source view's own click rule is back
    EXPECT_EQ(Title(), QStringLiteral("Source File"));
}

TEST_F(TextViewTest, EncounterRowClickShowsThatVesselsReports) {
    Window().actions().encounters->trigger();
    EXPECT_EQ(Title(), QStringLiteral("Encounters"));
    ASSERT_FALSE(S().encounters.list.empty());
    const std::int32_t closest = S().encounters.list[0].id;
    EXPECT_TRUE(Lines().value(kEncounterHeadLine + 1).contains(QString::fromStdString(MmsiText(closest))));
    Click(kEncounterHeadLine, 3);  // the heading: nothing
    EXPECT_TRUE(S().aisselection.empty());
    Click(kEncounterHeadLine + 1, 3);
    EXPECT_EQ(S().settings.gridmode, 'A');
    ASSERT_FALSE(S().aisselection.empty());
    for (const std::int32_t ix : S().aisselection) EXPECT_EQ(S().aisevents[ix].id, closest);
    EXPECT_EQ(Title(), QStringLiteral("Encounters"));
}

TEST_F(TextViewTest, WrappedLinesCountAsDisplayedLines) {
    // So narrow that the file line of the report wraps: the counts line is no longer line 1.
    MainWindow& w = Window();
    w.resize(300, w.height());
    V().ShowSummary();
    QApplication::processEvents();
    MemoEdit* memo = w.textPanel()->memo();
    QTextCursor c(memo->document()->findBlockByNumber(1));
    memo->setTextCursor(c);
    const CaretLine caret = memo->Caret(true);
    EXPECT_GT(caret.y, 1);
    EXPECT_EQ(caret.x, 0);
}

}  // namespace
}  // namespace brenvik::ui::test
