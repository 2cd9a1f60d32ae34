// A load read on the worker thread: cancelled (by the Cancel button, Esc, or closing the window)
// it keeps what was read and leaves a program that opens the next log; a box it raises waits
// modally on the UI thread. And the progress text: rate and time left once they can be told.
#include <QApplication>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTimer>

#include <cstdio>

#include "filecommands.h"
#include "gridcommands.h"
#include "models/eventtablemodel.h"
#include "support/loadhelper.h"
#include "uitest.h"
#include "widgets/gridarea.h"
#include "widgets/loadprogressbar.h"
#include "widgets/textpanel.h"

namespace brenvik::ui::test {
namespace {

// One position fix a second from second first on, far more lines than the first progress step reads.
QByteArray FixesLog(int lines, int first = 0) {
    std::string log;
    for (int i = first; i < first + lines; ++i) {
        char body[96];
        std::snprintf(body, sizeof body, "$GPRMC,%02d%02d%02d,A,5130.000,N,00010.000,W,5.0,90.0,150625,,", i / 3600 % 24,
                      i / 60 % 60, i % 60);
        log += brenvik::test::WithChecksum(body) + "\r\n";
    }
    return QByteArray::fromStdString(log);
}

TEST(LoadProgressText, TellsTheRateAndTheTimeLeftOnceTheyAreKnown) {
    struct Case {
        std::uint64_t bytes, total;
        std::int32_t lines;
        double secs;
        QString want;
    };
    const Case cases[] = {
        {0, 100, 0, 0.0, QStringLiteral("0 lines")},
        {25, 100, 1000, 0.5, QStringLiteral("%L1 lines - %L2 lines/s - 2 s left").arg(1000).arg(2000)},
        {1, 5, 3000, 30.0, QStringLiteral("%L1 lines - %L2 lines/s - 2 min 00 s left").arg(3000).arg(100)},
        {1, 1000, 20, 10.0, QStringLiteral("20 lines - 2 lines/s - 2 h 46 min left")},
        {7, 0, 20, 10.0, QStringLiteral("20 lines - 2 lines/s")},  // a size that could not be told
    };
    for (const Case& c : cases) {
        TLoadProgress p;
        p.bytes = c.bytes;
        p.totalbytes = c.total;
        p.lines = c.lines;
        EXPECT_EQ(LoadProgressText(p, c.secs), c.want) << c.want.toStdString();
    }
}

TEST_F(UiTest, ACancelledLoadShowsWhatWasReadAndTheNextOpenWorks) {
    const QString path = WriteFile(QStringLiteral("long.log"), FixesLog(40000));
    // A voyage of three hourly files: the stop falls in the second, the third is not read.
    const QStringList voyage{WriteFile(QStringLiteral("h3.log"), FixesLog(6000, 12000)),
                             WriteFile(QStringLiteral("h1.log"), FixesLog(6000, 0)),
                             WriteFile(QStringLiteral("h2.log"), FixesLog(6000, 6000))};
    enum How { kButton, kEsc, kClose };
    struct Case {
        const char* name;
        How how;
        bool isvoyage;
    };
    for (const Case& c : {Case{"Cancel", kButton, false}, Case{"Esc", kEsc, false}, Case{"closing the window", kClose, false},
                          Case{"Cancel in a voyage", kButton, true}}) {
        SCOPED_TRACE(c.name);
        MainWindow& w = Window();
        QApplication::setActiveWindow(&w);  // Esc is the window's shortcut
        QtPlatform& platform = w.app().platform;
        const auto started = platform.onLoadStarted;
        // The reading waits while its start is shown: the stop falls at its first progress step.
        platform.onLoadStarted = [&] {
            started();
            EXPECT_TRUE(w.files()->loading());
            EXPECT_FALSE(w.actions().open->isEnabled());
            if (c.how == kClose) w.close();
            else if (c.how == kEsc) QTest::keyClick(&w, Qt::Key_Escape);
            else w.files()->progressBar()->cancelButton()->click();
        };
        ASSERT_TRUE(c.isvoyage ? w.files()->OpenPaths(voyage) : w.files()->OpenPath(path));
        platform.onLoadStarted = started;
        ASSERT_EQ(w.session().logfiles.size(), c.isvoyage ? 2u : 1u);

        const Session& s = w.session();
        EXPECT_EQ(s.cancelline, 8192);
        EXPECT_GT(s.events.count(), 8000);
        EXPECT_LE(s.events.count(), 8192);  // none from the lines after the stop
        EXPECT_TRUE(w.textPanel()->memo()->toPlainText().contains(QStringLiteral("Reading cancelled at line 8192")));
        EXPECT_TRUE(w.statusBar()->currentMessage().contains(QStringLiteral(" - cancelled at line 8,192")))
            << w.statusBar()->currentMessage().toStdString();
        EXPECT_TRUE(w.gridArea()->dataGrid()->isVisible());
        EXPECT_GE(w.grids()->eventModel()->rowCount(), s.events.count());
        EXPECT_TRUE(w.actions().open->isEnabled());
        EXPECT_TRUE(w.menuBar()->isEnabled());
        EXPECT_FALSE(w.files()->progressBar()->isVisible());
        // A close asked for during the load follows it.
        QApplication::sendPostedEvents();
        EXPECT_EQ(w.isVisible(), c.how != kClose);

        ASSERT_TRUE(w.files()->OpenPath(SampleLog()));
        EXPECT_EQ(s.cancelline, 0);
        EXPECT_FALSE(w.statusBar()->currentMessage().contains(QStringLiteral("cancelled")));
        EXPECT_TRUE(w.files()->progressBar()->cancelButton()->isEnabled());
        CloseWindow();
    }
}

TEST_F(UiTest, ABoxRaisedByTheLoadWaitsModallyOnTheUiThread) {
    const QString path = WriteFile(QStringLiteral("bad.txt"), "[13/45/2025 10:00:00.000] $GPZDA,100000.00,12,06,2025,00,00\r\n");
    MainWindow& w = Window();
    w.app().platform.script.active = false;
    QString text;
    bool loading = false;
    QTimer answer;
    answer.setInterval(10);
    QObject::connect(&answer, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) return;
        text = box->text();
        loading = w.files()->loading();
        box->button(QMessageBox::Ok)->click();
    });
    answer.start();
    ASSERT_TRUE(w.files()->OpenPath(path));
    EXPECT_TRUE(text.startsWith(QStringLiteral("Error="))) << text.toStdString();
    EXPECT_TRUE(loading);
    EXPECT_EQ(w.session().linemessages[LineMsg::Error].count, 1);
}

}  // namespace
}  // namespace brenvik::ui::test
