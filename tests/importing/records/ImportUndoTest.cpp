#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "importing/records/ImportHistory.h"
#include "importing/records/PurchaseImport.h"
#include "store/Connection.h"
#include "store/ConnectionString.h"
#include "store/Schema.h"
#include "tests/importing/records/RowsSource.h"
#include "tests/support/StoredRows.h"
#include "tests/support/TestDatabase.h"

namespace {

namespace column = store::schema::column;
using Outcome = importing::UndoResult::Outcome;
using testsupport::appendRows;
using testsupport::storedRows;

// A shop with one purchase of its own, then two imports of two rows each.
class ImportUndoTest : public ::testing::Test {
  protected:
    ImportUndoTest() {
        appendRows(store::schema::kGoods,
                   {{{column::kGoodsCode, "OWN"}, {column::kGoodsName, "自己的"}}});
        first = importOf("一.csv", {{"A1", "笔", "1", "1"}, {"A2", "尺", "2", "2"}});
        second = importOf("二.csv", {{"B1", "本", "1", "1"}, {"B2", "胶", "2", "2"}});
    }

    std::int64_t importOf(const std::string& name, const importtest::Sheet& rows) {
        importtest::Sheet sheet = {{"商品编码", "商品名称", "进货单价", "进货数量", "商品型号"}};
        sheet.insert(sheet.end(), rows.begin(), rows.end());
        return importing::importRows(connection, importtest::rowsSource(sheet), {},
                                     {name, name, "2026-12-11 10:0" + std::to_string(++imports)})
            .importId;
    }

    std::vector<std::string> storedCodes() {
        std::vector<std::string> codes;
        for (const auto& row : storedRows(store::schema::kGoods))
            codes.push_back(row.at(column::kGoodsCode));
        return codes;
    }

    std::string idOf(const std::string& code) {
        for (const auto& row : storedRows(store::schema::kGoods))
            if (row.at(column::kGoodsCode) == code) return row.at(column::kId);
        return {};
    }

    // A sale of the goods row with this code, as the sales window stores it: its texts in 表3
    // and, when linked, the row it was made from.
    void sell(const std::string& code, const std::string& name, bool linked,
              const std::string& model = "") {
        const auto ids = appendRows(store::schema::kSales, {{{column::kGoodsCode, code},
                                                             {column::kGoodsName, name},
                                                             {column::kModel, model},
                                                             {column::kGoodsSize, ""},
                                                             {column::kUnit, ""}}});
        if (linked)
            appendRows(store::schema::kSaleGoods,
                       {{{column::kSaleId, ids.at(0)}, {column::kGoodsId, idOf(code)}}});
    }

    testsupport::TestDatabase database;
    store::Connection connection{store::initialConnectionString()};
    int imports = 0;
    std::int64_t first = 0;
    std::int64_t second = 0;
};

TEST_F(ImportUndoTest, RemovesOneImportWhole) {
    const auto listed = importing::listImports(connection);
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_EQ(listed[0].id, second);
    EXPECT_EQ(listed[0].fileName, "二.csv");
    EXPECT_EQ(listed[0].rowsLeft, 2);

    const auto result = importing::undoImport(connection, first);
    EXPECT_EQ(result.outcome, Outcome::Undone);
    EXPECT_EQ(result.removedRows, 2);
    EXPECT_EQ(storedCodes(), (std::vector<std::string>{"OWN", "B1", "B2"}));
    EXPECT_EQ(storedRows(store::schema::kImportedGoods).size(), 2u);
    EXPECT_EQ(importing::listImports(connection).size(), 1u);
    EXPECT_EQ(importing::undoImport(connection, first).outcome, Outcome::Gone);
}

TEST_F(ImportUndoTest, ARowDeletedByHandMeanwhileIsLeftOut) {
    store::Connection other(store::initialConnectionString());
    other.database().exec("DELETE FROM \"表1\" WHERE \"商品编码\" = 'B1'");
    EXPECT_EQ(importing::listImports(connection)[0].rowsLeft, 1);
    const auto result = importing::undoImport(connection, second);
    EXPECT_EQ(result.removedRows, 1);
    EXPECT_EQ(storedCodes(), (std::vector<std::string>{"OWN", "A1", "A2"}));
}

struct SaleCase {
    const char* name;
    bool linked;
    std::string model;  // the sale's 商品型号; the imported rows have none
    bool refused;
};

class UndoWithSale : public ImportUndoTest, public ::testing::WithParamInterface<SaleCase> {};

TEST_P(UndoWithSale, IsRefusedNamingTheSoldRow) {
    sell("A2", "尺", GetParam().linked, GetParam().model);
    const auto before = storedRows(store::schema::kGoods);
    const auto result = importing::undoImport(connection, first);
    if (!GetParam().refused) {
        EXPECT_EQ(result.outcome, Outcome::Undone);
        return;
    }
    EXPECT_EQ(result.outcome, Outcome::HasSales);
    ASSERT_EQ(result.soldRows.size(), 1u);
    EXPECT_EQ(result.soldRows[0].fileRow, 3);
    EXPECT_EQ(importing::soldRowsText(result.soldRows), "第 3 行  A2  尺");
    EXPECT_EQ(storedRows(store::schema::kGoods), before);
    EXPECT_EQ(importing::listImports(connection).size(), 2u);
}

INSTANTIATE_TEST_SUITE_P(
    Sales, UndoWithSale,
    ::testing::Values(SaleCase{"ByLink", true, "", true},
                      // A sale older than the links: its goods texts are the row's.
                      SaleCase{"ByTexts", false, "", true},
                      SaleCase{"OtherTexts", false, "X", false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ImportUndoTest, ALinkedSaleOfAnotherRowWithTheSameTextsDoesNotCount) {
    appendRows(store::schema::kGoods, {{{column::kGoodsCode, "A1"}, {column::kGoodsName, "笔"}}});
    const auto ids = appendRows(store::schema::kSales, {{{column::kGoodsCode, "A1"},
                                                         {column::kGoodsName, "笔"},
                                                         {column::kModel, ""},
                                                         {column::kGoodsSize, ""},
                                                         {column::kUnit, ""}}});
    const auto own = storedRows(store::schema::kGoods).back().at(column::kId);
    appendRows(store::schema::kSaleGoods,
               {{{column::kSaleId, ids.at(0)}, {column::kGoodsId, own}}});
    EXPECT_EQ(importing::undoImport(connection, first).outcome, Outcome::Undone);
}

TEST(SoldRowsText, NamesTenRowsAndCountsTheRest) {
    std::vector<importing::SoldRow> rows;
    for (int i = 2; i < 14; ++i) rows.push_back({i, "C" + std::to_string(i), "货"});
    const std::string text = importing::soldRowsText(rows);
    EXPECT_NE(text.find("第 11 行  C11  货\n……等共 12 行"), std::string::npos) << text;
    EXPECT_EQ(text.find("第 12 行"), std::string::npos) << text;
}

}  // namespace
