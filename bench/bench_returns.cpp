// Returns on a file with 100,000 goods rows, 100,000 sales and 100,000 returns: what opening the
// return panel reads (the sale, what was returned of it, its goods rows) and confirming a return,
// against confirming a sale on the same file.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/WidgetBenchMain.h"
#include "sales/records/ReturnRecords.h"
#include "sales/records/SaleRecords.h"
#include "store/Connection.h"
#include "store/ConnectionString.h"
#include "store/Database.h"
#include "store/Query.h"
#include "store/Schema.h"
#include "tests/sales/records/SalesFixture.h"
#include "tests/support/SalesDatabases.h"

namespace {

namespace schema = store::schema;
constexpr int kRows = 100000;

std::string quoted(const std::string& name) { return "\"" + name + "\""; }

// The file with kRows goods rows and sales, a return of nothing much for every sale, and one sale
// of a great quantity noted with its goods row, which every iteration returns a little of.
// Returns that sale's ID and its goods row's.
std::pair<std::int64_t, std::int64_t> preparedFile() {
    static std::pair<std::int64_t, std::int64_t> ids;
    if (ids.first != 0) return ids;
    const auto& file = testsupport::goodsAndSalesDatabase(kRows, kRows);
    store::Database db(file.path(), store::kDatabasePassword);
    db.exec("BEGIN");
    db.exec("INSERT INTO " + quoted(schema::kReturns) + " (" + quoted(schema::column::kSaleId) +
            ", " + quoted(schema::column::kReturnQuantity) + ", " +
            quoted(schema::column::kRefundAmount) + ") SELECT rowid, 0.001, 0 FROM " +
            quoted(schema::kSales));
    db.exec("INSERT INTO " + quoted(schema::kSales) + " (" + quoted(schema::column::kSaleDate) +
            ", " + quoted(schema::column::kSalePrice) + ", " +
            quoted(schema::column::kSaleQuantity) + ") VALUES ('2026-12-10 10:00:00', 1, 1E9)");
    ids.first = db.lastInsertRowId();
    ids.second = kRows / 2;
    db.exec("INSERT INTO " + quoted(schema::kSaleGoods) + " (" + quoted(schema::column::kSaleId) +
            ", " + quoted(schema::column::kGoodsId) + ") VALUES (" + std::to_string(ids.first) +
            ", " + std::to_string(ids.second) + ")");
    db.exec("COMMIT");
    return ids;
}

struct ReturnsFile {
    ReturnsFile() : ids(preparedFile()) {}
    std::pair<std::int64_t, std::int64_t> ids;
    testsupport::ScopedCurrentDirectory cwd{
        testsupport::goodsAndSalesDatabase(kRows, kRows).directory()};
    store::Connection connection{store::buildConnectionStringForCurrentDirectory()};
};

// What "销售退货" reads before the panel shows: an older sale from the middle of the list, whose
// goods rows are looked for by their texts (0), or the sale noted with its goods row (1).
void BM_OpenReturnPanel(benchmark::State& state) {
    ReturnsFile file;
    salereturn::ReturnRecords records(file.connection);
    const std::int64_t sale = state.range(0) == 0 ? kRows / 2 : file.ids.first;
    for (auto _ : state) benchmark::DoNotOptimize(records.load(sale));
}

// "确定" on the return panel.
void BM_ConfirmReturn(benchmark::State& state) {
    ReturnsFile file;
    salereturn::ReturnRecords records(file.connection);
    const salereturn::ReturnEntry entry{
        file.ids.first, file.ids.second, "2026-12-11 08:00:00", "0.001", "0", "坏了"};
    for (auto _ : state)
        if (records.confirm(entry).outcome != salereturn::ReturnResult::Outcome::Returned)
            state.SkipWithError("not returned");
}

// "确定" on the sale panel, on the same file.
void BM_ConfirmSale(benchmark::State& state) {
    ReturnsFile file;
    store::Query goods(file.connection);
    store::Query sales(file.connection);
    sales::SaleRecords records(file.connection, goods, sales);
    records.reloadGoods();
    goods.moveTo(kRows / 2);
    const auto entry =
        salestest::saleOf(*records.goodsForSale(), "2026-12-10 10:00:00", "12.5", "0", "客户00042");
    for (auto _ : state)
        if (records.confirm(entry).outcome != sales::SaleResult::Outcome::Sold)
            state.SkipWithError("not sold");
}

BENCHMARK(BM_OpenReturnPanel)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConfirmReturn)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConfirmSale)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return runWidgetBenchmarks(argc, argv); }
