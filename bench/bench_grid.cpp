// The data grid: opening a result set in the grid (its totals walk included) against opening it
// and walking the same columns bare, and painting one screenful of rows offscreen.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <memory>

#include "bench/WidgetBenchMain.h"
#include "grid/DataGrid.h"
#include "grid/ListColumns.h"
#include "platform/Fonts.h"
#include "store/Connection.h"
#include "store/ConnectionString.h"
#include "store/Database.h"
#include "store/Query.h"
#include "store/Schema.h"
#include "store/TableCache.h"
#include "tests/support/GoodsDatabases.h"

namespace {

using testsupport::goodsDatabase;

namespace column = store::schema::column;
// The summed columns of the sales window's goods list.
const char* const kSummed[] = {column::kPurchaseAmount, column::kSaleAmount, column::kSaleProfit,
                               column::kStockAmount};

// What any reader of the totals must do at least: touch the same columns of every row.
std::size_t bareWalk(const store::Query& query) {
    int fields[4];
    for (int i = 0; i < 4; ++i) fields[i] = query.fieldIndex(kSummed[i]);
    std::size_t bytes = 0;
    for (int row = 0; row < query.recordCount(); ++row)
        for (int field : fields) bytes += query.fieldTextAt(row, field).size();
    return bytes;
}

struct Setup {
    explicit Setup(int rows)
        : cwd(goodsDatabase(rows).directory()),
          connection(store::initialConnectionString()),
          query(connection) {
        query.select(store::schema::kGoods);
        // Every opening reads the file: these measure reading and walking, not kept rows.
        store::TableCache::instance().setEnabled(false);
    }
    testsupport::ScopedCurrentDirectory cwd;
    store::Connection connection;
    store::Query query;
};

void BM_OpenBareWalk(benchmark::State& state) {
    Setup setup(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        setup.query.close();
        setup.query.open();
        benchmark::DoNotOptimize(bareWalk(setup.query));
    }
}

void BM_OpenInGrid(benchmark::State& state) {
    Setup setup(static_cast<int>(state.range(0)));
    grid::TDataGrid grid;
    grid.resize(976, 505);
    grid.setColumns(grid::goodsListColumns());  // fifteen columns, four summed
    grid.setQuery(&setup.query);
    for (auto _ : state) {
        setup.query.close();
        setup.query.open();
        benchmark::DoNotOptimize(grid.footerTotal(7));
    }
}

// The walks alone, on a result set already open.
void BM_BareWalkOnly(benchmark::State& state) {
    Setup setup(static_cast<int>(state.range(0)));
    setup.query.open();
    for (auto _ : state) benchmark::DoNotOptimize(bareWalk(setup.query));
}

void BM_TotalsWalkOnly(benchmark::State& state) {
    Setup setup(static_cast<int>(state.range(0)));
    setup.query.open();
    grid::TDataGrid grid;
    grid.setColumns(grid::goodsListColumns());  // fifteen columns, four summed
    for (auto _ : state) {
        // Totals are summed once per set of rows: each round takes newly read rows.
        state.PauseTiming();
        grid.setQuery(nullptr);
        setup.query.close();
        setup.query.open();
        state.ResumeTiming();
        grid.setQuery(&setup.query);  // walks the new rows for the totals
        benchmark::DoNotOptimize(grid.footerTotal(7));
    }
}

// One screenful of the 976 x 505 list, from the middle of the result set.
void BM_PaintScreenful(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    Setup setup(rows);
    setup.query.open();
    grid::TDataGrid grid;
    grid.resize(976, 505);
    grid.setColumns(grid::goodsListColumns());  // fifteen columns, four summed
    grid.setQuery(&setup.query);
    setup.query.moveTo(rows / 2);
    QImage image(grid.size(), QImage::Format_ARGB32_Premultiplied);
    grid.render(&image);  // fonts and glyph caches warm
    for (auto _ : state) {
        grid.render(&image);
        benchmark::ClobberMemory();
    }
    state.counters["firstRow"] = grid.topRow();
}

#define ROWS Arg(100000)->Unit(benchmark::kMillisecond)
BENCHMARK(BM_OpenBareWalk)->ROWS;
BENCHMARK(BM_OpenInGrid)->ROWS;
BENCHMARK(BM_BareWalkOnly)->ROWS;
BENCHMARK(BM_TotalsWalkOnly)->ROWS;
BENCHMARK(BM_PaintScreenful)->Arg(100)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return runWidgetBenchmarks(argc, argv); }
