#include "screenshots.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QPixmap>
#include <QTextBlock>
#include <QTextStream>

#include <QFileDialog>
#include <QHeaderView>
#include <QImage>
#include <QItemSelectionModel>
#include <QMessageBox>
#include <QPainter>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolTip>

#include <algorithm>
#include <memory>

#include "dialogcommands.h"
#include "dialogs/aboutbox.h"
#include "dialogs/optionsdialog.h"
#include "export/savecommand.h"
#include "filecommands.h"
#include "filedialogs.h"
#include "gridcommands.h"
#include "savecommands.h"
#include "mainwindow.h"
#include "models/eventtablemodel.h"
#include "present/encountertable.h"
#include "present/fieldcat.h"
#include "textviews.h"
#include "voyage/mapview.h"
#include "voyage/stripsview.h"
#include "voyage/timecursor.h"
#include "voyage/voyagepane.h"
#include "widgets/textpanel.h"
#include "widgets/gridarea.h"

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
    // The main window with the tooltip shown over it (a tooltip is a window of its own).
    void GrabWithTip(const QString& name) {
        QApplication::processEvents();
        QPixmap pixmap = w_.grab();
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (!top->inherits("QTipLabel") || !top->isVisible()) continue;
            QPainter painter(&pixmap);
            painter.drawPixmap(w_.mapFromGlobal(top->pos()), top->grab());
        }
        const QString path = QDir(folder_).filePath(name + QStringLiteral(".png"));
        const bool saved = pixmap.save(path);
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

// The voyage pane on a log: the whole voyage with an event picked a third of the way, then a
// strip zoomed to a tenth of the time with a span selected.
void VoyageShots(MainWindow& w, Shooter& shot, const QString& log, const QString& name) {
    if (!w.files()->OpenPath(log)) return;
    w.actions().voyage->setChecked(true);
    w.grids()->SwitchGridMode('N');
    QApplication::processEvents();
    VoyagePane* pane = w.voyagePane();
    pane->map()->FitAll();
    const auto& timed = pane->voyage().timed;
    const auto& own = pane->voyage().own;
    if (own.size() > 0) pane->cursor()->setEvent(own.ix[own.size() / 3]);
    else if (!timed.empty()) pane->cursor()->setEvent(timed[timed.size() / 3]);
    shot.Grab(name + QStringLiteral("-voyage"));
    StripsView* strips = pane->strips();
    if (!timed.empty() && strips->isVisible()) {
        const double t0 = strips->viewStart(), t1 = strips->viewEnd();
        const double at = pane->voyage().secs[static_cast<std::size_t>(pane->cursor()->current())];
        const double half = (t1 - t0) / 20;
        strips->SetTimeSpan(at - half, at + half);
        pane->map()->view().ZoomAbout(4, pane->map()->view().ToScreenX(own.size() ? own.lng[own.size() / 3] : 0),
                                      pane->map()->view().ToScreenY(own.size() ? own.lat[own.size() / 3] : 0));
        shot.Grab(name + QStringLiteral("-voyage-zoomed-strip"));
    }
}

// The log cut into three files, as a recorder writes one file an hour, opened as one voyage:
// the report lists the files.
void VoyageReportShot(MainWindow& w, Shooter& shot, const QString& logfile) {
    QFile in(logfile);
    if (!in.open(QIODevice::ReadOnly)) return;
    const QList<QByteArray> lines = in.readAll().split('\n');
    const QTemporaryDir tmp;
    QStringList parts;
    const qsizetype third = lines.size() / 3;
    for (int k = 0; k < 3; ++k) {
        QFile out(tmp.filePath(QStringLiteral("%1-hour-%2.log").arg(QFileInfo(logfile).completeBaseName()).arg(k + 1)));
        if (!out.open(QIODevice::WriteOnly)) return;
        const qsizetype end = k == 2 ? lines.size() : (k + 1) * third;
        for (qsizetype i = k * third; i < end; ++i) out.write(lines[i] + (i + 1 < lines.size() ? "\n" : ""));
        parts.prepend(out.fileName());  // given last first: the reading order is the files' times
    }
    w.actions().voyage->setChecked(false);
    if (!w.files()->OpenPaths(parts)) return;
    w.grids()->SwitchGridMode('B');
    shot.Grab(QStringLiteral("25-voyage-of-three-files-report"));
}

}  // namespace

