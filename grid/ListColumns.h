#pragma once

#include <vector>

#include "grid/GridColumn.h"

// The columns of the list windows: titles, widths, alignment, display formats and the
// footer row, built from one table each.
namespace grid {

std::vector<GridColumn> purchaseListColumns();  // the main window's purchases
std::vector<GridColumn> goodsListColumns();     // the sales window's goods, sales and stock
std::vector<GridColumn> saleListColumns();      // the sales detail window's sales
std::vector<GridColumn> returnListColumns();    // the returns list window's returns

// The 库存预警 list's low codes.
std::vector<GridColumn> lowStockListColumns();

}  // namespace grid
