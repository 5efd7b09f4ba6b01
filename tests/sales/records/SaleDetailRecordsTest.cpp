// The sales detail commands without the window: loading, writing back, searching.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "sales/records/SaleDetailRecords.h"
#include "store/Connection.h"
#include "store/ConnectionString.h"
#include "store/Error.h"
#include "store/Query.h"
#include "store/Schema.h"
#include "tests/sales/records/StoredSales.h"
#include "tests/support/TestDatabase.h"

using detailtest::Row;
using detailtest::sale;
using detailtest::storedSales;
using saledetail::SaleDetailRecords;
using saledetail::SaleFields;
using saledetail::WriteBackOutcome;

namespace {

class SaleDetailRecordsTest : public ::testing::Test {
  protected:
    void open() {
        connection =
            std::make_unique<store::Connection>(store::buildConnectionStringForCurrentDirectory());
        query = std::make_unique<store::Query>(*connection);
        records = std::make_unique<SaleDetailRecords>(*connection, *query);
        records->refresh();
    }

    // Loads the current sale into fields; the sale's ID.
    std::optional<std::int64_t> load(SaleFields& fields) {
        fields = {};
        return records->load([&](int field, const std::string& text) {
            fields.texts[static_cast<std::size_t>(field)] = text;
        });
    }

    std::vector<std::string> listedCodes() const {
        std::vector<std::string> codes;
        for (int i = 0; i < query->recordCount(); ++i)
            codes.emplace_back(query->fieldTextAt(i, query->fieldIndex("商品编码")));
        return codes;
    }

    static constexpr int kRemark = 10;
    static constexpr int kCustomer = 7;

