#pragma once
// A grid whose first column does not scroll sideways: a second view laid over the first, showing
// only column 0, sharing the model and the selection. Rows are 19 px; rows scroll by whole rows,
// columns by pixels.
#include <QTableView>

namespace brenvik::ui {

class FrozenTableView : public QTableView {
    Q_OBJECT
public:
    explicit FrozenTableView(QWidget* parent = nullptr);

    void setModel(QAbstractItemModel* model) override;
    QTableView* frozenView() const { return frozen_; }
    void setGridFont(const QFont& f);
    // The first grid row shown below the heading (0 = the first model row).
    int topRow() const;
    void setTopRow(int row);
    // Sum of the column widths.
    int columnsWidth() const;
    // Whether every mouse button's release is a click (the AIS grid); otherwise the left only.
    void setClickAnyButton(bool on) { anybutton_ = on; }

signals:
    // A click (mouse button released) on a cell of either view.
    void cellClicked(const QModelIndex& ix);
    // The keyboard moved the current cell.
    void cellKeyed(const QModelIndex& ix);

protected:
    void resizeEvent(QResizeEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void scrollTo(const QModelIndex& ix, ScrollHint hint = EnsureVisible) override;
    void updateGeometries() override;

private:
    void SyncFrozenColumns();
    void UpdateFrozenGeometry();

    QTableView* frozen_;
    bool anybutton_ = false;
};

}  // namespace brenvik::ui
