#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace store {
class Connection;
}

// The imports recorded in the file, and the undo of one of them.
namespace importing {

struct ImportEntry {
    std::int64_t id = 0;
    std::string time;
    std::string fileName;
    std::int64_t importedRows = 0;
    std::int64_t rowsLeft = 0;  // of its goods rows, those 表1 still holds
};

// Every import, the latest first.
std::vector<ImportEntry> listImports(store::Connection& connection);

// A goods row of an import that has sales, as the refusal names it.
struct SoldRow {
    std::int64_t fileRow = 0;
    std::string code;
    std::string name;
};

struct UndoResult {
    enum class Outcome { Undone, HasSales, Gone };
    Outcome outcome = Outcome::Gone;
    std::int64_t removedRows = 0;   // Undone: the goods rows deleted from 表1
    std::vector<SoldRow> soldRows;  // HasSales: in the file's order
};

// In one transaction: deletes the goods rows the import created (those 表1 still holds) and its
// record, while none of them has sales: a sale linked to the row (销售货源), or a sale without a
// link whose goods texts are the row's. Otherwise nothing is changed and the sold rows are
// named. Gone when the import is not recorded (undone already).
UndoResult undoImport(store::Connection& connection, std::int64_t importId);

// The refusal's list of sold rows: "第 N 行 code name", one a line, at most ten and a last line
// telling how many more.
std::string soldRowsText(const std::vector<SoldRow>& rows);

}  // namespace importing
