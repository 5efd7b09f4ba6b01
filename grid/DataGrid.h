#pragma once

#include <QColor>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "grid/GridColumn.h"
#include "grid/SortMarks.h"
#include "store/Values.h"

namespace store {
class Query;
}
class QMenu;

namespace grid {

// The list control of the three list windows: two-level titles, numbered indicator column,
// striped rows, multi-row selection, sort marks and a footer row of running totals. It shows the
// rows of a store::Query and follows it through the query's notifications; it keeps no copy of
// the rows.
class TDataGrid : public QWidget {
    Q_OBJECT
  public:
    explicit TDataGrid(QWidget* parent = nullptr);
    ~TDataGrid() override;

    void setQuery(store::Query* query);  // the data source; may be open or closed
    store::Query* query() const;
    void setColumns(std::vector<GridColumn> columns);
    const std::vector<GridColumn>& columns() const;
    void setFooterBold(bool bold);   // the grid's footer font
    void setPopupMenu(QMenu* menu);  // opened by the right button

    int selectedCount() const;
    bool isRowSelected(int index) const;
    // Deletes rows of the result set from its table and the result set, given their indexes in row
    // order; throws when a row is refused, the rows before it deleted. The window's records do it.
    using RowDeleter = std::function<void(const std::vector<int>& rows)>;
    // Who deletes the selected rows, for deleteSelected() and Ctrl+Delete; without one the
    // selection is not deleted.
    void setRowDeleter(RowDeleter deleter);
    // Hands every selected row to the deleter; the list and its totals drop the rows together. A
    // refused deletion stops there and is rethrown: the rows deleted before it stay deleted, it
    // and the rows not reached stay selected.
    void deleteSelected();

    // A text colour of the window's choosing for a cell (row, column of the grid's columns); none
    // keeps the usual one. Drawn on the row's own stripe and on an unfocused selection; a row
    // highlighted by the focused selection keeps the highlight's text colour, so it stays
    // readable. Asked for each cell painted: it must be quick.
    using CellTextColour = std::function<std::optional<QColor>(int row, int column)>;
    void setCellTextColour(CellTextColour colour);

    // What the grid shows, for the windows and for checks of the grid itself.
    SortMark sortMark(int column) const;
    QString footerText(int column) const;
    store::values::Total footerTotal(int column) const;  // in ten-thousandths
    int indicatorWidth() const;
    int titleHeight() const;
    int rowHeight() const;
    int topRow() const;         // first row shown
    int currentColumn() const;  // moved by Tab and Shift+Tab
    // Rectangles in the grid's coordinates; column -1 is the indicator column. Empty when the
    // cell is not shown.
    QRect cellRect(int row, int column) const;
    QRect titleRect(int column, bool upperLevel = false) const;
    QRect footerRect(int column) const;

  signals:
    void doubleClicked();  // DataGrid1DblClick

  protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    class Impl;
    friend class Impl;
    Impl* d;
};

}  // namespace grid
