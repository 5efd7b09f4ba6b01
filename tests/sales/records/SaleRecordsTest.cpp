#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDate>
#include <QLocale>
#include <QTime>
#include <string>
#include <vector>

#include "sales/records/SaleDate.h"
#include "sales/records/SaleRecords.h"
#include "store/Connection.h"
#include "store/Error.h"
#include "store/Query.h"
#include "store/Schema.h"
#include "tests/sales/records/SalesFixture.h"
#include "tests/support/TestDatabase.h"

namespace {

using salestest::purchase;
using salestest::Row;
using salestest::stored;
using Outcome = sales::SaleResult::Outcome;

class SaleRecordsTest : public testing::Test {
  protected:
    void SetUp() override {
        ids = salestest::insert(store::schema::kGoods, {purchase("A01", "10", "100", "1000"),
                                                        purchase("B02", "3.456", "10", "34.56"),
                                                        purchase("C01", "2", "5", "10")});
        records.reloadGoods();
    }

    // The entry the panel makes for the current goods row, with the typed texts.
    sales::SaleEntry entryFor(const std::string& price, const std::string& quantity,
                              const std::string& customer = "") {
        const auto goods = records.goodsForSale();
        EXPECT_TRUE(goods.has_value());
        sales::SaleEntry entry;
        entry.goodsId = goods->goodsId;
        entry.date = "2026/12/10 9:30:00";
        entry.goods = goods->goods;
        entry.purchasePrice = goods->purchasePrice;
        entry.stock = goods->stock;
        entry.price = price;
        entry.quantity = quantity;
        entry.customer = customer;
        return entry;
    }

    void moveToCode(const std::string& code) {
        for (int i = 0; i < goodsQuery.recordCount(); ++i) {
            goodsQuery.moveTo(i);
            if (goodsQuery.fieldText("商品编码") == code) return;
        }
        FAIL() << code;
    }

    static Row storedGoods(const std::string& code) {
        for (const Row& row : stored(store::schema::kGoods))
            if (row.at("商品编码") == code) return row;
        return {};
    }

    static std::vector<std::string> figures(const Row& row) {
        std::vector<std::string> out;
        for (const char* c :
             {"销售单价", "销售数量", "销售金额", "销售利润", "库存数量", "库存金额"})
            out.push_back(row.at(c));
        return out;
    }

