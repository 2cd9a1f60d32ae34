#pragma once
// Draws a grid cell the plain way: its background, then its text 2 px in from the left,
// without the eliding text layout of the default delegate, which a full page of a 23-column
// grid cannot afford.
#include <QStyledItemDelegate>

namespace brenvik::ui {

class CellDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& ix) const override;
};

}  // namespace brenvik::ui
