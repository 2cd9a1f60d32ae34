#pragma once
// Colours of the grids' cells: data cells black on white, the marked range light yellow, the
// fixed column in the theme's colour with its text black or grey.
#include <QApplication>
#include <QColor>
#include <QPalette>

namespace brenvik::ui::colours {

inline QColor Fixed() { return QApplication::palette().color(QPalette::Button); }
inline QColor FixedText() { return QApplication::palette().color(QPalette::ButtonText); }
inline const QColor kCellText{Qt::black};
inline const QColor kCell{Qt::white};
inline const QColor kMarked{255, 255, 153};
inline const QColor kOutside{112, 112, 112};

}  // namespace brenvik::ui::colours
