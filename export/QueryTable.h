#pragma once

#include "export/Workbook.h"

namespace store {
class Query;
}

namespace workbook {

// An open query's rows as an exported table: every column of the result in its order, every
// stored row from the first. Text columns give text cells; number columns (and the counter) give
// number cells, or a text cell where the stored value is not a number. Empty values give no cell.
class QueryTable : public TableSource {
  public:
    explicit QueryTable(const store::Query& query) : query_(query) {}
    int columnCount() const override;
    std::string_view columnName(int column) const override;
    int rowCount() const override;
    Cell cell(int row, int column) const override;

  private:
    const store::Query& query_;
};

}  // namespace workbook
