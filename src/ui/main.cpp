// brenvik: the desktop program.
#include <QApplication>

#include "mainwindow.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    brenvik::ui::MainWindow w;
    w.show();
    return QApplication::exec();
}
