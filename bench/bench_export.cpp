// The goods export of 表1 (staging copy into 表5 and the workbook together, as .xls and as .xlsx)
// against one
// reconnect-and-requery of 表1 in the same run, and the export's peak memory against the text
// bytes of the table.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <chrono>
#include <ctime>
#include <fstream>
#include <string>

#include "bench/EveryReadFromTheFile.h"
#include "bench/TextBytes.h"
#include "export/StagingCopy.h"
#include "export/Workbook.h"
#include "export/WorkbookFormat.h"
#include "store/Connection.h"
#include "store/Query.h"
#include "store/Schema.h"
#include "store/WindowTables.h"
#include "tests/support/GoodsDatabases.h"

namespace {

using testsupport::goodsDatabase;

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

// The sales window's connection and queries, opened as at its creation.
struct SalesWindowQueries {
    store::WindowTables tables{
        {store::schema::kGoods, store::schema::kSales, store::schema::kGoodsExport}};
    store::Connection& connection = tables.connection();
    store::Query& goods = tables.query(0);
    store::Query& staging = tables.query(2);
    SalesWindowQueries() { tables.open(); }
    void exportGoods(const std::string& file, exporting::WorkbookFormat format) {
        exporting::refreshForExport(connection, goods, staging, store::schema::kGoodsExport);
        exporting::writeWorkbookAs(format, file,
                                   exporting::fillStaging(connection, goods, staging));
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
void BM_GoodsExport(benchmark::State& state, exporting::WorkbookFormat format) {
    const auto& db = goodsDatabase(static_cast<int>(state.range(0)));
    testsupport::ScopedCurrentDirectory cwd(db.directory());
    const std::string file =
        (db.directory() / (format == exporting::WorkbookFormat::Xls ? "goods.xls" : "goods.xlsx"))
            .string();
    SalesWindowQueries window;
    const double text = static_cast<double>(benchsupport::textBytes(window.goods));

    // The first export, from the window's state after its creation, gives the peak memory.
    malloc_trim(0);
    const double before = statusBytes("VmRSS");
    const bool peakKnown = resetPeak();
    window.exportGoods(file, format);
    const double peak = statusBytes("VmHWM");

    double requeryWall = 0, requeryCpu = 0, exportWall = 0, exportCpu = 0;
    for (auto _ : state) {
        const Clocks requery;
        store::reconnectAndRequery(window.connection, {{&window.goods, store::schema::kGoods}});
        const auto [rw, rc] = requery.elapsed();
        const Clocks exported;
        window.exportGoods(file, format);
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

BENCHMARK_CAPTURE(BM_GoodsExport, xls, exporting::WorkbookFormat::Xls)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);
BENCHMARK_CAPTURE(BM_GoodsExport, xlsx, exporting::WorkbookFormat::Xlsx)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
