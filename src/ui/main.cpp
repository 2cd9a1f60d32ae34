// brenvik: the desktop program.
//   brenvik [LOGFILE]              opens LOGFILE once the window is shown
//   brenvik --screenshot DIR LOG   (hidden) writes pictures of the main window into DIR
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
    if (args.size() == 3 && args[0] == QStringLiteral("--screenshot"))
        return brenvik::ui::TakeScreenshots(args[1], QFileInfo(args[2]).absoluteFilePath());

    brenvik::ui::MainWindow w;
    if (!args.isEmpty()) w.setStartupFile(QFileInfo(args.front()).absoluteFilePath());
    w.show();
    return QApplication::exec();
}
