// Returns of sales: what can still be returned, the goods row a return goes back to, the exact
// figures it moves and takes back, its refusals, and two connections returning the same sale.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "sales/records/ReturnRecords.h"
#include "sales/records/SaleDetailRecords.h"
#include "sales/records/SaleRecords.h"
#include "store/Connection.h"
#include "store/ConnectionString.h"
#include "store/Database.h"
#include "store/Error.h"
#include "store/Query.h"
#include "store/Schema.h"
#include "tests/sales/records/SalesFixture.h"
#include "tests/support/TestDatabase.h"

namespace {

namespace schema = store::schema;
using salestest::purchase;
using salestest::Row;
using salestest::stored;
using Outcome = salereturn::ReturnResult::Outcome;

class ReturnRecordsTest : public testing::Test {
  protected:
    void SetUp() override {
        goodsIds = salestest::insert(schema::kGoods, {purchase("A01", "10", "100", "1000"),
                                                      purchase("B02", "3.456", "10", "34.56")});
    }

    std::int64_t goodsId(int k) const { return std::stoll(goodsIds[static_cast<std::size_t>(k)]); }

    // A sale made from the goods row k through the sales window's records: it notes its row.
    std::int64_t sell(int k, const std::string& price, const std::string& quantity) {
        store::Query goods(connection);
        store::Query sales(connection);
        sales::SaleRecords records(connection, goods, sales);
        records.reloadGoods();
        for (int i = 0; i < goods.recordCount(); ++i)
            if (goods.rowIdAt(i) == goodsId(k)) goods.moveTo(i);
        const auto entry = salestest::saleOf(*records.goodsForSale(), "2026-12-10 09:30:00", price,
                                             quantity, "张三");
        EXPECT_EQ(records.confirm(entry).outcome, sales::SaleResult::Outcome::Sold);
        const auto rows = stored(schema::kSales);
        return std::stoll(rows.back().at("ID"));
    }

    // A sale as earlier versions stored it: a 表3 row and no note of its goods row.
    std::int64_t oldSale(const std::string& code, const std::string& quantity) {
        return std::stoll(salestest::insert(schema::kSales, {{{"销售日期", "2024-01-02 10:00:00"},
                                                              {"商品编码", code},
                                                              {"商品名称", "名称" + code},
                                                              {"商品型号", "M1"},
                                                              {"商品规格", "S1"},
                                                              {"单位", "个"},
                                                              {"销售单价", "10"},
                                                              {"销售数量", quantity},
                                                              {"销售金额", "0"}}})[0]);
    }

    salestest::Row goodsRow(int k) const {
        for (const auto& row : stored(schema::kGoods))
            if (row.at("ID") == goodsIds[static_cast<std::size_t>(k)]) return row;
        return {};
    }

    salereturn::ReturnResult giveBack(std::int64_t sale, std::int64_t goods,
                                      const std::string& quantity, const std::string& refund) {
        return records.confirm({sale, goods, "2026-12-11 08:00:00", quantity, refund, "坏了"});
    }

