// The returns list: its searches, with the sums its footer shows, and the deletion of several
// returns at once, which gives every stock movement back or none.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sales/records/ReturnListRecords.h"
#include "sales/records/ReturnRecords.h"
#include "store/Connection.h"
#include "store/ConnectionString.h"
#include "store/Database.h"
#include "store/Query.h"
#include "store/Schema.h"
#include "store/Values.h"
#include "tests/sales/records/SalesFixture.h"
#include "tests/support/TestDatabase.h"

namespace {

namespace schema = store::schema;
using salereturn::DeleteOutcome;
using salestest::purchase;
using salestest::Row;
using salestest::stored;

class ReturnListRecordsTest : public testing::Test {
  protected:
    void SetUp() override {
        goodsIds = salestest::insert(schema::kGoods, {purchase("A01", "10", "100", "1000"),
                                                      purchase("B02", "3.456", "10", "34.56")});
        // Two sales of A01 on different days and one of B02, as the sales detail keeps them.
        const auto sales =
            salestest::insert(schema::kSales, {sale("A01", "2024-01-02 10:00:00", "5", "甲"),
                                               sale("A01", "2025-06-30 11:00:00", "3", "乙"),
                                               sale("B02", "2025-07-01 12:00:00", "4", "丙")});
        for (const auto& id : sales) saleIds.push_back(std::stoll(id));
        // What 表1 holds once the sales moved their stock.
        store::Database(db.path(), store::kDatabasePassword)
            .exec("UPDATE \"表1\" SET \"销售数量\" = 8, \"库存数量\" = 92 WHERE ID = " +
                  goodsIds[0]);
        afterSales = stored(schema::kGoods);
        giveBack(0, 0, "2", "20", "2026-12-10 08:00:00");
        giveBack(1, 0, "1", "9.5", "2026-12-11 09:00:00");
        giveBack(2, 1, "1.5", "14", "2026-12-11 10:00:00");
        list.refresh();
    }

    static Row sale(const std::string& code, const std::string& date, const std::string& quantity,
                    const std::string& customer) {
        return {{"销售日期", date},    {"商品编码", code},     {"商品名称", "名称" + code},
                {"商品型号", "M1"},    {"商品规格", "S1"},     {"单位", "个"},
                {"销售单价", "10"},    {"销售数量", quantity}, {"销售金额", "0"},
                {"客户姓名", customer}};
    }

    void giveBack(int sale, int goods, const std::string& quantity, const std::string& refund,
                  const std::string& date) {
        const auto result = salereturn::ReturnRecords(connection)
                                .confirm({saleIds[static_cast<std::size_t>(sale)],
                                          std::stoll(goodsIds[static_cast<std::size_t>(goods)]),
                                          date, quantity, refund, ""});
        ASSERT_EQ(result.outcome, salereturn::ReturnResult::Outcome::Returned) << result.refusal;
    }

    std::string total(const char* column) const {
        return store::values::tenThousandthsText(query.columnTotal(query.fieldIndex(column)));
    }

    std::vector<std::string> shownDates() const {
        std::vector<std::string> dates;
        for (int i = 0; i < query.recordCount(); ++i)
            dates.emplace_back(query.fieldTextAt(i, query.fieldIndex(schema::column::kReturnDate)));
        return dates;
    }

    testsupport::TestDatabase db;
    std::vector<std::string> goodsIds;
    std::vector<std::int64_t> saleIds;
    std::vector<Row> afterSales;
    store::Connection connection{store::buildConnectionStringForCurrentDirectory()};
    store::Query query{connection};
    returnlist::ReturnListRecords list{connection, query};
};

TEST_F(ReturnListRecordsTest, EachSearchFieldFindsItsReturnsAndTheSumsFollow) {
    ASSERT_EQ(query.recordCount(), 3);
    EXPECT_EQ(total(schema::column::kReturnQuantity), "4.5");
    EXPECT_EQ(total(schema::column::kRefundAmount), "43.5");
    const struct {
        int field;
        const char* text;
        std::vector<std::string> dates;
        const char* quantity;
        const char* refund;
    } cases[] = {
        {0, "A0", {"2026-12-10 08:00:00", "2026-12-11 09:00:00"}, "3", "29.5"},
        {1, "名称B", {"2026-12-11 10:00:00"}, "1.5", "14"},
        {2, "乙", {"2026-12-11 09:00:00"}, "1", "9.5"},
        {3, "12-11", {"2026-12-11 09:00:00", "2026-12-11 10:00:00"}, "2.5", "23.5"},
        // The sale's date, from 表3: the returns of the sales of 2025.
        {4, "2025-", {"2026-12-11 09:00:00", "2026-12-11 10:00:00"}, "2.5", "23.5"},
        {4, "2024-01-02", {"2026-12-10 08:00:00"}, "2", "20"},
        {4, "1999", {}, "0", "0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.field) + " " + c.text);
        list.refresh();
        returnlist::SearchTexts texts;
        texts[static_cast<std::size_t>(c.field)] = c.text;
        EXPECT_TRUE(list.search(texts));
        EXPECT_EQ(shownDates(), c.dates);
        EXPECT_EQ(total(schema::column::kReturnQuantity), c.quantity);
        EXPECT_EQ(total(schema::column::kRefundAmount), c.refund);
    }
    // Two fields filled, or none: no search, the list as it was.
    list.refresh();
    returnlist::SearchTexts two;
    two[0] = "A01";
    two[4] = "2025";
    EXPECT_FALSE(list.search(two));
    EXPECT_FALSE(list.search({}));
    EXPECT_EQ(query.recordCount(), 3);
}

TEST_F(ReturnListRecordsTest, DeletingSeveralReturnsGivesBackEveryMovementTogether) {
    EXPECT_EQ(list.deleteRows({0, 1, 2}), DeleteOutcome::Deleted);
    EXPECT_EQ(stored(schema::kGoods), afterSales);
    EXPECT_TRUE(stored(schema::kReturns).empty());
    EXPECT_TRUE(query.isEmpty());
}

TEST_F(ReturnListRecordsTest, OneReturnThatCannotBeUndoneKeepsThemAll) {
    const auto returnsBefore = stored(schema::kReturns);
    store::Database other(db.path(), store::kDatabasePassword);

    // B02's purchase deleted: its return has no row to take the stock back from, and A01's
    // returns, undone before it was reached, are restored with it.
    other.exec("DELETE FROM \"表1\" WHERE ID = " + goodsIds[1]);
    const auto goodsLeft = stored(schema::kGoods);
    EXPECT_EQ(list.deleteRows({0, 1, 2}), DeleteOutcome::GoodsRowGone);
    EXPECT_EQ(stored(schema::kReturns), returnsBefore);
    EXPECT_EQ(stored(schema::kGoods), goodsLeft);
    EXPECT_EQ(query.recordCount(), 3);

    // A return another copy of the program deleted: nothing else is deleted and the list, read
    // again, no longer offers it.
    other.exec("DELETE FROM \"退货\" WHERE ID = " + returnsBefore[1].at("ID"));
    EXPECT_EQ(list.deleteRows({0, 1}), DeleteOutcome::ReturnGone);
    EXPECT_EQ(stored(schema::kReturns).size(), 2u);
    EXPECT_EQ(stored(schema::kGoods), goodsLeft);
    EXPECT_EQ(query.recordCount(), 2);
}

}  // namespace
