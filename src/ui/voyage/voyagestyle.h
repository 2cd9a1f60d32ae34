#pragma once
// The voyage view's colours, in one place for the map, the strips and the exports.
#include <QColor>

namespace brenvik::ui::style {

inline const QColor kSea{198, 222, 240};
inline const QColor kLand{236, 228, 204};
inline const QColor kGraticule{140, 160, 180, 150};
inline const QColor kLabelBack{255, 255, 255, 200};
inline const QColor kText{30, 30, 30};
inline const QColor kTrack{20, 50, 140};
inline const QColor kNoValue{120, 120, 120};
inline const QColor kAlarm{210, 20, 20};
inline const QColor kVessel{110, 80, 150};
inline const QColor kVesselFill{200, 180, 235};
inline const QColor kCursor{220, 0, 140};
inline const QColor kEncounter{230, 100, 0};  // the chosen vessel's track and the closest approach
inline const QColor kStripBack{252, 252, 252};
inline const QColor kStripLine{20, 80, 160};
inline const QColor kSpan{120, 170, 230, 70};

}  // namespace brenvik::ui::style
