#pragma once
// The status bar's account of a load that takes a while: the bytes read as a bar, the lines,
// lines per second and time left as text, and a Cancel button.
#include <QWidget>

#include "platform.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace brenvik::ui {

class LoadProgressBar : public QWidget {
    Q_OBJECT
public:
    explicit LoadProgressBar(QWidget* parent = nullptr);

    // Shows p after secs of reading (box waits left out).
    void Show(const TLoadProgress& p, double secs);
    // After Cancel: the reading stops at its next step.
    void SetCancelling();
    // Ready for the next load.
    void Reset();
    QProgressBar* bar() const { return bar_; }
    QLabel* label() const { return label_; }
    QPushButton* cancelButton() const { return cancel_; }

private:
    QProgressBar* bar_;
    QLabel* label_;
    QPushButton* cancel_;
};

// "1,234,567 lines - 2,345,678 lines/s - 12 s left": the rate and time left once they can be told.
QString LoadProgressText(const TLoadProgress& p, double secs);

}  // namespace brenvik::ui
