#include "widgets/gridarea.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QStyle>

#include <algorithm>

namespace brenvik::ui {
namespace {

constexpr int kStripHeight = 63;

}  // namespace

GridArea::GridArea(QWidget* parent)
    : QWidget(parent), strip_(new FrozenTableView(this)), data_(new FrozenTableView(this)), ais_(new FrozenTableView(this)) {
    strip_->setObjectName(QStringLiteral("maxmingrid"));
    data_->setObjectName(QStringLiteral("dataGrid"));
    ais_->setObjectName(QStringLiteral("aisgrid"));
    strip_->horizontalHeader()->hide();
    strip_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    strip_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    strip_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    data_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    ais_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    ais_->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    strip_->setToolTip(QString());

    // Scrolling either grid sideways scrolls the other by as much (equal values end the echo).
    connect(data_->horizontalScrollBar(), &QAbstractSlider::valueChanged, strip_->horizontalScrollBar(),
            &QAbstractSlider::setValue);
    connect(strip_->horizontalScrollBar(), &QAbstractSlider::valueChanged, data_->horizontalScrollBar(),
            &QAbstractSlider::setValue);
    // A data-grid column dragged wider or narrower: the strip's column follows at once.
    connect(data_->horizontalHeader(), &QHeaderView::sectionResized, this, [this](int section, int, int size) {
        strip_->setColumnWidth(section, size);
        ArrangeGrids();
    });
}

void GridArea::setGridFont(const QFont& f) {
    for (FrozenTableView* v : {strip_, data_, ais_}) v->setGridFont(f);
}

void GridArea::SetMode(char mode) {
    mode_ = mode;
    ais_->setVisible(mode != 'N');
    data_->setVisible(mode != 'A');
    strip_->setVisible(data_->isVisibleTo(this));
    ArrangeGrids();
}

void GridArea::SetDataWidths(const std::vector<int>& widths) {
    for (std::size_t c = 0; c < widths.size(); ++c) {
        data_->setColumnWidth(static_cast<int>(c), widths[c]);
        strip_->setColumnWidth(static_cast<int>(c), widths[c]);
    }
    ArrangeGrids();
}

void GridArea::SetAisWidths(const std::vector<int>& widths) {
    for (std::size_t c = 0; c < widths.size(); ++c) ais_->setColumnWidth(static_cast<int>(c), widths[c]);
    ArrangeGrids();
}

int GridArea::Extra(const FrozenTableView* v) const {
    return 2 * v->frameWidth() + style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, v) + 1;
}

int GridArea::NmeaWidth() const { return data_->columnsWidth() + Extra(data_); }
int GridArea::AisWidth() const { return ais_->columnsWidth() + Extra(ais_); }

void GridArea::ArrangeGrids() {
    const int width = this->width();
    const int h = mode_ == 'B' ? height() / 2 - 1 : height();
    const int aistop = mode_ == 'B' ? h + 2 : 2;

    const int w = std::min(NmeaWidth(), width - 5);
    const int left = (width - w) / 2 - 2;
    const int datatop = kStripHeight + 1;
    // The strip stops where the data grid's vertical scroll bar begins, so both scroll alike.
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, data_);
    strip_->setGeometry(std::max(left, 0), 0, std::max(w - bar, 0), kStripHeight);
    data_->setGeometry(std::max(left, 0), datatop, w, std::max(h - datatop - 5, 0));

    const int aw = std::min(AisWidth(), width - 5);
    ais_->setGeometry(std::max((width - aw) / 2 - 2, 0), aistop, aw, std::max(h - 5, 0));
}

void GridArea::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    ArrangeGrids();
}

}  // namespace brenvik::ui
