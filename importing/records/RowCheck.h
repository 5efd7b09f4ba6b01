#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "importing/records/ColumnMapping.h"
#include "purchases/records/PurchaseFields.h"

namespace importing {

// A cell that cannot be stored: the file's row (1-based, the header is row 1), the purchase
// column it goes into, its text as read and what is wrong with it.
struct CellError {
    std::int64_t row = 0;
    std::string column;
    std::string value;
    std::string problem;
    bool operator==(const CellError&) const = default;
};

// A row as purchase entry stores it: the twelve fields' texts (price and quantity in the form
// the store keeps them) and the worked-out amount, 进货单价 × 进货数量 exactly.
struct PurchaseRow {
    std::int64_t fileRow = 0;
    std::array<std::string, purchases::kFieldCount> texts;
    std::string amount;
};

enum class RowCheck { Stored, Blank, Faulty };

// Checks one row of the file against the mapping: a required value missing, a number that is not
// one, a negative one, one beyond what a number column holds (the amount included), a text longer
// than its column. Every problem of the row is appended to errors. Blank: no mapped cell holds
// anything but blanks (a spreadsheet's empty rows), nothing is reported. Stored: row is filled.
RowCheck checkRow(std::int64_t fileRow, const std::vector<std::string_view>& cells,
                  const ColumnMapping& mapping, PurchaseRow& row, std::vector<CellError>& errors);

}  // namespace importing
