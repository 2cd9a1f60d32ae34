// brenvik_ui_bench: the desktop program's speed, offscreen, on one log.
//   brenvik_ui_bench LOGFILE
//   brenvik_ui_bench --capacity-log FILE    writes a log of one RMC a second past the event capacity
//   brenvik_ui_bench --voyage-log FILE      writes about 100,000 events with 50,000 AIS reports
//   brenvik_ui_bench --voyage LOG [COASTLOG] times the voyage pane on LOG, and the full-resolution
//                                            coastline of COASTLOG's view
//   brenvik_ui_bench --long LOGFILE...      a long log or a voyage without the capacities: the
//                                           progress bar, the last line's source, a cancel
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
#include <cmath>
#include <cstdio>
#include <ctime>
#include <cstdlib>
#include <fstream>
#include <string>
#include <string_view>

#include "filecommands.h"
#include "gridcommands.h"
#include "mainwindow.h"
#include "openlog.h"
#include "genlog.h"
#include "textviews.h"
#include "voyage/mapview.h"
#include "voyage/stripsview.h"
#include "voyage/voyagecommands.h"
#include "voyage/voyagepane.h"
#include "widgets/gridarea.h"

namespace {

using brenvik::ui::MainWindow;

double Ms(const QElapsedTimer& t) { return static_cast<double>(t.nsecsElapsed()) / 1e6; }

// This thread's processor time in milliseconds: on a machine shared with other work the wall
// clock counts their time too.
double CpuMs() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) / 1e6;
}

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

