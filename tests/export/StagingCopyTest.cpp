// The staging copy of the purchase and goods exports, and the workbook's file name.
#include <gtest/gtest.h>

#include <limits>
#include <tuple>
#include <vector>

#include "export/StagingCopy.h"
#include "store/Connection.h"
#include "store/ConnectionString.h"
#include "store/Database.h"
#include "store/Error.h"
#include "store/Query.h"
#include "store/Schema.h"
#include "store/Values.h"
#include "tests/export/SampleGoods.h"
#include "tests/support/TestDatabase.h"

using testsupport::storedRows;

namespace {

class StagingCopyTest : public ::testing::Test {
  protected:
    // The window's connection and its queries, as the main or the sales window holds them.
    void refresh(const char* stagingTable, store::Query* sales = nullptr) {
        exporting::refreshForExport(connection_, list_, staging_, stagingTable, sales);
    }

    testsupport::TestDatabase database_;
    store::Connection connection_;
    store::Query list_{connection_};
    store::Query staging_{connection_};
};

struct CopyCase {
    const char* stagingTable;
    std::size_t columns;
    // Row, column and the text it holds; NULL reads as "<null>".
    std::vector<std::tuple<std::size_t, const char*, const char*>> texts;
};

class StagingColumns : public StagingCopyTest, public ::testing::WithParamInterface<CopyCase> {};

TEST_P(StagingColumns, AreCopiedAsTextAndTheListStandsWhereTheExportLeavesIt) {
    const CopyCase& c = GetParam();
    testsupport::appendRows(store::schema::kGoods, exporttest::twoGoods());
    refresh(c.stagingTable);
    exporting::fillStaging(connection_, list_, staging_);

    const auto rows = storedRows(c.stagingTable, "<null>");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].size(), c.columns);
    for (const auto& [row, column, text] : c.texts)
        EXPECT_EQ(rows[row].at(column), text) << row << " " << column;
    EXPECT_EQ(list_.recNo(), 2);  // the list on its last row
}

INSTANTIATE_TEST_SUITE_P(
    PurchaseAndGoods, StagingColumns,
    ::testing::Values(CopyCase{store::schema::kPurchaseExport,
                               13,
                               {{0, "商品编码", "001"},
                                {0, "进货单价", "12.5"},
                                {0, "供货单位", "惠民批发"},
                                {0, "备注", "=1+1"},
                                {1, "商品编码", "002"},
                                {1, "进货单价", "0.1"},
                                {1, "进货数量", "<null>"},  // an empty number stays empty
                                {1, "商品名称", ""}}},
                      CopyCase{store::schema::kGoodsExport,
                               15,
                               {{0, "销售利润", "2.5"}, {0, "库存金额", "25"}}}));

// What the workbook gets: the staging table's columns and the copied values.
TEST_F(StagingCopyTest, TheStagedRowsShowWhatTheTableHolds) {
    testsupport::appendRows(store::schema::kGoods, exporttest::twoGoods());
    refresh(store::schema::kGoodsExport);
    const auto staged = exporting::fillStaging(connection_, list_, staging_);

    ASSERT_EQ(staged.columnCount(), 15);
    ASSERT_EQ(staged.rowCount(), 2);
    const auto stored = storedRows(store::schema::kGoodsExport, "<null>");
    for (int c = 0; c < staged.columnCount(); ++c) {
        const std::string name(staged.columnName(c));
        EXPECT_EQ(name, store::schema::table(store::schema::kGoodsExport).columns[c].name);
        for (int r = 0; r < 2; ++r) {
            const workbook::Cell cell = staged.cell(r, c);
            const std::string& value = stored[static_cast<std::size_t>(r)].at(name);
            switch (cell.kind) {
                case workbook::Cell::Kind::Empty:
                    EXPECT_TRUE(value == "<null>" || value.empty()) << name;
                    break;
                case workbook::Cell::Kind::Text:
                    EXPECT_EQ(cell.text, value) << name;
                    break;
                case workbook::Cell::Kind::Number:
                    EXPECT_EQ(store::values::formatNumber(cell.number), value) << name;
                    break;
            }
        }
    }
    EXPECT_EQ(staged.cell(0, 0).kind, workbook::Cell::Kind::Text);  // "001"
    EXPECT_EQ(staged.cell(0, 5).kind, workbook::Cell::Kind::Number);
}

TEST_F(StagingCopyTest, EachExportReplacesTheLastOne) {
    testsupport::appendRows(store::schema::kPurchaseExport, {{{"商品编码", "old"}}, {}, {}});
    refresh(store::schema::kPurchaseExport);
    EXPECT_EQ(exporting::fillStaging(connection_, list_, staging_).rowCount(), 0);  // 表1 empty
    EXPECT_TRUE(storedRows(store::schema::kPurchaseExport).empty());

    testsupport::appendRows(store::schema::kGoods, {{{"商品编码", "A"}}});
    refresh(store::schema::kPurchaseExport);
    exporting::fillStaging(connection_, list_, staging_);
    exporting::fillStaging(connection_, list_, staging_);
    ASSERT_EQ(storedRows(store::schema::kPurchaseExport).size(), 1u);
}

