#include "screenshots.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>
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
#include "textviews.h"

namespace brenvik::ui {
namespace {

bool Grab(QWidget& w, const QString& folder, const QString& name) {
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

    // The dialogs, shown without their modal loops.
    OptionsDialog* options = w.dialogs()->options();
    options->FormShow();
    options->show();
    const char* pages[] = {"2-options-general", "3-options-formats", "4-options-fields", "5-options-events"};
    for (int page = 0; page < 4; ++page) {
        options->pages->setCurrentIndex(page);
        ok = Grab(*options, folder, QString::fromLatin1(pages[page])) && ok;
    }
    options->hide();
    const std::unique_ptr<QFileDialog> save(MakeFileDialog(SaveRequest(w.session()), true, &w));
    save->show();
    ok = Grab(*save, folder, QStringLiteral("6-save-dialog")) && ok;
    save->hide();
    AboutBox about(&w);
    about.show();
    ok = Grab(about, folder, QStringLiteral("7-about")) && ok;
    return ok ? 0 : 1;
}

}  // namespace brenvik::ui
