#include "widgets/celldelegate.h"

#include <QPainter>

namespace brenvik::ui {

void CellDelegate::paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& ix) const {
    const bool selected = option.state & QStyle::State_Selected;
    const QVariant background = ix.data(Qt::BackgroundRole);
    if (selected) p->fillRect(option.rect, option.palette.brush(QPalette::Highlight));
    else if (background.isValid()) p->fillRect(option.rect, background.value<QColor>());
    const QVariant font = ix.data(Qt::FontRole);
    p->setFont(font.isValid() ? font.value<QFont>() : option.font);
    const QVariant colour = ix.data(Qt::ForegroundRole);
    p->setPen(selected ? option.palette.color(QPalette::HighlightedText)
                       : (colour.isValid() ? colour.value<QColor>() : option.palette.color(QPalette::Text)));
    p->drawText(option.rect.adjusted(2, 0, -1, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                ix.data(Qt::DisplayRole).toString());
}

}  // namespace brenvik::ui
