// Reading the rows of an import file of 表1's size, from .csv and from .xls (our own export of
// 表1), against one reconnect-and-requery of 表1 in the same run; and the reading's peak memory
// against the text bytes of the table. The whole import's target is 3× a requery and 3× the
// text, so the reading alone must stay well inside both.
#include <benchmark/benchmark.h>

#include <fstream>
#include <string>

#include "bench/EveryReadFromTheFile.h"
#include "bench/ProcessMeasures.h"
#include "bench/TextBytes.h"
#include "export/QueryTable.h"
#include "export/Workbook.h"
#include "importing/readers/SheetReader.h"
#include "store/Connection.h"
#include "store/Query.h"
#include "store/Schema.h"
#include "tests/support/GoodsDatabases.h"

namespace {

using testsupport::goodsDatabase;

void writeCsvField(std::ofstream& out, std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
        out << text;
        return;
    }
    out << '"';
    for (const char c : text) {
        if (c == '"') out << '"';
        out << c;
    }
    out << '"';
}

// The goods table as a shop's spreadsheet program saves it as CSV: UTF-8, a header row.
void writeCsv(const std::string& file, const store::Query& query) {
    std::ofstream out(file, std::ios::binary);
    const auto& fields = query.fields();
    for (std::size_t c = 0; c < fields.size(); ++c) {
        if (c > 0) out << ',';
        writeCsvField(out, fields[c].name);
    }
    out << "\r\n";
    for (int row = 0; row < query.recordCount(); ++row) {
        for (int c = 0; c < static_cast<int>(fields.size()); ++c) {
            if (c > 0) out << ',';
            writeCsvField(out, query.fieldTextAt(row, c));
        }
        out << "\r\n";
    }
}

// Every cell's bytes, as the import's mapping must at least look at them.
std::size_t readAll(const std::string& file) {
    std::size_t bytes = 0;
    importing::readSheet(file, [&](std::int64_t, const std::vector<std::string_view>& cells) {
        for (const auto cell : cells) bytes += cell.size();
        return true;
    });
    return bytes;
}

void BM_ReadImportFile(benchmark::State& state, const char* extension) {
    const auto& db = goodsDatabase(static_cast<int>(state.range(0)));
    testsupport::ScopedCurrentDirectory cwd(db.directory());
    store::Connection connection;
    store::Query query(connection);
    store::reconnectAndRequery(connection, {{&query, store::schema::kGoods}});
    const double text = static_cast<double>(benchsupport::textBytes(query));
    const std::string file = (db.directory() / (std::string("goods.") + extension)).string();
    if (std::string(extension) == "csv")
        writeCsv(file, query);
    else
        workbook::writeWorkbook(file, workbook::QueryTable(query));

    // The first read gives the peak memory.
    const double peak = benchsupport::peakGrowth([&] { benchmark::DoNotOptimize(readAll(file)); });
    benchsupport::timeAgainstRequery(
        state, "read",
        [&] {
            store::reconnectAndRequery(connection, {{&query, store::schema::kGoods}});
        },
        [&] { benchmark::DoNotOptimize(readAll(file)); });
    state.counters["rows"] = query.recordCount();
    state.counters["textBytes"] = text;
    if (peak >= 0) state.counters["peakPerText"] = peak / text;
}

BENCHMARK_CAPTURE(BM_ReadImportFile, csv, "csv")
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);
BENCHMARK_CAPTURE(BM_ReadImportFile, xls, "xls")
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
