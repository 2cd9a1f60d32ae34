// brenvik_ui_bench: the desktop program's speed, offscreen, on one log.
//   brenvik_ui_bench LOGFILE
//   brenvik_ui_bench --capacity-log FILE    writes a log of one RMC a second past the event capacity
//   brenvik_ui_bench --loads N LOGFILE...   N loads in one window (the files opened in turn, each
//                                           reopened once, every view shown after each load): the
//                                           peak RSS after the 5th and after the Nth load
// Prints the load alone, open to painted grids, a full-page repaint of the data grid with every
// field shown, FitWidth of every shown field, and the source view at line 999,000 (or the last).
#include <QApplication>
#include <QElapsedTimer>
#include <QPixmap>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
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
    w.show();
    w.resize(1920, 1080);  // after the first showing, which applies the stored window bounds
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

// The process's peak resident memory so far, in KiB (0 when the system does not tell).
long PeakRssKiB() {
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        long value = 0;
        if (key == "VmHWM:" && status >> value) return value;
        status.ignore(256, '\n');
    }
    return 0;
}

// Loads in a row in one running program must not make it grow: whatever a load, a view or a
// grid keeps must go with the next load.
void RepeatedLoads(const QStringList& paths, int loads) {
    MainWindow w;
    w.app().platform.script.active = true;
    w.show();
    QApplication::processEvents();
    brenvik::ui::TextViews& views = *w.views();
    long after5 = 0;
    QElapsedTimer t;
    t.start();
    for (int i = 1; i <= loads; ++i) {
        if (i % 2 == 1)
            w.files()->OpenPath(paths[(i / 2) % paths.size()]);
        else
            w.files()->Reopen();
        for (const char mode : {'A', 'B', 'N'}) w.grids()->SetGridMode(mode);
        views.ShowSource(w.session().totlines / 2);
        views.ShowCorrupt();
        views.ShowVesselInfo();
        views.ShowSources();
        views.ShowSummary();
        w.grab();
        QApplication::processEvents();
        w.app().platform.script.shown.clear();  // the boxes a load raised, recorded for tests
        if (i == 5) after5 = PeakRssKiB();
    }
    const long last = PeakRssKiB();
    std::printf("logs: %s\n", paths.join(QStringLiteral(", ")).toUtf8().constData());
    std::printf("  %d loads in one window (open and reopen in turn, every view after each): %.1f s\n", loads,
                static_cast<double>(t.elapsed()) / 1000.0);
    const double growth = after5 > 0 ? 100.0 * static_cast<double>(last - after5) / static_cast<double>(after5) : 0;
    std::printf("  peak RSS after load 5: %.1f MiB, after load %d: %.1f MiB (%+.1f %%, %s 10 %%)\n",
                static_cast<double>(after5) / 1024.0, loads, static_cast<double>(last) / 1024.0, growth,
                growth <= 10.0 ? "within" : "NOT within");
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
    if (argc >= 4 && std::string_view(argv[1]) == "--loads") {
        const int loads = std::atoi(argv[2]);
        if (loads < 5) return 2;
        QStringList paths;
        for (int i = 3; i < argc; ++i) paths << QString::fromLocal8Bit(argv[i]);
        RepeatedLoads(paths, loads);
        return 0;
    }
    if (argc != 2) {
        std::fputs("usage: brenvik_ui_bench LOGFILE | --loads N LOGFILE... | --capacity-log FILE\n", stderr);
        return 2;
    }
    Run(QString::fromLocal8Bit(argv[1]));
    return 0;
}
