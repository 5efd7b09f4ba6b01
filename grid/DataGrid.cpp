#include "grid/DataGrid.h"

#include <QFontMetrics>
#include <QScrollBar>
#include <algorithm>

#include "grid/DataGridImpl.h"
#include "platform/Fonts.h"

namespace grid {

namespace {
constexpr int kIndicatorPadding = 11;
}

TDataGrid::Impl::Impl(TDataGrid* grid) : q(grid) {
    cellFont = platform::pixelFont("宋体", 13);
    titleFont = platform::pixelFont("宋体", 13, true);
    vbar = new QScrollBar(Qt::Vertical, grid);
    hbar = new QScrollBar(Qt::Horizontal, grid);
    vbar->setObjectName(QStringLiteral("verticalScrollBar"));
    hbar->setObjectName(QStringLiteral("horizontalScrollBar"));
    vbar->setFocusPolicy(Qt::NoFocus);
    hbar->setFocusPolicy(Qt::NoFocus);
    vbar->hide();
    hbar->hide();
    QObject::connect(vbar, &QScrollBar::valueChanged, grid, [this](int value) {
        topRow = value;
        q->update();
    });
    QObject::connect(hbar, &QScrollBar::valueChanged, grid, [this](int value) {
        xOffset = value;
        q->update();
    });
}

TDataGrid::Impl::Suspend::~Suspend() {
    if (--impl_.suspended == 0) {
        impl_.updateScrollBars();
        if (impl_.query && impl_.query->currentIndex() >= 0)
            impl_.ensureVisible(impl_.query->currentIndex());
        impl_.q->update();
    }
}

// ---- the result set's notifications ----

void TDataGrid::Impl::queryOpened(store::Query&) {
    Suspend suspend(*this);
    selection.clear();
    shiftAnchor = -1;
    deletingMark.reset();
    deletingMarks.clear();
    resolveFields();
    totals.rebuild(*query);
    setIndicatorWidth();
    topRow = 0;
}

void TDataGrid::Impl::queryClosed(store::Query&) { forgetRows(); }

// No rows any more: no selection, no totals, back at the top.
void TDataGrid::Impl::forgetRows() {
    selection.clear();
    shiftAnchor = -1;
    deletingMark.reset();
    deletingMarks.clear();
    totals.reset();
    resolveFields();
    topRow = 0;
    updateScrollBars();
    refresh();
}

void TDataGrid::Impl::queryScrolled(store::Query&) {
    if (suspended == 0) ensureVisible(query->currentIndex());
    refresh();
}

void TDataGrid::Impl::queryEditStarted(store::Query&) {
    deletingMark.reset();
    totals.editStarted(*query);
    updateScrollBars();
    if (suspended == 0) ensureVisible(query->currentIndex());
    refresh();
}

void TDataGrid::Impl::queryRowInserted(store::Query&, int) {
    updateScrollBars();
    refresh();
}

void TDataGrid::Impl::queryPosted(store::Query&, int index) {
    totals.posted(*query, index);
    refresh();
}

void TDataGrid::Impl::queryCancelled(store::Query&) {
    totals.cancelled();
    refresh();
}

void TDataGrid::Impl::queryAboutToDelete(store::Query&, int index) {
    totals.aboutToDelete(*query, index);
    deletingMark = query->bookmarkAt(index);
}

void TDataGrid::Impl::queryRowRemoved(store::Query&, int index) {
    totals.removed(index);
    if (deletingMark) selection.remove(*deletingMark);
    deletingMark.reset();
    if (shiftAnchor >= rowCount()) shiftAnchor = -1;
    updateScrollBars();
    refresh();
}

void TDataGrid::Impl::queryAboutToDeleteRows(store::Query&, const std::vector<int>& indexes) {
    totals.aboutToDeleteRows(*query, indexes);
    deletingMarks.clear();
    deletingMarks.reserve(indexes.size());
    for (int index : indexes) deletingMarks.push_back(query->bookmarkAt(index));
}

void TDataGrid::Impl::queryRowsRemoved(store::Query&, const std::vector<int>&) {
    totals.rowsRemoved();
    for (store::Query::Bookmark mark : deletingMarks) selection.remove(mark);
    deletingMarks.clear();
    if (shiftAnchor >= rowCount()) shiftAnchor = -1;
    updateScrollBars();
    refresh();
}

void TDataGrid::Impl::queryDestroyed(store::Query&) {
    query = nullptr;
    forgetRows();
}

// ---- geometry ----

bool TDataGrid::Impl::isOpen() const { return query && query->isOpen(); }

int TDataGrid::Impl::rowCount() const { return isOpen() ? query->rowCount() : 0; }

int TDataGrid::Impl::viewWidth() const {
    return q->width() - (vbar->isVisibleTo(q) ? vbar->sizeHint().width() : 0);
}

int TDataGrid::Impl::footerTop() const {
    return q->height() - (hbar->isVisibleTo(q) ? hbar->sizeHint().height() : 0) - footerHeight;
}

int TDataGrid::Impl::visibleRows() const {
    return std::max(1, (footerTop() - dataTop()) / rowHeight);
}

int TDataGrid::Impl::rowsBottom() const {
    return std::min(footerTop(), dataTop() + visibleRows() * rowHeight);
}

int TDataGrid::Impl::columnLeft(int column) const {
    if (column < 0) return 0;
    int x = indicatorWidth - xOffset;
    for (int c = 0; c < column; ++c) x += columns[static_cast<std::size_t>(c)].width;
    return x;
}

int TDataGrid::Impl::columnWidth(int column) const {
    if (column < 0) return indicatorWidth;
    return columns[static_cast<std::size_t>(column)].width;
}

int TDataGrid::Impl::rowAt(int y) const {
    if (y < dataTop() || y >= rowsBottom()) return -1;
    const int row = topRow + (y - dataTop()) / rowHeight;
    return row < rowCount() ? row : -1;
}

int TDataGrid::Impl::columnAt(int x) const {
    if (x < 0 || x >= viewWidth()) return -2;
    if (x < indicatorWidth) return -1;
    int left = indicatorWidth - xOffset;
    for (int c = 0; c < static_cast<int>(columns.size()); ++c) {
        const int right = left + columns[static_cast<std::size_t>(c)].width;
        if (x >= left && x < right) return c;
        left = right;
    }
    return -2;
}

int TDataGrid::Impl::resizeBorderAt(int x) const {
    constexpr int kGrip = 3;
    for (int c = 0; c < static_cast<int>(columns.size()); ++c) {
        const int right = columnLeft(c) + columnWidth(c);
        if (right < indicatorWidth) continue;
        if (std::abs(x - right) <= kGrip) return c;
    }
    return -1;
}

bool TDataGrid::Impl::isUpperTitleAt(int column, int y) const {
    return column >= 0 && titles.twoLevel[static_cast<std::size_t>(column)] &&
           y < titles.upperHeight;
}

void TDataGrid::Impl::resolveFields() {
    fields.assign(columns.size(), -1);
    if (!isOpen()) return;
    for (std::size_t c = 0; c < columns.size(); ++c)
        fields[c] = query->fieldIndex(columns[c].field.toStdString());
}

void TDataGrid::Impl::setIndicatorWidth() {
    const int rows = isOpen() ? query->recordCount() : 0;
    const QString widest = QStringLiteral("NO.") + QString::number(rows);
    indicatorWidth = QFontMetrics(cellFont).horizontalAdvance(widest) + kIndicatorPadding;
}

void TDataGrid::Impl::relayout() {
    const QFontMetrics metrics(cellFont);
    rowHeight = metrics.height() + 2;
    footerHeight = rowHeight;
    relayoutTitles();
    setIndicatorWidth();
    updateScrollBars();
}

void TDataGrid::Impl::relayoutTitles() {
    titles = layoutTitles(columns, marks, QFontMetrics(titleFont));
}

void TDataGrid::Impl::updateScrollBars() {
    if (suspended > 0) return;
    int columnsWidth = indicatorWidth;
    for (const GridColumn& column : columns) columnsWidth += column.width;
    const int vbarWidth = vbar->sizeHint().width();
    const int hbarHeight = hbar->sizeHint().height();
    const int rows = rowCount();
    const int rowArea = q->height() - dataTop() - footerHeight;
    bool needV = rows * rowHeight > rowArea;
    bool needH = columnsWidth > q->width() - (needV ? vbarWidth : 0);
    if (needH && !needV) needV = rows * rowHeight > rowArea - hbarHeight;
    needH = columnsWidth > q->width() - (needV ? vbarWidth : 0);

    const int width = q->width() - (needV ? vbarWidth : 0);
    const int height = q->height() - (needH ? hbarHeight : 0);
    vbar->setGeometry(width, 0, vbarWidth, height);
    hbar->setGeometry(0, height, width, hbarHeight);
    vbar->setVisible(needV);
    hbar->setVisible(needH);

    const QSignalBlocker blockV(vbar);
    const QSignalBlocker blockH(hbar);
    const int maxTop = std::max(0, rows - visibleRows());
    topRow = std::clamp(topRow, 0, maxTop);
    vbar->setRange(0, maxTop);
    vbar->setPageStep(visibleRows());
    vbar->setValue(topRow);
    const int maxX = std::max(0, columnsWidth - width);
    xOffset = std::clamp(xOffset, 0, maxX);
    hbar->setRange(0, maxX);
    hbar->setPageStep(std::max(1, width - indicatorWidth));
    hbar->setSingleStep(20);
    hbar->setValue(xOffset);
}

void TDataGrid::Impl::scrollTo(int row) {
    const int maxTop = std::max(0, rowCount() - visibleRows());
    const int top = std::clamp(row, 0, maxTop);
    if (top != topRow) {
        topRow = top;
        const QSignalBlocker block(vbar);
        vbar->setValue(topRow);
        q->update();
    }
}

void TDataGrid::Impl::ensureVisible(int row) {
    if (row < 0) return;
    updateScrollBars();
    if (row < topRow)
        scrollTo(row);
    else if (row >= topRow + visibleRows())
        scrollTo(row - visibleRows() + 1);
}

void TDataGrid::Impl::refresh() {
    if (suspended == 0) q->update();
}

bool TDataGrid::Impl::isSelected(int row) const {
    if (selection.empty() || !isOpen() || row < 0 || row >= query->recordCount()) return false;
    if (query->state() == store::Query::State::Insert && row == query->currentIndex()) return false;
    return selection.contains(query->bookmarkAt(row));
}

// ---- the public face ----

TDataGrid::TDataGrid(QWidget* parent) : QWidget(parent), d(new Impl(this)) {
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setBackgroundRole(QPalette::Base);
    d->relayout();
}

TDataGrid::~TDataGrid() {
    if (d->query) d->query->removeObserver(d);
    delete d;
}

void TDataGrid::setQuery(store::Query* query) {
    if (d->query == query) return;
    if (d->query) d->query->removeObserver(d);
    d->query = query;
    if (query) query->addObserver(d);
    d->selection.clear();
    d->shiftAnchor = -1;
    d->topRow = 0;
    if (d->isOpen())
        d->queryOpened(*query);
    else {
        d->totals.reset();
        d->resolveFields();
        d->setIndicatorWidth();
        d->updateScrollBars();
        update();
    }
}

store::Query* TDataGrid::query() const { return d->query; }

void TDataGrid::setColumns(std::vector<GridColumn> columns) {
    d->columns = std::move(columns);
    d->marks.resize(static_cast<int>(d->columns.size()));
    d->currentColumn = 0;
    d->totals.setColumns(d->columns);
    d->xOffset = 0;
    d->relayoutTitles();
    if (d->isOpen()) {
        Impl::Suspend suspend(*d);
        d->resolveFields();
        d->totals.rebuild(*d->query);
    } else {
        d->resolveFields();
        d->updateScrollBars();
    }
    update();
}

const std::vector<GridColumn>& TDataGrid::columns() const { return d->columns; }

void TDataGrid::setFooterBold(bool bold) {
    d->footerBold = bold;
    update();
}

void TDataGrid::setPopupMenu(QMenu* menu) { d->menu = menu; }

int TDataGrid::selectedCount() const { return d->selection.count(); }

bool TDataGrid::isRowSelected(int index) const { return d->isSelected(index); }

void TDataGrid::setRowDeleter(RowDeleter deleter) { d->rowDeleter = std::move(deleter); }

void TDataGrid::deleteSelected() { d->deleteRows(); }

void TDataGrid::setCellTextColour(CellTextColour colour) {
    d->cellTextColour = std::move(colour);
    update();
}

SortMark TDataGrid::sortMark(int column) const { return d->marks.at(column); }

QString TDataGrid::footerText(int column) const { return d->totals.text(column); }

store::values::Total TDataGrid::footerTotal(int column) const { return d->totals.total(column); }

int TDataGrid::indicatorWidth() const { return d->indicatorWidth; }

int TDataGrid::titleHeight() const { return d->titles.bandHeight; }

int TDataGrid::rowHeight() const { return d->rowHeight; }

int TDataGrid::topRow() const { return d->topRow; }

int TDataGrid::currentColumn() const { return d->currentColumn; }

QRect TDataGrid::cellRect(int row, int column) const {
    if (row < d->topRow || row >= d->rowCount() || row >= d->topRow + d->visibleRows()) return {};
    if (column >= static_cast<int>(d->columns.size())) return {};
    const QRect cell(d->columnLeft(column), d->rowTop(row), d->columnWidth(column), d->rowHeight);
    return cell.intersected(QRect(0, d->dataTop(), d->viewWidth(), d->rowsBottom() - d->dataTop()));
}

QRect TDataGrid::titleRect(int column, bool upperLevel) const {
    if (column < 0) return QRect(0, 0, d->indicatorWidth, d->titles.bandHeight);
    if (column >= static_cast<int>(d->columns.size())) return {};
    const auto c = static_cast<std::size_t>(column);
    if (!d->titles.twoLevel[c])
        return QRect(d->columnLeft(column), 0, d->columnWidth(column), d->titles.bandHeight);
    if (!upperLevel)
        return QRect(d->columnLeft(column), d->titles.upperHeight, d->columnWidth(column),
                     d->titles.bandHeight - d->titles.upperHeight);
    for (const UpperCell& cell : d->titles.upperCells) {
        if (column < cell.firstColumn || column > cell.lastColumn) continue;
        const int left = d->columnLeft(cell.firstColumn);
        const int right = d->columnLeft(cell.lastColumn) + d->columnWidth(cell.lastColumn);
        return QRect(left, 0, right - left, d->titles.upperHeight);
    }
    return {};
}

QRect TDataGrid::footerRect(int column) const {
    if (column >= static_cast<int>(d->columns.size())) return {};
    return QRect(d->columnLeft(column), d->footerTop(), d->columnWidth(column), d->footerHeight);
}

void TDataGrid::resizeEvent(QResizeEvent*) { d->updateScrollBars(); }

void TDataGrid::focusInEvent(QFocusEvent*) { update(); }

void TDataGrid::focusOutEvent(QFocusEvent*) { update(); }

}  // namespace grid
