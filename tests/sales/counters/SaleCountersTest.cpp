// Four counters selling from the same ten goods rows at once, each in a process of its own, and
// taking back some of their own sales: afterwards every goods row's figures are its start figures
// moved by exactly the sales and returns stored, no stock is below zero, and the counters' logs
// and the stored sales and returns name the same rows.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "store/Decimal.h"
#include "store/Schema.h"
#include "store/ServerSettings.h"
#include "tests/sales/counters/CounterLog.h"
#include "tests/sales/records/SalesFixture.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/TestServer.h"

namespace {

namespace schema = store::schema;
using store::Decimal;
using testsupport::Row;

constexpr int kCounters = 4;
constexpr int kGoodsRows = 10;

// How long the counters sell: on the server 20 seconds, on the file (whose one writer at a time
// makes every counter wait) a few.
int sellingSeconds() { return testsupport::onServer() ? 20 : 4; }

// The goods row k as the counters find it: 12 in stock, and sales already made from it.
Row startRow(int k) {
    const std::string cost = std::to_string(5 + k) + ".35";
    Row row = salestest::purchase("C" + std::to_string(k), cost, "12",
                                  (Decimal(12) * Decimal::read(cost)).text());
    row[schema::column::kSaleQuantity] = std::to_string(k);
    row[schema::column::kSaleAmount] = (Decimal(k) * Decimal::read("12.5")).text();
    row[schema::column::kSaleProfit] = (Decimal(k) * Decimal::read("0.15")).text();
    return row;
}

struct LoggedMove {
    std::int64_t goodsId = 0;
    std::string quantity;
    std::int64_t saleId = 0;  // of a return
};

// What the counters' logs say was stored, by ID, and how many other outcomes there were.
struct Logs {
    std::map<std::int64_t, LoggedMove> sales;
    std::map<std::int64_t, LoggedMove> returns;
    std::map<std::string, int> outcomes;
    std::vector<std::string> errors;
};

void readLog(const std::string& path, Logs& logs) {
    std::ifstream in(path);
    ASSERT_TRUE(in) << path;
    for (std::string line; std::getline(in, line);) {
        std::istringstream words(line);
        std::string kind;
        words >> kind;
        ++logs.outcomes[kind];
        std::int64_t id = 0;
        LoggedMove move;
        if (kind == counters::kSold) {
            words >> id >> move.goodsId >> move.quantity;
            EXPECT_TRUE(logs.sales.emplace(id, move).second) << "sale " << id << " logged twice";
        } else if (kind == counters::kReturned) {
            words >> id >> move.saleId >> move.goodsId >> move.quantity;
            EXPECT_TRUE(logs.returns.emplace(id, move).second)
                << "return " << id << " logged twice";
        } else if (kind == counters::kError) {
            logs.errors.push_back(path + ": " + line);
        }
    }
}

// Starts the counters at once, each with a log of its own, and waits until all have ended.
std::vector<std::string> runCounters(const testsupport::TestDatabase& db) {
    const std::string folder = db.directory().string();
    std::vector<std::string> logPaths;
    std::vector<pid_t> children;
    for (int counter = 1; counter <= kCounters; ++counter) {
        logPaths.push_back(folder + "/counter" + std::to_string(counter) + ".log");
        std::vector<std::string> args = {JXC_COUNTER_DRIVER, std::to_string(sellingSeconds()),
                                         std::to_string(counter), logPaths.back()};
        if (testsupport::onServer()) {
            const store::ServerSettings& server = db.server();
            args.insert(args.end(),
                        {server.host, server.port, server.database, server.user, server.sslmode});
        }
        std::vector<char*> argv;
        for (auto& arg : args) argv.push_back(arg.data());
        argv.push_back(nullptr);
        const pid_t child = fork();
        if (child == 0) {
            execv(argv[0], argv.data());
            _exit(127);
        }
        EXPECT_GT(child, 0);
        children.push_back(child);
    }
    for (const pid_t child : children) {
        int status = 0;
        EXPECT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
            << "a counter ended with status " << status;
    }
    return logPaths;
}

std::int64_t idOf(const Row& row, const char* column) { return std::stoll(row.at(column)); }

TEST(SaleCountersTest, CountersSellingTheSameGoodsKeepEveryFigureExact) {
    testsupport::TestDatabase db;
    std::vector<Row> start;
    for (int k = 0; k < kGoodsRows; ++k) start.push_back(startRow(k));
    const auto ids = salestest::insert(schema::kGoods, start);

    Logs logs;
    for (const auto& path : runCounters(db)) readLog(path, logs);
    EXPECT_EQ(logs.errors, std::vector<std::string>());
    // Without sales and returns, and stock running short, there would be nothing to check.
    EXPECT_GT(logs.outcomes[counters::kSold], 0);
    EXPECT_GT(logs.outcomes[counters::kReturned], 0);
    EXPECT_GT(logs.outcomes[counters::kShort] + logs.outcomes[counters::kRefused], 0);
    std::cout << "outcomes:";
    for (const auto& [kind, count] : logs.outcomes) std::cout << " " << kind << " " << count;
    std::cout << "\n";

    namespace column = schema::column;
    // The figures each goods row must hold: its start figures moved by what is stored.
    struct Figures {
        Decimal cost, sold, amount, profit, stock, stockAmount;
        // A sale of quantity for amount at a cost per unit; a return is one of −quantity for
        // −refund.
        void sell(const Decimal& quantity, const Decimal& amount, const Decimal& unitCost) {
            sold += quantity;
            this->amount += amount;
            profit += amount - quantity * unitCost;
            stock -= quantity;
            stockAmount -= quantity * unitCost;
        }
    };
    std::map<std::int64_t, Figures> expected;
    for (int k = 0; k < kGoodsRows; ++k) {
        const Row& row = start[static_cast<std::size_t>(k)];
        const auto number = [&](const char* name) { return Decimal::read(row.at(name)); };
        expected[std::stoll(ids[static_cast<std::size_t>(k)])] = {
            number(column::kPurchasePrice), number(column::kSaleQuantity),
            number(column::kSaleAmount),    number(column::kSaleProfit),
            number(column::kStockQuantity), number(column::kStockAmount)};
    }

    std::map<std::int64_t, std::int64_t> goodsOfSale;
    for (const Row& link : salestest::stored(schema::kSaleGoods))
        goodsOfSale[idOf(link, column::kSaleId)] = idOf(link, column::kGoodsId);
    std::map<std::int64_t, Decimal> returnable;
    const auto storedSales = salestest::stored(schema::kSales);
    EXPECT_EQ(storedSales.size(), logs.sales.size());
    for (const Row& sale : storedSales) {
        const std::int64_t id = idOf(sale, column::kId);
        const auto logged = logs.sales.find(id);
        ASSERT_NE(logged, logs.sales.end()) << "sale " << id << " stored but not logged";
        ASSERT_EQ(goodsOfSale.count(id), 1u) << "sale " << id << " without its goods row";
        const std::int64_t goodsId = goodsOfSale[id];
        EXPECT_EQ(goodsId, logged->second.goodsId) << "sale " << id;
        EXPECT_EQ(sale.at(column::kSaleQuantity), logged->second.quantity) << "sale " << id;
        ASSERT_EQ(expected.count(goodsId), 1u) << "sale " << id;
        Figures& f = expected[goodsId];
        const Decimal quantity = Decimal::read(sale.at(column::kSaleQuantity));
        const Decimal amount = Decimal::read(sale.at(column::kSaleAmount));
        f.sell(quantity, amount, f.cost);
        returnable[id] = quantity;
    }
    const auto storedReturns = salestest::stored(schema::kReturns);
    EXPECT_EQ(storedReturns.size(), logs.returns.size());
    for (const Row& taken : storedReturns) {
        const std::int64_t id = idOf(taken, column::kId);
        const auto logged = logs.returns.find(id);
        ASSERT_NE(logged, logs.returns.end()) << "return " << id << " stored but not logged";
        const std::int64_t goodsId = idOf(taken, column::kGoodsId);
        const std::int64_t saleId = idOf(taken, column::kSaleId);
        EXPECT_EQ(goodsId, logged->second.goodsId) << "return " << id;
        EXPECT_EQ(saleId, logged->second.saleId) << "return " << id;
        EXPECT_EQ(taken.at(column::kReturnQuantity), logged->second.quantity) << "return " << id;
        EXPECT_EQ(goodsId, goodsOfSale[saleId]) << "return " << id << " to another goods row";
        ASSERT_EQ(expected.count(goodsId), 1u) << "return " << id;
        Figures& f = expected[goodsId];
        const Decimal quantity = Decimal::read(taken.at(column::kReturnQuantity));
        const Decimal refund = Decimal::read(taken.at(column::kRefundAmount));
        const Decimal cost = Decimal::read(taken.at(column::kPurchasePrice));
        EXPECT_EQ(cost, f.cost) << "return " << id;
        f.sell(-quantity, -refund, cost);
        returnable[saleId] -= quantity;
        EXPECT_FALSE(returnable[saleId].isNegative()) << "sale " << saleId << " returned twice";
    }
    // Every logged sale and return was found stored above, as the counts are equal and the IDs
    // of the stored ones were all logged.

    const auto cents = [](const Decimal& d) { return d.roundedToDecimals(2).text(); };
    const auto goods = salestest::stored(schema::kGoods);
    ASSERT_EQ(goods.size(), static_cast<std::size_t>(kGoodsRows));
    for (const Row& row : goods) {
        const std::int64_t id = idOf(row, column::kId);
        const Figures& f = expected[id];
        const auto storedCents = [&](const char* name) {
            return cents(Decimal::read(row.at(name)));
        };
        EXPECT_EQ(storedCents(column::kSaleQuantity), cents(f.sold)) << "goods " << id;
        EXPECT_EQ(storedCents(column::kSaleAmount), cents(f.amount)) << "goods " << id;
        EXPECT_EQ(storedCents(column::kSaleProfit), cents(f.profit)) << "goods " << id;
        EXPECT_EQ(storedCents(column::kStockQuantity), cents(f.stock)) << "goods " << id;
        EXPECT_EQ(storedCents(column::kStockAmount), cents(f.stockAmount)) << "goods " << id;
        EXPECT_FALSE(Decimal::read(row.at(column::kStockQuantity)).isNegative())
            << "goods " << id << " sold beyond its stock";
    }
}

}  // namespace
