#include "models/maxminmodel.h"

#include <exception>

#include "logtext.h"
#include "models/gridcolours.h"
#include "present/fieldtext.h"
#include "session.h"

namespace brenvik::ui {

MaxMinModel::MaxMinModel(Session& s, QObject* parent) : QAbstractTableModel(parent), s_(s), format_(s.Format()) {}

int MaxMinModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 2; }

int MaxMinModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(s_.fields.shownfields.size());
}

QVariant MaxMinModel::data(const QModelIndex& ix, int role) const {
    if (!ix.isValid()) return {};
    const int col = ix.column();
    switch (role) {
        case Qt::DisplayRole: {
            if (col == 0) return ix.row() == 0 ? QStringLiteral("Minimum") : QStringLiteral("Maximum");
            const int field = s_.fields.shownfields[static_cast<std::size_t>(col)];
            const Trange& r = s_.fields.fields[static_cast<std::size_t>(field)].range;
            try {
                return LogText(RangeText(field, ix.row() == 0 ? r.min : r.max, format_));
            } catch (const std::exception&) {
                if (failed_.insert(field).second) emit rangeTextFailed(field);
                return QString();
            }
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

void MaxMinModel::Refresh() {
    beginResetModel();
    format_ = s_.Format();
    failed_.clear();
    endResetModel();
}

}  // namespace brenvik::ui