    testsupport::TestDatabase db;
    std::vector<std::string> goodsIds;
    store::Connection connection{store::buildConnectionStringForCurrentDirectory()};
    salereturn::ReturnRecords records{connection};
};

TEST_F(ReturnRecordsTest, WhatCanBeReturnedIsTheSaleLessItsReturns) {
    struct Case {
        const char* sold;
        std::vector<std::pair<const char*, Outcome>> returns;
        const char* left;
    };
    const Case cases[] = {
        {"2", {{"1", Outcome::Returned}, {"1", Outcome::Returned}, {"1", Outcome::Refused}}, "0"},
        {"2.5", {{"2.5", Outcome::Returned}}, "0"},
        {"2", {{"2.01", Outcome::Refused}, {"0.5", Outcome::Returned}}, "1.5"},
        {"2",
         {{"0", Outcome::Refused},
          {"-1", Outcome::Refused},
          {"", Outcome::Refused},
          {"1a", Outcome::Refused}},
         "2"},
    };
    for (const Case& c : cases) {
        const std::int64_t sale = sell(0, "12", c.sold);
        for (const auto& [quantity, outcome] : c.returns) {
            SCOPED_TRACE(std::string(c.sold) + " return " + quantity);
            const auto result = giveBack(sale, goodsId(0), quantity, "0");
            EXPECT_EQ(result.outcome, outcome) << result.refusal;
            if (outcome == Outcome::Refused && *quantity != '\0') {
                EXPECT_NE(result.refusal.find(quantity), std::string::npos) << result.refusal;
            }
        }
        EXPECT_EQ(records.load(sale)->returnable, c.left) << c.sold;
    }
    // The refusal above what is left names what is left.
    const std::int64_t sale = sell(0, "12", "3");
    ASSERT_EQ(giveBack(sale, goodsId(0), "2", "0").outcome, Outcome::Returned);
    EXPECT_NE(giveBack(sale, goodsId(0), "1.5", "0").refusal.find(" 1，"), std::string::npos);
}

TEST_F(ReturnRecordsTest, AReturnAfterTheSaleWasCorrectedCountsTheCorrectedQuantity) {
    const std::int64_t sale = sell(0, "12", "3");
    ASSERT_EQ(giveBack(sale, goodsId(0), "1", "0").outcome, Outcome::Returned);
    store::Database(db.path(), store::kDatabasePassword)
        .exec("UPDATE \"表3\" SET \"销售数量\" = 2 WHERE ID = " + std::to_string(sale));
    EXPECT_EQ(records.load(sale)->returnable, "1");
    EXPECT_EQ(giveBack(sale, goodsId(0), "1.5", "0").outcome, Outcome::Refused);
    EXPECT_EQ(giveBack(sale, goodsId(0), "1", "0").outcome, Outcome::Returned);
}

TEST_F(ReturnRecordsTest, TheGoodsRowIsTheOneTheSaleNotedOrTheOldSalesMatch) {
    // A second purchase of the same goods: an old sale cannot tell them apart, a new one can.
    const std::int64_t twin =
        std::stoll(salestest::insert(schema::kGoods, {purchase("A01", "11", "5", "55")})[0]);
    const std::int64_t newSale = sell(0, "12", "2");
    ASSERT_EQ(records.load(newSale)->goodsRows.size(), 1u);
    EXPECT_EQ(records.load(newSale)->goodsRows[0].goodsId, goodsId(0));
    EXPECT_EQ(giveBack(newSale, twin, "1", "0").outcome, Outcome::ChooseGoodsRow);

    const std::int64_t both = oldSale("A01", "2");
    const auto shown = records.load(both);
    ASSERT_EQ(shown->goodsRows.size(), 2u);
    EXPECT_EQ(shown->goodsRows[1].goodsId, twin);
    EXPECT_EQ(shown->goodsRows[1].purchasePrice, "11");
    EXPECT_EQ(giveBack(both, 0, "1", "0").outcome, Outcome::ChooseGoodsRow);
    ASSERT_EQ(giveBack(both, twin, "1", "0").outcome, Outcome::Returned);
    EXPECT_EQ(stored(schema::kGoods)[2].at("库存数量"), "6");

    const std::int64_t one = oldSale("B02", "2");
    ASSERT_EQ(records.load(one)->goodsRows.size(), 1u);
    EXPECT_EQ(giveBack(one, goodsId(1), "1", "0").outcome, Outcome::Returned);

    // The purchases deleted: neither kind of sale has a row to go back to.
    store::Database(db.path(), store::kDatabasePassword).exec("DELETE FROM \"表1\"");
    for (const std::int64_t sale : {newSale, both, one}) {
        EXPECT_TRUE(records.load(sale)->goodsRows.empty());
        EXPECT_EQ(giveBack(sale, goodsId(0), "0.5", "0").outcome, Outcome::NoGoodsRow);
    }
    EXPECT_EQ(stored(schema::kReturns).size(), 2u);
}

// A model or size left out is stored empty by one entry and as nothing at all by another: an old
// sale still finds its goods row.
TEST_F(ReturnRecordsTest, AnOldSaleFindsItsGoodsRowWhenAnEmptyTextWasStoredAsNothing) {
    Row bare = purchase("C03", "2", "4", "8");
    bare.erase("商品型号");
    bare.erase("商品规格");
    const std::int64_t row = std::stoll(salestest::insert(schema::kGoods, {bare})[0]);
    const std::int64_t sale =
        std::stoll(salestest::insert(schema::kSales, {{{"销售日期", "2024-01-02 10:00:00"},
                                                       {"商品编码", "C03"},
                                                       {"商品名称", "名称C03"},
                                                       {"商品型号", ""},
                                                       {"商品规格", ""},
                                                       {"单位", "个"},
                                                       {"销售单价", "10"},
                                                       {"销售数量", "1"},
                                                       {"销售金额", "10"}}})[0]);
    const auto shown = records.load(sale);
    ASSERT_EQ(shown->goodsRows.size(), 1u);
    EXPECT_EQ(shown->goodsRows[0].goodsId, row);
}

// A file of an earlier version opened read-only could not get the returns' tables: the panel
// and the list say what to do, naming the file, instead of the store's error.
TEST_F(ReturnRecordsTest, AFileWithoutTheReturnsTablesSaysHowToGetThem) {
    const std::int64_t sale = oldSale("A01", "2");
    store::Database(db.path(), store::kDatabasePassword).exec("DROP TABLE \"退货\"");
    try {
        records.load(sale);
        FAIL() << "loaded without the returns table";
    } catch (const store::StoreError& error) {
        const std::string text = error.what();
        EXPECT_NE(text.find(db.path()), std::string::npos) << text;
        EXPECT_NE(text.find("只读"), std::string::npos) << text;
    }
}

TEST_F(ReturnRecordsTest, AReturnMovesTheGoodsRowExactlyAndItsDeletionTakesItBack) {
    const std::int64_t sale = sell(1, "10", "4");
    const Row afterSale = goodsRow(1);
    const auto salesAfterSale = stored(schema::kSales);
    ASSERT_EQ(afterSale.at("销售利润"), "26.16");  // the cost is 3.456 rounded: 3.46

    ASSERT_EQ(giveBack(sale, goodsId(1), "1.5", "14").outcome, Outcome::Returned);
    const Row returned = goodsRow(1);
    EXPECT_EQ(returned.at("销售数量"), "2.5");
    EXPECT_EQ(returned.at("销售金额"), "26");
    EXPECT_EQ(returned.at("销售利润"), "17.35");  // 26.16 − (14 − 1.5 × 3.46)
    EXPECT_EQ(returned.at("库存数量"), "7.5");
    EXPECT_EQ(returned.at("库存金额"), "25.91");
    EXPECT_EQ(stored(schema::kSales), salesAfterSale);
    const auto rows = stored(schema::kReturns);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].at("销售ID"), std::to_string(sale));
    EXPECT_EQ(rows[0].at("商品ID"), goodsIds[1]);
    EXPECT_EQ(rows[0].at("进货单价"), "3.46");
    EXPECT_EQ(rows[0].at("客户姓名"), "张三");
    EXPECT_EQ(rows[0].at("退货日期"), "2026-12-11 08:00:00");

    // The purchase price corrected since: the deletion takes back what the return moved.
    store::Database(db.path(), store::kDatabasePassword)
        .exec("UPDATE \"表1\" SET \"进货单价\" = 4 WHERE ID = " + goodsIds[1]);
    EXPECT_EQ(records.deleteReturn(std::stoll(rows[0].at("ID"))),
              salereturn::DeleteOutcome::Deleted);
    Row back = goodsRow(1);
    back["进货单价"] = afterSale.at("进货单价");
    EXPECT_EQ(back, afterSale);
    EXPECT_TRUE(stored(schema::kReturns).empty());
    EXPECT_EQ(records.deleteReturn(std::stoll(rows[0].at("ID"))),
              salereturn::DeleteOutcome::ReturnGone);
}

