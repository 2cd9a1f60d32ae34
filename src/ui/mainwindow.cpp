#include "mainwindow.h"

namespace brenvik::ui {

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
    setWindowTitle(QStringLiteral("Brenvik"));
}

}  // namespace brenvik::ui
