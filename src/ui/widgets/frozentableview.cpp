#include "widgets/frozentableview.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>

#include "widgets/celldelegate.h"

namespace brenvik::ui {
namespace {

constexpr int kRowHeight = 19;

void SetUpRows(QTableView* v) {
    v->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    v->verticalHeader()->setMinimumSectionSize(kRowHeight);
    v->verticalHeader()->setDefaultSectionSize(kRowHeight);
    v->verticalHeader()->hide();
    v->horizontalHeader()->setMinimumHeight(kRowHeight + 2);
    v->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    v->horizontalHeader()->setHighlightSections(false);
    v->horizontalHeader()->setSectionsClickable(false);
    v->setSelectionMode(QAbstractItemView::SingleSelection);
    v->setEditTriggers(QAbstractItemView::NoEditTriggers);
    v->setWordWrap(false);
    v->setTextElideMode(Qt::ElideNone);
    v->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
}

}  // namespace

FrozenTableView::FrozenTableView(QWidget* parent) : QTableView(parent), frozen_(new QTableView(this)) {
    SetUpRows(this);
    setItemDelegate(new CellDelegate(this));
    frozen_->setItemDelegate(new CellDelegate(frozen_));
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    SetUpRows(frozen_);
    // A click on the fixed column gives the keyboard to the grid, as a click elsewhere does.
    frozen_->setFocusPolicy(Qt::ClickFocus);
    frozen_->setFocusProxy(this);
    frozen_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    frozen_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    frozen_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    frozen_->setFrameShape(QFrame::NoFrame);
    viewport()->stackUnder(frozen_);

    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this](int section, int, int size) {
        if (section != 0) return;
        frozen_->setColumnWidth(0, size);
        UpdateFrozenGeometry();
    });
    connect(frozen_->verticalScrollBar(), &QAbstractSlider::valueChanged, verticalScrollBar(),
            &QAbstractSlider::setValue);
    connect(verticalScrollBar(), &QAbstractSlider::valueChanged, frozen_->verticalScrollBar(),
            &QAbstractSlider::setValue);
    connect(this, &QAbstractItemView::clicked, this, &FrozenTableView::cellClicked);
    connect(frozen_, &QAbstractItemView::clicked, this, &FrozenTableView::cellClicked);
    viewport()->installEventFilter(this);
    frozen_->viewport()->installEventFilter(this);
    frozen_->show();
}

void FrozenTableView::keyPressEvent(QKeyEvent* e) {
    const QModelIndex before = currentIndex();
    QTableView::keyPressEvent(e);
    if (currentIndex().isValid() && currentIndex() != before) emit cellKeyed(currentIndex());
}

bool FrozenTableView::eventFilter(QObject* watched, QEvent* e) {
    // The views report clicks of the left button; the other buttons' releases come from here.
    if (anybutton_ && e->type() == QEvent::MouseButtonRelease) {
        const auto* me = static_cast<QMouseEvent*>(e);
        QTableView* view = watched == frozen_->viewport() ? frozen_ : this;
        if (me->button() != Qt::LeftButton) {
            const QModelIndex ix = view->indexAt(me->position().toPoint());
            if (ix.isValid()) emit cellClicked(ix);
        }
    }
    return QTableView::eventFilter(watched, e);
}

void FrozenTableView::setModel(QAbstractItemModel* model) {
    QTableView::setModel(model);
    frozen_->setModel(model);
    frozen_->setSelectionModel(selectionModel());
    // The selected cell's whole row is drawn washed: a move repaints the rows it leaves.
    const auto repaint = [this] {
        viewport()->update();
        frozen_->viewport()->update();
    };
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this, repaint);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, repaint);
    connect(model, &QAbstractItemModel::modelReset, this, &FrozenTableView::SyncFrozenColumns);
    connect(model, &QAbstractItemModel::columnsInserted, this, &FrozenTableView::SyncFrozenColumns);
    SyncFrozenColumns();
}

void FrozenTableView::setGridFont(const QFont& f) {
    setFont(f);
    frozen_->setFont(f);
    horizontalHeader()->setFont(f);
    frozen_->horizontalHeader()->setFont(f);
}

void FrozenTableView::SyncFrozenColumns() {
    if (model() == nullptr) return;
    const int n = model()->columnCount();
    for (int c = 0; c < n; ++c) frozen_->setColumnHidden(c, c != 0);
    if (n > 0) frozen_->setColumnWidth(0, columnWidth(0));
    frozen_->setVisible(n > 0);
    UpdateFrozenGeometry();
}

int FrozenTableView::topRow() const { return verticalScrollBar()->value(); }

void FrozenTableView::setTopRow(int row) {
    verticalScrollBar()->setValue(row);
    frozen_->verticalScrollBar()->setValue(verticalScrollBar()->value());
}

int FrozenTableView::columnsWidth() const {
    int w = 0;
    if (model() != nullptr)
        for (int c = 0; c < model()->columnCount(); ++c) w += columnWidth(c);
    return w;
}

void FrozenTableView::resizeEvent(QResizeEvent* e) {
    QTableView::resizeEvent(e);
    UpdateFrozenGeometry();
}

void FrozenTableView::updateGeometries() {
    QTableView::updateGeometries();
    UpdateFrozenGeometry();
}

QModelIndex FrozenTableView::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    QModelIndex current = QTableView::moveCursor(action, modifiers);
    // Keep a cell that the keyboard reaches out from under the frozen column.
    if (action == MoveLeft && current.column() > 0 && visualRect(current).topLeft().x() < frozen_->columnWidth(0)) {
        const int newvalue = horizontalScrollBar()->value() + visualRect(current).topLeft().x() - frozen_->columnWidth(0);
        horizontalScrollBar()->setValue(newvalue);
    }
    return current;
}

void FrozenTableView::scrollTo(const QModelIndex& ix, ScrollHint hint) {
    if (ix.column() > 0) QTableView::scrollTo(ix, hint);
}

void FrozenTableView::UpdateFrozenGeometry() {
    if (frozen_ == nullptr) return;
    const int header = horizontalHeader()->isHidden() ? 0 : horizontalHeader()->height();
    frozen_->horizontalHeader()->setVisible(!horizontalHeader()->isHidden());
    frozen_->horizontalHeader()->setFixedHeight(header);
    frozen_->setGeometry(frameWidth(), frameWidth(), columnWidth(0), viewport()->height() + header);
}

}  // namespace brenvik::ui
