#include "dialogs/stepspin.h"

#include <QLineEdit>

namespace brenvik::ui {

std::int32_t StepThreshold(std::span<const std::int32_t> steps, std::int32_t value, int direction) {
    if (steps.empty()) return value;
    const auto n = static_cast<std::ptrdiff_t>(steps.size());
    std::ptrdiff_t i = 0;
    while (i < n && steps[static_cast<std::size_t>(i)] < value) ++i;
    i += direction;
    if (i >= n) i = 0;
    if (i < 0) i = n - 1;
    return steps[static_cast<std::size_t>(i)];
}

QString ThresholdText(std::int32_t value) {
    return value == kNever ? QStringLiteral("never") : QString::number(value);
}

StepSpin::StepSpin(QWidget* parent) : QAbstractSpinBox(parent) {
    lineEdit()->setReadOnly(true);
    setButtonSymbols(UpDownArrows);
    setAccelerated(false);
}

void StepSpin::SetText(const QString& text) { lineEdit()->setText(text); }

QString StepSpin::Text() const { return lineEdit()->text(); }

void StepSpin::stepBy(int steps) {
    const int direction = steps > 0 ? 1 : -1;
    for (int k = 0; k < (steps > 0 ? steps : -steps); ++k) emit stepped(direction);
}

}  // namespace brenvik::ui
