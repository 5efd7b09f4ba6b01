// The program on a large shop file (100,000 goods rows and 100,000 sales): start-up until the main
// window is shown and active, a window's activation with and without a change of its table,
// and the memory the rows take after start-up. bench/run-scale.sh turns the results into ratios.
//
// Arguments of the start-up and activation benchmarks: 0 the large file, 1 the demo shop; the
// second argument 1 reads through the table cache, 0 with it switched off (the old way).
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <sqlite3.h>

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>
#include <memory>
#include <string>

#include "app/MainForm.h"
#include "app/Startup.h"
#include "platform/Application.h"
#include "platform/Fonts.h"
#include "store/Connection.h"
#include "store/ConnectionString.h"
#include "store/Database.h"
#include "store/Query.h"
#include "store/Schema.h"
#include "store/TableCache.h"
#include "tests/support/GoodsDatabases.h"
#include "tests/support/widgets/ScriptedPlatform.h"

namespace {

using store::TableCache;
using testsupport::ScopedCurrentDirectory;
using testsupport::TestDatabase;

constexpr int kRows = 100000;

const TestDatabase& fileFor(int which) {
    if (which == 0) return testsupport::shopDatabase(kRows, kRows);
    static TestDatabase demo(TestDatabase::Content::Demo, false);
    return demo;
}

// The launcher of each start goes to a folder of its own, not to the user's desktop.
struct QuietPlatform {
    QuietPlatform() {
        scripted.desktop = desktop.path();
        qputenv("XDG_DATA_HOME", data.path().toUtf8());
    }
    QTemporaryDir desktop;
    QTemporaryDir data;
    platform::ScriptedPlatform scripted;
};

// Start-up as the program does it, until the main window is shown and has had its activation.
std::unique_ptr<startup::Windows> startProgram() {
    std::unique_ptr<startup::Windows> windows;
    if (startup::start(windows) != 0) throw std::runtime_error("start-up failed");
    TMainForm& main = windows->mainForm();
    main.activateWindow();
    (void)QTest::qWaitForWindowActive(&main, 1000);
    QCoreApplication::processEvents();
    return windows;
}

// A commit of another connection, such as another window's post: every table's rows are read
// again at the next re-read.
void changeFile(const TestDatabase& file) {
    static int n = 0;
    store::Database other(file.path(), store::kDatabasePassword);
    other.exec(std::string("UPDATE \"") + store::schema::kGoods + "\" SET \"备注\" = 'bench " +
               std::to_string(++n) + "' WHERE rowid = (SELECT min(rowid) FROM \"" +
               store::schema::kGoods + "\")");
}

// One reconnect-and-requery of the goods table that reads the file.
void BM_FullReadGoods(benchmark::State& state) {
    const TestDatabase& file = fileFor(static_cast<int>(state.range(0)));
    ScopedCurrentDirectory cwd(file.directory());
    store::Connection connection;
    store::Query query(connection);
    for (auto _ : state) {
        state.PauseTiming();
        TableCache::instance().clear();
        state.ResumeTiming();
        store::reconnectAndRequery(connection, {{&query, store::schema::kGoods}});
        benchmark::DoNotOptimize(query.recordCount());
    }
    state.counters["rows"] = query.recordCount();
}

void BM_StartUp(benchmark::State& state) {
    const TestDatabase& file = fileFor(static_cast<int>(state.range(0)));
    TableCache::instance().setEnabled(state.range(1) != 0);
    ScopedCurrentDirectory cwd(file.directory());
    QuietPlatform quiet;
    for (auto _ : state) {
        state.PauseTiming();
        TableCache::instance().clear();
        state.ResumeTiming();
        auto windows = startProgram();
        state.PauseTiming();
        windows.reset();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["goodsReads"] =
        TableCache::instance().fileReads(store::schema::kGoods) / state.iterations();
    state.counters["salesReads"] =
        TableCache::instance().fileReads(store::schema::kSales) / state.iterations();
    TableCache::instance().setEnabled(true);
}

// The main window becoming active again, with its table changed since its last read (range 2 =
// 1) or unchanged (0).
void BM_Activation(benchmark::State& state) {
    const TestDatabase& file = fileFor(static_cast<int>(state.range(0)));
    TableCache::instance().setEnabled(state.range(1) != 0);
    const bool changed = state.range(2) != 0;
    ScopedCurrentDirectory cwd(file.directory());
    QuietPlatform quiet;
    TableCache::instance().clear();
    auto windows = startProgram();
    TMainForm& main = windows->mainForm();
    for (auto _ : state) {
        if (changed) {
            state.PauseTiming();
            changeFile(file);
            state.ResumeTiming();
        }
        main.activateFromAnotherWindow();
        benchmark::DoNotOptimize(main.goodsQuery().recordCount());
    }
    windows.reset();
    TableCache::instance().setEnabled(true);
}

std::size_t residentBytes() {
    std::ifstream statm("/proc/self/statm");
    std::size_t pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
}

std::size_t textBytes(const TestDatabase& file, const char* table) {
    store::Database db(file.path(), store::kDatabasePassword);
    store::Statement select(db, std::string("select * from \"") + table + "\"");
    std::size_t bytes = 0;
    while (select.step())
        for (int c = 0; c < select.columnCount(); ++c) bytes += select.text(c).size();
    return bytes;
}

// The memory the program holds after start-up on the large file, beyond what it holds after a
// start-up on the demo shop (code, fonts, windows), against the text of one copy of 表1 and 表3.
void BM_MemoryAfterStartUp(benchmark::State& state) {
    const TestDatabase& large = fileFor(0);
    const TestDatabase& demo = fileFor(1);
    const std::size_t text =
        textBytes(large, store::schema::kGoods) + textBytes(large, store::schema::kSales);
    QuietPlatform quiet;
    std::size_t growth = 0, resident = 0, rows = 0, engine = 0;
    for (auto _ : state) {
        std::size_t baseline = 0;
        {
            ScopedCurrentDirectory cwd(demo.directory());
            TableCache::instance().clear();
            auto windows = startProgram();
            malloc_trim(0);
            baseline = residentBytes();
        }
        TableCache::instance().clear();
        malloc_trim(0);
        ScopedCurrentDirectory cwd(large.directory());
        auto windows = startProgram();
        resident = residentBytes();
        rows = TableCache::instance().memoryUsage();
        engine = static_cast<std::size_t>(sqlite3_memory_used());
        growth = resident > baseline ? resident - baseline : 0;
        windows.reset();
        TableCache::instance().clear();
    }
    state.counters["residentBytes"] = static_cast<double>(resident);
    state.counters["growthBytes"] = static_cast<double>(growth);
    state.counters["textBytes"] = static_cast<double>(text);
    state.counters["rowsBytes"] = static_cast<double>(rows);
    state.counters["sqliteBytes"] = static_cast<double>(engine);
    state.counters["growthPerText"] = static_cast<double>(growth) / static_cast<double>(text);
}

BENCHMARK(BM_FullReadGoods)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StartUp)
    ->Args({0, 1})
    ->Args({0, 0})
    ->Args({1, 1})
    ->Args({1, 0})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Activation)
    ->Args({0, 1, 0})
    ->Args({0, 1, 1})
    ->Args({1, 1, 0})
    ->Args({1, 0, 0})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MemoryAfterStartUp)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    platform::Application application(argc, argv);
    platform::installFonts();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
