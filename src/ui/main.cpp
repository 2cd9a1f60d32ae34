// brenvik: the desktop program.
//   brenvik [LOGFILE...]           opens LOGFILE (several: one voyage) once the window is shown
//   brenvik --help | --version     prints and ends, without a display
//   brenvik --screenshot DIR LOG [VOYAGELOG...]   (hidden) writes pictures of the main window into
//                                  DIR, and of the voyage pane on each VOYAGELOG too
#include <QApplication>
#include <QFileInfo>
#include <QStringList>
#include <cstdio>
#include <cstring>

#include <string>
#include <vector>

#include "logtext.h"
#include "mainwindow.h"
#include "model/logfiles.h"
#include "screenshots.h"

namespace {

const char kUsage[] =
    "Usage: brenvik [options] [LOGFILE...]\n"
    "Opens NMEA 0183 and AIS logs in Brenvik's main window: events, AIS reports, vessels and\n"
    "the summary report, with CSV, KML and GPS text exports. LOGFILE is opened once the window\n"
    "is shown; without it the last log is reopened when the settings ask for that. Several\n"
    "files, or a folder (its *.txt, *.log and *.nmea files), are read as one voyage, in the\n"
    "order of their first times.\n"
    "\n"
    "Options:\n"
    "  --help                 this text\n"
    "  --version              the program's name and version\n"
    "\n"
    "Qt's own options, such as -platform offscreen or -style NAME, are accepted too.\n";

}  // namespace

int main(int argc, char* argv[]) {
    // Answered before the application object exists, so they need no display (help2man,
    // scripts and packaging checks run them on machines without one).
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0) return std::fputs(kUsage, stdout) < 0 ? 1 : 0;
        if (std::strcmp(argv[i], "--version") == 0) return std::puts("brenvik " BRENVIK_VERSION) < 0 ? 1 : 0;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Brenvik"));
    QStringList args = QApplication::arguments();
    args.removeFirst();
    if (args.size() >= 3 && args[0] == QStringLiteral("--screenshot")) {
        QStringList voyagelogs;
        for (qsizetype i = 3; i < args.size(); ++i) voyagelogs << QFileInfo(args[i]).absoluteFilePath();
        return brenvik::ui::TakeScreenshots(args[1], QFileInfo(args[2]).absoluteFilePath(), voyagelogs);
    }

    brenvik::ui::MainWindow w;
    if (!args.isEmpty()) {
        std::vector<std::string> paths;
        for (const QString& a : args) paths.push_back(brenvik::ui::CoreText(QFileInfo(a).absoluteFilePath()));
        w.setStartupFile(brenvik::ui::LogText(brenvik::VoyageEntry(paths)));
    }
    w.show();
    return QApplication::exec();
}
