#pragma once
// The min/max strip above the data grid: "Minimum" and "Maximum" rows, one column per shown
// field, each cell the range text of that field's gathered range.
#include <QAbstractTableModel>
#include <QFont>

#include <set>

#include "present/format.h"

namespace brenvik {
class Session;
}

namespace brenvik::ui {

class MaxMinModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit MaxMinModel(Session& s, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& ix, int role = Qt::DisplayRole) const override;

    void Refresh();
    void setGridFont(const QFont& f) { font_ = f; }

signals:
    void rangeTextFailed(int field) const;

private:
    Session& s_;
    TFormat format_;
    QFont font_;
    mutable std::set<int> failed_;
};

}  // namespace brenvik::ui
