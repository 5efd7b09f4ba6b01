#include "export/Workbook.h"

#include <algorithm>
#include <vector>

#include "export/BiffRecords.h"
#include "export/ByteBuffer.h"
#include "export/CellLimits.h"
#include "export/CellTable.h"
#include "export/ColumnWidths.h"
#include "export/CompoundFile.h"
#include "export/SharedStrings.h"
#include "store/Error.h"

namespace workbook {

namespace {

using namespace biff;

constexpr std::size_t kLabelSstSize = 4 + 10;
constexpr std::size_t kNumberSize = 4 + 14;
constexpr int kProgressEvery = 512;  // rows between progress reports

std::string sheetName(int index) { return "Sheet" + std::to_string(index + 1); }

// Where each worksheet's rows lie and how many bytes its substream takes.
struct SheetPlan {
    int firstRow = 0;  // table row
    int rows = 0;      // table rows on the sheet
    CellTableLayout cells;
    std::size_t start = 0;  // of its BOF in the stream
    std::size_t bytes = 0;
};

class WorkbookBuilder {
  public:
    WorkbookBuilder(const TableSource& table, const Progress& progress)
        : table_(table),
          progress_(progress),
          columns_(table.columnCount()),
          rows_(table.rowCount()),
          widths_(table) {
        const int sheets = std::max(1, (rows_ + kRowsPerSheet - 1) / kRowsPerSheet);
        for (int s = 0; s < sheets; ++s) {
            SheetPlan plan;
            plan.firstRow = s * kRowsPerSheet;
            plan.rows = std::min(kRowsPerSheet, rows_ - plan.firstRow);
            plans_.push_back(plan);
        }
        total_ = 2 * static_cast<std::int64_t>(rows_) + 1;
    }

    // Pass one: the shared strings and the size of every worksheet.
    bool collect() {
        std::size_t headerBytes = 0;
        for (int c = 0; c < columns_; ++c) {
            const std::string_view name = table_.columnName(c);
            if (!name.empty()) headerStrings_.push_back(strings_.add(name));
            headerBytes += name.empty() ? 0 : kLabelSstSize;
        }
        // The header's entries are counted once per worksheet.
        for (std::size_t s = 1; s < plans_.size(); ++s)
            for (std::size_t k = 0; k < headerStrings_.size(); ++k)
                strings_.add(table_.columnName(headerColumn(k)));
        for (SheetPlan& plan : plans_) {
            plan.cells.addRow(0, headerBytes);
            for (int r = plan.firstRow; r < plan.firstRow + plan.rows; ++r) {
                if (!report(r)) return false;
                std::size_t rowBytes = 0;
                for (int c = 0; c < columns_; ++c) {
                    const Cell cell = withinLimits(table_.cell(r, c), &adjusted_);
                    widths_.add(c, cell);
                    if (cell.kind == Cell::Kind::Text) {
                        cellStrings_.push_back(strings_.add(cell.text));
                        rowBytes += kLabelSstSize;
                    } else if (cell.kind == Cell::Kind::Number) {
                        rowBytes += kNumberSize;
                    }
                }
                plan.cells.addRow(static_cast<std::uint32_t>(r - plan.firstRow + 1), rowBytes);
            }
            plan.bytes = sheetHeadBytes(plan) + plan.cells.bytes() + sheetTailBytes();
        }
        return true;
    }

    void writeGlobals(ByteBuffer& out) {
        bof(out, 0x0005);
        bookSettings(out);
        formatting(out);

        std::vector<std::size_t> offsetFields;
        for (std::size_t s = 0; s < plans_.size(); ++s) {
            const std::string name = sheetName(static_cast<int>(s));
            out.beginRecord(id::kBoundSheet);
            offsetFields.push_back(out.size());
            out.u32(0);  // patched below
            out.u8(0);   // visible
            out.u8(0);   // worksheet
            out.u8(static_cast<std::uint8_t>(name.size()));
            out.u8(0);
            for (char ch : name) out.u8(static_cast<std::uint8_t>(ch));
            out.endRecord();
        }
        simple(out, id::kCountry, {86, 86});  // China
        strings_.write(out);
        eof(out);

        std::size_t offset = out.size();
        for (std::size_t s = 0; s < plans_.size(); ++s) {
            out.patchU32(offsetFields[s], static_cast<std::uint32_t>(offset));
            plans_[s].start = offset;
            offset += plans_[s].bytes;
        }
    }

