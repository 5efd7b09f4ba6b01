#pragma once

#include <string>

#include "stock/records/LowStock.h"

namespace grid {
class TDataGrid;
}
namespace store {
class Connection;
class Query;
}  // namespace store

namespace stock {

// Draws, in a goods list over 表1, one column's cells of the rows whose code is low in the
// warning colour (red text on the row's own stripe). Holds the levels, read again by reload().
class LowStockMarks {
  public:
    // list shows goods; field names the column whose cells are marked.
    void attach(grid::TDataGrid& list, const store::Query& goods, const char* field);
    // Reads the levels from the file and draws the list again.
    void reload(store::Connection& connection);
    const Levels& levels() const noexcept { return levels_; }

  private:
    grid::TDataGrid* list_ = nullptr;
    Levels levels_;
    int codeField_ = -1;  // of the goods query, found at the first mark drawn
    int stockField_ = -1;
};

}  // namespace stock
