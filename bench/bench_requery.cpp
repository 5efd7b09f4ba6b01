// Re-reading the goods table (reconnect-and-requery) against a bare sqlite3_step loop over the
// same rows, and the memory of the static result set against the bytes of its text.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <memory>

#include "bench/TextBytes.h"
#include "store/Connection.h"
#include "store/ConnectionString.h"
#include "store/Database.h"
#include "store/Query.h"
#include "store/Schema.h"
#include "store/TableCache.h"
#include "tests/support/GoodsDatabases.h"

namespace {

using testsupport::goodsDatabase;

void BM_ReconnectAndRequery(benchmark::State& state) {
    const auto& db = goodsDatabase(static_cast<int>(state.range(0)));
    testsupport::ScopedCurrentDirectory cwd(db.directory());
    store::Connection connection;
    store::Query query(connection);
    for (auto _ : state) {
        // A read of the file each time, not the rows kept from the last one.
        state.PauseTiming();
        store::TableCache::instance().clear();
        state.ResumeTiming();
        store::reconnectAndRequery(connection, {{&query, store::schema::kGoods}});
        benchmark::DoNotOptimize(query.recordCount());
    }
    const auto text = static_cast<double>(benchsupport::textBytes(query));
    state.counters["rows"] = query.recordCount();
    state.counters["memoryBytes"] = static_cast<double>(query.memoryUsage());
    state.counters["textBytes"] = text;
    state.counters["memoryPerText"] = static_cast<double>(query.memoryUsage()) / text;
}

// Reads every column of every row as text, the least any reader of the table must do.
std::size_t stepAll(const store::Database& db) {
    store::Statement select(db, std::string("select * from ") + store::schema::kGoods);
    sqlite3_stmt* stmt = select.handle();
    const int columns = sqlite3_column_count(stmt);
    std::size_t bytes = 0;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        for (int c = 0; c < columns; ++c) {
            benchmark::DoNotOptimize(sqlite3_column_text(stmt, c));
            bytes += static_cast<std::size_t>(sqlite3_column_bytes(stmt, c));
        }
    }
    return bytes;
}

// The bare loop on a connection held open, without the opening and keying of the file.
void BM_BareStepLoop(benchmark::State& state) {
    const auto& file = goodsDatabase(static_cast<int>(state.range(0)));
    store::Database db(file.path(), store::kDatabasePassword);
    for (auto _ : state) benchmark::DoNotOptimize(stepAll(db));
}

// The bare loop with the connection opened and keyed each time, as a reconnect does.
void BM_BareOpenAndStepLoop(benchmark::State& state) {
    const auto& file = goodsDatabase(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        store::Database db(file.path(), store::kDatabasePassword);
        benchmark::DoNotOptimize(stepAll(db));
    }
}

#define ROW_COUNTS Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)
BENCHMARK(BM_ReconnectAndRequery)->ROW_COUNTS;
BENCHMARK(BM_BareStepLoop)->ROW_COUNTS;
BENCHMARK(BM_BareOpenAndStepLoop)->ROW_COUNTS;

}  // namespace

BENCHMARK_MAIN();
