#pragma once

#include <QString>
#include <memory>
#include <string>
#include <vector>

#include "grid/DataGrid.h"
#include "store/Connection.h"
#include "store/Query.h"
#include "tests/support/TestDatabase.h"

namespace gridtest {

// One sale row of the sales table as the tests fill it.
struct Sale {
    std::string code;
    std::string amount;  // empty stores NULL
    std::string remark;
};

// The sales detail window's columns, the amount's footer in amountFooterFormat: one-level titles
// at both ends, three joined runs between, a static "合计" footer and a sum footer on the amount
// (column 8).
std::vector<grid::GridColumn> salesColumns(const QString& amountFooterFormat = {});
inline constexpr int kCodeColumn = 1;
inline constexpr int kAmountColumn = 8;

// A fresh database in a temporary directory, a connection and query on the sales table, and a
// grid of 976 x 505 showing it.
class GridFixture {
  public:
    explicit GridFixture(const std::vector<Sale>& sales, const QString& amountFooterFormat = {});
    ~GridFixture();

    void execute(const std::string& sql);  // on a connection of its own
    std::string textAt(int row, const char* field) const;

    testsupport::TestDatabase database;
    store::Connection connection;
    store::Query query;
    std::unique_ptr<grid::TDataGrid> grid;
};

std::vector<Sale> numberedSales(int count);  // codes A1.., amounts 1..count

}  // namespace gridtest