    testsupport::TestDatabase database;
    std::unique_ptr<store::Connection> connection;
    std::unique_ptr<store::Query> query;
    std::unique_ptr<SaleDetailRecords> records;
};

TEST_F(SaleDetailRecordsTest, LoadShowsTwoDecimalsAndTheAmountFollowsTheShownFigures) {
    detailtest::addSales({sale("A1", "1.234", "3", "3.702", "李四", "旧")});
    open();
    SaleFields fields;
    ASSERT_TRUE(load(fields));
    EXPECT_EQ(fields.texts[saledetail::kPriceField], "1.23");
    EXPECT_EQ(fields.texts[saledetail::kQuantityField], "3");
    EXPECT_EQ(fields.texts[kCustomer], "李四");

    fields.texts[kRemark] = "新备注";
    fields.changed[kRemark] = true;
    const auto id = query->rowIdAt(0);
    EXPECT_EQ(records->writeBack(id, fields), WriteBackOutcome::Written);

    const Row stored = storedSales().at(0);
    EXPECT_EQ(stored.at("销售单价"), "1.234");
    EXPECT_EQ(stored.at("销售数量"), "3");
    EXPECT_EQ(stored.at("销售金额"), "3.69");
    EXPECT_EQ(stored.at("备注"), "新备注");
    EXPECT_EQ(stored.at("客户姓名"), "李四");
    EXPECT_EQ(query->fieldText("销售金额"), "3.69");  // the list holds what was posted
}

TEST_F(SaleDetailRecordsTest, WriteBackWithNothingChangedRewritesOnlyTheAmount) {
    detailtest::addSales({sale("A1", "2.456", "2", "0", "王五", "x")});
    open();
    Row before = storedSales().at(0);
    SaleFields fields;
    const auto id = load(fields);
    fields.texts[kCustomer] = "typed but not flagged";
    ASSERT_EQ(records->writeBack(*id, fields), WriteBackOutcome::Written);
    before["销售金额"] = "4.92";  // 2.46 × 2
    EXPECT_EQ(storedSales().at(0), before);
}

TEST_F(SaleDetailRecordsTest, WriteBackGoesToTheLoadedSaleAfterAMoveOrASearch) {
    detailtest::addSales({sale("A1", "1", "1", "1", "甲"), sale("B2", "2", "2", "4", "乙")});
    open();
    SaleFields fields;
    const auto id = load(fields);  // A1
    query->moveTo(1);
    fields.texts[kCustomer] = "改";
    fields.changed[kCustomer] = true;
    ASSERT_EQ(records->writeBack(*id, fields), WriteBackOutcome::Written);
    EXPECT_EQ(storedSales().at(0).at("客户姓名"), "改");
    EXPECT_EQ(storedSales().at(1).at("客户姓名"), "乙");
    EXPECT_EQ(query->currentIndex(), 0);

    // After a search that no longer lists the loaded sale, nothing is written anywhere.
    ASSERT_TRUE(records->search({"B", "", "", ""}));
    fields.texts[kCustomer] = "再改";
    EXPECT_EQ(records->writeBack(*id, fields), WriteBackOutcome::RowGone);
    EXPECT_EQ(storedSales().at(0).at("客户姓名"), "改");
    EXPECT_EQ(storedSales().at(1).at("客户姓名"), "乙");
}

TEST_F(SaleDetailRecordsTest, ASaleDeletedMeanwhileGetsNothingWritten) {
    detailtest::addSales({sale("A1", "1", "1", "1"), sale("B2", "2", "2", "4")});
    open();
    SaleFields fields;
    const auto id = load(fields);
    query->moveTo(0);
    query->remove();
    fields.changed[kRemark] = true;
    fields.texts[kRemark] = "lost";
    EXPECT_EQ(records->writeBack(*id, fields), WriteBackOutcome::RowGone);
    ASSERT_EQ(storedSales().size(), 1u);
    EXPECT_EQ(storedSales().at(0).at("备注"), "");
    // No sale loaded at all (a load that stopped) is the same.
    EXPECT_EQ(records->writeBack(-1, fields), WriteBackOutcome::RowGone);
}

TEST_F(SaleDetailRecordsTest, ASaleAnotherCopyDeletedIsToldAndTheListReadAgain) {
    detailtest::addSales({sale("A1", "1", "1", "1"), sale("B2", "2", "2", "4")});
    open();
    SaleFields fields;
    const auto id = load(fields);
    fields.changed[kRemark] = true;
    fields.texts[kRemark] = "lost";
    // The other copy has its own connection; this list still holds the sale.
    store::Connection other(store::buildConnectionStringForCurrentDirectory());
    other.database().exec(std::string("DELETE FROM ") + store::schema::kSales +
                          " WHERE 商品编码 = 'A1'");
    EXPECT_EQ(records->writeBack(*id, fields), WriteBackOutcome::RowGone);
    EXPECT_EQ(listedCodes(), (std::vector<std::string>{"B2"}));
    ASSERT_EQ(storedSales().size(), 1u);
    EXPECT_EQ(storedSales().at(0).at("备注"), "");
}

TEST_F(SaleDetailRecordsTest, AnEmptyListHasNothingToLoadOrWrite) {
    open();
    SaleFields fields;
    EXPECT_FALSE(load(fields));
    EXPECT_EQ(records->writeBack(1, fields), WriteBackOutcome::NoCurrentRow);
}

struct StoppedLoad {
    const char* price;
    const char* quantity;
    int fieldsSet;  // fields that received their text before the stop
};

class LoadStops : public SaleDetailRecordsTest,
                  public ::testing::WithParamInterface<StoppedLoad> {};

TEST_P(LoadStops, OnAnEmptyPriceOrQuantityWithTheFieldsBeforeSet) {
    detailtest::addSales({sale("A1", GetParam().price, GetParam().quantity, "", "赵六")});
    open();
    std::vector<int> set;
    EXPECT_THROW(records->load([&](int field, const std::string&) { set.push_back(field); }),
                 store::StoreError);
    ASSERT_FALSE(set.empty());
    EXPECT_EQ(set.back() + 1, GetParam().fieldsSet);
}

INSTANTIATE_TEST_SUITE_P(SaleDetailRecords, LoadStops,
                         ::testing::Values(StoppedLoad{"", "3", 6}, StoppedLoad{"2", "", 7}));

TEST_F(SaleDetailRecordsTest, ATooLongCustomerNameIsRefusedAndNothingHalfWritten) {
    detailtest::addSales({sale("A1", "1", "2", "2", "甲", "r")});
    open();
    const Row before = storedSales().at(0);
    SaleFields fields;
    const auto id = load(fields);
    fields.texts[kRemark] = "新";
    fields.changed[kRemark] = true;
    fields.texts[kCustomer] = std::string(51, 'x');
    fields.changed[kCustomer] = true;
    EXPECT_THROW(records->writeBack(*id, fields), store::StoreError);
    EXPECT_EQ(storedSales().at(0), before);
    EXPECT_EQ(query->state(), store::Query::State::Browse);
    EXPECT_EQ(query->fieldText("客户姓名"), "甲");
}

struct SearchCase {
    saledetail::SearchTexts texts;
    bool runs;
    std::vector<std::string> listed;
};

class Search : public SaleDetailRecordsTest, public ::testing::WithParamInterface<SearchCase> {};

TEST_P(Search, FindsTheOneFilledTextAnywhereInItsColumn) {
    detailtest::addSales({sale("A1", "1", "1", "1", "张 三"), sale("XA10", "1", "1", "1", "李四"),
                          sale("B2", "1", "1", "1", "王\"五")});
    open();
    EXPECT_EQ(records->search(GetParam().texts), GetParam().runs);
    EXPECT_EQ(listedCodes(), GetParam().listed);
}

INSTANTIATE_TEST_SUITE_P(
    SaleDetailRecords, Search,
    ::testing::Values(SearchCase{{"A1", "", "", ""}, true, {"A1", "XA10"}},
                      SearchCase{{"", "商品B", "", ""}, true, {"B2"}},
                      SearchCase{{"", "", "李", ""}, true, {"XA10"}},
                      SearchCase{{"", "", "", "138"}, true, {"A1", "XA10", "B2"}},
                      SearchCase{{"%", "", "", ""}, true, {"A1", "XA10", "B2"}},
                      SearchCase{{"A%0", "", "", ""}, true, {"XA10"}},
                      SearchCase{{"", "", " ", ""}, true, {"A1"}},
                      SearchCase{{"", "", "王\"", ""}, true, {"B2"}},
                      SearchCase{{"A1", "", "张", ""}, false, {"A1", "XA10", "B2"}},
                      SearchCase{{"", "", "", ""}, false, {"A1", "XA10", "B2"}}));

TEST_F(SaleDetailRecordsTest, ASearchFindingNothingBlocksTheNextUntilARefresh) {
    detailtest::addSales({sale("A1", "1", "1", "1"), sale("B2", "1", "1", "1")});
    open();
    EXPECT_TRUE(records->search({"none", "", "", ""}));
    EXPECT_EQ(query->recordCount(), 0);
    EXPECT_FALSE(records->search({"B", "", "", ""}));
    EXPECT_EQ(query->recordCount(), 0);
    records->refresh();
    EXPECT_EQ(query->recordCount(), 2);
    EXPECT_TRUE(records->search({"B", "", "", ""}));
    EXPECT_EQ(listedCodes(), std::vector<std::string>{"B2"});
}

}  // namespace
