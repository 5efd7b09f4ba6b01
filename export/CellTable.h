#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "export/ByteBuffer.h"

namespace workbook {

// A worksheet's cells as Excel lays them out and looks them up: the rows in blocks of 32, each
// block holding the ROW records of its rows that have cells, then those cells, then a DBCELL
// record that points back at the rows and at each row's first cell. The sheet's INDEX record,
// written before any of it, lists where every DBCELL lies.
//
// The layout is worked out first from the size of each row's cell records; the writer then
// produces exactly those bytes.
class CellTableLayout {
  public:
    // Rows come in ascending order; a row without cell records takes no room.
    void addRow(std::uint32_t row, std::size_t cellBytes);

    std::uint32_t firstRow() const noexcept { return firstRow_; }  // 0 when no row has cells
    std::uint32_t endRow() const noexcept { return endRow_; }      // last such row + 1, or 0
    std::uint32_t firstBlock() const noexcept { return firstRow_ / kRowsPerBlock; }
    std::size_t blockCount() const noexcept { return blocks_.size(); }
    std::size_t bytes() const noexcept;

    // The stream offset of every block's DBCELL record, the table beginning at tableStart.
    std::vector<std::uint32_t> dbCellOffsets(std::size_t tableStart) const;

    static constexpr std::uint32_t kRowsPerBlock = 32;

  private:
    struct Block {
        std::size_t bytes = 0;  // ROW and cell records, without the DBCELL
        std::uint32_t rows = 0;
    };
    static std::size_t dbCellBytes(const Block& block) { return 4 + 4 + 2 * block.rows; }
    std::vector<Block> blocks_;
    std::uint32_t firstRow_ = 0;
    std::uint32_t endRow_ = 0;
};

// The INDEX record of a sheet whose DEFCOLWIDTH record lies at defColWidthAt and whose cell table
// begins at tableStart (stream offsets), and its size.
void indexRecord(ByteBuffer& out, const CellTableLayout& layout, std::size_t defColWidthAt,
                 std::size_t tableStart);
std::size_t indexRecordBytes(const CellTableLayout& layout);

// Writes a cell table block by block: the cell records of the current block are gathered in
// cells() and go out, behind their ROW records and followed by the DBCELL, when a row of a later
// block begins or the table is finished.
class CellTableWriter {
  public:
    explicit CellTableWriter(const CellTableLayout& layout);

    // Called before the cells of each row (ascending; rows without cells may be skipped).
    void beginRow(std::uint32_t row, ByteBuffer& out);
    ByteBuffer& cells() noexcept { return cells_; }
    void finish(ByteBuffer& out);

  private:
    void closeBlock(ByteBuffer& out);
    ByteBuffer cells_;
    std::uint32_t block_;
    std::uint32_t endBlock_;
};

}  // namespace workbook
