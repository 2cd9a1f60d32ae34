#pragma once
// The About box: name, version and what the program is for. Lives only while shown.
#include <functional>

#include <QDialog>

class QLabel;
class QPushButton;

namespace brenvik::ui {

class AboutBox : public QDialog {
    Q_OBJECT
public:
    explicit AboutBox(QWidget* parent = nullptr);

    // Shows a help context; tests replace it.
    std::function<void(int)> showhelp;

    QLabel* Label1 = nullptr;      // the name
    QLabel* Image1 = nullptr;      // the picture
    QLabel* lblversion = nullptr;
    QLabel* Label3 = nullptr;      // the description
    QPushButton* OKbtn = nullptr;
    QPushButton* BitBtn2 = nullptr;  // Help

protected:
    void showEvent(QShowEvent* event) override;
};

// The About picture, 128 x 128: a compass card over a wave.
QPixmap AboutPicture();

// mnuAboutClick: the box, shown modally and released when it closes.
void ShowAboutBox(QWidget* parent);

}  // namespace brenvik::ui