    // Pass two: the worksheets, handed to sink in pieces.
    template <typename Sink>
    bool writeSheets(Sink&& sink) {
        ByteBuffer out;
        out.reserve(1 << 17);
        std::size_t nextString = 0;
        for (std::size_t s = 0; s < plans_.size(); ++s) {
            const SheetPlan& plan = plans_[s];
            std::size_t written = 0;
            const auto flush = [&] {
                written += out.size();
                sink(out.data(), out.size());
                out.clear();
            };
            writeSheetHead(out, plan);
            CellTableWriter cells(plan.cells);
            cells.beginRow(0, out);
            for (std::size_t k = 0; k < headerStrings_.size(); ++k)
                labelSst(cells.cells(), 0, headerColumn(k), headerStrings_[k], kHeaderXf);
            for (int r = 0; r < plan.rows; ++r) {
                const int row = plan.firstRow + r;
                if (!report(rows_ + row)) return false;
                cells.beginRow(static_cast<std::uint32_t>(r + 1), out);
                for (int c = 0; c < columns_; ++c) {
                    const Cell cell = withinLimits(table_.cell(row, c));
                    if (cell.kind == Cell::Kind::Text)
                        labelSst(cells.cells(), r + 1, c, cellStrings_[nextString++]);
                    else if (cell.kind == Cell::Kind::Number)
                        number(cells.cells(), r + 1, c, cell.number);
                }
                if (out.size() >= (1 << 16)) flush();
            }
            cells.finish(out);
            simple(
                out, id::kWindow2,
                {static_cast<std::uint16_t>(s == 0 ? 0x06B6 : 0x00B6), 0, 0, 0x40, 0, 0, 0, 0, 0});
            eof(out);
            flush();
            if (written != plan.bytes)
                throw store::StoreError("导出数据失败：表格数据在写入时发生了变化");
        }
        return true;
    }

    bool finished() const { return !progress_ || progress_(total_, total_); }

    const CellAdjustments& adjusted() const noexcept { return adjusted_; }

  private:
    int headerColumn(std::size_t k) const {
        int seen = 0;
        for (int c = 0; c < columns_; ++c)
            if (!table_.columnName(c).empty() && seen++ == static_cast<int>(k)) return c;
        return 0;
    }

    // BOF, INDEX, WSBOOL, DEFCOLWIDTH, a COLINFO per column and DIMENSIONS: what precedes the
    // cell table.
    std::size_t sheetHeadBytes(const SheetPlan& plan) const {
        return (4 + 16) + indexRecordBytes(plan.cells) + (4 + 2) + (4 + 2) +
               (4 + 12) * static_cast<std::size_t>(columns_) + (4 + 14);
    }
    static std::size_t sheetTailBytes() { return (4 + 18) + 4; }  // WINDOW2 EOF

    void writeSheetHead(ByteBuffer& out, const SheetPlan& plan) const {
        const std::size_t defColWidthAt =
            plan.start + (4 + 16) + indexRecordBytes(plan.cells) + (4 + 2);
        bof(out, 0x0010);
        indexRecord(out, plan.cells, defColWidthAt, plan.start + sheetHeadBytes(plan));
        simple(out, id::kWsBool, {0x04C1});
        simple(out, id::kDefColWidth, {kDefaultColumnWidth});
        for (int c = 0; c < columns_; ++c) {
            // One character more than the widest value, for the cell's margins.
            const int characters = widths_.characters(c);
            const int width = characters == 0 ? kDefaultColumnWidth : characters + 1;
            simple(out, id::kColInfo,
                   {static_cast<std::uint16_t>(c), static_cast<std::uint16_t>(c),
                    static_cast<std::uint16_t>(width * 256), kCellXf, 0, 0});
        }
        out.beginRecord(id::kDimensions);
        out.u32(0);
        out.u32(static_cast<std::uint32_t>(plan.rows + 1));
        out.u16(0);
        out.u16(static_cast<std::uint16_t>(columns_));
        out.u16(0);
        out.endRecord();
    }

    static void labelSst(ByteBuffer& out, int row, int column, std::uint32_t entry,
                         std::uint16_t format = kCellXf) {
        out.beginRecord(id::kLabelSst);
        out.u16(static_cast<std::uint16_t>(row));
        out.u16(static_cast<std::uint16_t>(column));
        out.u16(format);
        out.u32(entry);
        out.endRecord();
    }

    static void number(ByteBuffer& out, int row, int column, double value) {
        out.beginRecord(id::kNumber);
        out.u16(static_cast<std::uint16_t>(row));
        out.u16(static_cast<std::uint16_t>(column));
        out.u16(kCellXf);
        out.f64(value);
        out.endRecord();
    }

    bool report(int step) const {
        if (!progress_ || step % kProgressEvery != 0) return true;
        return progress_(step, total_);
    }

    const TableSource& table_;
    const Progress& progress_;
    int columns_;
    int rows_;
    std::int64_t total_ = 0;
    std::vector<SheetPlan> plans_;
    ColumnWidths widths_;
    SharedStrings strings_;
    std::vector<std::uint32_t> headerStrings_;
    std::vector<std::uint32_t> cellStrings_;  // the entry of every text cell, in writing order
    CellAdjustments adjusted_;                // counted in pass one
};

}  // namespace

WriteResult writeWorkbook(const std::string& file, const TableSource& table,
                          const Progress& progress, const std::string& permissionsLimit) {
    refuseMoreColumnsThan(kMaxColumns, table);
    WorkbookBuilder builder(table, progress);
    if (!builder.collect()) return {};
    CompoundFile out(file, "Workbook", permissionsLimit);
    {
        ByteBuffer globals;
        builder.writeGlobals(globals);
        out.write(globals.data(), globals.size());
    }
    if (!builder.writeSheets(
            [&out](const std::uint8_t* data, std::size_t size) { out.write(data, size); }))
        return {};
    if (!builder.finished()) return {};
    out.commit();
    return {Outcome::Written, builder.adjusted()};
}

}  // namespace workbook
