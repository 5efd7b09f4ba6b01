#pragma once

#include <QWidget>
#include <vector>

#include "grid/GridColumn.h"

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
    void setFooterBold(bool bold);       // the grid's footer font
    void setPopupMenu(QMenu* menu);      // opened by the right button

    int selectedCount() const;
    bool isRowSelected(int index) const;
    // Deletes every selected row from the result set, last to first; a refused deletion stops
    // there and is rethrown, the rows not reached stay selected.
    void deleteSelected();

signals:
    void doubleClicked();  // DataGrid1DblClick

private:
    class Impl;
    Impl* d;
};

}  // namespace grid