TEST_F(ReturnRecordsTest, RefusalsStoreNothing) {
    const std::int64_t sale = sell(1, "10", "4");
    const Row afterSale = goodsRow(1);
    const struct {
        const char* quantity;
        const char* refund;
        const char* named;
    } cases[] = {{"1", "10.01", "10"},
                 {"1", "-1", "-1"},
                 {"1", "", "退款金额"},
                 {"1", "x", "x"},
                 {"5", "0", "4"}};
    for (const auto& c : cases) {
        const auto result = giveBack(sale, goodsId(1), c.quantity, c.refund);
        EXPECT_EQ(result.outcome, Outcome::Refused) << c.refund;
        EXPECT_NE(result.refusal.find(c.named), std::string::npos) << result.refusal;
    }
    EXPECT_EQ(records.confirm({sale, goodsId(1), "", "1", "0", std::string(256, 'x')}).outcome,
              Outcome::Refused);
    EXPECT_EQ(giveBack(sale + 100, goodsId(1), "1", "0").outcome, Outcome::SaleGone);
    EXPECT_EQ(goodsRow(1), afterSale);
    EXPECT_TRUE(stored(schema::kReturns).empty());
}

TEST_F(ReturnRecordsTest, ASaleWithReturnsIsNeitherDeletedNorCorrectedBelowThem) {
    const std::int64_t kept = sell(0, "12", "3");
    sell(0, "12", "1");
    ASSERT_EQ(giveBack(kept, goodsId(0), "2", "0").outcome, Outcome::Returned);
    store::Query list(connection);
    saledetail::SaleDetailRecords detail(connection, list);
    detail.refresh();
    ASSERT_EQ(list.recordCount(), 2);

    EXPECT_EQ(detail.deleteRows({1, 0}), saledetail::DeleteOutcome::HasReturns);
    EXPECT_EQ(stored(schema::kSales).size(), 2u);

    const struct {
        const char* quantity;
        saledetail::WriteBackOutcome outcome;
    } corrections[] = {{"1.5", saledetail::WriteBackOutcome::BelowReturned},
                       {"2", saledetail::WriteBackOutcome::Written}};
    for (const auto& c : corrections) {
        saledetail::SaleFields fields;
        fields.texts[saledetail::kPriceField] = "12";
        fields.texts[saledetail::kQuantityField] = c.quantity;
        fields.changed[saledetail::kQuantityField] = true;
        EXPECT_EQ(detail.writeBack(kept, fields), c.outcome) << c.quantity;
    }
    EXPECT_EQ(stored(schema::kSales)[0].at("销售数量"), "2");

    EXPECT_EQ(detail.deleteRows({1}), saledetail::DeleteOutcome::Deleted);
    EXPECT_EQ(stored(schema::kSales).size(), 1u);
    EXPECT_EQ(stored(schema::kSales)[0].at("ID"), std::to_string(kept));
}

