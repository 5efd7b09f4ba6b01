// The goods export of 表1 (staging copy into 表5 and the workbook together) against one
// reconnect-and-requery of 表1 in the same run, and the export's peak memory against the text
// bytes of the table.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <chrono>
#include <ctime>
#include <fstream>
#include <string>

#include "bench/EveryReadFromTheFile.h"
#include "bench/PeakMemory.h"
#include "bench/TextBytes.h"
#include "export/StagingCopy.h"
#include "export/Workbook.h"
#include "store/Connection.h"
#include "store/Query.h"
#include "store/Schema.h"
#include "store/WindowTables.h"
#include "tests/support/GoodsDatabases.h"

namespace {

using benchsupport::resetPeak;
using benchsupport::statusBytes;
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

struct Clocks {
    std::chrono::steady_clock::time_point wall = std::chrono::steady_clock::now();
    std::clock_t cpu = std::clock();
    // Seconds of wall time and of process CPU time since construction.
    std::pair<double, double> elapsed() const {
        return {std::chrono::duration<double>(std::chrono::steady_clock::now() - wall).count(),
                static_cast<double>(std::clock() - cpu) / CLOCKS_PER_SEC};
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
    malloc_trim(0);
    const double before = statusBytes("VmRSS");
    const bool peakKnown = resetPeak();
    window.exportGoods(file);
    const double peak = statusBytes("VmHWM");

    double requeryWall = 0, requeryCpu = 0, exportWall = 0, exportCpu = 0;
    for (auto _ : state) {
        const Clocks requery;
        store::reconnectAndRequery(window.connection, {{&window.goods, store::schema::kGoods}});
        const auto [rw, rc] = requery.elapsed();
        const Clocks exported;
        window.exportGoods(file);
        const auto [ew, ec] = exported.elapsed();
        requeryWall += rw;
        requeryCpu += rc;
        exportWall += ew;
        exportCpu += ec;
    }
    const double runs = static_cast<double>(state.iterations());
    state.counters["rows"] = window.goods.recordCount();
    state.counters["requeryMs"] = requeryWall / runs * 1000;
    state.counters["exportMs"] = exportWall / runs * 1000;
    state.counters["exportPerRequery"] = exportWall / requeryWall;
    state.counters["exportPerRequeryCpu"] = exportCpu / requeryCpu;
    state.counters["textBytes"] = text;
    if (peakKnown) state.counters["peakPerText"] = (peak - before) / text;
}

BENCHMARK(BM_GoodsExport)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
