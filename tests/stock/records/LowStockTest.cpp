// The lowest stock per goods code: when a code is low, when the shop is told, what the list shows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "stock/records/LowStock.h"
#include "stock/records/LowStockMessages.h"
#include "store/Connection.h"
#include "store/Database.h"
#include "store/Error.h"
#include "store/Query.h"
#include "store/Schema.h"
#include "tests/support/StoredRows.h"
#include "tests/support/TestDatabase.h"

namespace {

using testsupport::Row;
namespace values = store::values;

Row goodsRow(const std::string& code, const std::string& stock, const std::string& name = "铅笔") {
    return {{"商品编码", code},   {"商品名称", name}, {"商品型号", "HB"},
            {"商品规格", "12支"}, {"单位", "盒"},     {"库存数量", stock}};
}

values::Total tt(const char* text) { return values::toTenThousandths(std::stod(text)); }

class LowStockTest : public testing::Test {
  protected:
    void SetUp() override {}
    void open() {
        goods.select(store::schema::kGoods);
        goods.open();
    }
    // Sets the stock of the goods query's first row with the code, as a sale or return does.
    void moveStock(const std::string& code, const std::string& stock) {
        const std::vector<int> rows =
            goods.rowsWithText(goods.fieldIndex(store::schema::column::kGoodsCode), code);
        ASSERT_FALSE(rows.empty());
        goods.moveTo(rows.front());
        goods.edit();
        goods.setFieldText(store::schema::column::kStockQuantity, stock);
        goods.post();
    }
    std::vector<std::string> touch(const std::string& code) {
        return stock::lowStockNotices(connection, goods, {code});
    }

