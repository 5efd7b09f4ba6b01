// The lowest stock per goods code on a file with 100,000 goods rows: painting a screenful of the
// sales window's list without marks and with 10,000 levels (target: within 1.1 times), and the
// low test of a sold code right after the sale wrote its row (target: at most 1 ms).
#include <benchmark/benchmark.h>

#include <QImage>
#include <cstdio>
#include <optional>
#include <string>

#include "bench/WidgetBenchMain.h"
#include "grid/DataGrid.h"
#include "grid/ListColumns.h"
#include "stock/LowStockMarks.h"
#include "stock/records/LowStock.h"
#include "store/Connection.h"
#include "store/ConnectionString.h"
#include "store/Database.h"
#include "store/Query.h"
#include "store/Schema.h"
#include "tests/support/GoodsDatabases.h"

namespace {

constexpr int kGoods = 100000;
constexpr int kLevels = 10000;

std::string codeOf(int row) {
    char code[32];
    std::snprintf(code, sizeof code, "SP%06d", row);
    return code;
}

// 10,000 levels on the codes around the middle of the list, where the screenful is painted:
// every row shown has a level, every other one is low. Removed again at the end.
class Levels {
  public:
    explicit Levels(store::Connection& connection) : connection_(connection) {
        store::Database& db = connection.database();
        store::Transaction transaction(db);
        store::Statement insert(
            db, store::schema::insertSql(store::schema::table(store::schema::kStockLevels)));
        for (int i = 0; i < kLevels; ++i) {
            const int row = kGoods / 2 - kLevels / 2 + i;
            insert.bindText(1, codeOf(row));
            insert.bindDouble(2, row % 2 == 0 ? 1e6 : 0);
            insert.bindDouble(3, row % 2 == 0 ? 1 : 0);
            insert.step();
            insert.reset();
        }
        transaction.commit();
    }
    ~Levels() {
        connection_.database().exec(std::string("DELETE FROM \"") + store::schema::kStockLevels +
                                    "\"");
    }

  private:
    store::Connection& connection_;
};

// One screenful of the 976 x 505 list from the middle of the rows; range(0) levels.
void BM_PaintSalesScreenful(benchmark::State& state) {
    const auto& db = testsupport::goodsDatabase(kGoods);
    testsupport::ScopedCurrentDirectory cwd(db.directory());
    store::Connection connection(store::buildConnectionStringForCurrentDirectory());
    std::optional<Levels> levels;
    if (state.range(0) > 0) levels.emplace(connection);
    store::Query goods(connection);
    goods.select(store::schema::kGoods);
    goods.open();
    grid::TDataGrid list;
    list.resize(976, 505);
    list.setColumns(grid::goodsListColumns());
    list.setQuery(&goods);
    stock::LowStockMarks marks;
    if (levels) {
        marks.attach(list, goods, store::schema::column::kStockQuantity);
        marks.reload(connection);
    }
    goods.moveTo(kGoods / 2);
    QImage image(list.size(), QImage::Format_ARGB32_Premultiplied);
    list.render(&image);  // fonts, glyphs and the sums per code made
    for (auto _ : state) {
        list.render(&image);
        benchmark::ClobberMemory();
    }
    state.counters["levels"] = static_cast<double>(marks.levels().size());
}

// A sale writes its goods row (untimed), then the sold code is tested: its level read, its stock
// summed over its rows, nothing to tell.
void BM_LowTestAfterASale(benchmark::State& state) {
    const auto& db = testsupport::goodsDatabase(kGoods);
    testsupport::ScopedCurrentDirectory cwd(db.directory());
    store::Connection connection(store::buildConnectionStringForCurrentDirectory());
    const Levels levels(connection);
    store::Query goods(connection);
    goods.select(store::schema::kGoods);
    goods.open();
    const int row = kGoods / 2 + 1;  // a level of 0 below its stock
    const std::string code = codeOf(row);
    stock::lowStockNotices(connection, goods, {code});  // the sums made once for the rows
    goods.moveTo(row);
    int sale = 0;
    for (auto _ : state) {
        state.PauseTiming();
        goods.edit();
        goods.setFieldText(store::schema::column::kStockQuantity, std::to_string(50 + ++sale % 2));
        goods.post();
        state.ResumeTiming();
        if (!stock::lowStockNotices(connection, goods, {code}).empty())
            state.SkipWithError("a notice where none was due");
    }
}

BENCHMARK(BM_PaintSalesScreenful)->Arg(0)->Arg(kLevels)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LowTestAfterASale)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) { return runWidgetBenchmarks(argc, argv); }
