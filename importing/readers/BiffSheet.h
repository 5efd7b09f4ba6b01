#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "importing/readers/BiffGlobals.h"
#include "importing/readers/BiffStream.h"
#include "importing/readers/RowCells.h"

namespace importing::biff {

// The cells of one worksheet, a row at a time as they are read from the stream: never the whole
// sheet. Each cell is the text the import stores (see SheetReader.h). Every program we know
// stores the rows in order; for a sheet that does not (a writer that stored its table column by
// column), which a first look over its records tells, the cells are gathered and sorted first.
class SheetRows {
  public:
    // Goes to the sheet's BOF record and reads on to its size (DIMENSIONS).
    SheetRows(RecordStream& stream, const Globals& globals, std::size_t sheet);

    // The sheet's size as it states it: its last row and column + 1.
    std::uint32_t rowCount() const noexcept { return rows_; }
    std::uint16_t columnCount() const noexcept { return columns_; }

    // The next row that has a cell, its cells at least columnCount() wide; false after the last.
    bool next(std::uint32_t& row, RowCells& cells);

  private:
    bool inRowOrder();  // looks over the sheet's cell records without keeping them
    void gatherCells();
    void closeGathered();
    bool replayRow();  // the next row of the gathered cells into texts_
    // Reads the records of the next row into texts_, the first of the row after into pending.
    bool streamRow(Record& record);
    // Reads the next record of the sheet itself (embedded substreams such as charts skipped);
    // false at the sheet's EOF.
    bool nextRecord(Record& record);
    void place(const Record& record);  // puts a cell record's cells into texts_
    std::string& cell(std::uint16_t column);
    void number(std::uint16_t column, std::uint16_t xf, double value);
    void formula(std::uint16_t column, std::uint16_t xf, std::string_view data);
    [[noreturn]] void damagedAt(std::uint32_t row, std::uint16_t column,
                                const std::string& why) const;

    RecordStream& stream_;
    const Globals& globals_;
    std::uint32_t rows_ = 0;
    std::uint16_t columns_ = 0;
    bool ended_ = false;
    std::uint32_t row_ = 0;                         // of the row being read
    static constexpr std::uint16_t kColumns = 256;  // of an Excel 97–2003 sheet
    std::array<std::string, kColumns> texts_;       // the row's cells by column
    std::uint16_t used_ = 0;                        // its columns up to the last one with a cell
    std::uint16_t pendingId_ = 0;                   // a record of the next row, read ahead
    std::string pendingData_;
    std::u16string scratch_;

    struct Gathered {
        std::uint32_t row;
        std::uint16_t column;
        std::size_t begin, end;  // in gatheredText_
    };
    bool gathering_ = false, gatheredOpen_ = false, replaying_ = false;
    std::vector<Gathered> gathered_;
    std::string gatheredText_, gatheredCell_;
    std::size_t replayAt_ = 0;
};

}  // namespace importing::biff