TEST_F(StagingCopyTest, AValueThatDoesNotConvertLeavesTheStagingTableAsItWas) {
    testsupport::appendRows(store::schema::kGoods, exporttest::twoGoods());
    {
        // A number column holding text, as a file written by another program could.
        store::Database db(database_.path(), store::kDatabasePassword);
        db.exec(std::string("insert into ") + store::schema::kGoods +
                " (商品编码, 进货数量) values ('003', 'abc')");
    }
    testsupport::appendRows(store::schema::kPurchaseExport, {{{"商品编码", "before"}}});
    refresh(store::schema::kPurchaseExport);
    try {
        exporting::fillStaging(connection_, list_, staging_);
        FAIL() << "no error";
    } catch (const store::StoreError& e) {
        EXPECT_STREQ(e.what(), "'abc' is not a valid floating point value for field '进货数量'");
    }
    const auto rows = storedRows(store::schema::kPurchaseExport);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].at("商品编码"), "before");
    // The transaction is over, and the secure deletion is back: the next export can copy.
    {
        store::Database db(database_.path(), store::kDatabasePassword);
        db.exec(std::string("delete from ") + store::schema::kGoods + " where 商品编码 = '003'");
    }
    {
        store::Statement secure(connection_.database(), "PRAGMA secure_delete");
        ASSERT_TRUE(secure.step());
        EXPECT_EQ(secure.int64Value(0), 1);
    }
    refresh(store::schema::kPurchaseExport);
    EXPECT_EQ(exporting::fillStaging(connection_, list_, staging_).rowCount(), 2);
    EXPECT_EQ(storedRows(store::schema::kPurchaseExport).size(), 2u);
}

// The largest double and the infinities of a file written by another program are copied as the
// numbers they are; the workbook then leaves them out.
TEST_F(StagingCopyTest, NumbersAtTheEndsOfTheRangeAreCopied) {
    {
        store::Database db(database_.path(), store::kDatabasePassword);
        db.exec(std::string("insert into ") + store::schema::kGoods +
                " (商品编码, 进货单价, 进货数量, 进货金额) values "
                "('001', 1.7976931348623157e308, 9e999, -9e999)");
    }
    refresh(store::schema::kPurchaseExport);
    const auto staged = exporting::fillStaging(connection_, list_, staging_);

    const auto rows = storedRows(store::schema::kPurchaseExport);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].at("进货单价"), "1.79769313486231E308");
    EXPECT_EQ(rows[0].at("进货数量"), "INF");
    EXPECT_EQ(rows[0].at("进货金额"), "-INF");
    const double infinity = std::numeric_limits<double>::infinity();
    const std::pair<int, double> numbers[] = {
        {5, 1.79769313486231e308}, {6, infinity}, {7, -infinity}};
    for (const auto& [column, number] : numbers) {
        const workbook::Cell cell = staged.cell(0, column);
        EXPECT_EQ(cell.kind, workbook::Cell::Kind::Number) << column;
        EXPECT_EQ(cell.number, number) << column;
    }
}

TEST_F(StagingCopyTest, RefreshShowsAllRowsAgainAndRereadsTheSalesOnlyWhenAsked) {
    testsupport::appendRows(store::schema::kGoods, exporttest::twoGoods());
    testsupport::appendRows(store::schema::kSales, {{{"商品编码", "001"}}, {{"商品编码", "002"}}});
    store::Query sales(connection_);
    sales.select(store::schema::kSales, "商品编码 like \"%001%\"");
    sales.open();
    list_.select(store::schema::kGoods, "商品编码 like \"%002%\"");
    list_.open();
    ASSERT_EQ(list_.recordCount(), 1);

    refresh(store::schema::kGoodsExport);
    EXPECT_EQ(list_.recordCount(), 2);
    EXPECT_EQ(staging_.sql(), std::string("select * from ") + store::schema::kGoodsExport);
    EXPECT_EQ(sales.recordCount(), 0);  // closed with the connection, not re-run

    sales.select(store::schema::kSales, "商品编码 like \"%001%\"");
    sales.open();
    refresh(store::schema::kGoodsExport, &sales);
    EXPECT_EQ(sales.sql(), std::string("select * from ") + store::schema::kSales);
    EXPECT_EQ(sales.recordCount(), 2);
}

TEST(WorkbookFileName, XlsIsAlwaysAppended) {
    const std::pair<const char*, const char*> cases[] = {
        {"x", "x.xls"},
        {"x.xls", "x.xls.xls"},
        {"/home/u/进货 2026", "/home/u/进货 2026.xls"},
        {"a.XLS", "a.XLS.xls"},
    };
    for (const auto& [chosen, expected] : cases)
        EXPECT_EQ(exporting::workbookFileName(chosen), expected);
}

}  // namespace
