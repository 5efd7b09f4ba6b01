#pragma once

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// Reading the rows of a workbook (.xls, .xlsx) or a CSV file as texts, for the import of
// purchases. Every cell comes as the text the import stores: a number cell as its shortest
// decimal text (never exponent form: 06932169358293 read as a number comes back as
// "6932169358293"), a date cell as yyyy-MM-dd, a boolean as "TRUE"/"FALSE", an empty cell as "".
namespace importing {

// A file that cannot be read: what() is the Chinese message naming the file and, where known,
// the row and column.
class ReadError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// What was found out about the file while reading it.
struct SheetFacts {
    std::string format;    // "xls", "xlsx" or "csv"
    std::string encoding;  // csv: "UTF-8 (BOM)", "UTF-8" or "GB18030"; empty for workbooks
    char separator = 0;    // csv: ',', ';' or '\t'; 0 for workbooks
    std::vector<std::string> sheetNames;  // workbooks: every sheet, in order
    std::int64_t rows = 0;                // the rows handed on, the header row included
    // .xls: the sheets read on as one table, 1 unless a table was spread over full sheets that
    // each begin with the same header row (as our export splits a table of more than 65,535 rows);
    // their rows are numbered on from the sheet before, the repeated header rows left out.
    int sheetsRead = 1;
};

struct ReadOptions {
    int sheet = 0;  // workbooks: the sheet read, 0 the first
};

// Told each row in order, the header row (row 1) first; rowNumber is the file's 1-based row (a
// CSV line break inside quotes does not count); cells are valid only during the call, trailing
// empty cells may be missing. Rows without any text are counted but not handed on. Returns false to
// stop reading (the import's 取消).
using RowSink =
    std::function<bool(std::int64_t rowNumber, const std::vector<std::string_view>& cells)>;

// Reads path by its extension (.xls, .xlsx, .csv; case ignored), handing every row to sink.
// A workbook is told by its content: a .xlsx named .xls reads all the same, and text named .xls
// or .xlsx (tab-separated, as many systems save it) reads as CSV. Holds no more than one row's
// cells beside the file's bytes (.csv) or the workbook's shared strings (.xlsx, whose sheet is
// read as it is inflated; .xls, whose sheet is read record by record). Throws ReadError.
SheetFacts readSheet(const std::string& path, const RowSink& sink, const ReadOptions& options = {});

}  // namespace importing