TEST_F(ReturnRecordsTest, AReturnAnotherConnectionIsStoringKeepsItsSaleFromDeletionAndCorrection) {
    using Detail = saledetail::SaleDetailRecords;
    const struct {
        const char* what;
        std::function<bool(Detail&, std::int64_t)> refused;
    } cases[] = {
        {"delete",
         [](Detail& detail, std::int64_t) {
             return detail.deleteRows({0}) == saledetail::DeleteOutcome::HasReturns;
         }},
        {"correct below the return",
         [](Detail& detail, std::int64_t sale) {
             saledetail::SaleFields fields;
             fields.texts[saledetail::kPriceField] = "12";
             fields.texts[saledetail::kQuantityField] = "1";
             fields.changed[saledetail::kQuantityField] = true;
             return detail.writeBack(sale, fields) == saledetail::WriteBackOutcome::BelowReturned;
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        store::Database(db.path(), store::kDatabasePassword)
            .exec("DELETE FROM \"表3\"; DELETE FROM \"" + std::string(schema::kReturns) + "\"");
        const std::int64_t sale = sell(0, "12", "3");
        store::Query list(connection);
        Detail detail(connection, list);
        detail.refresh();
        ASSERT_EQ(list.recordCount(), 1);

        // The other connection has written its return and holds the write lock until it commits,
        // a moment after the deletion or correction has begun.
        store::Database other(db.path(), store::kDatabasePassword);
        other.exec("BEGIN IMMEDIATE");
        other.exec("INSERT INTO \"" + std::string(schema::kReturns) +
                   "\" (\"销售ID\", \"退货数量\") " + "VALUES (" + std::to_string(sale) + ", 2)");
        std::thread commitSoon([&other] {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            other.exec("COMMIT");
        });
        const bool refused = c.refused(detail, sale);
        commitSoon.join();
        EXPECT_TRUE(refused);
        const auto sales = stored(schema::kSales);
        EXPECT_EQ(sales.size(), 1u);
        if (!sales.empty()) {
            EXPECT_EQ(sales[0].at("销售数量"), "3");
        }
    }
}

TEST_F(ReturnRecordsTest, TwoConnectionsReturningTheSameSaleNeverReturnMoreThanWasSold) {
    const std::int64_t sale = sell(0, "12", "30");
    const auto returnOneByOne = [&](int* returned) {
        store::Connection own(store::buildConnectionStringForCurrentDirectory());
        salereturn::ReturnRecords mine(own);
        for (int i = 0; i < 20; ++i)
            if (mine.confirm({sale, goodsId(0), "2026-12-11 08:00:00", "1", "0", ""}).outcome ==
                Outcome::Returned)
                ++*returned;
    };
    int first = 0;
    int second = 0;
    std::thread other(returnOneByOne, &second);
    returnOneByOne(&first);
    other.join();
    EXPECT_EQ(first + second, 30);
    EXPECT_EQ(stored(schema::kReturns).size(), 30u);
    EXPECT_EQ(goodsRow(0).at("库存数量"), "100");
    EXPECT_EQ(records.load(sale)->returnable, "0");
}

}  // namespace
