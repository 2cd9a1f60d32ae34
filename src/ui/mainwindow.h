#pragma once
// The main window: layout and wiring only.
#include <QMainWindow>

namespace brenvik::ui {

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);
};

}  // namespace brenvik::ui
