// The goods export of 表1 (staging copy into 表5 and the workbook together) against one
// reconnect-and-requery of 表1 in the same run, and the export's peak memory against the text
// bytes of the table.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/EveryReadFromTheFile.h"
#include "bench/ProcessMeasures.h"
#include "bench/TextBytes.h"
#include "export/StagingCopy.h"
#include "export/Workbook.h"
#include "store/Connection.h"
#include "store/Query.h"
#include "store/Schema.h"
#include "store/WindowTables.h"
#include "tests/support/GoodsDatabases.h"

namespace {

using testsupport::goodsDatabase;

// The sales window's connection and queries, opened as at its creation.
struct SalesWindowQueries {
    store::WindowTables tables{
        {store::schema::kGoods, store::schema::kSales, store::schema::kGoodsExport}};
    store::Connection& connection = tables.connection();
    store::Query& goods = tables.query(0);
    store::Query& staging = tables.query(2);
    SalesWindowQueries() { tables.open(); }
    void exportGoods(const std::string& file) {
        exporting::refreshForExport(connection, goods, staging, store::schema::kGoodsExport);
        workbook::writeWorkbook(file, exporting::fillStaging(connection, goods, staging));
    }
};

// Each iteration runs one reconnect-and-requery of 表1 and one goods export on the same
// connection, so that both meet the same load of the machine; the ratios are of the sums.
void BM_GoodsExport(benchmark::State& state) {
    const auto& db = goodsDatabase(static_cast<int>(state.range(0)));
    testsupport::ScopedCurrentDirectory cwd(db.directory());
    const std::string file = (db.directory() / "goods.xls").string();
    SalesWindowQueries window;
    const double text = static_cast<double>(benchsupport::textBytes(window.goods));

    // The first export, from the window's state after its creation, gives the peak memory.
    const double peak = benchsupport::peakGrowth([&] { window.exportGoods(file); });
    benchsupport::timeAgainstRequery(
        state, "export",
        [&] {
            store::reconnectAndRequery(window.connection, {{&window.goods, store::schema::kGoods}});
        },
        [&] { window.exportGoods(file); });
    state.counters["rows"] = window.goods.recordCount();
    state.counters["textBytes"] = text;
    if (peak >= 0) state.counters["peakPerText"] = peak / text;
}

BENCHMARK(BM_GoodsExport)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
