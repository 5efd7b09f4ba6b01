// Two counters on one database: a sale or a return that reads a row it writes back waits while
// another connection holds that row in its transaction, and then works from what that one stored.
// The same tests run on a data file (whose write transaction holds the whole file) and on a server
// (where only the rows read for the write are locked).
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <exception>
#include <future>
#include <string>
#include <thread>

#include "sales/records/ReturnRecords.h"
#include "sales/records/SaleRecords.h"
#include "store/Connection.h"
#include "store/ConnectionString.h"
#include "store/Database.h"
#include "store/Query.h"
#include "store/Schema.h"
#include "store/ServerSettings.h"
#include "tests/sales/records/SalesFixture.h"
#include "tests/support/TestDatabase.h"

namespace {

namespace schema = store::schema;
using salestest::purchase;
using salestest::stored;

class RowLocksTest : public testing::Test {
  protected:
    void SetUp() override {
        goodsId =
            std::stoll(salestest::insert(schema::kGoods, {purchase("A01", "10", "10", "100")})[0]);
    }

    // A sale of quantity at 12 through the sales window's records, from a panel that showed the
    // goods row's stock as 10.
    static sales::SaleResult sell(store::Connection& connection, std::int64_t goods,
                                  const std::string& quantity) {
        store::Query list(connection);
        store::Query sales(connection);
        sales::SaleRecords records(connection, list, sales);
        records.reloadGoods();
        sales::GoodsForSale shown = *records.goodsForSale();
        shown.goodsId = goods;
        shown.stock = "10";
        return records.confirm(
            salestest::saleOf(shown, "2026-12-11 09:00:00", "12", quantity, "李四"));
    }

    // Another counter, a program of its own on the same data, holds the goods row (or the sale)
    // in its transaction, writes there and stores it a moment later, while this test's counter
    // runs its command, which waits meanwhile and then works from what was stored.
    template <typename Command>
    auto whileAnotherCounterHolds(const char* table, std::int64_t row, const std::string& write,
                                  Command&& command) {
        std::promise<void> held;
        bool told = false;
        std::exception_ptr failure;
        std::thread other([&] {
            try {
                store::Database data = ownHandle();
                store::Transaction transaction(data);
                {
                    store::Statement lock(data, "SELECT rowid FROM \"" + std::string(table) +
                                                    "\" WHERE rowid = ?" +
                                                    data.engine().rowLockClause());
                    lock.bindInt64(1, row);
                    lock.step();
                }
                data.exec(write);
                told = true;
                held.set_value();
                std::this_thread::sleep_for(std::chrono::milliseconds(150));
                transaction.commit();
            } catch (...) {
                failure = std::current_exception();
                if (!told) held.set_value();
            }
        });
        held.get_future().wait();
        auto result = command();
        other.join();
        if (failure) std::rethrow_exception(failure);
        return result;
    }

    store::Database ownHandle() const {
        if (const store::ServerSettings* server = store::currentServer())
            return store::Database::onServer(*server);
        return store::Database(db.path(), store::kDatabasePassword);
    }

    testsupport::TestDatabase db;
    std::int64_t goodsId = 0;
    store::Connection connection{store::buildConnectionStringForCurrentDirectory()};
};

// Without the goods row held from its read, the sale would store 10 − 2 over the other counter's 3.
TEST_F(RowLocksTest, ASaleWaitsForTheGoodsRowAndSellsFromTheStockStoredMeanwhile) {
    const auto result = whileAnotherCounterHolds(
        schema::kGoods, goodsId,
        "UPDATE \"表1\" SET \"销售数量\" = 7, \"库存数量\" = 3, \"库存金额\" = 30 WHERE rowid = " +
            std::to_string(goodsId),
        [&] { return sell(connection, goodsId, "2"); });
    EXPECT_EQ(result.outcome, sales::SaleResult::Outcome::Sold);
    const auto goods = stored(schema::kGoods).at(0);
    EXPECT_EQ(goods.at("库存数量"), "1");
    EXPECT_EQ(goods.at("销售数量"), "9");
    EXPECT_EQ(goods.at("库存金额"), "10");
}

TEST_F(RowLocksTest, ASaleBeyondTheStockStoredMeanwhileIsRefused) {
    const auto result = whileAnotherCounterHolds(
        schema::kGoods, goodsId,
        "UPDATE \"表1\" SET \"库存数量\" = 3 WHERE rowid = " + std::to_string(goodsId),
        [&] { return sell(connection, goodsId, "5"); });
    EXPECT_EQ(result.outcome, sales::SaleResult::Outcome::StockShort);
    EXPECT_EQ(result.stock, "3");
    EXPECT_TRUE(stored(schema::kSales).empty());
}

// Without the sale held from its read, both counters would take back 2 of the 3 sold.
TEST_F(RowLocksTest, AReturnWaitsForTheSaleAndCountsTheReturnStoredMeanwhile) {
    ASSERT_EQ(sell(connection, goodsId, "3").outcome, sales::SaleResult::Outcome::Sold);
    const std::int64_t sale = std::stoll(stored(schema::kSales).at(0).at("ID"));
    const auto result = whileAnotherCounterHolds(
        schema::kSales, sale,
        "INSERT INTO \"" + std::string(schema::kReturns) +
            "\" (\"销售ID\", \"商品ID\", \"退货数量\", \"退款金额\", \"进货单价\") VALUES (" +
            std::to_string(sale) + ", " + std::to_string(goodsId) + ", 2, 24, 10)",
        [&] {
            return salereturn::ReturnRecords(connection)
                .confirm({sale, goodsId, "2026-12-11 10:00:00", "2", "24", ""});
        });
    EXPECT_EQ(result.outcome, salereturn::ReturnResult::Outcome::Refused);
    EXPECT_NE(result.refusal.find("还可退的数量 1"), std::string::npos) << result.refusal;
    EXPECT_EQ(stored(schema::kReturns).size(), 1u);
}

}  // namespace
