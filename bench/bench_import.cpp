// The import of 100,000 purchases from a .csv file and from our own .xls export into an empty 表1,
// against one reconnect-and-requery of the 表1 it filled, in the same run; and the import's peak
// memory against the text of the file's cells, beside the peak of the reading alone.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <chrono>
#include <fstream>
#include <string>

#include "bench/ProcessMeasures.h"
#include "export/StagingCopy.h"
#include "export/Workbook.h"
#include "importing/records/PurchaseImport.h"
#include "store/Connection.h"
#include "store/ConnectionString.h"
#include "store/Database.h"
#include "store/Query.h"
#include "store/Schema.h"
#include "store/WindowTables.h"
#include "tests/support/GoodsDatabases.h"
#include "tests/support/TestDatabase.h"

namespace {

constexpr int kRows = 100000;

double seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

std::string csvField(std::string_view text) {
    std::string field = "\"";
    for (char c : text) field += c == '"' ? std::string("\"\"") : std::string(1, c);
    return field + "\"";
}

// The purchase export of the generated goods as .xls, and the same columns as .csv, written
// once beside the goods file.
struct ExportedFiles {
    std::string xls;
    std::string csv;
    ExportedFiles() {
        const auto& db = testsupport::goodsDatabase(kRows);
        testsupport::ScopedCurrentDirectory cwd(db.directory());
        xls = (db.directory() / "purchases.xls").string();
        csv = (db.directory() / "purchases.csv").string();
        store::WindowTables tables({store::schema::kGoods, store::schema::kPurchaseExport});
        tables.open();
        exporting::refreshForExport(tables.connection(), tables.query(0), tables.query(1),
                                    store::schema::kPurchaseExport);
        workbook::writeWorkbook(
            xls, exporting::fillStaging(tables.connection(), tables.query(0), tables.query(1)));
        const auto columns = store::schema::table(store::schema::kPurchaseExport).columnNames();
        std::ofstream out(csv, std::ios::binary);
        for (std::size_t c = 0; c < columns.size(); ++c) out << (c ? "," : "") << columns[c];
        out << "\n";
        store::Query& goods = tables.query(0);
        for (int row = 0; row < goods.recordCount(); ++row) {
            for (std::size_t c = 0; c < columns.size(); ++c)
                out << (c ? "," : "")
                    << csvField(goods.fieldTextAt(row, goods.fieldIndex(columns[c])));
            out << "\n";
        }
    }
};

const ExportedFiles& exportedFiles() {
    static const ExportedFiles files;
    return files;
}

// The bytes of the texts of every cell the file hands on.
double cellTextBytes(const importing::RowSource& source) {
    double bytes = 0;
    source([&](std::int64_t, const std::vector<std::string_view>& cells) {
        for (const auto cell : cells) bytes += static_cast<double>(cell.size());
        return true;
    });
    return bytes;
}

void BM_ImportPurchases(benchmark::State& state) {
    const std::string file = state.range(0) == 0 ? exportedFiles().csv : exportedFiles().xls;
    testsupport::TestDatabase target(testsupport::TestDatabase::Content::Empty);
    store::Connection connection(store::buildConnectionStringForCurrentDirectory());
    store::Query goods(connection);
    const importing::RowSource source = importing::fileSource(file);
    const double text = cellTextBytes(source);
    const auto empty = [&] {
        goods.close();
        for (const char* table :
             {store::schema::kGoods, store::schema::kImportedGoods, store::schema::kImports})
            connection.database().exec("DELETE FROM \"" + std::string(table) + "\"");
        connection.database().releaseMemory();
        malloc_trim(0);
    };
    const auto import = [&] {
        const auto summary = importing::importRows(connection, source, {},
                                                   {"purchases", "hash", "2026-12-11 10:00:00"});
        if (summary.importedRows != kRows) state.SkipWithError("not every row was imported");
    };

    // The reading alone (the preview's dry run), to tell the reader's share of the peak.
    empty();
    const double readPeak = benchsupport::peakGrowth([&] { importing::dryRun(source, {}); });
    empty();
    const double peak = benchsupport::peakGrowth(import);

    double importTime = 0, requeryTime = 0;
    for (auto _ : state) {
        state.PauseTiming();
        empty();
        state.ResumeTiming();
        const auto imported = std::chrono::steady_clock::now();
        import();
        importTime += seconds(imported);
        const auto requery = std::chrono::steady_clock::now();
        store::reconnectAndRequery(connection, {{&goods, store::schema::kGoods}});
        requeryTime += seconds(requery);
    }
    const double runs = static_cast<double>(state.iterations());
    state.counters["rows"] = goods.recordCount();
    state.counters["importMs"] = importTime / runs * 1000;
    state.counters["requeryMs"] = requeryTime / runs * 1000;
    state.counters["importPerRequery"] = importTime / requeryTime;
    state.counters["textBytes"] = text;
    if (peak >= 0) {
        state.counters["peakPerText"] = peak / text;
        state.counters["readPeakPerText"] = readPeak / text;
    }
}

BENCHMARK(BM_ImportPurchases)
    ->ArgName("xls")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
