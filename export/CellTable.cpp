#include "export/CellTable.h"

#include "export/BiffRecords.h"

namespace workbook {

namespace {

constexpr std::size_t kRowRecordBytes = 4 + 16;
constexpr std::uint16_t kRowHeight = 285;  // twips: 14.25 points, the height of 11-point 宋体

// Where each row's cell records begin in a block's cells, and the columns they span.
struct RowSpan {
    std::uint16_t row = 0;
    std::uint16_t firstColumn = 0;
    std::uint16_t endColumn = 0;  // last column + 1
    std::size_t firstCell = 0;    // offset in the block's cells
};

std::uint16_t u16At(const std::uint8_t* at) {
    return static_cast<std::uint16_t>(at[0] | at[1] << 8);
}

// Every cell record starts with its row and its column.
std::vector<RowSpan> rowSpans(const ByteBuffer& cells) {
    std::vector<RowSpan> spans;
    for (std::size_t at = 0; at + 8 <= cells.size();) {
        const std::uint8_t* record = cells.data() + at;
        const std::uint16_t row = u16At(record + 4);
        const std::uint16_t column = u16At(record + 6);
        if (spans.empty() || spans.back().row != row) spans.push_back({row, column, column, at});
        spans.back().endColumn = static_cast<std::uint16_t>(column + 1);
        at += 4 + u16At(record + 2);
    }
    return spans;
}

}  // namespace

void CellTableLayout::addRow(std::uint32_t row, std::size_t cellBytes) {
    if (cellBytes == 0) return;
    if (endRow_ == 0) firstRow_ = row;
    endRow_ = row + 1;
    const std::size_t block = row / kRowsPerBlock - firstBlock();
    if (blocks_.size() <= block) blocks_.resize(block + 1);
    blocks_[block].bytes += kRowRecordBytes + cellBytes;
    ++blocks_[block].rows;
}

std::size_t CellTableLayout::bytes() const noexcept {
    std::size_t total = 0;
    for (const Block& block : blocks_) total += block.bytes + dbCellBytes(block);
    return total;
}

std::vector<std::uint32_t> CellTableLayout::dbCellOffsets(std::size_t tableStart) const {
    std::vector<std::uint32_t> offsets;
    offsets.reserve(blocks_.size());
    std::size_t at = tableStart;
    for (const Block& block : blocks_) {
        at += block.bytes;
        offsets.push_back(static_cast<std::uint32_t>(at));
        at += dbCellBytes(block);
    }
    return offsets;
}

std::size_t indexRecordBytes(const CellTableLayout& layout) {
    return 4 + 16 + 4 * layout.blockCount();
}

void indexRecord(ByteBuffer& out, const CellTableLayout& layout, std::size_t defColWidthAt,
                 std::size_t tableStart) {
    out.beginRecord(biff::id::kIndex);
    out.u32(0);
    out.u32(layout.firstRow());
    out.u32(layout.endRow());
    out.u32(static_cast<std::uint32_t>(defColWidthAt));
    for (std::uint32_t offset : layout.dbCellOffsets(tableStart)) out.u32(offset);
    out.endRecord();
}

CellTableWriter::CellTableWriter(const CellTableLayout& layout)
    : block_(layout.firstBlock()),
      endBlock_(layout.firstBlock() + static_cast<std::uint32_t>(layout.blockCount())) {}

void CellTableWriter::beginRow(std::uint32_t row, ByteBuffer& out) {
    while (block_ < endBlock_ && block_ < row / CellTableLayout::kRowsPerBlock) closeBlock(out);
}

void CellTableWriter::finish(ByteBuffer& out) {
    while (block_ < endBlock_) closeBlock(out);
}

void CellTableWriter::closeBlock(ByteBuffer& out) {
    const std::vector<RowSpan> spans = rowSpans(cells_);
    for (const RowSpan& span : spans) {
        out.beginRecord(biff::id::kRow);
        out.u16(span.row);
        out.u16(span.firstColumn);
        out.u16(span.endColumn);
        out.u16(kRowHeight);
        out.u16(0);
        out.u16(0);
        out.u32(0x00000100 | static_cast<std::uint32_t>(biff::kCellXf) << 16);
        out.endRecord();
    }
    out.append(cells_.data(), cells_.size());
    out.beginRecord(biff::id::kDbCell);
    // Back to the first ROW record; 0 for a block without rows.
    out.u32(static_cast<std::uint32_t>(
        spans.empty() ? 0 : spans.size() * kRowRecordBytes + cells_.size()));
    // The first row's cells are found from the end of the first ROW record, each later row's from
    // the previous row's first cell.
    for (std::size_t k = 0; k < spans.size(); ++k)
        out.u16(static_cast<std::uint16_t>(k == 0 ? kRowRecordBytes * (spans.size() - 1)
                                                  : spans[k].firstCell - spans[k - 1].firstCell));
    out.endRecord();
    cells_.clear();
    ++block_;
}

}  // namespace workbook
