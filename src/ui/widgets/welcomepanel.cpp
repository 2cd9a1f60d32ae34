#include "widgets/welcomepanel.h"

#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

#include <cmath>
#include <numbers>

namespace brenvik::ui {
namespace {

// One point of the rose: a kite from the centre, its dark half and its light half.
void RosePoint(QPainter& p, double angle, double length, double width, const QColor& dark, const QColor& light) {
    const double a = angle * std::numbers::pi / 180.0;
    const QPointF tip(length * std::sin(a), -length * std::cos(a));
    const QPointF left(width * std::sin(a - std::numbers::pi / 2), -width * std::cos(a - std::numbers::pi / 2));
    const QPointF right(-left.x(), -left.y());
    p.setBrush(dark);
    p.drawPolygon(QPolygonF({QPointF(0, 0), left, tip}));
    p.setBrush(light);
    p.drawPolygon(QPolygonF({QPointF(0, 0), tip, right}));
}

}  // namespace

WelcomePicture::WelcomePicture(QWidget* parent) : QWidget(parent) { setFixedSize(265, 256); }

void WelcomePicture::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = rect().adjusted(4, 4, -4, -4);

    // The sea: a deep blue disc with a lighter rim.
    QRadialGradient sea(r.center(), r.width() / 2);
    sea.setColorAt(0, QColor(44, 98, 150));
    sea.setColorAt(1, QColor(18, 52, 92));
    p.setPen(QPen(QColor(200, 210, 220), 3));
    p.setBrush(sea);
    p.drawEllipse(r);

    // Swell lines across the disc.
    p.save();
    QPainterPath disc;
    disc.addEllipse(r);
    p.setClipPath(disc);
    p.setPen(QPen(QColor(255, 255, 255, 40), 2));
    p.setBrush(Qt::NoBrush);
    for (double y = r.top() + 20; y < r.bottom(); y += 22) {
        QPainterPath wave;
        wave.moveTo(r.left(), y);
        for (double x = r.left(); x < r.right(); x += 40)
            wave.cubicTo(x + 10, y - 6, x + 30, y + 6, x + 40, y);
        p.drawPath(wave);
    }
    p.restore();

    // Degree ticks every 10 degrees on the rim.
    p.translate(r.center());
    const double radius = r.width() / 2 - 8;
    p.setPen(QPen(QColor(230, 236, 240), 1.5));
    for (int d = 0; d < 360; d += 10) {
        const double a = d * std::numbers::pi / 180.0;
        const double inner = d % 90 == 0 ? radius - 14 : radius - 7;
        p.drawLine(QPointF(inner * std::sin(a), -inner * std::cos(a)), QPointF(radius * std::sin(a), -radius * std::cos(a)));
    }

    // The rose: four long points and four short ones.
    p.setPen(QPen(QColor(20, 30, 40), 1));
    for (int d = 45; d < 360; d += 90) RosePoint(p, d, radius * 0.55, 12, QColor(150, 160, 170), QColor(235, 238, 240));
    for (int d = 0; d < 360; d += 90)
        RosePoint(p, d, radius - 18, 18, d == 0 ? QColor(190, 40, 40) : QColor(120, 130, 140),
                  d == 0 ? QColor(240, 120, 110) : QColor(245, 246, 248));
    p.setBrush(QColor(245, 200, 60));
    p.drawEllipse(QPointF(0, 0), 6, 6);

    QFont f = font();
    f.setBold(true);
    f.setPixelSize(16);
    p.setFont(f);
    p.setPen(QColor(250, 250, 250));
    p.drawText(QRectF(-12, -radius - 2, 24, 20), Qt::AlignCenter, QStringLiteral("N"));
}

WelcomePanel::WelcomePanel(QWidget* parent)
    : QWidget(parent), label_(new QLabel(QStringLiteral("Welcome to Brenvik - Version 1.1"), this)) {
    setObjectName(QStringLiteral("welcomepanel"));
    setFixedSize(400, 400);
    label_->setObjectName(QStringLiteral("lblwelcome"));
    label_->setAlignment(Qt::AlignCenter);
    QFont f = label_->font();
    f.setPixelSize(16);
    f.setBold(true);
    label_->setFont(f);
    auto* layout = new QVBoxLayout(this);
    layout->addStretch(1);
    layout->addWidget(new WelcomePicture(this), 0, Qt::AlignHCenter);
    layout->addSpacing(16);
    layout->addWidget(label_);
    layout->addStretch(1);
}

}  // namespace brenvik::ui
