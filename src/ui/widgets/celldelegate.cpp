#include "widgets/celldelegate.h"

#include <QAbstractItemView>
#include <QItemSelectionModel>
#include <QPainter>

namespace brenvik::ui {
namespace {

bool InSelectedRow(const QStyleOptionViewItem& option, const QModelIndex& ix) {
    const auto* view = qobject_cast<const QAbstractItemView*>(option.widget);
    if (view == nullptr || view->selectionModel() == nullptr) return false;
    const QModelIndex current = view->currentIndex();
    return current.isValid() && current.row() == ix.row() && view->selectionModel()->isSelected(current);
}

}  // namespace

void CellDelegate::paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& ix) const {
    const bool selected = option.state & QStyle::State_Selected;
    const QVariant background = ix.data(Qt::BackgroundRole);
    if (selected) p->fillRect(option.rect, option.palette.brush(QPalette::Highlight));
    else if (background.isValid()) p->fillRect(option.rect, background.value<QColor>());
    // The rest of the selected cell's row in a light wash of the selection colour, over the
    // marked range's yellow, so the row can be followed across the grid.
    if (!selected && InSelectedRow(option, ix)) {
        QColor wash = option.palette.color(QPalette::Highlight);
        wash.setAlpha(70);
        p->fillRect(option.rect, wash);
    }
    const QVariant font = ix.data(Qt::FontRole);
    p->setFont(font.isValid() ? font.value<QFont>() : option.font);
    const QVariant colour = ix.data(Qt::ForegroundRole);
    p->setPen(selected ? option.palette.color(QPalette::HighlightedText)
                       : (colour.isValid() ? colour.value<QColor>() : option.palette.color(QPalette::Text)));
    p->drawText(option.rect.adjusted(2, 0, -1, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                ix.data(Qt::DisplayRole).toString());
}

}  // namespace brenvik::ui
