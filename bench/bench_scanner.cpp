// Selling by scanning on a file with 100,000 goods rows: from the Enter that ends a scan to the
// sale panel shown (target: at most 20 ms), and the first look-up after a sale, which makes the
// index of codes again for the list's own copy of the rows.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDeadlineTimer>
#include <QLineEdit>
#include <QToolButton>
#include <cstdio>

#include "bench/WidgetBenchMain.h"
#include "sales/XsxxForm.h"
#include "sales/records/ScanLookup.h"
#include "store/Connection.h"
#include "store/ConnectionString.h"
#include "store/Query.h"
#include "store/Schema.h"
#include "tests/support/GoodsDatabases.h"
#include "tests/support/ScannerKeys.h"

namespace {

constexpr int kGoods = 100000;

QString codeOf(int row) {
    char code[32];
    std::snprintf(code, sizeof code, "SP%06d", row);
    return QString::fromLatin1(code);
}

void BM_ScanEnterToSalePanel(benchmark::State& state) {
    const auto& db = testsupport::goodsDatabase(kGoods);
    testsupport::ScopedCurrentDirectory cwd(db.directory());
    TXsxxForm form;
    form.show();
    form.activateWindow();
    // The window's activation (which closes the panels) is over before the first scan.
    QDeadlineTimer shown(500);
    while (!shown.hasExpired()) QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    QWidget* list = form.findChild<QWidget*>(QStringLiteral("DataGrid1"));
    auto* close = form.findChild<QToolButton*>(QStringLiteral("Image2"));
    testsupport::ScannerKeys keys;
    int row = 1;
    for (auto _ : state) {
        state.PauseTiming();
        close->click();
        row = (row + 7919) % kGoods;  // a different row each time, all over the list
        const QString code = codeOf(row);
        for (const QChar c : code) keys.character(list, c, 8);
        state.ResumeTiming();
        keys.key(list, Qt::Key_Return, QStringLiteral("\r"), 8);
        QCoreApplication::processEvents();
        if (!form.saleEntryPanel().isVisible() || form.goodsCodeEdit().text() != code)
            state.SkipWithError("no sale panel for the scanned code");
    }
}

void BM_FirstLookUpAfterASale(benchmark::State& state) {
    const auto& db = testsupport::goodsDatabase(kGoods);
    testsupport::ScopedCurrentDirectory cwd(db.directory());
    store::Connection connection(store::buildConnectionStringForCurrentDirectory());
    store::Query goods(connection);
    goods.select(store::schema::kGoods);
    goods.open();
    goods.moveTo(kGoods / 2);
    for (auto _ : state) {
        state.PauseTiming();
        // A written row leaves the index of the rows behind.
        goods.edit();
        goods.setFieldText(store::schema::column::kRemark, "x");
        goods.post();
        state.ResumeTiming();
        benchmark::DoNotOptimize(sales::findGoodsByCode(goods, "SP012345"));
    }
}

BENCHMARK(BM_ScanEnterToSalePanel)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FirstLookUpAfterASale)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return runWidgetBenchmarks(argc, argv); }
