#include "export/Workbook.h"

#include <algorithm>
#include <vector>

#include "export/ByteBuffer.h"
#include "export/CellLimits.h"
#include "export/CompoundFile.h"
#include "export/SharedStrings.h"
#include "store/Error.h"

namespace workbook {

namespace {

namespace id {
constexpr std::uint16_t kBof = 0x0809, kEof = 0x000A, kInterfaceHdr = 0x00E1, kMms = 0x00C1,
                        kInterfaceEnd = 0x00E2, kCodePage = 0x0042, kDsf = 0x0161,
                        kWindow1 = 0x003D, kDateMode = 0x0022, kFont = 0x0031, kXf = 0x00E0,
                        kStyle = 0x0293, kBoundSheet = 0x0085, kWsBool = 0x0081,
                        kDimensions = 0x0200, kLabelSst = 0x00FD, kNumber = 0x0203,
                        kWindow2 = 0x023E;
}  // namespace id

constexpr std::uint16_t kCellXf = 15;  // the default cell format
constexpr std::size_t kLabelSstSize = 4 + 10;
constexpr std::size_t kNumberSize = 4 + 14;
constexpr int kProgressEvery = 512;  // rows between progress reports

void bof(ByteBuffer& out, std::uint16_t type) {
    out.beginRecord(id::kBof);
    out.u16(0x0600);  // BIFF8
    out.u16(type);
    out.u16(0x0DBB);  // build
    out.u16(0x07CC);  // year
    out.u32(0x00000041);
    out.u32(0x00000006);
    out.endRecord();
}

void simple(ByteBuffer& out, std::uint16_t record, std::initializer_list<std::uint16_t> words) {
    out.beginRecord(record);
    for (std::uint16_t w : words) out.u16(w);
    out.endRecord();
}

void font(ByteBuffer& out, std::uint16_t flags, std::uint16_t weight) {
    out.beginRecord(id::kFont);
    out.u16(200);  // 10 points in twips
    out.u16(flags);
    out.u16(0x7FFF);  // automatic colour
    out.u16(weight);
    out.u16(0);  // no super- or subscript
    out.u8(0);   // no underline
    out.u8(0);   // family
    out.u8(0);   // character set
    out.u8(0);
    static constexpr char kName[] = "Arial";
    out.u8(static_cast<std::uint8_t>(sizeof kName - 1));
    out.u8(0);
    for (std::size_t k = 0; k + 1 < sizeof kName; ++k) out.u8(static_cast<std::uint8_t>(kName[k]));
    out.endRecord();
}

void xf(ByteBuffer& out, std::uint16_t typeAndParent, std::uint8_t usedAttributes) {
    out.beginRecord(id::kXf);
    out.u16(0);  // font 0
    out.u16(0);  // format General
    out.u16(typeAndParent);
    out.u8(0x20);  // bottom aligned
    out.u8(0);
    out.u8(0);
    out.u8(usedAttributes);
    out.zeros(8);  // no borders, no fill
    out.u16(0x20C0);
    out.endRecord();
}

std::string sheetName(int index) { return "Sheet" + std::to_string(index + 1); }

// Where each worksheet's rows lie and how many bytes its substream takes.
struct SheetPlan {
    int firstRow = 0;  // table row
    int rows = 0;      // table rows on the sheet
    std::size_t bytes = 0;
};

class WorkbookBuilder {
  public:
    WorkbookBuilder(const TableSource& table, const Progress& progress)
        : table_(table),
          progress_(progress),
          columns_(table.columnCount()),
          rows_(table.rowCount()) {
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
            plan.bytes = sheetFrameBytes() + headerBytes;
            for (int r = plan.firstRow; r < plan.firstRow + plan.rows; ++r) {
                if (!report(r)) return false;
                for (int c = 0; c < columns_; ++c) {
                    const Cell cell = withinLimits(table_.cell(r, c), &adjusted_);
                    if (cell.kind == Cell::Kind::Text) {
                        cellStrings_.push_back(strings_.add(cell.text));
                        plan.bytes += kLabelSstSize;
                    } else if (cell.kind == Cell::Kind::Number) {
                        plan.bytes += kNumberSize;
                    }
                }
            }
        }
        return true;
    }

