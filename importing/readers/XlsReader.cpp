#include "importing/readers/XlsReader.h"

#include <vector>

#include "importing/readers/BiffGlobals.h"
#include "importing/readers/BiffSheet.h"
#include "importing/readers/BiffStream.h"
#include "importing/readers/ReadMessages.h"
#include "importing/readers/RowCells.h"

namespace importing {

namespace {

// Excel 97–2003 holds at most this many rows on a sheet.
constexpr unsigned kRowsOfAFullSheet = 65536;

// The cells of a row without its trailing empty ones.
std::vector<std::string> trimmedCells(RowCells& cells) {
    const auto& views = cells.views();
    std::vector<std::string> texts(views.begin(), views.end());
    while (!texts.empty() && texts.back().empty()) texts.pop_back();
    return texts;
}

// The sheets read as one table from first on: first alone, or all of them when they continue it.
int sheetsToRead(biff::RecordStream& stream, const biff::Globals& globals, int first,
                 RowCells& cells) {
    const int count = static_cast<int>(globals.sheets.size());
    if (first != 0 || count < 2) return 1;
    std::vector<std::string> header;
    for (int sheet = 0; sheet < count; ++sheet) {
        biff::SheetRows rows(stream, globals, static_cast<std::size_t>(sheet));
        if (rows.rowCount() == 0) return 1;
        if (sheet < count - 1 && rows.rowCount() != kRowsOfAFullSheet) return 1;
        std::uint32_t row = 0;
        if (!rows.next(row, cells) || row != 0) cells.clear();
        auto cellsOfRow = trimmedCells(cells);
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
    biff::RecordStream stream(path);
    const biff::Globals globals = biff::readGlobals(stream);
    SheetFacts facts;
    facts.format = "xls";
    for (const auto& sheet : globals.sheets) facts.sheetNames.push_back(sheet.name);
    const int count = static_cast<int>(facts.sheetNames.size());
    if (options.sheet < 0 || options.sheet >= count)
        throw ReadError(messages::noSheet(stream.file(), options.sheet, count));

    RowCells cells;
    facts.sheetsRead = sheetsToRead(stream, globals, options.sheet, cells);
    std::int64_t rowsBefore = 0;  // the rows of the sheets before, header rows left out
    for (int s = 0; s < facts.sheetsRead; ++s) {
        biff::SheetRows rows(stream, globals, static_cast<std::size_t>(options.sheet + s));
        std::uint32_t row = 0;
        while (rows.next(row, cells)) {
            if (s > 0 && row == 0) continue;  // the header row the sheet repeats
            if (cells.blank()) continue;
            const std::int64_t rowNumber = rowsBefore + row + (s == 0 ? 1 : 0);
            ++facts.rows;
            if (!sink(rowNumber, cells.views())) return facts;
        }
        rowsBefore += s == 0 ? rows.rowCount() : rows.rowCount() - 1;
    }
    return facts;
}

}  // namespace importing