    testsupport::TestDatabase db;
    std::vector<std::string> ids;
    store::Connection connection;
    store::Query goodsQuery{connection};
    store::Query salesQuery{connection};
    sales::SaleRecords records{connection, goodsQuery, salesQuery};
};

TEST_F(SaleRecordsTest, WorkedExampleMovesTheSixFiguresAndStoresTheSaleRows) {
    moveToCode("A01");
    auto first = entryFor("12.5", "3", "张三");
    EXPECT_EQ(sales::amountText(first.price, first.quantity), "37.5");
    ASSERT_EQ(records.confirm(first).outcome, Outcome::Sold);
    EXPECT_EQ(figures(storedGoods("A01")),
              (std::vector<std::string>{"12.5", "3", "37.5", "7.5", "97", "970"}));

    auto second = entryFor("11", "2");
    EXPECT_EQ(second.stock, "97");
    EXPECT_EQ(sales::amountText(second.price, second.quantity), "22");
    ASSERT_EQ(records.confirm(second).outcome, Outcome::Sold);
    EXPECT_EQ(figures(storedGoods("A01")),
              (std::vector<std::string>{"11", "5", "59.5", "9.5", "95", "950"}));
    // The list shows what the file holds.
    EXPECT_EQ(goodsQuery.fieldText("销售利润"), "9.5");

    const auto saleRows = stored(store::schema::kSales);
    ASSERT_EQ(saleRows.size(), 2u);
    EXPECT_EQ(saleRows[0].at("销售日期"), "2026/12/10 9:30:00");
    EXPECT_EQ(saleRows[0].at("商品名称"), "名称A01");
    EXPECT_EQ(saleRows[0].at("销售单价"), "12.5");
    EXPECT_EQ(saleRows[0].at("销售数量"), "3");
    EXPECT_EQ(saleRows[0].at("销售金额"), "37.5");
    EXPECT_EQ(saleRows[0].at("客户姓名"), "张三");
    EXPECT_EQ(saleRows[1].at("销售金额"), "22");
    // Every other goods row is as it was.
    EXPECT_EQ(figures(storedGoods("C01")),
              (std::vector<std::string>{"0", "0", "0", "0", "5", "10"}));
}

TEST_F(SaleRecordsTest, StockCheckAgainstTheStockShown) {
    struct Case {
        const char* quantity;
        bool exceeds;
    };
    for (const Case& c : {Case{"1", false}, Case{"15", false}, Case{"150", true},
                          Case{"100", false}, Case{"100.01", true}, Case{"2.5", false}})
        EXPECT_EQ(sales::exceedsStock(c.quantity, "100"), c.exceeds) << c.quantity;
    for (const char* notNumber : {"", "."})
        EXPECT_THROW(sales::exceedsStock(notNumber, "100"), store::StoreError) << notNumber;
}

TEST_F(SaleRecordsTest, SellingTheWholeStockAndAFractionalQuantity) {
    moveToCode("C01");
    ASSERT_EQ(records.confirm(entryFor("3", "2.5")).outcome, Outcome::Sold);
    EXPECT_EQ(figures(storedGoods("C01")),
              (std::vector<std::string>{"3", "2.5", "7.5", "2.5", "2.5", "5"}));
    ASSERT_EQ(records.confirm(entryFor("3", "2.5")).outcome, Outcome::Sold);
    EXPECT_EQ(storedGoods("C01").at("库存数量"), "0");
    EXPECT_EQ(storedGoods("C01").at("库存金额"), "0");
}

TEST_F(SaleRecordsTest, PurchasePriceIsUsedAsShownWithTwoDecimals) {
    moveToCode("B02");
    auto entry = entryFor("5", "1");
    EXPECT_EQ(entry.purchasePrice, "3.46");
    ASSERT_EQ(records.confirm(entry).outcome, Outcome::Sold);
    const Row row = storedGoods("B02");
    EXPECT_EQ(row.at("销售利润"), "1.54");
    EXPECT_EQ(row.at("库存金额"), "31.1");
}

TEST_F(SaleRecordsTest, QuantityZeroFromAFreshPanelIsRecorded) {
    moveToCode("A01");
    ASSERT_EQ(records.confirm(entryFor("0", "0")).outcome, Outcome::Sold);
    EXPECT_EQ(figures(storedGoods("A01")),
              (std::vector<std::string>{"0", "0", "0", "0", "100", "1000"}));
    ASSERT_EQ(stored(store::schema::kSales).size(), 1u);
    EXPECT_EQ(stored(store::schema::kSales)[0].at("销售金额"), "0");
}

TEST_F(SaleRecordsTest, TheSaleGoesToTheRowThePanelWasFilledFrom) {
    moveToCode("A01");
    const auto entry = entryFor("12", "1");
    moveToCode("C01");
    const int cursor = goodsQuery.currentIndex();
    ASSERT_EQ(records.confirm(entry).outcome, Outcome::Sold);
    EXPECT_EQ(storedGoods("A01").at("库存数量"), "99");
    EXPECT_EQ(storedGoods("C01").at("库存数量"), "5");
    EXPECT_EQ(goodsQuery.currentIndex(), cursor);

    // After a search that leaves the row out of the list, and after a reload.
    ASSERT_TRUE(records.search("C", ""));
    ASSERT_EQ(goodsQuery.recordCount(), 1);
    ASSERT_EQ(records.confirm(entry).outcome, Outcome::Sold);
    EXPECT_EQ(storedGoods("A01").at("库存数量"), "98");
    EXPECT_EQ(goodsQuery.recordCount(), 1);
    records.reloadGoods();
    ASSERT_EQ(records.confirm(entry).outcome, Outcome::Sold);
    EXPECT_EQ(storedGoods("A01").at("库存数量"), "97");
}

TEST_F(SaleRecordsTest, AGoodsRowDeletedFromTheFileTakesNoSale) {
    moveToCode("A01");
    const auto entry = entryFor("12", "1");
    store::Connection other(store::buildConnectionStringForCurrentDirectory());
    other.database().exec(std::string("DELETE FROM ") + store::schema::kGoods +
                          " WHERE 商品编码 = 'A01'");
    const auto result = records.confirm(entry);
    EXPECT_EQ(result.outcome, Outcome::GoodsGone);
    EXPECT_TRUE(stored(store::schema::kSales).empty());
}

TEST_F(SaleRecordsTest, ConfirmRefusesWhatItMustNotWrite) {
    moveToCode("A01");
    struct Case {
        const char* price;
        const char* quantity;
        const char* name;  // goods name, replacing the row's
        const char* customer;
        const char* expected;  // part of the message
    };
    const std::string longText(51, 'x');
    const Case cases[] = {
        {"", "1", nullptr, "", "销售单价"},
        {"abc", "1", nullptr, "", "销售单价"},
        {".", "1", nullptr, "", "销售单价"},
        {"-1", "1", nullptr, "", "销售单价"},
        {"5", "", nullptr, "", "销售数量"},
        {"5", "1.2.3", nullptr, "", "销售数量"},
        {"5", "101", nullptr, "", "库存数量"},
        {"5", "1", longText.c_str(), "", "商品名称"},
        {"5", "1", nullptr, longText.c_str(), "客户姓名"},
    };
    for (const Case& c : cases) {
        auto entry = entryFor(c.price, c.quantity, c.customer);
        if (c.name != nullptr) entry.goods[1] = c.name;
        const auto result = records.confirm(entry);
        EXPECT_EQ(result.outcome, Outcome::Refused) << c.price << "/" << c.quantity;
        EXPECT_NE(result.refusal.find(c.expected), std::string::npos) << result.refusal;
    }
    EXPECT_TRUE(stored(store::schema::kSales).empty());
    EXPECT_EQ(storedGoods("A01").at("库存数量"), "100");
    // Fifty characters fit.
    auto entry = entryFor("5", "1", std::string(50, 'y'));
    EXPECT_EQ(records.confirm(entry).outcome, Outcome::Sold);
}

TEST_F(SaleRecordsTest, GoodsTextsTooLongForTheSalesTableSayWhereToShortenThem) {
    moveToCode("A01");
    struct Case {
        std::string model;  // 商品型号
        std::string size;   // 商品规格
        std::string message;
    };
    std::string fifty;
    for (int i = 0; i < 50; ++i) fifty += "规";
    const Case cases[] = {
        {"", std::string(60, 'x'),
         "“商品规格”最多 50 个字符，这条销售记录无法保存。"
         "请先在进货信息中把“商品规格”改到 50 个字符以内。"},
        {fifty + "型", fifty + "格",
         "“商品型号”最多 50 个字符，“商品规格”最多 50 个字符，这条销售记录无法保存。"
         "请先在进货信息中把“商品型号”改到 50 个字符以内，把“商品规格”改到 50 个字符以内。"},
    };
    for (const Case& c : cases) {
        auto entry = entryFor("5", "1");
        entry.goods[2] = c.model;
        entry.goods[3] = c.size;
        const auto result = records.confirm(entry);
        EXPECT_EQ(result.outcome, Outcome::Refused);
        EXPECT_EQ(result.refusal, c.message);
    }
    EXPECT_TRUE(stored(store::schema::kSales).empty());
    auto entry = entryFor("5", "1");
    entry.goods[3] = fifty;  // fifty characters fit
    EXPECT_EQ(records.confirm(entry).outcome, Outcome::Sold);
}

TEST_F(SaleRecordsTest, AGoodsRowWithAnEmptySalesFigureStoresNothing) {
    moveToCode("A01");
    const auto entry = entryFor("12", "1");
    store::Connection other(store::buildConnectionStringForCurrentDirectory());
    other.database().exec(std::string("UPDATE ") + store::schema::kGoods +
                          " SET 销售数量 = NULL WHERE 商品编码 = 'A01'");
    EXPECT_THROW(records.confirm(entry), store::StoreError);
    EXPECT_FALSE(connection.inTransaction());
    EXPECT_TRUE(stored(store::schema::kSales).empty());
    EXPECT_EQ(storedGoods("A01").at("库存数量"), "100");
}

TEST_F(SaleRecordsTest, ARefusedGoodsUpdateRollsTheSaleRowBack) {
    moveToCode("A01");
    const auto entry = entryFor("12", "1");
    {
        store::Connection other(store::buildConnectionStringForCurrentDirectory());
        other.database().exec(std::string("CREATE TRIGGER refuse BEFORE UPDATE ON ") +
                              store::schema::kGoods +
                              " BEGIN SELECT RAISE(ABORT, '文件已锁定'); "
                              "END");
    }
    try {
        records.confirm(entry);
        FAIL() << "the refused update was not reported";
    } catch (const store::StoreError& error) {
        EXPECT_NE(std::string(error.what()).find("文件已锁定"), std::string::npos);
    }
    EXPECT_TRUE(stored(store::schema::kSales).empty());
    EXPECT_EQ(storedGoods("A01").at("库存数量"), "100");
    // The list holds the row as stored, on the same row, not in edit.
    EXPECT_EQ(goodsQuery.state(), store::Query::State::Browse);
    EXPECT_EQ(goodsQuery.fieldText("商品编码"), "A01");
    EXPECT_EQ(goodsQuery.fieldText("库存数量"), "100");
}

TEST_F(SaleRecordsTest, StoredFiguresAreTheExactDecimalResults) {
    struct Case {
        const char* code;
        const char* cost;   // 进货单价
        const char* stock;  // 库存数量
        const char* stockAmount;
        const char* price;
        const char* quantity;
        std::vector<std::string> figures;  // 销售单价 to 库存金额 after the sale
    };
    const Case cases[] = {
        // Sold out at 12.5: nothing is left of the stock value.
        {"D01", "6.2", "60", "372", "12.5", "60", {"12.5", "60", "750", "378", "0", "0"}},
        // Sold at cost: no profit.
        {"D02", "19.9", "10", "199", "19.9", "10", {"19.9", "10", "199", "0", "0", "0"}},
        // The cost shown is 3.46 and the stock 3, so 3 may be sold from 2.999.
        {"D03",
         "3.456",
         "2.999",
         "10.364544",
         "5",
         "3",
         {"5", "3", "15", "4.62", "-0.001", "-0.015456"}},
        {"D04", "0.1", "3", "0.3", "0.2", "3", {"0.2", "3", "0.6", "0.3", "0", "0"}},
    };
    for (const Case& c : cases) {
        salestest::insert(store::schema::kGoods,
                          {purchase(c.code, c.cost, c.stock, c.stockAmount)});
        records.reloadGoods();
        moveToCode(c.code);
        ASSERT_EQ(records.confirm(entryFor(c.price, c.quantity)).outcome, Outcome::Sold) << c.code;
        EXPECT_EQ(figures(storedGoods(c.code)), c.figures) << c.code;
    }
}

// Two copies of the program on one file, each with its own connection, selling from one row.
TEST_F(SaleRecordsTest, ASecondCopyCannotSellStockTheFirstSold) {
    store::Connection otherConnection(store::buildConnectionStringForCurrentDirectory());
    store::Query otherGoods{otherConnection};
    store::Query otherSales{otherConnection};
    sales::SaleRecords other{otherConnection, otherGoods, otherSales};
    other.reloadGoods();
    moveToCode("C01");
    for (int i = 0; i < otherGoods.recordCount(); ++i)
        if (otherGoods.rowIdAt(i) == goodsQuery.rowIdAt(goodsQuery.currentIndex()))
            otherGoods.moveTo(i);
    // Both panels show the stock of 5.
    const auto goods = other.goodsForSale();
    ASSERT_EQ(goods->stock, "5");
    const auto mine = entryFor("3", "3");

    ASSERT_EQ(records.confirm(mine).outcome, Outcome::Sold);
    const auto refused =
        other.confirm(salestest::saleOf(*goods, "2026/12/10 9:40:00", "3", "3", ""));
    EXPECT_EQ(refused.outcome, Outcome::StockShort);
    EXPECT_EQ(refused.stock, "2");
    EXPECT_EQ(figures(storedGoods("C01")),
              (std::vector<std::string>{"3", "3", "9", "3", "2", "4"}));
    EXPECT_EQ(stored(store::schema::kSales).size(), 1u);
    EXPECT_FALSE(otherConnection.inTransaction());
    // The second copy's list shows the stock the file holds, not in edit.
    EXPECT_EQ(otherGoods.state(), store::Query::State::Browse);
    EXPECT_EQ(otherGoods.fieldText("库存数量"), "2");

    // What is left can still be sold, by either copy.
    ASSERT_EQ(other.confirm(salestest::saleOf(*goods, "2026/12/10 9:41:00", "3", "2", "")).outcome,
              Outcome::Sold);
    EXPECT_EQ(storedGoods("C01").at("库存数量"), "0");
    EXPECT_EQ(records.confirm(entryFor("3", "0.01")).outcome, Outcome::StockShort);
    EXPECT_EQ(stored(store::schema::kSales).size(), 2u);
}

TEST_F(SaleRecordsTest, TheStoredStockIsComparedAsThePanelShowsIt) {
    // The double of 2.675 lies below it; the panel shows its text rounded: 2.68.
    salestest::insert(store::schema::kGoods, {purchase("E01", "1", "2.675", "2.675")});
    records.reloadGoods();
    moveToCode("E01");
    const auto entry = entryFor("1", "2.68");
    ASSERT_EQ(entry.stock, "2.68");
    ASSERT_EQ(records.confirm(entry).outcome, Outcome::Sold);
    EXPECT_EQ(storedGoods("E01").at("库存数量"), "-0.005");
}

TEST_F(SaleRecordsTest, CustomerListAndDetails) {
    salestest::insert(store::schema::kSales,
                      {{{"客户姓名", "张伟"}, {"联系电话", "111"}, {"详细地址", "东路"}},
                       {{"客户姓名", "李娜"}, {"联系电话", "222"}, {"备注", "常客"}},
                       {{"客户姓名", "张伟"}, {"联系电话", "333"}},
                       {{"联系电话", "444"}}});
    EXPECT_EQ(records.customerNames(), (std::vector<std::string>{"张伟", "李娜", ""}));

    EXPECT_EQ(records.customerDetails("李娜"), (sales::CustomerDetails{"222", "", "常客"}));
    // The first sale whose name contains the text.
    EXPECT_EQ(records.customerDetails("伟"), (sales::CustomerDetails{"111", "东路", ""}));
    EXPECT_FALSE(records.customerDetails("").has_value());
    // A name without a match empties the fields; later names fill nothing until the list is
    // read again.
    EXPECT_EQ(records.customerDetails("王"), (sales::CustomerDetails{"", "", ""}));
    EXPECT_FALSE(records.customerDetails("张伟").has_value());
    records.customerNames();
    EXPECT_EQ(records.customerDetails("张伟"), (sales::CustomerDetails{"111", "东路", ""}));
    // Quotes are plain characters; "%" and "_" still match anything.
    EXPECT_EQ(records.customerDetails("\"张"), (sales::CustomerDetails{"", "", ""}));
    records.customerNames();
    EXPECT_EQ(records.customerDetails("李_"), (sales::CustomerDetails{"222", "", "常客"}));
}

TEST_F(SaleRecordsTest, ASaleLeavesTheCustomerListToTheCustomerFields) {
    salestest::insert(store::schema::kSales, {{{"客户姓名", "张伟"}, {"联系电话", "111"}}});
    records.customerNames();
    moveToCode("C01");
    const auto entry = entryFor("3", "3");
    {
        store::Connection other(store::buildConnectionStringForCurrentDirectory());
        other.database().exec(std::string("UPDATE ") + store::schema::kGoods +
                              " SET 库存数量 = 1 WHERE 商品编码 = 'C01'");
    }
    // A sale refused after its row was begun, and one that failed, leave the list to the names.
    ASSERT_EQ(records.confirm(entry).outcome, Outcome::StockShort);
    EXPECT_EQ(records.customerDetails("张"), (sales::CustomerDetails{"111", "", ""}));
    {
        store::Connection other(store::buildConnectionStringForCurrentDirectory());
        other.database().exec(std::string("CREATE TRIGGER refuse BEFORE UPDATE ON ") +
                              store::schema::kGoods + " BEGIN SELECT RAISE(ABORT, 'locked'); END");
    }
    EXPECT_THROW(records.confirm(entryFor("3", "1")), store::StoreError);
    EXPECT_EQ(records.customerDetails("伟"), (sales::CustomerDetails{"111", "", ""}));
    EXPECT_EQ(salesQuery.recordCount(), 1);  // still the one name listed
}

TEST_F(SaleRecordsTest, CustomerNamesMatchLatinLettersInAnyCase) {
    // A name looked up against the names just listed compares as the table's "like" does.
    salestest::insert(store::schema::kSales, {{{"客户姓名", "Alice Wang"}, {"联系电话", "555"}}});
    records.customerNames();
    EXPECT_EQ(records.customerDetails("LICE"), (sales::CustomerDetails{"555", "", ""}));
    records.customerNames();
    EXPECT_EQ(records.customerDetails("Bob"), (sales::CustomerDetails{"", "", ""}));
    EXPECT_FALSE(records.customerDetails("Alice").has_value());
}

TEST_F(SaleRecordsTest, AnEmptySalesTableGivesNoCustomers) {
    EXPECT_TRUE(records.customerNames().empty());
    EXPECT_FALSE(records.customerDetails("张").has_value());
}

TEST_F(SaleRecordsTest, SearchByCodeOrNameWithOneFieldFilled) {
    EXPECT_TRUE(records.search("01", ""));
    EXPECT_EQ(goodsQuery.recordCount(), 2);
    records.reloadGoods();
    EXPECT_TRUE(records.search("", "名称B"));
    EXPECT_EQ(goodsQuery.recordCount(), 1);
    records.reloadGoods();
    EXPECT_FALSE(records.search("01", "名称"));
    EXPECT_FALSE(records.search("", ""));
    EXPECT_EQ(goodsQuery.recordCount(), 3);
    EXPECT_TRUE(records.search("A\"", ""));  // a quote is just a character
    EXPECT_EQ(goodsQuery.recordCount(), 0);
    EXPECT_FALSE(records.search("A", ""));  // nothing listed: nothing to search
    EXPECT_EQ(goodsQuery.recordCount(), 0);
    records.reloadGoods();
    EXPECT_TRUE(records.search("_0%", ""));
    EXPECT_EQ(goodsQuery.recordCount(), 3);
}

TEST(SaleDateTest, ZeroPaddedSoThatTextOrderIsTimeOrder) {
    const struct {
        QDate date;
        QTime time;
        const char* text;
    } cases[] = {
        {QDate(2026, 12, 9), QTime(18, 35, 33), "2026-12-09 18:35:33"},
        {QDate(2026, 12, 10), QTime(0, 0, 0), "2026-12-10 00:00:00"},     // midnight keeps its time
        {QDate(2026, 1, 2), QTime(3, 4, 5, 678), "2026-01-02 03:04:05"},  // no milliseconds
    };
    for (const auto& c : cases) EXPECT_EQ(sales::saleDateText(c.date, c.time), c.text) << c.text;
    // Whatever the machine's language.
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(sales::saleDateText(QDate(2026, 12, 9), QTime(9, 5, 0)), "2026-12-09 09:05:00");
    QLocale::setDefault(before);
}

}  // namespace
