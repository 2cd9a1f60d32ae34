#include "screenshots.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QTextStream>

#include "gridcommands.h"
#include "filecommands.h"
#include "mainwindow.h"
#include "textviews.h"

namespace brenvik::ui {
namespace {

bool Grab(MainWindow& w, const QString& folder, const QString& name) {
    QApplication::processEvents();
    const QString path = QDir(folder).filePath(name + QStringLiteral(".png"));
    const bool ok = w.grab().save(path);
    QTextStream(stdout) << (ok ? "wrote " : "could not write ") << path << '\n';
    return ok;
}

}  // namespace

int TakeScreenshots(const QString& folder, const QString& logfile) {
    QDir().mkpath(folder);
    MainWindow w;
    w.show();
    QApplication::processEvents();
    bool ok = Grab(w, folder, QStringLiteral("0-welcome"));
    if (!w.files()->OpenPath(logfile)) return 1;
    w.grids()->SwitchGridMode('B');
    ok = Grab(w, folder, QStringLiteral("1-report-both-grids")) && ok;
    return ok ? 0 : 1;
}

}  // namespace brenvik::ui
