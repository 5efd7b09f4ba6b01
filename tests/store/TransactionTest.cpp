#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "store/Connection.h"
#include "store/Database.h"
#include "store/Error.h"
#include "store/Query.h"
#include "store/Schema.h"
#include "tests/support/TestDatabase.h"

namespace {

using testsupport::TestDatabase;

// A sale as the sales window writes it: a 表3 row and the stock movement of its 表1 row on one
// connection.
class TransactionTest : public testing::Test {
  protected:
    void SetUp() override {
        goods.select(store::schema::kGoods);
        goods.open();
        goods.append();
        goods.setFieldText("商品编码", "A1");
        goods.setFieldText("库存数量", "10");
        goods.post();
        sales.select(store::schema::kSales);
        sales.open();
    }

    void sell(const std::string& quantity, const std::string& stockLeft) {
        sales.append();
        sales.setFieldText("商品编码", "A1");
        sales.setFieldText("销售数量", quantity);
        sales.post();
        goods.edit();
        goods.setFieldText("库存数量", stockLeft);
        goods.post();
    }

    // What a second connection finds in the file.
    static int storedCount(const char* table) {
        store::Connection other;
        store::Query q(other);
        q.select(table);
        q.open();
        return q.recordCount();
    }
    static std::string storedStock() {
        store::Connection other;
        store::Query q(other);
        q.select(store::schema::kGoods);
        q.open();
        return q.fieldText("库存数量");
    }

    TestDatabase db;
    store::Connection connection;
    store::Query goods{connection};
    store::Query sales{connection};
};

TEST_F(TransactionTest, CommitStoresBothRows) {
    store::WriteTransaction transaction(connection);
    sell("3", "7");
    transaction.commit();
    EXPECT_EQ(storedCount(store::schema::kSales), 1);
    EXPECT_EQ(storedStock(), "7");
    EXPECT_EQ(sales.recordCount(), 1);
}

TEST_F(TransactionTest, AFailedSecondWriteLeavesNothingInTheFileOrTheLists) {
    {
        store::WriteTransaction transaction(connection);
        sales.append();
        sales.setFieldText("销售数量", "3");
        sales.post();
        goods.edit();
        goods.setFieldText("库存数量", "7");
        // Another connection deleted the goods row: the stock movement cannot be written.
        connection.database().exec(std::string("DELETE FROM ") + store::schema::kGoods);
        EXPECT_THROW(goods.post(), store::StoreError);
    }
    EXPECT_FALSE(connection.inTransaction());
    EXPECT_EQ(storedCount(store::schema::kSales), 0);
    EXPECT_EQ(storedCount(store::schema::kGoods), 1);
    // The lists hold what the file holds: no sale row, the goods row as stored, not in edit.
    EXPECT_EQ(sales.recordCount(), 0);
    EXPECT_EQ(goods.recordCount(), 1);
    EXPECT_EQ(goods.state(), store::Query::State::Browse);
    EXPECT_EQ(goods.fieldText("库存数量"), "10");
}

TEST_F(TransactionTest, RollbackKeepsTheCurrentRowAndASearchInForce) {
    goods.append();
    goods.setFieldText("商品编码", "B2");
    goods.post();
    goods.select(store::schema::kGoods, "商品编码 like ?", {"%B%"});
    goods.open();
    ASSERT_EQ(goods.recordCount(), 1);
    {
        store::WriteTransaction transaction(connection);
        goods.edit();
        goods.setFieldText("库存数量", "1");
        goods.post();
    }
    EXPECT_EQ(goods.recordCount(), 1);
    EXPECT_EQ(goods.fieldText("商品编码"), "B2");
    EXPECT_EQ(goods.fieldText("库存数量"), "");
}

TEST_F(TransactionTest, OneAtATimeAndAfterAClosedConnectionNothingIsStored) {
    store::WriteTransaction transaction(connection);
    EXPECT_THROW(store::WriteTransaction second(connection), store::StoreError);
    sell("1", "9");
    connection.close();
    EXPECT_THROW(transaction.commit(), store::StoreError);
    EXPECT_EQ(storedCount(store::schema::kSales), 0);
    EXPECT_EQ(storedStock(), "10");
    store::WriteTransaction next(connection);  // the connection is free again
    next.commit();
}

}  // namespace