// A long log or a voyage of several files in the window with the capacities lifted: how often
// the progress bar moved, the load's time, the source view at the last line; then the same
// load cancelled at its first progress.
void RunLong(const QStringList& paths) {
    MainWindow w;
    w.app().platform.script.active = true;
    w.show();
    QApplication::processEvents();
    brenvik::Session& s = w.session();
    s.settings.nolimits = true;
    brenvik::ui::FileCommands& files = *w.files();
    int shown = 0;
    bool cancel = false;
    QObject::connect(&files, &brenvik::ui::FileCommands::progressShown, &files, [&] {
        ++shown;
        if (cancel) files.Cancel();
    });
    QElapsedTimer t;
    t.start();
    const bool ok = files.OpenPaths(paths);
    const double open = Ms(t);
    std::printf("long load: %s%s\n", paths.front().toUtf8().constData(),
                paths.size() > 1 ? QStringLiteral(" and %1 more files").arg(paths.size() - 1).toUtf8().constData() : "");
    std::printf("  %s: %d lines, %d events, %d AIS reports in %.1f s; progress bar updated %d times\n",
                ok ? "read" : "NOT READ", s.recnumb, s.events.count(), s.aisevents.count(), open / 1000, shown);
    t.restart();
    w.views()->ShowSource(s.totlines);
    QApplication::processEvents();
    std::printf("  ShowSource at the last line (%d)    %8.1f ms\n", s.totlines, Ms(t));
    shown = 0;
    cancel = true;
    t.restart();
    files.OpenPaths(paths);
    std::printf("  cancelled at the first progress: after %.1f s, at line %d, %d events kept\n", Ms(t) / 1000,
                s.cancelline, s.events.count());
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

// 99,990 seconds of own-ship fixes, depth and wind off the Swedish west coast, with AIS
// traffic around: about 100,000 events and 50,000 AIS reports.
bool WriteVoyageLog(const char* path) {
    using namespace brenvik::bench;
    std::FILE* f = std::fopen(path, "wb");
    if (f == nullptr) return false;
    Rng rng(7);
    const double lat0 = 57.95, lon0 = 11.55;
    AisTraffic ais(rng, lat0, lon0, 60);
    std::vector<std::string> out;
    const std::int64_t start = 1435000000;  // 2015-06-22
    for (int i = 0; i < 99990; ++i) {
        const std::int64_t t = start + i;
        const Civil c = ToCivil(t);
        // A slow loop through the fjord's mouth.
        const double a = i * 2 * 3.14159265358979 / 20000;
        const double lat = lat0 + 0.06 * std::sin(a), lon = lon0 + 0.12 * std::cos(a * 0.5);
        const double la = std::abs(lat), lo = std::abs(lon);
        char body[160];
        std::snprintf(body, sizeof body, "GPRMC,%02d%02d%02d.00,A,%02d%07.4f,N,%03d%07.4f,E,%05.1f,%05.1f,%02d%02d%02d,,,A",
                      c.hour, c.minute, c.second, static_cast<int>(la), (la - static_cast<int>(la)) * 60, static_cast<int>(lo),
                      (lo - static_cast<int>(lo)) * 60, 6 + 2 * std::sin(a * 3), std::fmod(i * 0.018 + 360, 360.0), c.day,
                      c.month, c.year % 100);
        std::fputs((Sentence('$', body) + "\r\n").c_str(), f);
        std::snprintf(body, sizeof body, "SDDPT,%.1f,0.5", 20 + 15 * std::sin(a * 7));
        std::fputs((Sentence('$', body) + "\r\n").c_str(), f);
        std::snprintf(body, sizeof body, "WIMWV,%.1f,T,%.1f,N,A", std::fmod(200 + i * 0.01, 360.0), 8 + 4 * std::sin(a * 5));
        std::fputs((Sentence('$', body) + "\r\n").c_str(), f);
        if (i % 2 == 0) {
            out.clear();
            ais.Message(t, out);
            for (const std::string& line : out) std::fputs((line + "\r\n").c_str(), f);
        }
    }
    return std::fclose(f) == 0;
}

// The voyage pane: the load overhead with the pane shown, the redraw after zooms and pans, and
// the full-resolution coastline of a view once its bins are cached.
void RunVoyage(const QString& path, const QString& coastlog) {
    std::printf("voyage pane, log: %s\n", path.toUtf8().constData());
    QElapsedTimer t;
    double hidden = 1e9, shown = 1e9, hiddencpu = 1e9, showncpu = 1e9;
    for (const bool on : {false, true, false, true}) {
        MainWindow w;
        w.app().platform.script.active = true;
        w.show();
        w.resize(1600, 1000);
        w.actions().voyage->setChecked(on);
        QApplication::processEvents();
        t.restart();
        const double c0 = CpuMs();
        w.files()->OpenPath(path);
        QApplication::processEvents();
        (on ? shown : hidden) = std::min(on ? shown : hidden, Ms(t));
        (on ? showncpu : hiddencpu) = std::min(on ? showncpu : hiddencpu, CpuMs() - c0);
        if (!on) continue;
        brenvik::ui::VoyagePane* pane = w.voyagePane();
        std::printf("  events %d, AIS reports %d, vessels %zu, strips %zu\n", w.session().events.count(),
                    w.session().aisevents.count(), pane->voyage().vessels.size(), pane->strips()->shown().size());
        brenvik::ui::MapView* map = pane->map();
        brenvik::ui::StripsView* strips = pane->strips();
        map->repaint();  // the coastline's bins read and cached
        strips->repaint();
        double worst = 0, coast = 0, worstmap = 0, worstcpu = 0;
        const struct {
            double zoom, dx, dy;
        } steps[] = {{2, 0, 0}, {1, 120, -40}, {2, 0, 0}, {0.25, 0, 0}, {1, -300, 90}, {1.6, 0, 0}, {1, 50, 50}, {0.5, 0, 0}};
        for (int round = 0; round < 2; ++round)
            for (const auto& s : steps) {
                if (s.zoom != 1) map->view().ZoomAbout(s.zoom, map->width() / 2.0, map->height() / 2.0);
                else map->view().Pan(s.dx, s.dy);
                const double mid = (strips->viewStart() + strips->viewEnd()) / 2, half = (strips->viewEnd() - strips->viewStart()) / 2;
                strips->SetTimeSpan(mid - half / s.zoom, mid + half / s.zoom);
                t.restart();
                const double r0 = CpuMs();
                map->repaint();
                const double m = Ms(t);
                strips->repaint();
                if (round == 1) {
                    worst = std::max(worst, Ms(t));
                    worstcpu = std::max(worstcpu, CpuMs() - r0);
                    worstmap = std::max(worstmap, m);
                    coast = std::max(coast, map->coastMs());
                }
            }
        std::printf("  map %dx%d, strips %dx%d\n", map->width(), map->height(), strips->width(), strips->height());
        double mapms = 1e9, stripms = 1e9;
        for (int i = 0; i < 5; ++i) {
            t.restart();
            map->repaint();
            mapms = std::min(mapms, Ms(t));
            t.restart();
            strips->repaint();
            stripms = std::min(stripms, Ms(t));
        }
        t.restart();
        pane->Reload();
        const double reload = Ms(t);
        std::printf("  map alone %.1f ms, strips alone %.1f ms (best of 5); gathering the voyage %.1f ms\n", mapms, stripms, reload);
        std::printf("  redraw after zoom or pan (worst of 8) %8.1f ms processor time, %.1f ms wall clock (map at most %.1f ms, "
                    "its coastline %.1f ms)\n", worstcpu, worst, worstmap, coast);
    }
    std::printf("  open, pane hidden                   %8.1f ms processor time, %.1f ms wall clock\n", hiddencpu, hidden);
    std::printf("  open, pane shown                    %8.1f ms processor time (%.1f ms more), %.1f ms wall clock (%.1f ms more)\n",
                showncpu, showncpu - hiddencpu, shown, shown - hidden);

    if (coastlog.isEmpty()) return;
    MainWindow w;
    w.app().platform.script.active = true;
    w.show();
    w.resize(1600, 1000);
    w.actions().voyage->setChecked(true);
    QApplication::processEvents();
    w.files()->OpenPath(coastlog);
    QApplication::processEvents();
    brenvik::ui::MapView* map = w.voyagePane()->map();
    // The fjord with the vessels about it, as far as they reach.
    map->view() = brenvik::chart::TMercatorView::Fit(w.voyagePane()->voyage().allbox, map->width(), map->height(), 24);
    map->SetResolution('f');
    t.restart();
    map->repaint();
    const double first = Ms(t);
    // The coastline part in processor time, bins cached.
    double bestcpu = 1e9;
    for (int i = 0; i < 5; ++i) {
        map->SetResolution('f');
        const double c0 = CpuMs();
        map->repaint();
        bestcpu = std::min(bestcpu, CpuMs() - c0);
    }
    double best = 1e9;
    for (int i = 0; i < 5; ++i) {
        map->repaint();
        best = std::min(best, map->coastMs());
    }
    const auto box = map->view().Visible();
    std::printf("full-resolution coastline of %s\n", coastlog.toUtf8().constData());
    std::printf("  view %.3fN-%.3fN %.3fE-%.3fE, %dx%d px, 1:%.0f\n", box.south, box.north, box.west, box.east,
                map->width(), map->height(), map->view().ScaleDenominator());
    std::printf("  first draw with reading the bins   %8.1f ms\n", first);
    std::printf("  coastline draw, bins cached        %8.1f ms (best of 5, wall clock); whole map %.1f ms processor time\n", best, bestcpu);
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
    if (argc == 3 && std::string_view(argv[1]) == "--voyage-log") return WriteVoyageLog(argv[2]) ? 0 : 1;
    if ((argc == 3 || argc == 4) && std::string_view(argv[1]) == "--voyage") {
        RunVoyage(QString::fromLocal8Bit(argv[2]), argc == 4 ? QString::fromLocal8Bit(argv[3]) : QString());
        return 0;
    }
    if (argc >= 4 && std::string_view(argv[1]) == "--loads") {
        const int loads = std::atoi(argv[2]);
        if (loads < 5) return 2;
        QStringList paths;
        for (int i = 3; i < argc; ++i) paths << QString::fromLocal8Bit(argv[i]);
        RepeatedLoads(paths, loads);
        return 0;
    }
    if (argc >= 3 && std::string_view(argv[1]) == "--long") {
        QStringList paths;
        for (int i = 2; i < argc; ++i) paths << QString::fromLocal8Bit(argv[i]);
        RunLong(paths);
        return 0;
    }
    if (argc != 2) {
        std::fputs("usage: brenvik_ui_bench LOGFILE | --long LOGFILE... | --loads N LOGFILE... | --voyage-log FILE | --voyage LOG [COASTLOG] | --capacity-log FILE\n", stderr);
        return 2;
    }
    Run(QString::fromLocal8Bit(argv[1]));
    return 0;
}
