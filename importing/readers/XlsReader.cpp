#include "importing/readers/XlsReader.h"

#include <freexl.h>

#include <memory>
#include <vector>

#include "importing/readers/CellText.h"
#include "importing/readers/ReadMessages.h"
#include "importing/readers/RowCells.h"
#include "importing/readers/WholeFile.h"

namespace importing {

namespace {

// Excel 97–2003 holds at most this many rows on a sheet.
constexpr unsigned kRowsOfAFullSheet = 65536;

std::string freexlFault(int code) {
    switch (code) {
        case FREEXL_FILE_NOT_FOUND:
            return "文件不存在或不能读取。";
        case FREEXL_INVALID_CFBF_HEADER:
        case FREEXL_CFBF_INVALID_SIGNATURE:
        case FREEXL_BIFF_WORKBOOK_NOT_FOUND:
            return "它不是 Excel 97-2003 工作簿（.xls）。";
        case FREEXL_INSUFFICIENT_MEMORY:
            return "内存不足。";
        default:
            return "工作簿已损坏，或含有本程序读不了的内容（FreeXL 错误 " + std::to_string(code) +
                   "）。请在表格软件中把它另存为 .xlsx 或 CSV 文件后再导入。";
    }
}

class Workbook {
  public:
    explicit Workbook(const std::string& path) : file_(fileNameOf(path)) {
        const void* handle = nullptr;
        const int opened = freexl_open(path.c_str(), &handle);
        handle_.reset(handle);
        if (opened != FREEXL_OK) fail(opened);
        unsigned password = 0;
        if (freexl_get_info(handle_.get(), FREEXL_BIFF_PASSWORD, &password) == FREEXL_OK &&
            password == FREEXL_BIFF_OBFUSCATED)
            throw ReadError(
                messages::badWorkbook(file_, "工作簿有密码保护。请先在表格软件中取消密码。"));
        unsigned dateMode = 0;
        check(freexl_get_info(handle_.get(), FREEXL_BIFF_DATEMODE, &dateMode));
        unsigned sheets = 0;
        check(freexl_get_info(handle_.get(), FREEXL_BIFF_SHEET_COUNT, &sheets));
        for (unsigned s = 0; s < sheets; ++s) {
            const char* name = nullptr;
            check(freexl_get_worksheet_name(handle_.get(), static_cast<unsigned short>(s), &name));
            names_.emplace_back(name ? name : "");
        }
    }

    const std::vector<std::string>& sheetNames() const { return names_; }
    const std::string& file() const { return file_; }

    // Makes sheet the one read; its size.
    unsigned select(int sheet, unsigned short& columns) {
        check(freexl_select_active_worksheet(handle_.get(), static_cast<unsigned short>(sheet)));
        unsigned rows = 0;
        check(freexl_worksheet_dimensions(handle_.get(), &rows, &columns));
        return rows;
    }

    // Reads row of the selected sheet into cells.
    void readRow(unsigned row, unsigned short columns, RowCells& cells, std::int64_t rowNumber) {
        cells.clear();
        for (unsigned short c = 0; c < columns; ++c) {
            FreeXL_CellValue value{};
            const int got = freexl_get_cell_value(handle_.get(), row, c, &value);
            if (got != FREEXL_OK)
                throw ReadError(messages::badWorkbook(file_, "第 " + std::to_string(rowNumber) +
                                                                 " 行第 " + std::to_string(c + 1) +
                                                                 " 列：" + freexlFault(got)));
            appendCell(value, cells.text());
            cells.endCell();
        }
    }

  private:
    struct Close {
        void operator()(const void* handle) const { freexl_close(handle); }
    };

    static void appendCell(const FreeXL_CellValue& value, std::string& out) {
        switch (value.type) {
            case FREEXL_CELL_INT:
                out += std::to_string(value.value.int_value);
                break;
            case FREEXL_CELL_DOUBLE:
                out += celltext::numberText(value.value.double_value);
                break;
            case FREEXL_CELL_TEXT:
            case FREEXL_CELL_SST_TEXT:
            case FREEXL_CELL_TIME:
                if (value.value.text_value) out += value.value.text_value;
                break;
            case FREEXL_CELL_DATE:
            case FREEXL_CELL_DATETIME:  // the day only: yyyy-mm-dd of "yyyy-mm-dd hh:mm:ss"
                if (value.value.text_value)
                    out += std::string_view(value.value.text_value).substr(0, 10);
                break;
            default:
                break;
        }
    }

    void check(int code) const {
        if (code != FREEXL_OK) fail(code);
    }
    [[noreturn]] void fail(int code) const {
        throw ReadError(messages::badWorkbook(file_, freexlFault(code)));
    }

    std::string file_;
    std::unique_ptr<const void, Close> handle_;
    std::vector<std::string> names_;
};

// The sheets read as one table from first on: first alone, or all of them when they continue it.
int sheetsToRead(Workbook& book, int first, RowCells& cells) {
    const int count = static_cast<int>(book.sheetNames().size());
    if (first != 0 || count < 2) return 1;
    std::vector<std::string> header;
    for (int sheet = 0; sheet < count; ++sheet) {
        unsigned short columns = 0;
        const unsigned rows = book.select(sheet, columns);
        if (rows == 0) return 1;
        if (sheet < count - 1 && rows != kRowsOfAFullSheet) return 1;
        book.readRow(0, columns, cells, 1);
        const auto& views = cells.views();
        std::vector<std::string> cellsOfRow(views.begin(), views.end());
        while (!cellsOfRow.empty() && cellsOfRow.back().empty()) cellsOfRow.pop_back();
        if (sheet == 0) {
            if (cellsOfRow.empty()) return 1;
            header = std::move(cellsOfRow);
        } else if (cellsOfRow != header) {
            return 1;
        }
    }
    return count;
}

}  // namespace

SheetFacts readXls(const std::string& path, const RowSink& sink, const ReadOptions& options) {
    Workbook book(path);
    SheetFacts facts;
    facts.format = "xls";
    facts.sheetNames = book.sheetNames();
    const int count = static_cast<int>(facts.sheetNames.size());
    if (options.sheet < 0 || options.sheet >= count)
        throw ReadError(messages::noSheet(book.file(), options.sheet, count));

    RowCells cells;
    facts.sheetsRead = sheetsToRead(book, options.sheet, cells);
    std::int64_t rowsBefore = 0;  // the rows of the sheets before, header rows left out
    for (int s = 0; s < facts.sheetsRead; ++s) {
        unsigned short columns = 0;
        const unsigned rows = book.select(options.sheet + s, columns);
        for (unsigned row = s == 0 ? 0 : 1; row < rows; ++row) {
            const std::int64_t rowNumber = rowsBefore + row + (s == 0 ? 1 : 0);
            book.readRow(row, columns, cells, rowNumber);
            if (cells.blank()) continue;
            ++facts.rows;
            if (!sink(rowNumber, cells.views())) return facts;
        }
        rowsBefore += s == 0 ? rows : rows - 1;
    }
    return facts;
}

}  // namespace importing