int TakeScreenshots(const QString& folder, const QString& logfile, const QStringList& voyagelogs) {
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
    const std::unique_ptr<QFileDialog> save(MakeFileDialog(SaveRequest(w.session(), saveEvents), true, &w));
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
    shot.Grab(QStringLiteral("21-encounters"));
    if (!w.session().encounters.list.empty()) {
        ClickPanelLine(w, kEncounterHeadLine + 1, 2);
        shot.Grab(QStringLiteral("22-encounters-closest-vessel"));
    }
    // A cell chosen as a click chooses it, and the tooltip of its column's heading.
    g->SwitchGridMode('N');
    w.views()->ShowSummary();
    FrozenTableView* grid = w.gridArea()->dataGrid();
    const auto& shown = w.session().fields.shownfields;
    const int speed = static_cast<int>(std::find(shown.begin(), shown.end(), fSpeed) - shown.begin());
    const QModelIndex cell = g->eventModel()->index(12, speed);
    grid->setFocus();
    grid->selectionModel()->setCurrentIndex(cell, QItemSelectionModel::ClearAndSelect);
    g->DataGridClick(cell);
    QHeaderView* header = grid->horizontalHeader();
    const QPoint at(header->sectionViewportPosition(cell.column()) + 10, header->height() / 2);
    QToolTip::showText(header->mapToGlobal(at), g->eventModel()->headerData(cell.column(), Qt::Horizontal, Qt::ToolTipRole).toString(), header);
    shot.GrabWithTip(QStringLiteral("15-selected-cell-and-heading-tip"));
    QToolTip::hideText();

    // A file that is not a log: the boxes are recorded instead of waiting, the first one and
    // the report are pictured.
    const QTemporaryDir tmp;
    QImage image(120, 120, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) image.setPixel(x, y, qRgb(x * 2, (x * y) % 256, y * 2));
    const QString png = tmp.filePath(QStringLiteral("chart.png"));
    image.save(png);
    QtPlatform& platform = w.app().platform;
    platform.script.active = true;
    w.files()->OpenPath(png);
    platform.script.active = false;
    shot.Grab(QStringLiteral("16-report-after-a-picture"));
    if (!platform.script.shown.empty()) {
        QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(),
                        QString::fromStdString(platform.script.shown.front()), QMessageBox::Ok, &w);
        box.show();
        shot.Grab(QStringLiteral("17-first-box-of-a-picture"), &box);
    }

    w.resize(1260, 960);
    VoyageShots(w, shot, logfile, QStringLiteral("18-") + QFileInfo(logfile).completeBaseName());
    int n = 19;
    for (const QString& log : voyagelogs) VoyageShots(w, shot, log, QString::number(n++) + '-' + QFileInfo(log).completeBaseName());
    // The closest approach of the nearest vessel on the map, chosen in the encounter table.
    if (w.files()->OpenPath(voyagelogs.isEmpty() ? logfile : voyagelogs.front()) && !w.session().encounters.list.empty()) {
        w.actions().voyage->setChecked(true);
        w.voyagePane()->map()->FitAll();
        w.actions().encounters->trigger();
        ClickPanelLine(w, kEncounterHeadLine + 1, 2);
        shot.Grab(QStringLiteral("23-encounter-on-voyage-map"));
        // A close one is a few pixels at the voyage's scale: zoomed in as a wheel would.
        if (const TEncounter* e = w.voyagePane()->map()->encounter()) {
            chart::TMercatorView& v = w.voyagePane()->map()->view();
            v.ZoomAbout(8, (v.ToScreenX(e->own.lng) + v.ToScreenX(e->other.lng)) / 2, (v.ToScreenY(e->own.lat) + v.ToScreenY(e->other.lat)) / 2);
            shot.Grab(QStringLiteral("24-encounter-on-voyage-map-zoomed"));
        }
    }
    VoyageReportShot(w, shot, logfile);
    return shot.ok() ? 0 : 1;
}

}  // namespace brenvik::ui
