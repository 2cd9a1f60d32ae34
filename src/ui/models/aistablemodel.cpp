#include "models/aistablemodel.h"

#include "present/aiscolumns.h"
#include "present/fieldhelp.h"
#include "logtext.h"
#include "models/gridcolours.h"
#include "session.h"

namespace brenvik::ui {

AisTableModel::AisTableModel(Session& s, QObject* parent)
    : QAbstractTableModel(parent), s_(s), format_(s.Format()) {}

int AisTableModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid()) return 0;
    // A vessel without reports narrows the grid to its heading and the blank row.
    const auto shown = s_.aisselected ? static_cast<int>(s_.aisselection.size()) : s_.aisevents.count();
    return shown + 1;
}

int AisTableModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kAisFieldCount; }

int AisTableModel::ReportAt(int row) const {
    if (row < 0) return -1;
    if (!s_.aisselected) return row < s_.aisevents.count() ? row : -1;
    if (row >= static_cast<int>(s_.aisselection.size())) return -1;
    const int pos = s_.aisselection[static_cast<std::size_t>(row)];
    // A selection never outlives its list, but a stale position must not reach the list.
    return pos >= 0 && pos < s_.aisevents.count() ? pos : -1;
}

QVariant AisTableModel::data(const QModelIndex& ix, int role) const {
    if (!ix.isValid()) return {};
    const int col = ix.column();
    switch (role) {
        case Qt::DisplayRole: {
            const int pos = ReportAt(ix.row());
            if (pos < 0) return QString();
            return LogText(aisfields[static_cast<std::size_t>(col)].asstring(s_.aisevents[pos], format_));
        }
        case Qt::BackgroundRole:
            return col == 0 ? colours::Fixed() : colours::kCell;
        case Qt::ForegroundRole:
            return col == 0 ? colours::FixedText() : colours::kCellText;
        case Qt::FontRole:
            return font_;
        case Qt::TextAlignmentRole:
            return static_cast<int>(Qt::AlignLeft | Qt::AlignVCenter);
        default:
            return {};
    }
}

QVariant AisTableModel::headerData(int section, Qt::Orientation o, int role) const {
    if (o != Qt::Horizontal || section < 0 || section >= kAisFieldCount) return {};
    if (role == Qt::DisplayRole) return LogText(aisfields[static_cast<std::size_t>(section)].head);
    if (role == Qt::ToolTipRole) return LogText(AisFieldTip(section, format_));
    if (role == Qt::FontRole) return font_;
    if (role == Qt::TextAlignmentRole) return static_cast<int>(Qt::AlignLeft | Qt::AlignVCenter);
    return {};
}

void AisTableModel::Refresh() {
    beginResetModel();
    format_ = s_.Format();
    endResetModel();
}

}  // namespace brenvik::ui
