#pragma once
// The data grid: one row per event and a blank last row, one column per shown field. Every
// cell is computed in data() through the field catalogue; nothing is stored.
#include <QAbstractTableModel>
#include <QFont>

#include <set>

#include "models/markstate.h"
#include "present/format.h"

namespace brenvik {
class Session;
}

namespace brenvik::ui {

class EventTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    EventTableModel(Session& s, const MarkState& marks, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& ix, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation o, int role = Qt::DisplayRole) const override;

    // After a load, a change of the shown fields or of the display settings.
    void Refresh();
    // After a marking command: only colours and fonts change.
    void MarksChanged();
    void setGridFont(const QFont& f);

    // The cell text as the grid shows it: grid row 0 is the heading, row r the event r - 1.
    QString CellText(int field, int gridrow) const;
    // The event shown in a model row, or -1 for the blank last row.
    int EventAt(int row) const;

signals:
    // A cell text could not be produced; once per field until the next Refresh.
    void cellTextFailed(int field) const;

private:
    Session& s_;
    const MarkState& marks_;
    TFormat format_;
    QFont font_, bold_;
    mutable std::set<int> failed_;
};

}  // namespace brenvik::ui
