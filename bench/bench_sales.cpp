// The sales window on a file with 100,000 goods rows and 100,000 sales: confirming a sale against
// confirming one on a file with 100 sales; one key release in the customer name against a full
// read of 表3; opening the window (its activation) against one reconnect-and-requery of 表1.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <memory>

#include "bench/EveryReadFromTheFile.h"
#include "bench/WidgetBenchMain.h"
#include "platform/Fonts.h"
#include "sales/XsxxForm.h"
#include "sales/records/SaleRecords.h"
#include "store/Connection.h"
#include "store/ConnectionString.h"
#include "store/Query.h"
#include "store/Schema.h"
#include "tests/sales/records/SalesFixture.h"
#include "tests/support/SalesDatabases.h"

namespace {

using testsupport::goodsAndSalesDatabase;
constexpr int kGoods = 100000;

// The sales window's record work over a connection of its own to the file with kGoods goods rows
// and the given number of sales, the current directory in the file's folder.
struct SalesWindowRecords {
    explicit SalesWindowRecords(int salesRows)
        : cwd(goodsAndSalesDatabase(kGoods, salesRows).directory()) {}
    testsupport::ScopedCurrentDirectory cwd;
    store::Connection connection{store::buildConnectionStringForCurrentDirectory()};
    store::Query goods{connection};
    store::Query sales{connection};
    sales::SaleRecords records{connection, goods, sales};
};

// One sale of the goods row in the middle of the list, as "确定" makes it.
void BM_ConfirmSale(benchmark::State& state) {
    SalesWindowRecords window(static_cast<int>(state.range(0)));
    window.records.reloadGoods();
    window.goods.moveTo(kGoods / 2);
    // A quantity of 0: the same writes every time, and the stock lasts.
    const auto entry = salestest::saleOf(*window.records.goodsForSale(), "2026/12/10 10:00:00",
                                         "12.5", "0", "客户00042");
    for (auto _ : state) {
        const auto result = window.records.confirm(entry);
        if (result.outcome != sales::SaleResult::Outcome::Sold) state.SkipWithError("not sold");
    }
}

// A key release in the customer name that matches earlier sales (ComboBox1Change).
void BM_CustomerKeyRelease(benchmark::State& state) {
    SalesWindowRecords window(kGoods);
    window.records.customerNames();
    for (auto _ : state) benchmark::DoNotOptimize(window.records.customerDetails("客户0050"));
}

// A key release in a name no earlier sale contains: the whole table is looked through, but only
// for the name, and no row is copied.
void BM_CustomerKeyReleaseNoMatch(benchmark::State& state) {
    SalesWindowRecords window(kGoods);
    for (auto _ : state) {
        state.PauseTiming();
        window.records.customerNames();  // a name without a match stops later releases until then
        state.ResumeTiming();
        benchmark::DoNotOptimize(window.records.customerDetails("无此客户"));
    }
}

// What the key release read before: every row of 表3.
void BM_ReadSalesTable(benchmark::State& state) {
    const auto& db = goodsAndSalesDatabase(kGoods, kGoods);
    testsupport::ScopedCurrentDirectory cwd(db.directory());
    store::Connection connection(store::buildConnectionStringForCurrentDirectory());
    store::Query sales(connection);
    for (auto _ : state) {
        sales.close();
        sales.select(store::schema::kSales);
        sales.open();
        benchmark::DoNotOptimize(sales.recordCount());
    }
}

// The sales window becoming active: its goods list re-read, its totals rebuilt.
void BM_OpenSalesWindow(benchmark::State& state) {
    const auto& db = goodsAndSalesDatabase(kGoods, kGoods);
    testsupport::ScopedCurrentDirectory cwd(db.directory());
    TXsxxForm form;
    for (auto _ : state) {
        form.activateFromAnotherWindow();
        benchmark::DoNotOptimize(form.goodsQuery().recordCount());
    }
}

void BM_ReconnectAndRequeryGoods(benchmark::State& state) {
    const auto& db = goodsAndSalesDatabase(kGoods, kGoods);
    testsupport::ScopedCurrentDirectory cwd(db.directory());
    store::Connection connection;
    store::Query query(connection);
    for (auto _ : state) {
        store::reconnectAndRequery(connection, {{&query, store::schema::kGoods}});
        benchmark::DoNotOptimize(query.recordCount());
    }
}

BENCHMARK(BM_ConfirmSale)->Arg(100)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CustomerKeyRelease)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CustomerKeyReleaseNoMatch)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadSalesTable)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenSalesWindow)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReconnectAndRequeryGoods)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return runWidgetBenchmarks(argc, argv); }
