// The returns list window on a file of 100,000 sales and 100,000 returns: opening it (its
// activation re-reads 退货 into the list and its two footer sums) against one
// reconnect-and-requery of the returns table.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "bench/WidgetBenchMain.h"
#include "grid/DataGrid.h"
#include "sales/ThmxForm.h"
#include "store/Connection.h"
#include "store/ConnectionString.h"
#include "store/Database.h"
#include "store/Query.h"
#include "store/Schema.h"
#include "tests/support/TestDatabase.h"

namespace {

constexpr int kRows = 100000;
constexpr int kRefundColumn = 7;

// The sales and one return of each, made once per process.
const testsupport::TestDatabase& returnsDatabase() {
    static std::unique_ptr<testsupport::TestDatabase> made;
    if (made) return *made;
    made = std::make_unique<testsupport::TestDatabase>(testsupport::TestDatabase::Content::Empty,
                                                       false);
    store::Database db(made->path(), store::kDatabasePassword);
    store::Transaction transaction(db);
    store::Statement sale(db, std::string("INSERT INTO ") + store::schema::kSales +
                                  " (销售日期, 商品编码, 商品名称, 商品型号, 商品规格, 单位, "
                                  "销售单价, 销售数量, 销售金额, 客户姓名) VALUES "
                                  "('2024-05-01 10:00:00', ?, ?, 'X-100', '10kg', '袋', 5, 3, "
                                  "15, ?)");
    store::Statement giveBack(db, std::string("INSERT INTO ") + store::schema::kReturns +
                                      " (退货日期, 销售ID, 商品ID, 商品编码, 商品名称, 商品型号, "
                                      "商品规格, 单位, 退货数量, 退款金额, 进货单价, 客户姓名, "
                                      "退货原因) VALUES ('2024-05-02 09:00:00', ?, 1, ?, ?, "
                                      "'X-100', '10kg', '袋', ?, ?, 3.5, ?, '包装破损')");
    for (int i = 0; i < kRows; ++i) {
        const std::string code = "SP" + std::to_string(100000 + i % 5000);
        const std::string name = "商品" + std::to_string(i % 5000);
        const std::string customer = "客户" + std::to_string(i % 300);
        sale.reset();
        sale.bindText(1, code);
        sale.bindText(2, name);
        sale.bindText(3, customer);
        sale.step();
        const double quantity = 1 + i % 3;
        giveBack.reset();
        giveBack.bindInt64(1, i + 1);
        giveBack.bindText(2, code);
        giveBack.bindText(3, name);
        giveBack.bindDouble(4, quantity);
        giveBack.bindDouble(5, quantity * 4.5);
        giveBack.bindText(6, customer);
        giveBack.step();
    }
    transaction.commit();
    return *made;
}

void BM_RequeryReturns(benchmark::State& state) {
    testsupport::ScopedCurrentDirectory cwd(returnsDatabase().directory());
    store::Connection connection;
    store::Query query(connection);
    for (auto _ : state) {
        store::reconnectAndRequery(connection, {{&query, store::schema::kReturns}});
        benchmark::DoNotOptimize(query.recordCount());
    }
    state.counters["rows"] = query.recordCount();
}

// Opening the window: the activation that runs when the sales window or the return panel shows
// it.
void BM_OpenReturnsWindow(benchmark::State& state) {
    testsupport::ScopedCurrentDirectory cwd(returnsDatabase().directory());
    TThmxForm form;
    for (auto _ : state) {
        form.activateFromAnotherWindow();
        benchmark::DoNotOptimize(form.returnsList().footerTotal(kRefundColumn));
    }
    state.counters["rows"] = form.returnsQuery().recordCount();
}

BENCHMARK(BM_RequeryReturns)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenReturnsWindow)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return runWidgetBenchmarks(argc, argv); }
