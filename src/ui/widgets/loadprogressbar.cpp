#include "widgets/loadprogressbar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include <algorithm>
#include <cmath>

#include "present/progresstext.h"

namespace brenvik::ui {
namespace {

constexpr int kSteps = 1000;  // the bar's range: bytes in tenths of a percent

}  // namespace

LoadProgressBar::LoadProgressBar(QWidget* parent)
    : QWidget(parent), bar_(new QProgressBar), label_(new QLabel), cancel_(new QPushButton(QStringLiteral("Cancel"))) {
    setObjectName(QStringLiteral("LoadProgress"));
    bar_->setRange(0, kSteps);
    bar_->setFixedWidth(180);
    bar_->setToolTip(QStringLiteral("Bytes of the file read so far"));
    cancel_->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    cancel_->setToolTip(QStringLiteral("Stop reading and show what was read so far (Esc)"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(label_);
    layout->addWidget(bar_);
    layout->addWidget(cancel_);
}

void LoadProgressBar::Show(const TLoadProgress& p, double secs) {
    const double part = p.totalbytes > 0 ? static_cast<double>(p.bytes) / static_cast<double>(p.totalbytes) : 0;
    bar_->setValue(static_cast<int>(std::lround(std::clamp(part, 0.0, 1.0) * kSteps)));
    if (cancel_->isEnabled()) label_->setText(LoadProgressText(p, secs));
}

void LoadProgressBar::SetCancelling() {
    cancel_->setEnabled(false);  // once is enough
    label_->setText(QStringLiteral("Cancelling..."));
}

void LoadProgressBar::Reset() {
    bar_->setValue(0);
    label_->clear();
    cancel_->setEnabled(true);
}

QString LoadProgressText(const TLoadProgress& p, double secs) {
    QString text = QStringLiteral("%L1 lines").arg(p.lines);
    if (secs <= 0 || p.lines <= 0) return text;
    text += QStringLiteral(" - %L1 lines/s").arg(std::llround(p.lines / secs));
    if (const auto left = SecondsLeft(p, secs)) text += QStringLiteral(" - %1 left").arg(QString::fromStdString(TimeLeftText(*left)));
    return text;
}

}  // namespace brenvik::ui
