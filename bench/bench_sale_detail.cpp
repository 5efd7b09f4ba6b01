// The sales detail window on a file of 100,000 sales: opening it (its activation re-reads 表3
// into the list and its footer total) and deleting 10,000 selected sales, each against one
// reconnect-and-requery of the table. The same deletion of purchases in the goods list.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTest>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "bench/EveryReadFromTheFile.h"
#include "bench/WidgetBenchMain.h"
#include "grid/DataGrid.h"
#include "platform/Fonts.h"
#include "sales/XsmxForm.h"
#include "store/Connection.h"
#include "store/ConnectionString.h"
#include "store/Database.h"
#include "store/Query.h"
#include "store/Schema.h"
#include "store/RowDeletion.h"
#include "tests/support/GoodsDatabases.h"
#include "tests/support/TestDatabase.h"

namespace {

constexpr int kSales = 100000;
constexpr int kSelected = 10000;

// A file holding count generated sales, made once per process.
const testsupport::TestDatabase& salesDatabase(int count) {
    static std::map<int, std::unique_ptr<testsupport::TestDatabase>> made;
    auto& slot = made[count];
    if (!slot) {
        slot = std::make_unique<testsupport::TestDatabase>(
            testsupport::TestDatabase::Content::Empty, false);
        store::Database db(slot->path(), store::kDatabasePassword);
        store::Transaction transaction(db);
        store::Statement insert(
            db,
            std::string("INSERT INTO ") + store::schema::kSales +
                " (销售日期, 商品编码, 商品名称, 商品型号, 商品规格, 单位, 销售单价, "
                "销售数量, 销售金额, 客户姓名, 联系电话, 详细地址, 备注) VALUES "
                "('2024-05-01 10:00:00', ?, ?, 'X-100', '10kg', '袋', ?, ?, ?, ?, '13800000000', "
                "'某市某区某路1号', '')");
        for (int i = 0; i < count; ++i) {
            const double price = 1.25 + (i % 100) * 0.5;
            const double quantity = 1 + i % 7;
            insert.reset();
            insert.bindText(1, "SP" + std::to_string(100000 + i % 5000));
            insert.bindText(2, "商品" + std::to_string(i % 5000));
            insert.bindDouble(3, price);
            insert.bindDouble(4, quantity);
            insert.bindDouble(5, price * quantity);
            insert.bindText(6, "客户" + std::to_string(i % 300));
            insert.step();
        }
        transaction.commit();
    }
    return *slot;
}

void requery(benchmark::State& state, const testsupport::TestDatabase& file, const char* table) {
    testsupport::ScopedCurrentDirectory cwd(file.directory());
    store::Connection connection;
    store::Query query(connection);
    for (auto _ : state) {
        store::reconnectAndRequery(connection, {{&query, table}});
        benchmark::DoNotOptimize(query.recordCount());
    }
    state.counters["rows"] = query.recordCount();
}

void BM_RequerySales(benchmark::State& state) {
    requery(state, salesDatabase(kSales), store::schema::kSales);
}

void BM_RequeryGoods(benchmark::State& state) {
    requery(state, testsupport::goodsDatabase(kSales), store::schema::kGoods);
}

// Opening the window: the activation that runs when the sales window shows it.
void BM_OpenDetailWindow(benchmark::State& state) {
    testsupport::ScopedCurrentDirectory cwd(salesDatabase(kSales).directory());
    TXsmxForm form;
    for (auto _ : state) {
        form.activateFromAnotherWindow();
        benchmark::DoNotOptimize(form.salesList().footerTotal(8));
    }
    state.counters["rows"] = form.salesQuery().recordCount();
}

// A list on a fresh copy of the file with its first 10,000 rows selected as a person does it:
// a click on the first row, then a Shift+click on the 10,000th.
struct SelectedList {
    SelectedList(const testsupport::TestDatabase& file, const char* table, int sumColumn)
        : cwd(copy.path()) {
        std::filesystem::copy_file(file.path(), copy.path() / store::kDatabaseFileName);
        query.select(table);
        query.open();
        std::vector<grid::GridColumn> columns(12);
        const char* const fields[] = {"商品编码", "商品名称", "商品型号", "商品规格",
                                      "单位",     "销售单价", "销售数量", "销售金额",
                                      "客户姓名", "联系电话", "详细地址", "进货金额"};
        for (int c = 0; c < 12; ++c) columns[c].field = QString::fromUtf8(fields[c]);
        columns[static_cast<std::size_t>(sumColumn)].footer = grid::FooterKind::Sum;
        grid.resize(976, 505);
        grid.setColumns(columns);
        grid.setQuery(&query);
        grid.setRowDeleter(
            [this](const std::vector<int>& rows) { store::deleteRowsTogether(query, rows); });
        QTest::mouseClick(&grid, Qt::LeftButton, {}, grid.cellRect(0, -1).center());
        grid.findChild<QScrollBar*>(QStringLiteral("verticalScrollBar"))->setValue(kSelected - 5);
        QTest::mouseClick(&grid, Qt::LeftButton, Qt::ShiftModifier,
                          grid.cellRect(kSelected - 1, -1).center());
    }
    testsupport::TemporaryDirectory copy;
    testsupport::ScopedCurrentDirectory cwd;
    store::Connection connection{store::buildConnectionStringForCurrentDirectory()};
    store::Query query{connection};
    grid::TDataGrid grid;
};

void deleteSelected(benchmark::State& state, const testsupport::TestDatabase& file,
                    const char* table, int sumColumn) {
    for (auto _ : state) {
        state.PauseTiming();
        auto list = std::make_unique<SelectedList>(file, table, sumColumn);
        if (list->grid.selectedCount() != kSelected) {
            state.SkipWithError("the selection was not made");
            return;
        }
        state.ResumeTiming();
        list->grid.deleteSelected();
        state.PauseTiming();
        state.counters["rowsLeft"] = list->query.recordCount();
        list.reset();
        state.ResumeTiming();
    }
}

void BM_DeleteSelectedSales(benchmark::State& state) {
    deleteSelected(state, salesDatabase(kSales), store::schema::kSales, 7);
}

void BM_DeleteSelectedPurchases(benchmark::State& state) {
    deleteSelected(state, testsupport::goodsDatabase(kSales), store::schema::kGoods, 11);
}

BENCHMARK(BM_RequerySales)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenDetailWindow)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DeleteSelectedSales)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_RequeryGoods)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DeleteSelectedPurchases)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

int main(int argc, char** argv) { return runWidgetBenchmarks(argc, argv); }
