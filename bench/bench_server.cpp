// The program on a PostgreSQL server reached through a local socket (the PG* environment names it;
// bench/run-server.sh starts a private one and fills it): the requery of 100,000 goods rows
// against psql copying the same table to /dev/null, confirming a sale with 100,000 goods and
// 100,000 sales, and the re-read of an unchanged 表1 against a full read.
//
// Every time is a wall time: the server works in processes of its own, which a processor time of
// this thread would leave out. Each benchmark is repeated and its least time kept, since the
// machine is shared and other work only ever adds to a time.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <string>

#include "sales/records/SaleRecords.h"
#include "store/Connection.h"
#include "store/Database.h"
#include "store/Query.h"
#include "store/Schema.h"
#include "store/SchemaUpgrade.h"
#include "store/ServerSettings.h"
#include "store/TableCache.h"
#include "store/pg/PgExchangeCount.h"
#include "tests/sales/records/SalesFixture.h"
#include "tools/DemoData.h"

namespace {

constexpr int kRows = 100000;

// The server of the PG* environment, its database filled once with kRows goods and kRows sales,
// and every connection of the process opening it.
void useShopServer() {
    static const bool ready = [] {
        const store::ServerSettings server;  // libpq's defaults: the PG* environment
        store::Database db = store::Database::onServer(server);
        if (!db.engine().holdsTable(store::schema::kGoods)) {
            {
                store::Transaction transaction(db);
                store::schema::createAllTables(db);
                transaction.commit();
            }
            // Without the tables' triggers: each INSERT would bump the table's change count, one
            // row updated again and again in one transaction, which the server slows down on
            // with every version of the row it keeps.
            db.exec("SET session_replication_role = replica");
            tools::appendGeneratedGoods(db, kRows);
            tools::appendGeneratedSales(db, kRows);
            db.exec("SET session_replication_role = DEFAULT");
            // As a server in use has them: the tables' statistics and visibility up to date,
            // rather than the server's own cleaning of the fresh rows running under the
            // measurements.
            db.exec("VACUUM ANALYZE");
        }
        store::useServer(server);
        return true;
    }();
    benchmark::DoNotOptimize(ready);
}

double least(const std::vector<double>& times) {
    return *std::min_element(times.begin(), times.end());
}

// The table cache on or off for one benchmark.
class CacheSwitch {
  public:
    explicit CacheSwitch(bool on) { store::TableCache::instance().setEnabled(on); }
    ~CacheSwitch() { store::TableCache::instance().setEnabled(true); }
    CacheSwitch(const CacheSwitch&) = delete;
    CacheSwitch& operator=(const CacheSwitch&) = delete;
};

// Reads 表1 whole as the goods list does. Arguments: whether the connection is opened again each
// time (a window's reconnect-and-requery) or held; whether the table cache serves a table that has
// not changed since it was read (the re-read) or every read goes to the server (a full read).
void BM_ReadGoods(benchmark::State& state) {
    useShopServer();
    const bool reconnect = state.range(0) != 0;
    CacheSwitch cache(state.range(1) != 0);
    store::Connection connection;
    store::Query query(connection);
    store::reconnectAndRequery(connection, {{&query, store::schema::kGoods}});
    for (auto _ : state) {
        if (reconnect) {
            store::reconnectAndRequery(connection, {{&query, store::schema::kGoods}});
        } else {
            query.close();
            query.select(store::schema::kGoods);
            query.open();
        }
        benchmark::DoNotOptimize(query.recordCount());
    }
    state.counters["rows"] = query.recordCount();
}

// Runs a psql command, its output read and returned; throws when it fails.
std::string runPsql(const std::string& arguments) {
    const std::string command = "psql -X -q " + arguments + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) throw std::runtime_error("cannot run psql");
    std::string output;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        output.append(buffer, n);
    if (pclose(pipe) != 0) throw std::runtime_error("psql failed: " + output);
    return output;
}

// psql copying 表1 to /dev/null: the command's wall time, and psql's own timing of the copy
// (without its start and its connection) as the counter psqlCopyMs.
void BM_PsqlCopyGoods(benchmark::State& state) {
    useShopServer();
    const std::string script = "/tmp/jxc-bench-copy-" + std::to_string(getpid()) + ".sql";
    std::ofstream(script) << "\\timing on\n\\copy (select * from \"" << store::schema::kGoods
                          << "\") to '/dev/null'\n";
    double copyMs = 0;
    for (auto _ : state) {
        const std::string output = runPsql("-f " + script);
        const auto at = output.find("Time: ");
        if (at == std::string::npos) {
            state.SkipWithError("psql gave no timing");
            break;
        }
        copyMs += std::atof(output.c_str() + at + 6);
    }
    std::remove(script.c_str());
    state.counters["psqlCopyMs"] = benchmark::Counter(copyMs, benchmark::Counter::kAvgIterations);
}

// psql's start alone, without a connection: taken from the command's wall time above.
void BM_PsqlStart(benchmark::State& state) {
    useShopServer();  // the first run of the program fills the server through this one
    for (auto _ : state) benchmark::DoNotOptimize(runPsql("--version"));
}

// One sale of the goods row in the middle of the list, as "确定" makes it.
void BM_ConfirmSale(benchmark::State& state) {
    useShopServer();
    store::Connection connection;
    store::Query goods(connection);
    store::Query sales(connection);
    sales::SaleRecords records(connection, goods, sales);
    records.reloadGoods();
    goods.moveTo(kRows / 2);
    // A quantity of 0: the same writes every time, and the stock lasts.
    const auto entry =
        salestest::saleOf(*records.goodsForSale(), "2026/12/10 10:00:00", "12.5", "0", "客户00042");
    records.confirm(entry);  // what a connection learns once, on its first sale
    {
        // How often a sale waits for the server, counted on one sale before the measured ones.
        store::pg::ExchangeCounter exchanges(connection.database().engine());
        records.confirm(entry);
        state.counters["roundTrips"] = static_cast<double>(exchanges.count());
    }
    for (auto _ : state) {
        const auto result = records.confirm(entry);
        if (result.outcome != sales::SaleResult::Outcome::Sold) state.SkipWithError("not sold");
    }
}

#define LEAST_OF(n)                         \
    Repetitions(n)                          \
        ->ComputeStatistics("least", least) \
        ->ReportAggregatesOnly(true)        \
        ->UseRealTime()                     \
        ->Unit(benchmark::kMillisecond)
BENCHMARK(BM_ReadGoods)
    ->ArgsProduct({{0, 1}, {0, 1}})
    ->ArgNames({"reconnect", "cache"})
    ->LEAST_OF(5);
BENCHMARK(BM_PsqlCopyGoods)->LEAST_OF(5);
BENCHMARK(BM_PsqlStart)->LEAST_OF(5);
BENCHMARK(BM_ConfirmSale)->MinTime(1.0)->LEAST_OF(3);

}  // namespace

BENCHMARK_MAIN();
