#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace store {

class Database;

// The rows of one table a copy wrote and found again in the target.
struct CopiedTable {
    std::string name;
    std::int64_t rows = 0;
};

// Copies the shop's data from source into target, whatever engine either runs on (a data file, a
// server): every table of the program the source holds, in table order, each row with its own
// "ID" (the row ids of tables without a counter are the target's own), read from one consistent
// state of the source while others may write to it. Runs inside the caller's transaction on
// target: a table the target lacks is made; one it holds must be empty (StoreError otherwise). New
// rows of a counter table then take IDs after the copied ones, and the target's schema version
// becomes the source's unless its own is higher.
//
// Before it returns it checks in the target each table's row count and each number column's sum
// (whole ten-thousandths, so the order of adding cannot matter) against what it read: a mismatch
// throws StoreError naming the table and the column, and the caller's transaction takes the rows
// back. A source of a later schema version than this program knows is refused.
std::vector<CopiedTable> copyData(Database& source, Database& target);

// In one transaction on target: every row of the program's tables deleted, then source's rows
// copied in their place and checked (copyData). A failure leaves target's rows as they were.
std::vector<CopiedTable> replaceAllRows(Database& source, Database& target);

}  // namespace store
