#include "dialogs/aboutbox.h"

#include <cmath>
#include <numbers>

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include "help/helpviewer.h"
#include "helptopics.h"

namespace brenvik::ui {

QPixmap AboutPicture() {
    QPixmap pm(128, 128);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF c(64, 58);
    // The card: a ring with ticks every 30 degrees.
    p.setPen(QPen(QColor(20, 60, 110), 3));
    p.setBrush(QColor(235, 243, 250));
    p.drawEllipse(c, 50, 50);
    p.setPen(QPen(QColor(20, 60, 110), 2));
    for (int deg = 0; deg < 360; deg += 30) {
        const double a = deg * std::numbers::pi / 180.0;
        const double inner = deg % 90 == 0 ? 38 : 43;
        p.drawLine(c + QPointF(inner * std::sin(a), -inner * std::cos(a)), c + QPointF(48 * std::sin(a), -48 * std::cos(a)));
    }
    // The needle: north red, south grey.
    QPainterPath north;
    north.moveTo(c + QPointF(0, -36));
    north.lineTo(c + QPointF(7, 0));
    north.lineTo(c + QPointF(-7, 0));
    north.closeSubpath();
    QPainterPath south;
    south.moveTo(c + QPointF(0, 36));
    south.lineTo(c + QPointF(7, 0));
    south.lineTo(c + QPointF(-7, 0));
    south.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(200, 40, 40));
    p.drawPath(north);
    p.setBrush(QColor(120, 130, 140));
    p.drawPath(south);
    p.setBrush(QColor(20, 60, 110));
    p.drawEllipse(c, 3, 3);
    // The sea below it.
    QPainterPath wave;
    wave.moveTo(0, 112);
    for (int x = 0; x <= 128; x += 4) wave.lineTo(x, 112 + 5 * std::sin(x * std::numbers::pi / 16));
    wave.lineTo(128, 128);
    wave.lineTo(0, 128);
    wave.closeSubpath();
    p.setBrush(QColor(40, 110, 170, 200));
    p.drawPath(wave);
    return pm;
}

AboutBox::AboutBox(QWidget* parent) : QDialog(parent) {
    showhelp = [](int context) { ShowHelpTopic(context); };
    setWindowTitle(QStringLiteral("About Brenvik"));
    resize(462, 364);

    Label1 = new QLabel(QStringLiteral("Brenvik"), this);
    QFont big(QStringLiteral("Tahoma"));
    big.setPixelSize(32);
    Label1->setFont(big);
    Image1 = new QLabel(this);
    Image1->setFixedSize(128, 128);
    Image1->setPixmap(AboutPicture());
    lblversion = new QLabel(this);
    Label3 = new QLabel(QStringLiteral("A Utility program for analysing NMEA log files and transfering the data "
                                       "to CSV/KML or GPS files"),
                        this);
    Label3->setWordWrap(true);
    QFont bold = Label3->font();
    bold.setBold(true);
    Label3->setFont(bold);
    OKbtn = new QPushButton(QStringLiteral("OK"), this);
    OKbtn->setDefault(true);
    BitBtn2 = new QPushButton(QStringLiteral("Help"), this);
    connect(OKbtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(BitBtn2, &QPushButton::clicked, this, [this] {
        if (showhelp) showhelp(help::About);
    });

    auto* top = new QHBoxLayout;
    top->addWidget(Image1);
    auto* names = new QVBoxLayout;
    names->addWidget(Label1);
    names->addWidget(lblversion);
    names->addStretch();
    top->addLayout(names, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKbtn);
    buttons->addWidget(BitBtn2);
    auto* v = new QVBoxLayout(this);
    v->addLayout(top);
    v->addWidget(Label3);
    v->addStretch();
    v->addLayout(buttons);
}

void AboutBox::showEvent(QShowEvent* event) {
    lblversion->setText(QStringLiteral("Version 1.1"));
    QDialog::showEvent(event);
}

void ShowAboutBox(QWidget* parent) {
    AboutBox box(parent);
    box.exec();
}

}  // namespace brenvik::ui
