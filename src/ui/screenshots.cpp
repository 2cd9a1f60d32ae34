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
#include <cmath>
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

// A long generated voyage: a fix and seven instrument sentences a second, lines lines in all.
bool WriteLongLog(const QString& path, int lines) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    QByteArray out;
    const auto add = [&out](const QString& body) {
        const QByteArray b = body.toLatin1();
        unsigned char sum = 0;
        for (const char c : b) sum ^= static_cast<unsigned char>(c);
        out += '$' + b + '*' + QByteArray::number(sum, 16).rightJustified(2, '0').toUpper() + "\r\n";
    };
    for (int t = 0, n = 0; n < lines; ++t, n += 8) {
        // West-south-west from off Skagen across the North Sea, at about six knots.
        const int day = 12 + t / 86400, h = t / 3600 % 24, m = t / 60 % 60, sec = t % 60;
        const double lat = 57.8 - t * 0.00001, lng = 10.0 - t * 0.00005;
        const QString when = QString::asprintf("%02d%02d%02d.00", h, m, sec);
        const QString pos = QString::asprintf("%02d%07.4f,N,%03d%07.4f,E", static_cast<int>(lat), (lat - static_cast<int>(lat)) * 60,
                                              static_cast<int>(lng), (lng - static_cast<int>(lng)) * 60);
        const double speed = 6.2 + 0.4 * std::sin(t / 900.0), heading = 252 + 3 * std::sin(t / 400.0);
        add(QString::asprintf("GPRMC,%s,A,%s,%05.1f,%05.1f,%02d0625,1.8,W,A", qPrintable(when), qPrintable(pos), speed, heading - 1, day));
        add(QString::asprintf("GPGGA,%s,%s,1,08,0.9,22.9,M,41.2,M,,", qPrintable(when), qPrintable(pos)));
        add(QString::asprintf("GPVTG,%05.1f,T,%05.1f,M,%05.1f,N,%05.1f,K,A", heading - 1, heading + 0.8, speed, speed * 1.852));
        add(QString::asprintf("HEHDT,%.1f,T", heading));
        add(QString::asprintf("HEROT,%.1f,A", 0.45 * std::cos(t / 400.0)));
        add(QString::asprintf("WIMWV,%.1f,R,%.1f,N,A", 300 + 10 * std::sin(t / 2100.0), 14 + 3 * std::sin(t / 1300.0)));
        add(QString::asprintf("SDDPT,%.1f,0.5,100", 45 + 15 * std::sin(t / 5000.0)));
        add(QString::asprintf("VWVHW,%.1f,T,%.1f,M,%.1f,N,%.1f,K", heading, heading + 1.8, speed - 0.2, (speed - 0.2) * 1.852));
        if (out.size() > (1 << 20)) {
            if (file.write(out) != out.size()) return false;
            out.clear();
        }
    }
    return file.write(out) == out.size() && file.flush();
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

    // A long load: the progress bar in the status bar, pictured while the file is read once the
    // rate has settled, then the reading cancelled there and the report that says so.
    const QString big = tmp.filePath(QStringLiteral("long-voyage.log"));
    if (WriteLongLog(big, 2'000'000)) {
        g->SwitchGridMode('N');
        Session& s = w.session();
        const bool nolimits = s.settings.nolimits;
        s.settings.nolimits = true;
        int updates = 0;
        const QMetaObject::Connection during = QObject::connect(w.files(), &FileCommands::progressShown, &w, [&] {
            if (++updates != 2) return;
            shot.Grab(QStringLiteral("26-progress-mid-load"));
            w.files()->Cancel();
        });
        w.files()->OpenPath(big);
        QObject::disconnect(during);
        s.settings.nolimits = nolimits;
        if (updates < 2) QTextStream(stdout) << "the long log was read before its progress could be pictured\n";
        else shot.Grab(QStringLiteral("27-report-after-cancel"));
    }
    return shot.ok() ? 0 : 1;
}

}  // namespace brenvik::ui