    void writeGlobals(ByteBuffer& out) const {
        bof(out, 0x0005);
        simple(out, id::kInterfaceHdr, {1200});
        simple(out, id::kMms, {0});
        simple(out, id::kInterfaceEnd, {});
        simple(out, id::kCodePage, {1200});
        simple(out, id::kDsf, {0});
        simple(out, id::kWindow1, {0x0168, 0x001E, 0x3FCF, 0x2A4E, 0x0038, 0, 0, 1, 600});
        simple(out, id::kDateMode, {0});
        font(out, 0, 400);
        font(out, 0, 700);
        font(out, 0x02, 400);
        font(out, 0x02, 700);
        font(out, 0, 400);
        xf(out, 0xFFF5, 0x00);
        for (int k = 1; k <= 14; ++k) xf(out, 0xFFF5, 0xF4);
        xf(out, 0x0001, 0x00);
        out.beginRecord(id::kStyle);
        out.u16(0x8000);  // built-in style on XF 0
        out.u8(0);        // Normal
        out.u8(0xFF);
        out.endRecord();

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
        strings_.write(out);
        out.beginRecord(id::kEof);
        out.endRecord();

        std::size_t offset = out.size();
        for (std::size_t s = 0; s < plans_.size(); ++s) {
            out.patchU32(offsetFields[s], static_cast<std::uint32_t>(offset));
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
            bof(out, 0x0010);
            simple(out, id::kWsBool, {0x04C1});
            out.beginRecord(id::kDimensions);
            out.u32(0);
            out.u32(static_cast<std::uint32_t>(plan.rows + 1));
            out.u16(0);
            out.u16(static_cast<std::uint16_t>(columns_));
            out.u16(0);
            out.endRecord();
            for (std::size_t k = 0; k < headerStrings_.size(); ++k)
                labelSst(out, 0, headerColumn(k), headerStrings_[k]);
            for (int r = 0; r < plan.rows; ++r) {
                const int row = plan.firstRow + r;
                if (!report(rows_ + row)) return false;
                for (int c = 0; c < columns_; ++c) {
                    const Cell cell = withinLimits(table_.cell(row, c));
                    if (cell.kind == Cell::Kind::Text)
                        labelSst(out, r + 1, c, cellStrings_[nextString++]);
                    else if (cell.kind == Cell::Kind::Number)
                        number(out, r + 1, c, cell.number);
                }
                if (out.size() >= (1 << 16)) flush();
            }
            simple(
                out, id::kWindow2,
                {static_cast<std::uint16_t>(s == 0 ? 0x06B6 : 0x00B6), 0, 0, 0x40, 0, 0, 0, 0, 0});
            out.beginRecord(id::kEof);
            out.endRecord();
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

    static std::size_t sheetFrameBytes() {
        return (4 + 16) + (4 + 2) + (4 + 14) + (4 + 18) + 4;  // BOF WSBOOL DIMENSIONS WINDOW2 EOF
    }

    static void labelSst(ByteBuffer& out, int row, int column, std::uint32_t entry) {
        out.beginRecord(id::kLabelSst);
        out.u16(static_cast<std::uint16_t>(row));
        out.u16(static_cast<std::uint16_t>(column));
        out.u16(kCellXf);
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
    SharedStrings strings_;
    std::vector<std::uint32_t> headerStrings_;
    std::vector<std::uint32_t> cellStrings_;  // the entry of every text cell, in writing order
    CellAdjustments adjusted_;                // counted in pass one
};

}  // namespace

WriteResult writeWorkbook(const std::string& file, const TableSource& table,
                          const Progress& progress, const std::string& permissionsLimit) {
    if (table.columnCount() > kMaxColumns)
        throw store::StoreError("导出数据失败：工作表最多容纳 256 列，而数据有 " +
                                std::to_string(table.columnCount()) + " 列");
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
