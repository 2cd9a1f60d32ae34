#include "screenshots.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QPixmap>
#include <QTextBlock>
#include <QTextStream>

#include <QFileDialog>
#include <QTabWidget>

#include <memory>

#include "dialogcommands.h"
#include "dialogs/aboutbox.h"
#include "dialogs/optionsdialog.h"
#include "filecommands.h"
#include "filedialogs.h"
#include "gridcommands.h"
#include "savecommands.h"
#include "mainwindow.h"
#include "models/eventtablemodel.h"
#include "present/encountertable.h"
#include "textviews.h"
#include "widgets/textpanel.h"

namespace brenvik::ui {
namespace {

class Shooter {
public:
    Shooter(MainWindow& w, const QString& folder) : w_(w), folder_(folder) {}

    // The main window, or another window such as a dialog.
    void Grab(const QString& name, QWidget* window = nullptr) {
        QApplication::processEvents();
        const QString path = QDir(folder_).filePath(name + QStringLiteral(".png"));
        const bool saved = (window ? window : &w_)->grab().save(path);
        QTextStream(stdout) << (saved ? "wrote " : "could not write ") << path << '\n';
        ok_ = ok_ && saved;
    }
    bool ok() const { return ok_; }

private:
    MainWindow& w_;
    QString folder_;
    bool ok_ = true;
};

// A click on a line of the text panel: the caret goes there, then the click rules run.
void ClickPanelLine(MainWindow& w, int line, int column) {
    MemoEdit* memo = w.textPanel()->memo();
    QTextCursor c(memo->document()->findBlockByNumber(line));
    c.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, column);
    memo->setTextCursor(c);
    w.views()->Memo1Click();
}

// A click on the data grid's fixed cell of a grid row, then a pop-up command.
void Mark(MainWindow& w, int gridrow, QAction* command) {
    GridCommands* g = w.grids();
    g->DataGridFixedCellClick(g->eventModel()->index(gridrow - 1, 0));
    w.actions().popup->hide();
    command->trigger();
}

}  // namespace

int TakeScreenshots(const QString& folder, const QString& logfile) {
    QDir().mkpath(folder);
    MainWindow w;
    w.show();
    Shooter shot(w, folder);
    shot.Grab(QStringLiteral("0-welcome"));
    if (!w.files()->OpenPath(logfile)) return 1;
    GridCommands* g = w.grids();

    g->SwitchGridMode('B');
    shot.Grab(QStringLiteral("1-report-both-grids"));

    g->DataGridClick(g->eventModel()->index(40, 5));
    shot.Grab(QStringLiteral("2-source-after-data-click"));

    w.views()->ShowCorrupt();
    shot.Grab(QStringLiteral("3-corrupt-lines"));

    w.views()->ShowVesselInfo();
    ClickPanelLine(w, 5, 2);
    shot.Grab(QStringLiteral("4-vessels-one-vessel"));

    g->SwitchGridMode('N');
    w.views()->ShowSummary();
    shot.Grab(QStringLiteral("5-nmea-only"));

    Mark(w, 10, w.actions().makeFirst);
    Mark(w, 20, w.actions().makeLast);
    shot.Grab(QStringLiteral("6-marked-range"));

    g->SwitchGridMode('A');
    g->SelectAISVessel(-1);
    shot.Grab(QStringLiteral("7-ais-only"));

    // The dialogs, shown without their modal loops.
    OptionsDialog* options = w.dialogs()->options();
    options->FormShow();
    options->show();
    const char* pages[] = {"8-options-general", "9-options-formats", "10-options-fields", "11-options-events"};
    for (int page = 0; page < 4; ++page) {
        options->pages->setCurrentIndex(page);
        shot.Grab(QString::fromLatin1(pages[page]), options);
    }
    options->hide();
    const std::unique_ptr<QFileDialog> save(MakeFileDialog(SaveRequest(w.session()), true, &w));
    save->show();
    shot.Grab(QStringLiteral("12-save-dialog"), save.get());
    save->hide();
    AboutBox about(&w);
    about.show();
    shot.Grab(QStringLiteral("13-about"), &about);
    about.hide();

    g->SwitchGridMode('B');
    w.actions().sources->trigger();
    shot.Grab(QStringLiteral("14-sources"));

    // The encounters, and the closest vessel chosen: its reports in the AIS grid.
    w.actions().encounters->trigger();
    shot.Grab(QStringLiteral("15-encounters"));
    if (!w.session().encounters.list.empty()) {
        ClickPanelLine(w, kEncounterHeadLine + 1, 2);
        shot.Grab(QStringLiteral("16-encounters-closest-vessel"));
    }
    return shot.ok() ? 0 : 1;
}

}  // namespace brenvik::ui