    testsupport::TestDatabase db;
    store::Connection connection;
    store::Query goods{connection};
};

struct DecisionCase {
    const char* name;
    std::vector<Row> rows;
    const char* level;  // as typed; empty: none
    const char* stock;  // the code's stock
    bool low;
};

class LowStockDecision : public LowStockTest, public testing::WithParamInterface<DecisionCase> {};

TEST_P(LowStockDecision, SumsEveryRowOfTheCodeAndComparesAtOrBelow) {
    const DecisionCase& c = GetParam();
    testsupport::appendRows(store::schema::kGoods, c.rows);
    testsupport::appendRows(store::schema::kGoods, {goodsRow("OTHER", "-100")});
    open();
    stock::setLevel(connection, goods, "A1", c.level);

    EXPECT_EQ(stock::stockOfCode(goods, "A1"), tt(c.stock));
    const std::optional<stock::Level> level = stock::levelOf(connection, "A1");
    EXPECT_EQ(level.has_value(), !values::trimBlanks(c.level).empty());
    EXPECT_EQ(level && stock::isLow(tt(c.stock), level->level), c.low);
    const std::vector<stock::LowStockLine> lines =
        stock::lowStockLines(goods, stock::readLevels(connection));
    EXPECT_EQ(lines.size(), c.low ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, LowStockDecision,
    testing::Values(
        DecisionCase{"SeveralRowsAboveTheLevel",
                     {goodsRow("A1", "3"), goodsRow("A1", "2.5")},
                     "5",
                     "5.5",
                     false},
        DecisionCase{"SeveralRowsEqualToTheLevel",
                     {goodsRow("A1", "3"), goodsRow("A1", "2")},
                     "5",
                     "5",
                     true},
        DecisionCase{"JustAboveTheLevel", {goodsRow("A1", "5.0001")}, "5", "5.0001", false},
        DecisionCase{"NoLevel", {goodsRow("A1", "0")}, "", "0", false},
        DecisionCase{"BlankLevelIsNone", {goodsRow("A1", "0")}, " \xE3\x80\x80", "0", false},
        DecisionCase{"LevelZeroAtZero", {goodsRow("A1", "0")}, "0", "0", true},
        DecisionCase{"LevelZeroWithStock", {goodsRow("A1", "0.5")}, "0", "0.5", false},
        DecisionCase{"NegativeStock", {goodsRow("A1", "-2"), goodsRow("A1", "1")}, "0", "-1", true},
        DecisionCase{"BlanksAroundStoredCodes",
                     {goodsRow(" A1", "1"), goodsRow("A1\t", "1")},
                     "1.5",
                     "2",
                     false},
        DecisionCase{
            "EmptyStockAddsNothing", {goodsRow("A1", ""), goodsRow("A1", "4")}, "4", "4", true}),
    [](const testing::TestParamInfo<DecisionCase>& info) { return std::string(info.param.name); });

// Many touched codes (an import) read the levels at once and tell as a single code does: once.
TEST_F(LowStockTest, ManyTouchedCodesAreToldOnceAsOneIs) {
    testsupport::appendRows(store::schema::kGoods, {goodsRow("A1", "3"), goodsRow("B2", "9")});
    testsupport::appendRows(store::schema::kStockLevels,
                            {{{store::schema::column::kGoodsCode, "A1"},
                              {store::schema::column::kStockLevel, "5"},
                              {store::schema::column::kLowStockTold, "0"}},
                             {{store::schema::column::kGoodsCode, "B2"},
                              {store::schema::column::kStockLevel, "5"},
                              {store::schema::column::kLowStockTold, "0"}}});
    open();
    std::vector<std::string> touched;
    for (int i = 0; i < 20; ++i) touched.push_back("C" + std::to_string(i));
    touched.insert(touched.begin() + 10, {"B2", " A1", "A1"});
    const std::vector<std::string> told = stock::lowStockNotices(connection, goods, touched);
    ASSERT_EQ(told.size(), 1u);
    EXPECT_NE(told[0].find("A1"), std::string::npos) << told[0];
    EXPECT_TRUE(stock::lowStockNotices(connection, goods, touched).empty());
}

// A file of an earlier version opened read-only lacks the table of levels: it has none, and a
// change tells nothing, instead of stopping the window that reads them.
TEST_F(LowStockTest, AFileWithoutTheTableOfLevelsHasNone) {
    testsupport::appendRows(store::schema::kGoods, {goodsRow("A1", "0")});
    connection.database().exec(std::string("DROP TABLE \"") + store::schema::kStockLevels + "\"");
    open();
    EXPECT_TRUE(stock::readLevels(connection).empty());
    EXPECT_FALSE(stock::levelOf(connection, "A1").has_value());
    EXPECT_TRUE(stock::lowStockNotices(connection, goods, {"A1"}).empty());
}

// The kept sums follow each row the query stores or deletes, and a query that shares the rows
// read before keeps its own figures.
TEST_F(LowStockTest, TheSumsFollowEveryWriteOfTheRows) {
    testsupport::appendRows(store::schema::kGoods,
                            {goodsRow("A1", "3"), goodsRow("B2", "4"), goodsRow("A1", "2")});
    open();
    store::Query other(connection);
    other.select(store::schema::kGoods);
    other.open();
    ASSERT_EQ(stock::stockOfCode(goods, "A1"), tt("5"));
    ASSERT_EQ(stock::stockOfCode(other, "A1"), tt("5"));

    moveStock("A1", "1");  // 3 -> 1
    EXPECT_EQ(stock::stockOfCode(goods, "A1"), tt("3"));
    goods.moveTo(1);  // B2 becomes A1
    goods.edit();
    goods.setFieldText(store::schema::column::kGoodsCode, "A1");
    goods.post();
    EXPECT_EQ(stock::stockOfCode(goods, "A1"), tt("7"));
    EXPECT_EQ(stock::stockOfCode(goods, "B2"), 0);
    goods.append();
    goods.setFieldText(store::schema::column::kGoodsCode, "A1");
    goods.setFieldText(store::schema::column::kStockQuantity, "0.25");
    goods.post();
    EXPECT_EQ(stock::stockOfCode(goods, "A1"), tt("7.25"));
    goods.removeRows({0, 3});
    EXPECT_EQ(stock::stockOfCode(goods, "A1"), tt("6"));
    goods.moveTo(0);
    goods.remove();
    EXPECT_EQ(stock::stockOfCode(goods, "A1"), tt("2"));

    EXPECT_EQ(stock::stockOfCode(other, "A1"), tt("5"));
    store::Query fresh(connection);
    fresh.select(store::schema::kGoods);
    fresh.open();
    EXPECT_EQ(stock::stockOfCode(fresh, "A1"), stock::stockOfCode(goods, "A1"));
}

// Told once when the code falls to its level; again only after it rose above and fell again,
// also when the program was started anew in between.
TEST_F(LowStockTest, TellsOncePerDipAcrossARestart) {
    testsupport::appendRows(store::schema::kGoods,
                            {goodsRow("A1", "4", "旧名"), goodsRow("A1", "3", "红铅笔")});
    open();
    stock::setLevel(connection, goods, "A1", "5");
    EXPECT_TRUE(touch("A1").empty());  // 7: above

    moveStock("A1", "2");  // 2 + 3: at the level
    EXPECT_EQ(touch("A1"), std::vector<std::string>{"商品 A1 红铅笔 库存只剩 5，已低于最低库存 5"});
    moveStock("A1", "1");  // 4: lower still, told already
    EXPECT_TRUE(touch("A1").empty());

    {  // a new start of the program: its own connection and its own read of 表1
        store::Connection restarted;
        EXPECT_TRUE(stock::lowStockNotices(restarted, {"A1"}).empty());
    }
    moveStock("A1", "3");  // 6: above again, nothing to tell
    EXPECT_TRUE(touch("A1").empty());
    moveStock("A1", "1.5");  // 4.5: a new dip
    store::Connection restarted;
    EXPECT_EQ(stock::lowStockNotices(restarted, {" A1 ", "A1", "B9", ""}),
              std::vector<std::string>{"商品 A1 红铅笔 库存只剩 4.5，已低于最低库存 5"});
    EXPECT_TRUE(touch("A1").empty());
}

// A level set on goods already at or below it is not told at the next sale: the shop saw the
// stock as it set the level. A level removed and set again starts anew.
TEST_F(LowStockTest, ALevelSetBelowTheStockIsToldOnlyAfterTheNextDip) {
    testsupport::appendRows(store::schema::kGoods, {goodsRow("A1", "3")});
    open();
    stock::setLevel(connection, goods, "A1", "3");
    moveStock("A1", "2");
    EXPECT_TRUE(touch("A1").empty());

    stock::setLevel(connection, goods, "A1", "");
    EXPECT_FALSE(stock::levelOf(connection, "A1"));
    stock::setLevel(connection, goods, "A1", "1.5");
    moveStock("A1", "1.5");
    EXPECT_EQ(touch("A1").size(), 1u);
}

TEST_F(LowStockTest, ALevelThatIsNotANumberIsRefusedAndTheOldOneKept) {
    testsupport::appendRows(store::schema::kGoods, {goodsRow("A1", "3")});
    open();
    stock::setLevel(connection, goods, "A1", "2");
    for (const auto& [typed, message] :
         {std::pair{"abc", stock::kLevelNotANumber}, std::pair{"-1", stock::kLevelBelowZero},
          std::pair{"1e30", stock::kLevelNotANumber}}) {
        try {
            stock::setLevel(connection, goods, "A1", typed);
            ADD_FAILURE() << typed << " was taken";
        } catch (const store::StoreError& error) {
            EXPECT_STREQ(error.what(), message);
        }
        ASSERT_TRUE(stock::levelOf(connection, "A1"));
        EXPECT_EQ(stock::levelOf(connection, "A1")->level, tt("2"));
    }
    EXPECT_THROW(stock::setLevel(connection, goods, "  ", "2"), store::StoreError);
    EXPECT_EQ(testsupport::storedRows(store::schema::kStockLevels).size(), 1u);
}

TEST_F(LowStockTest, TheListShowsTheLowCodesLargestShortfallFirst) {
    testsupport::appendRows(
        store::schema::kGoods,
        {goodsRow("C3", "1", "旧"), goodsRow("A1", "9"), goodsRow("B2", "0"),
         goodsRow("C3", "1", "橡皮"), goodsRow("D4", "2"), goodsRow("E5", "6")});
    open();
    for (const auto& [code, level] :
         {std::pair{"A1", "10"}, std::pair{"B2", "2"}, std::pair{"C3", "4"}, std::pair{"D4", "4"},
          std::pair{"E5", "5"}, std::pair{"GONE", "3"}})
        stock::setLevel(connection, goods, code, level);

    const std::vector<stock::LowStockLine> lines =
        stock::lowStockLines(goods, stock::readLevels(connection));
    std::vector<std::string> codes;
    for (const auto& line : lines) codes.push_back(line.code);
    // Shortfalls: A1 1, B2 2, C3 2, D4 2; E5 is above its level, GONE has no goods.
    EXPECT_EQ(codes, (std::vector<std::string>{"B2", "C3", "D4", "A1"}));
    ASSERT_EQ(lines.size(), 4u);
    const stock::LowStockLine& c3 = lines[1];
    EXPECT_EQ(c3.name, "橡皮");  // the newest row's texts
    EXPECT_EQ(c3.model, "HB");
    EXPECT_EQ(c3.size, "12支");
    EXPECT_EQ(c3.unit, "盒");
    EXPECT_EQ(c3.stock, tt("2"));
    EXPECT_EQ(c3.level, tt("4"));
    EXPECT_EQ(c3.shortfall(), tt("2"));

    // Staged for the report and the export in the same order, in place of the last list.
    testsupport::appendRows(store::schema::kLowStockList, {{{"商品编码", "OLD"}}});
    stock::stageLowStock(connection, goods);
    const std::vector<Row> staged = testsupport::storedRows(store::schema::kLowStockList);
    ASSERT_EQ(staged.size(), 4u);
    EXPECT_EQ(staged[0].at("商品编码"), "B2");
    EXPECT_EQ(staged[3].at("商品编码"), "A1");
    EXPECT_EQ(staged[1], (Row{{"商品编码", "C3"},
                              {"商品名称", "橡皮"},
                              {"商品型号", "HB"},
                              {"商品规格", "12支"},
                              {"单位", "盒"},
                              {"库存数量", "2"},
                              {"最低库存", "4"},
                              {"缺货数量", "2"}}));
}

}  // namespace
