#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace workbook {

// One value of an exported table. A text cell keeps its text exactly (a goods code "001" stays
// "001", a text beginning with "=" is no formula); a number cell holds a number the spreadsheet
// can sum; an empty value writes no cell.
struct Cell {
    enum class Kind { Empty, Text, Number };
    Kind kind = Kind::Empty;
    std::string_view text;  // UTF-8, for Text
    double number = 0;      // for Number

    static Cell empty() { return {}; }
    static Cell ofText(std::string_view t) { return {Kind::Text, t, 0}; }
    static Cell ofNumber(double n) { return {Kind::Number, {}, n}; }
};

// The table an export writes: named columns and rows of cells. The texts it hands out must stay
// valid, unchanged, while the workbook is being written (the writer reads every row twice).
class TableSource {
  public:
    virtual ~TableSource() = default;
    virtual int columnCount() const = 0;
    virtual std::string_view columnName(int column) const = 0;
    virtual int rowCount() const = 0;
    virtual Cell cell(int row, int column) const = 0;
};

// Told how far the writing has come (done of total steps); returns false to cancel.
using Progress = std::function<bool(std::int64_t done, std::int64_t total)>;

enum class Outcome { Written, Cancelled };

// The values a written workbook could not hold as they were (see CellLimits.h).
struct CellAdjustments {
    std::int64_t numbersLeftEmpty = 0;  // beyond a cell's range, or not finite: no cell
    std::int64_t textsCut = 0;          // longer than a cell holds: cut
    bool any() const noexcept { return numbersLeftEmpty != 0 || textsCut != 0; }
};

// What writing a workbook came to.
struct WriteResult {
    Outcome outcome = Outcome::Cancelled;
    CellAdjustments adjusted;  // counted over the whole table
    friend bool operator==(const WriteResult& result, Outcome outcome) {
        return result.outcome == outcome;
    }
};

// A worksheet holds 65,536 rows: the header and 65,535 table rows. Further rows continue on more
// worksheets, each beginning with the header row again.
inline constexpr int kRowsPerSheet = 65535;
inline constexpr int kMaxColumns = 256;

// Writes table into file as an Excel 97-2003 workbook (BIFF8 in a compound document): on every
// worksheet row 1 holds the column names, in bold, and each later row one table row; the text is
// 宋体 at 11 points and each column as wide as its widest value. The file is written
// beside its target and renamed into place, so an existing file is replaced only by a complete
// workbook; an error (thrown as store::StoreError) or a cancellation leaves no file behind.
// A table of more than 256 columns is refused. The file is never more open than
// permissionsLimit, when that names a file (the data it was exported from). Values a cell cannot
// hold are left out or cut as CellLimits.h says, and counted in the result.
WriteResult writeWorkbook(const std::string& file, const TableSource& table,
                          const Progress& progress = {}, const std::string& permissionsLimit = {});

}  // namespace workbook
