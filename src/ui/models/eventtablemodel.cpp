#include "models/eventtablemodel.h"

#include <exception>

#include "logtext.h"
#include "models/gridcolours.h"
#include "present/fieldhelp.h"
#include "present/fieldtext.h"
#include "session.h"

namespace brenvik::ui {

namespace {
constexpr int kAlignLeft = Qt::AlignLeft | Qt::AlignVCenter;
}  // namespace

EventTableModel::EventTableModel(Session& s, const MarkState& marks, QObject* parent)
    : QAbstractTableModel(parent), s_(s), marks_(marks), format_(s.Format()) {}

int EventTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : s_.events.count() + 1;
}

int EventTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(s_.fields.shownfields.size());
}

int EventTableModel::EventAt(int row) const { return row >= 0 && row < s_.events.count() ? row : -1; }

QString EventTableModel::CellText(int field, int gridrow) const {
    if (gridrow == 0) return LogText(GridHeadText(s_.fields, field));
    const int ev = gridrow - 1;
    if (ev < 0 || ev >= s_.events.count()) return {};
    try {
        return LogText(brenvik::CellText(s_.events, field, ev, format_));
    } catch (const std::exception&) {
        if (failed_.insert(field).second) emit cellTextFailed(field);
        return {};
    }
}

QVariant EventTableModel::data(const QModelIndex& ix, int role) const {
    // The core rebuilds the shown fields at the end of a load, before the model is reset.
    if (!ix.isValid() || ix.column() >= columnCount()) return {};
    const int col = ix.column();
    const int gridrow = ix.row() + 1;
    const bool inside = marks_.Inside(gridrow) && ix.row() < s_.events.count();
    switch (role) {
        case Qt::DisplayRole:
            return CellText(s_.fields.shownfields[static_cast<std::size_t>(col)], gridrow);
        case Qt::BackgroundRole:
            if (col == 0) return colours::Fixed();
            return marks_.markactive && inside ? colours::kMarked : colours::kCell;
        case Qt::ForegroundRole:
            if (col == 0) return inside ? colours::FixedText() : colours::kOutside;
            return colours::kCellText;
        case Qt::FontRole:
            return col == 0 && inside && marks_.markactive ? bold_ : font_;
        case Qt::TextAlignmentRole:
            return kAlignLeft;
        default:
            return {};
    }
}

QVariant EventTableModel::headerData(int section, Qt::Orientation o, int role) const {
    if (o != Qt::Horizontal || section < 0 || section >= columnCount()) return {};
    switch (role) {
        case Qt::DisplayRole:
            return CellText(s_.fields.shownfields[static_cast<std::size_t>(section)], 0);
        case Qt::ToolTipRole: {
            const int field = s_.fields.shownfields[static_cast<std::size_t>(section)];
            return LogText(EventFieldTip(field, GridHeadText(s_.fields, field), format_));
        }
        case Qt::FontRole:
            return section == 0 && marks_.markactive ? bold_ : font_;
        case Qt::TextAlignmentRole:
            return kAlignLeft;
        default:
            return {};
    }
}

void EventTableModel::Refresh() {
    beginResetModel();
    format_ = s_.Format();
    failed_.clear();
    endResetModel();
}

void EventTableModel::MarksChanged() {
    if (rowCount() > 0 && columnCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1),
                         {Qt::BackgroundRole, Qt::ForegroundRole, Qt::FontRole});
    if (columnCount() > 0) emit headerDataChanged(Qt::Horizontal, 0, 0);
}

void EventTableModel::setGridFont(const QFont& f) {
    font_ = f;
    bold_ = f;
    bold_.setBold(true);
}

}  // namespace brenvik::ui
