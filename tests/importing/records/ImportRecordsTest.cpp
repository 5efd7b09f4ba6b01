#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <fstream>
#include <ostream>
#include <string>
#include <vector>

#include "importing/records/ImportMessages.h"
#include "importing/records/MappingMemory.h"
#include "importing/records/PurchaseImport.h"
#include "store/Connection.h"
#include "store/ConnectionString.h"
#include "store/Schema.h"
#include "tests/importing/records/RowsSource.h"
#include "tests/support/StoredRows.h"
#include "tests/support/TestDatabase.h"

namespace importing {
// Failures name the cell.
void PrintTo(const CellError& error, std::ostream* out) {
    *out << "row " << error.row << " " << error.column << " '" << error.value << "' "
         << error.problem;
}
}  // namespace importing

namespace {

namespace column = store::schema::column;
using importing::CellError;
using importing::kNotImported;
using importtest::rowsSource;
using importtest::Sheet;
using testsupport::storedRows;

constexpr int kPrice = 5;
constexpr int kQuantity = 6;

// ---- The mapping of headers -----------------------------------------------------------------

struct MappingCase {
    const char* name;
    std::vector<std::string> headers;
    std::vector<int> expected;
};

class HeaderMapping : public ::testing::TestWithParam<MappingCase> {};

TEST_P(HeaderMapping, MapsEachColumnByItsHeader) {
    const auto mapping = importing::mapHeaders(GetParam().headers, importing::columnNameAliases());
    EXPECT_EQ(mapping.fieldOfColumn, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Headers, HeaderMapping,
    ::testing::Values(
        // What our own purchase export writes: the columns of 表4; 进货金额 is worked out.
        MappingCase{"OurExport",
                    store::schema::table(store::schema::kPurchaseExport).columnNames(),
                    {0, 1, 2, 3, 4, 5, 6, kNotImported, 7, 8, 9, 10, 11}},
        // An empty column before and between the headers shifts nothing.
        MappingCase{"EmptyColumns",
                    {"", "商品名称", "", "商品编码", "进货数量", "进货单价"},
                    {kNotImported, 1, kNotImported, 0, kQuantity, kPrice}},
        // Blanks (full-width ones too) and a template's "*" around a header.
        MappingCase{"Decorated", {" *商品编码", "商品名称　", "* 进货单价"}, {0, 1, kPrice}},
        // A second column with the same header does not take the field from the first.
        MappingCase{"Repeated", {"商品编码", "备注", "商品编码"}, {0, 11, kNotImported}},
        MappingCase{"Unknown", {"条码", "品名"}, {kNotImported, kNotImported}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(HeaderMapping, ExtraAliasesAfterTheColumnNames) {
    const auto mapping = importing::mapHeaders({"单价", "商品编码", "编码"},
                                               {{0, "商品编码"}, {kPrice, "单价"}, {0, "编码"}});
    EXPECT_EQ(mapping.fieldOfColumn, (std::vector<int>{kPrice, 0, kNotImported}));
    EXPECT_EQ(importing::unmappedRequired(mapping), "商品名称、进货数量");
}

// ---- The check of each row ------------------------------------------------------------------

struct BadCell {
    const char* name;
    std::vector<std::string> row;  // 商品编码, 商品名称, 进货单价, 进货数量
    std::vector<CellError> expected;
};

class BadCells : public ::testing::TestWithParam<BadCell> {};

TEST_P(BadCells, AreReportedWithRowColumnAndValue) {
    const auto summary = importing::dryRun(
        rowsSource({importtest::kRequiredHeaders, {"A1", "好", "1", "1"}, GetParam().row}), {});
    EXPECT_EQ(summary.errors, GetParam().expected);
    EXPECT_EQ(summary.faultyRows, 1);
    EXPECT_EQ(summary.storableRows, 1);
    EXPECT_FALSE(summary.canImport(false));
    EXPECT_TRUE(summary.canImport(true));
}

const std::string k256(256, 'x');

INSTANTIATE_TEST_SUITE_P(
    Cells, BadCells,
    ::testing::Values(BadCell{"NotANumber",
                              {"A2", "笔", "1,5", "2"},
                              {{3, column::kPurchasePrice, "1,5", importing::kNotANumber}}},
                      BadCell{"Negative",
                              {"A2", "笔", "1.5", "-2"},
                              {{3, column::kPurchaseQuantity, "-2", importing::kNegative}}},
                      BadCell{"MissingRequired",
                              {"", "笔", "1.5", " "},
                              {{3, column::kGoodsCode, "", importing::kMissingValue},
                               {3, column::kPurchaseQuantity, " ", importing::kMissingValue}}},
                      BadCell{"TooLong",
                              {k256, "笔", "1", "1"},
                              {{3, column::kGoodsCode, k256, "超过 255 个字符"}}},
                      BadCell{"NumberTooLarge",
                              {"A2", "笔", "2e24", "1"},
                              {{3, column::kPurchasePrice, "2e24", importing::kTooLarge}}},
                      BadCell{"AmountTooLarge",
                              {"A2", "笔", "1e13", "1e12"},
                              {{3, column::kPurchaseAmount, "1E25", importing::kTooLarge}}},
                      // A missing trailing cell is a missing value too.
                      BadCell{"ShortRow",
                              {"A2", "笔", "1"},
                              {{3, column::kPurchaseQuantity, "", importing::kMissingValue}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RowCheck, LengthCountsCharactersNotBytesAndBlankRowsAreSkipped) {
    const auto summary = importing::dryRun(
        rowsSource({importtest::kRequiredHeaders,
                    {std::string(), "", " ", ""},
                    {"甲", std::string(85, 'a') + std::string(170, 'b') /*255*/, "0", "0"},
                    {}}),
        {});
    EXPECT_TRUE(summary.errors.empty());
    EXPECT_EQ(summary.blankRows, 2);
    EXPECT_EQ(summary.storableRows, 1);
}

// ---- The import -----------------------------------------------------------------------------

class PurchaseImportTest : public ::testing::Test {
  protected:
    testsupport::TestDatabase database;
    store::Connection connection{store::initialConnectionString()};
    importing::ImportFile file{"到货.csv", std::string(64, 'a'), "2026-12-11 10:00:00"};

    importing::ImportSummary import(const Sheet& sheet, importing::ImportSettings settings = {}) {
        return importing::importRows(connection, rowsSource(sheet), settings, file);
    }
};

TEST_F(PurchaseImportTest, StoresEachRowAsPurchaseEntryDoes) {
    const auto summary = import({{"商品编码", "商品名称", "单位", "进货单价", "进货数量", "备注"},
                                 {"06932169358293", "铅笔", "支", "12.50", "4", "第一批"},
                                 {"B2", "橡皮", "", "0.1", "3", ""}});
    ASSERT_EQ(summary.importedRows, 2);
    const auto rows = storedRows(store::schema::kGoods);
    ASSERT_EQ(rows.size(), 2u);
    const std::map<std::string, std::string> first = {{column::kGoodsCode, "06932169358293"},
                                                      {column::kGoodsName, "铅笔"},
                                                      {column::kUnit, "支"},
                                                      {column::kPurchasePrice, "12.5"},
                                                      {column::kPurchaseQuantity, "4"},
                                                      {column::kPurchaseAmount, "50"},
                                                      {column::kSalePrice, "0"},
                                                      {column::kSaleQuantity, "0"},
                                                      {column::kSaleAmount, "0"},
                                                      {column::kSaleProfit, "0"},
                                                      {column::kStockQuantity, "4"},
                                                      {column::kStockAmount, "50"},
                                                      {column::kRemark, "第一批"},
                                                      {column::kSupplier, ""}};
    for (const auto& [name, text] : first) EXPECT_EQ(rows[0].at(name), text) << name;
    // 0.1 × 3 exactly, not the binary product 0.30000000000000004.
    EXPECT_EQ(rows[1].at(column::kPurchaseAmount), "0.3");
    EXPECT_EQ(rows[1].at(column::kStockAmount), "0.3");

    const auto goods = storedRows(store::schema::kImportedGoods);
    ASSERT_EQ(goods.size(), 2u);
    EXPECT_EQ(goods[0].at(column::kGoodsId), rows[0].at(column::kId));
    EXPECT_EQ(goods[1].at(column::kFileRow), "3");
    const auto imports = storedRows(store::schema::kImports);
    ASSERT_EQ(imports.size(), 1u);
    EXPECT_EQ(imports[0].at(column::kFileName), file.fileName);
    EXPECT_EQ(imports[0].at(column::kImportTime), file.time);
    EXPECT_EQ(imports[0].at(column::kImportedRows), "2");
}

TEST_F(PurchaseImportTest, ABadLastRowStopsEveryRowUnlessFaultyRowsAreSkipped) {
    const Sheet sheet = {importtest::kRequiredHeaders,
                         {"A1", "笔", "1", "1"},
                         {"A2", "尺", "2", "2"},
                         {"A3", "本", "3", "三"}};
    const auto refused = import(sheet);
    EXPECT_EQ(refused.importedRows, 0);
    EXPECT_EQ(refused.importId, 0);
    EXPECT_EQ(refused.errors.size(), 1u);
    EXPECT_TRUE(storedRows(store::schema::kGoods).empty());
    EXPECT_TRUE(storedRows(store::schema::kImports).empty());

    importing::ImportSettings skipping;
    skipping.skipFaultyRows = true;
    const auto skipped = import(sheet, skipping);
    EXPECT_EQ(skipped.importedRows, 2);
    EXPECT_EQ(skipped.faultyRows, 1);
    EXPECT_EQ(storedRows(store::schema::kGoods).size(), 2u);
    EXPECT_EQ(storedRows(store::schema::kImportedGoods).size(), 2u);
}

TEST_F(PurchaseImportTest, NothingIsWrittenByTheDryRunACancelOrAnUnmappedRequiredColumn) {
    Sheet many = {importtest::kRequiredHeaders};
    for (int i = 0; i < 2500; ++i) many.push_back({"C" + std::to_string(i), "货", "1", "2"});

    const auto dry = importing::dryRun(rowsSource(many), {});
    EXPECT_EQ(dry.storableRows, 2500);
    EXPECT_EQ(dry.preview.size(), static_cast<std::size_t>(importing::kPreviewRows));
    EXPECT_EQ(dry.preview[1].texts[0], "C1");

    importing::ImportSettings cancelling;
    cancelling.progress = [](std::int64_t rowsRead) { return rowsRead < 2000; };
    const auto cancelled = import(many, cancelling);
    EXPECT_TRUE(cancelled.cancelled);

    importing::ImportSettings withoutName;
    withoutName.mapping = importing::ColumnMapping{{0, kNotImported, kPrice, kQuantity}};
    const auto unmapped = import(many, withoutName);
    EXPECT_EQ(unmapped.unmappedRequired, column::kGoodsName);
    EXPECT_FALSE(unmapped.canImport(true));

    EXPECT_TRUE(storedRows(store::schema::kGoods).empty());
    EXPECT_TRUE(storedRows(store::schema::kImports).empty());
}

TEST_F(PurchaseImportTest, AFileImportedBeforeIsToldByItsContent) {
    QTemporaryDir dir;
    const std::string path = dir.filePath("a.csv").toStdString();
    std::ofstream(path) << "商品编码,商品名称\n";
    file.contentHash = importing::contentHash(path);
    EXPECT_EQ(file.contentHash,
              "0522452377b5e4b6e6ad057f96a4ee182d4c782d353db6970e1ccb9f1757af96");  // sha256sum of
                                                                                    // the bytes
    EXPECT_FALSE(importing::importedBefore(connection, file.contentHash));

    import({importtest::kRequiredHeaders, { "A1", "笔", "1", "1" }});
    EXPECT_EQ(importing::importedBefore(connection, file.contentHash), file.time);

    // The same bytes under another name are the same file; other bytes are not.
    const std::string copy = dir.filePath("b.csv").toStdString();
    std::ofstream(copy) << "商品编码,商品名称\n";
    EXPECT_EQ(importing::contentHash(copy), file.contentHash);
    std::ofstream(copy) << "商品编码,商品名称 \n";
    EXPECT_FALSE(importing::importedBefore(connection, importing::contentHash(copy)));
}

// ---- The mapping remembered -----------------------------------------------------------------

TEST(MappingMemory, RemembersPerHeaderSet) {
    QTemporaryDir dir;
    const QString ini = dir.filePath("quenvar-jxc.ini");
    const std::vector<std::string> headers = {"编号", "品名", "价格", "数量", "说明"};
    const importing::ColumnMapping chosen{{0, 1, kPrice, kQuantity, kNotImported}};
    EXPECT_FALSE(importing::rememberedMapping(ini, headers));

    importing::rememberMapping(ini, headers, chosen);
    EXPECT_EQ(importing::rememberedMapping(ini, headers), chosen);
    EXPECT_FALSE(importing::rememberedMapping(ini, {"编号", "品名", "价格", "数量"}));

    importing::rememberMapping(ini, headers, {{kNotImported, 1, kPrice, kQuantity, 0}});
    EXPECT_EQ(importing::rememberedMapping(ini, headers)->fieldOfColumn[4], 0);
}

}  // namespace
