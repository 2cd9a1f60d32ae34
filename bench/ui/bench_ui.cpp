// brenvik_ui_bench: the desktop program's speed, offscreen, on one log.
//   brenvik_ui_bench LOGFILE
//   brenvik_ui_bench --capacity-log FILE    writes a log of one RMC a second past the event capacity
// Prints the load alone, open to painted grids, a full-page repaint of the data grid with every
// field shown, FitWidth of every shown field, and the source view at line 999,000 (or the last).
#include <QApplication>
#include <QElapsedTimer>
#include <QPixmap>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <string_view>

#include "filecommands.h"
#include "gridcommands.h"
#include "mainwindow.h"
#include "openlog.h"
#include "textviews.h"
#include "widgets/gridarea.h"

namespace {

using brenvik::ui::MainWindow;

double Ms(const QElapsedTimer& t) { return static_cast<double>(t.nsecsElapsed()) / 1e6; }

// The load alone, on a session of its own.
double LoadOnly(const QString& path) {
    brenvik::ui::QtPlatform platform;
    platform.script.active = true;
    brenvik::Session s(platform);
    QElapsedTimer t;
    t.start();
    brenvik::OpenLogFile(s, path.toStdString());
    return Ms(t);
}

void Run(const QString& path) {
    std::printf("log: %s\n", path.toUtf8().constData());
    const double load = LoadOnly(path);

    MainWindow w;
    w.app().platform.script.active = true;
    w.resize(1920, 1080);
    w.show();
    QApplication::processEvents();
    brenvik::Session& s = w.session();
    QElapsedTimer t;
    t.start();
    w.files()->OpenPath(path);
    w.grab();  // paints the window with its grids
    const double open = Ms(t);
    std::printf("  events %d, AIS reports %d\n", s.events.count(), s.aisevents.count());
    std::printf("  load alone                          %8.1f ms\n", load);
    std::printf("  open to painted grids               %8.1f ms (%.1f ms beyond the load)\n", open, open - load);

    // Every field shown: the widest repaint.
    for (auto& f : s.fields.fields) f.vis = true;
    s.settings.ignorevdr = false;
    w.grids()->SetGridMode('N');
    QWidget* viewport = w.gridArea()->dataGrid()->viewport();
    w.gridArea()->dataGrid()->setTopRow(std::max(s.events.count() / 2, 0));
    QApplication::processEvents();
    double best = 1e9;
    for (int i = 0; i < 20; ++i) {
        t.restart();
        viewport->repaint();
        best = std::min(best, Ms(t));
    }
    std::printf("  data grid full-page repaint         %8.1f ms (best of 20, %d columns, %dx%d px)\n", best,
                static_cast<int>(s.fields.shownfields.size()), viewport->width(), viewport->height());

    s.settings.autowidths = true;
    t.restart();
    w.grids()->SetGridMode('N');
    std::printf("  FitWidth of every shown field       %8.1f ms (columns rebuilt with autowidths on)\n", Ms(t));
    s.settings.autowidths = false;

    const int line = std::min(999000, s.totlines);
    t.restart();
    w.views()->ShowSource(line);
    QApplication::processEvents();
    std::printf("  ShowSource at line %-7d          %8.1f ms\n", line, Ms(t));
}

// One position a second, moving north-east: every sentence cuts an event, so 101,000 lines
// reach the capacity of 100,000 events.
bool WriteCapacityLog(const char* path) {
    std::FILE* f = std::fopen(path, "wb");
    if (f == nullptr) return false;
    for (int i = 0; i < 101000; ++i) {
        const int secs = i % 86400;
        char body[128];
        std::snprintf(body, sizeof body, "GPRMC,%02d%02d%02d.00,A,%02d%07.4f,N,%03d%07.4f,E,%05.1f,%05.1f,%02d0625,1.8,W,A",
                      secs / 3600, secs / 60 % 60, secs % 60, 60, 10.0 + (i % 4000) * 0.001, 4, 50.0 + (i % 5000) * 0.001,
                      5.0 + (i % 70) * 0.1, static_cast<double>(i % 360), 10 + i / 86400);
        unsigned x = 0;
        for (const char* c = body; *c != 0; ++c) x ^= static_cast<unsigned char>(*c);
        std::fprintf(f, "$%s*%02X\r\n", body, x);
    }
    return std::fclose(f) == 0;
}

}  // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The program's settings and data folder go to a throw-away home.
    QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/config")).toUtf8());
    qputenv("XDG_DATA_HOME", (home.path() + QStringLiteral("/data")).toUtf8());
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Brenvik"));
    if (argc == 3 && std::string_view(argv[1]) == "--capacity-log") return WriteCapacityLog(argv[2]) ? 0 : 1;
    if (argc != 2) {
        std::fputs("usage: brenvik_ui_bench LOGFILE\n", stderr);
        return 2;
    }
    Run(QString::fromLocal8Bit(argv[1]));
    return 0;
}
