// The goods export of 表1 (staging copy into 表5 and the workbook together) against one
// reconnect-and-requery of 表1 in the same run, and the export's peak memory against the text
// bytes of the table.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <chrono>
#include <fstream>
#include <string>

#include "export/StagingCopy.h"
#include "export/Workbook.h"
#include "store/Connection.h"
#include "store/Query.h"
#include "store/Schema.h"
#include "tests/support/GoodsDatabases.h"

namespace {

using testsupport::goodsDatabase;

std::size_t textBytes(const store::Query& query) {
    std::size_t bytes = 0;
    for (int row = 0; row < query.recordCount(); ++row)
        for (int column = 0; column < static_cast<int>(query.fields().size()); ++column)
            bytes += query.fieldTextAt(row, column).size();
    return bytes;
}

// A field of /proc/self/status in bytes ("VmRSS", "VmHWM"); 0 where it cannot be read.
double statusBytes(const std::string& field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(field + ":", 0) == 0) return std::stod(line.substr(field.size() + 1)) * 1024;
    return 0;
}

// Starts the peak resident size afresh from the current one.
bool resetPeak() {
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    return static_cast<bool>(clear.flush());
}

double seconds(const std::chrono::steady_clock::duration& d) {
    return std::chrono::duration<double>(d).count();
}

// The sales window's connection and queries, opened as at its creation.
struct SalesWindowQueries {
    store::Connection connection;
    store::Query goods{connection}, sales{connection}, staging{connection};
    SalesWindowQueries() {
        store::openOnCreation(connection, {{&goods, store::schema::kGoods},
                                           {&sales, store::schema::kSales},
                                           {&staging, store::schema::kGoodsExport}});
    }
    void exportGoods(const std::string& file) {
        exporting::refreshForExport(connection, goods, staging, store::schema::kGoodsExport);
        workbook::writeWorkbook(file, exporting::fillStaging(connection, goods, staging));
    }
};

void BM_GoodsExport(benchmark::State& state) {
    const auto& db = goodsDatabase(static_cast<int>(state.range(0)));
    testsupport::ScopedCurrentDirectory cwd(db.directory());
    const std::string file = (db.directory() / "goods.xls").string();
    SalesWindowQueries window;

    // One reconnect-and-requery of 表1, the best of three, as the measure of cost.
    double requery = 1e9;
    for (int k = 0; k < 3; ++k) {
        const auto start = std::chrono::steady_clock::now();
        store::reconnectAndRequery(window.connection, {{&window.goods, store::schema::kGoods}});
        requery = std::min(requery, seconds(std::chrono::steady_clock::now() - start));
    }
    const double text = static_cast<double>(textBytes(window.goods));

    // The first export, from the window's state after its creation, gives the peak memory.
    malloc_trim(0);
    const double before = statusBytes("VmRSS");
    const bool peakKnown = resetPeak();
    window.exportGoods(file);
    const double peak = statusBytes("VmHWM");

    double total = 0;
    std::int64_t runs = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        window.exportGoods(file);
        total += seconds(std::chrono::steady_clock::now() - start);
        ++runs;
    }
    state.counters["rows"] = window.goods.recordCount();
    state.counters["requeryMs"] = requery * 1000;
    state.counters["exportPerRequery"] = total / static_cast<double>(runs) / requery;
    state.counters["textBytes"] = text;
    if (peakKnown) state.counters["peakPerText"] = (peak - before) / text;
}

BENCHMARK(BM_GoodsExport)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
