// brenvik: the desktop program.
//   brenvik [LOGFILE]              opens LOGFILE once the window is shown
//   brenvik --screenshot DIR LOG [VOYAGELOG...]   (hidden) writes pictures of the main window into
//                                  DIR, and of the voyage pane on each VOYAGELOG too
#include <QApplication>
#include <QFileInfo>
#include <QStringList>

#include "mainwindow.h"
#include "screenshots.h"

int main(int argc, char* argv[]) {
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
    if (!args.isEmpty()) w.setStartupFile(QFileInfo(args.front()).absoluteFilePath());
    w.show();
    return QApplication::exec();
}
