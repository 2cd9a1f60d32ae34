#pragma once
// The AIS grid: one row per report shown (all, or the selected vessel's) and a blank last row,
// the 13 columns of the AIS catalogue. Cells are computed in data().
#include <QAbstractTableModel>
#include <QFont>

#include "present/format.h"

namespace brenvik {
class Session;
}

namespace brenvik::ui {

class AisTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit AisTableModel(Session& s, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& ix, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation o, int role = Qt::DisplayRole) const override;

    // After a load, a new selection or a change of the display settings.
    void Refresh();
    void setGridFont(const QFont& f) { font_ = f; }

    // Position in aisevents of the report shown in a model row; -1 when the row shows none.
    int ReportAt(int row) const;

private:
    Session& s_;
    TFormat format_;
    QFont font_;
};

}  // namespace brenvik::ui
