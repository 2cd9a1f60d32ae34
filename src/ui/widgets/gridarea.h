#pragma once
// The grid area below the splitter: the min/max strip over the data grid, and the AIS grid.
// In mode B the data grid takes the upper half and the AIS grid the lower; in N only the data
// grid, in A only the AIS grid. The strip follows the data grid's column widths and sideways
// scrolling, and the data grid follows the strip's scrolling.
#include <QWidget>

#include <vector>

#include "widgets/frozentableview.h"

namespace brenvik::ui {

class GridArea : public QWidget {
    Q_OBJECT
public:
    explicit GridArea(QWidget* parent = nullptr);

    FrozenTableView* dataGrid() const { return data_; }
    FrozenTableView* maxminGrid() const { return strip_; }
    FrozenTableView* aisGrid() const { return ais_; }
    char mode() const { return mode_; }

    void setGridFont(const QFont& f);
    // Shows and hides the grids for a mode letter and lays them out.
    void SetMode(char mode);
    // Column widths of the data grid (the strip follows) and of the AIS grid.
    void SetDataWidths(const std::vector<int>& widths);
    void SetAisWidths(const std::vector<int>& widths);
    // Widths the columns need, frame and vertical scroll bar included.
    int NmeaWidth() const;
    int AisWidth() const;
    void ArrangeGrids();

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    int Extra(const FrozenTableView* v) const;

    FrozenTableView* strip_;
    FrozenTableView* data_;
    FrozenTableView* ais_;
    char mode_ = 'N';
};

}  // namespace brenvik::ui
