#pragma once

#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

#include "grid/GridColumn.h"
#include "store/Values.h"

namespace store {
class Query;
}

namespace grid {

// The running totals of a grid's sum footers, each a whole count of ten-thousandths. Opening a
// result set takes its column totals (summed once per set of rows, which lists reading an
// unchanged table share); posts and deletions adjust the totals without a walk.
class FooterTotals {
  public:
    void setColumns(const std::vector<GridColumn>& columns);
    // Looks the sum columns up in the query and walks its rows (no moves of the current row).
    void rebuild(const store::Query& query);
    void reset();  // the result set closed: every total 0, no column found

    void editStarted(const store::Query& query);  // saves the current row's values
    void posted(const store::Query& query, int row);
    void cancelled();
    void aboutToDelete(const store::Query& query, int row);
    void removed(int row);  // applies the deletion announced for this row
    void deleteRefused();   // the announced deletion did not happen
    // Several rows leave together: their values are taken off the totals once they have left,
    // each row's share as a single deletion would take it, without a walk over the others.
    void aboutToDeleteRows(const store::Query& query, const std::vector<int>& rows);
    void rowsRemoved();

    store::values::Total total(int column) const;
    // The footer text of a column: its static text, the total in its format, "0" when the
    // column is not in the result set, "数值过大" when the total cannot be held, or empty for a
    // column without a footer.
    QString text(int column) const;

  private:
    struct Sum {
        int column = 0;  // grid column
        int field = -1;  // result-set column, -1 when missing
        bool formatted = false;
        store::values::Total total = 0;
        store::values::Total saved = 0;
        double pendingDelete = 0;  // the value of the row about to leave, not yet scaled
        // A number the store would not accept now (from an older or foreign file) took the total
        // out of range: the footer says so instead of a wrong figure, until the next walk.
        bool outOfRange = false;
    };
    static void add(Sum& sum, store::values::Total base, double value) noexcept;
    static double numberAt(const store::Query& query, int row, int field);  // 0 when empty
    static store::values::Total valueAt(const store::Query& query, int row, int field);
    const Sum* sumOf(int column) const;

    std::vector<GridColumn> columns_;
    std::vector<Sum> sums_;
    bool editPending_ = false;
    std::optional<int> deletePending_;
    std::vector<store::values::Total> bulkPending_;  // each sum's total once the rows have left
    bool bulkDeletePending_ = false;
};

}  // namespace grid
