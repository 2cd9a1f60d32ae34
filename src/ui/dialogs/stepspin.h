#pragma once
// Values chosen from fixed steps: the step rule and the spin control that drives it.
#include <array>
#include <cstdint>
#include <span>

#include <QAbstractSpinBox>
#include <QString>

#include "model/settings.h"

namespace brenvik::ui {

constexpr std::array<std::int32_t, 8> timesteps{1, 5, 20, 60, 300, 1500, 3600, kNever};    // seconds
constexpr std::array<std::int32_t, 8> diststeps{1, 5, 20, 100, 500, 2000, 10000, kNever};  // metres
constexpr std::array<std::int32_t, 5> alarmsteps{0, 1, 2, 3, kNever};                      // stage
constexpr std::array<std::int32_t, 6> pagesteps{20, 50, 100, 200, 500, 1000};             // lines
// Encounters: the CPA limit in metres (0.05 to 5 nautical miles) and the TCPA window in seconds.
constexpr std::array<std::int32_t, 9> cpasteps{93, 185, 370, 556, 926, 1852, 3704, 5556, 9260};
constexpr std::array<std::int32_t, 9> tcpasteps{60, 120, 300, 600, 900, 1200, 1800, 3600, 7200};

// The first step at least as large as value (one past the last when none is), moved by
// direction (-1, 0 or +1), wrapping at both ends. Direction 0 snaps a value onto the table.
std::int32_t StepThreshold(std::span<const std::int32_t> steps, std::int32_t value, int direction);

// "never" for kNever, otherwise the number.
QString ThresholdText(std::int32_t value);

// A spin box whose arrows (and the Up/Down keys, the wheel) report a direction and nothing
// else; its text is set by its owner and typed text is never read.
class StepSpin : public QAbstractSpinBox {
    Q_OBJECT
public:
    explicit StepSpin(QWidget* parent = nullptr);
    void SetText(const QString& text);
    QString Text() const;
    void stepBy(int steps) override;

signals:
    void stepped(int direction);

protected:
    StepEnabled stepEnabled() const override { return StepUpEnabled | StepDownEnabled; }
};

}  // namespace brenvik::ui
