#include "export/XlsxWorkbook.h"

#include <xlsxwriter.h>

#include <cstdio>
#include <memory>

#include "export/CellLimits.h"
#include "export/ColumnWidths.h"
#include "export/ScratchTarget.h"
#include "store/Error.h"

namespace workbook {

namespace {

constexpr const char* kFontName = "宋体";
constexpr double kFontPoints = 11;
constexpr std::uint8_t kGb2312Charset = 134;
constexpr int kProgressEvery = 512;  // rows between progress reports

struct FreeWorkbook {
    void operator()(lxw_workbook* workbook) const noexcept { lxw_workbook_free(workbook); }
};
using WorkbookPtr = std::unique_ptr<lxw_workbook, FreeWorkbook>;

void useSheetFont(lxw_format* format) {
    format_set_font_name(format, kFontName);
    format_set_font_size(format, kFontPoints);
    format_set_font_charset(format, kGb2312Charset);
    format_set_font_scheme(format, "");  // the font by its name, not the theme's
}

bool isHex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

// Whether text holds "_xHHHH_", which a reader takes for the character it encodes.
bool holdsEscapeLikeText(std::string_view text) {
    for (std::size_t at = text.find("_x"); at != text.npos; at = text.find("_x", at + 1)) {
        if (at + 7 > text.size() || text[at + 6] != '_') continue;
        if (isHex(text[at + 2]) && isHex(text[at + 3]) && isHex(text[at + 4]) &&
            isHex(text[at + 5]))
            return true;
    }
    return false;
}

// text as the sheet gets it, in buffer: NUL-terminated, and each "_xHHHH_" in it with its
// underscore written as "_x005F_" so that it reads back as the text it is.
const char* sheetText(std::string_view text, std::string& buffer) {
    buffer.assign(text);
    if (holdsEscapeLikeText(text)) {
        buffer.clear();
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '_' && holdsEscapeLikeText(text.substr(i, 7))) buffer += "_x005F";
            buffer += text[i];
        }
    }
    return buffer.c_str();
}

class XlsxWriter {
  public:
    XlsxWriter(const TableSource& table, const Progress& progress, ScratchTarget& scratch)
        : table_(table),
          progress_(progress),
          scratch_(scratch),
          rows_(table.rowCount()),
          total_(static_cast<std::int64_t>(rows_) * 3 / 2 + 1) {
        // Rows go to a temporary file as they are written; texts are written in the rows.
        lxw_workbook_options options{};
        options.constant_memory = LXW_TRUE;
        book_.reset(workbook_new_opt(scratch_.name().c_str(), &options));
        if (!book_) scratch_.fail("无法创建工作簿");
        // The first format is the workbook's Normal style: every cell without a format of its
        // own, and the unit of the column widths, is 宋体 then.
        if (lxw_format* normal = STAILQ_FIRST(book_->formats)) useSheetFont(normal);
        header_ = workbook_add_format(book_.get());
        useSheetFont(header_);
        format_set_bold(header_);
        sheet_ = workbook_add_worksheet(book_.get(), "Sheet1");
        if (sheet_ == nullptr) scratch_.fail("无法创建工作表");
    }

    // False when cancelled.
    bool writeRows(CellAdjustments& adjusted) {
        ColumnWidths widths(table_);
        for (int c = 0; c < table_.columnCount(); ++c)
            put(0, c, withinLimits(Cell::ofText(table_.columnName(c))), header_);
        for (int r = 0; r < rows_; ++r) {
            if (r % kProgressEvery == 0 && !report(r)) return false;
            for (int c = 0; c < table_.columnCount(); ++c) {
                const Cell cell = withinLimits(table_.cell(r, c), &adjusted);
                widths.add(c, cell);
                put(r + 1, c, cell, nullptr);
            }
        }
        for (int c = 0; c < table_.columnCount(); ++c) {
            const auto column = static_cast<lxw_col_t>(c);
            if (widths.characters(c) > 0)
                check(worksheet_set_column(sheet_, column, column, widths.characters(c), nullptr));
        }
        // The last chance to cancel: packing the file takes the rest of the time.
        return report(rows_);
    }

    // Packs the workbook into the scratch file.
    void close() {
        const lxw_error error = workbook_close(book_.release());  // frees it in any case
        if (error != LXW_NO_ERROR) scratch_.fail(lxw_strerror(error));
    }

  private:
    void put(int row, int column, const Cell& cell, lxw_format* format) {
        const auto r = static_cast<lxw_row_t>(row);
        const auto c = static_cast<lxw_col_t>(column);
        if (cell.kind == Cell::Kind::Text)
            check(worksheet_write_string(sheet_, r, c, sheetText(cell.text, text_), format));
        else if (cell.kind == Cell::Kind::Number)
            check(worksheet_write_number(sheet_, r, c, cell.number, format));
    }

    void check(lxw_error error) const {
        if (error != LXW_NO_ERROR) scratch_.fail(lxw_strerror(error));
    }

    bool report(int row) const { return !progress_ || progress_(row, total_); }

    const TableSource& table_;
    const Progress& progress_;
    ScratchTarget& scratch_;
    int rows_;
    std::int64_t total_;  // the rows and, estimated, the packing after them
    WorkbookPtr book_;
    lxw_format* header_ = nullptr;
    lxw_worksheet* sheet_ = nullptr;
    std::string text_;  // the text being written, NUL-terminated
};

}  // namespace

WriteResult writeXlsxWorkbook(const std::string& file, const TableSource& table,
                              const Progress& progress, const std::string& permissionsLimit) {
    refuseMoreColumnsThan(kXlsxMaxColumns, table);
    if (table.rowCount() > kXlsxRowsPerSheet)
        throw store::StoreError(
            "导出数据失败：Excel 工作簿 (*.xlsx) 的工作表最多容纳 1048575 行数据，而数据有 " +
            std::to_string(table.rowCount()) +
            " 行。请导出为 Excel 97-2003 工作簿 (*.xls)，它分多个工作表容纳全部数据");
    ScratchTarget scratch(file, permissionsLimit);
    std::fclose(scratch.create());  // the name is ours; the workbook is packed into it at the end
    WriteResult result;
    XlsxWriter writer(table, progress, scratch);
    if (!writer.writeRows(result.adjusted)) return {};
    writer.close();
    scratch.commit();
    result.outcome = Outcome::Written;
    return result;
}

}  // namespace workbook
