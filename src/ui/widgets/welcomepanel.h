#pragma once
// The welcome panel shown until a log is read: a compass rose over a sea, and the welcome line.
#include <QWidget>

class QLabel;

namespace brenvik::ui {

class WelcomePicture : public QWidget {
public:
    explicit WelcomePicture(QWidget* parent = nullptr);
    QSize sizeHint() const override { return {265, 256}; }

protected:
    void paintEvent(QPaintEvent* e) override;
};

class WelcomePanel : public QWidget {
public:
    explicit WelcomePanel(QWidget* parent = nullptr);
    QLabel* label() const { return label_; }

private:
    QLabel* label_;
};

}  // namespace brenvik::ui
