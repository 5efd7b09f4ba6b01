#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <string>

#include "purchases/records/PurchaseRecords.h"
#include "purchases/records/SaleTextLimits.h"
#include "store/Connection.h"
#include "store/ConnectionString.h"
#include "store/Error.h"
#include "store/Query.h"
#include "store/Schema.h"
#include "tests/purchases/records/StoredRows.h"
#include "tests/support/TestDatabase.h"

using purchasetest::Row;
using purchasetest::storedGoods;

namespace {

purchases::PurchaseFields fieldsOf(const std::string& code, const std::string& price,
                                   const std::string& quantity, const std::string& remark = {}) {
    purchases::PurchaseFields fields;
    fields.texts = purchases::blankEntryTexts();
    fields.texts[0] = code;
    fields.texts[purchases::kPriceField] = price;
    fields.texts[purchases::kQuantityField] = quantity;
    fields.texts[11] = remark;
    return fields;
}

// The main window's connection and query on 表1 over a fresh database.
class PurchaseRecordsTest : public ::testing::Test {
  protected:
    PurchaseRecordsTest() : connection(store::initialConnectionString()), query(connection) {
        query.select(store::schema::kGoods);
        query.open();
    }

    std::string messageOf(const purchases::PurchaseFields& fields) {
        try {
            records.add(fields);
        } catch (const store::StoreError& error) {
            return error.what();
        }
        return "no error";
    }

    // Loads the current row, returning the texts the panel would show.
    std::array<std::string, purchases::kFieldCount> load(
        std::optional<std::int64_t>* id = nullptr) {
        std::array<std::string, purchases::kFieldCount> shown;
        auto rowId = records.load([&](int field, const std::string& text) { shown[field] = text; });
        if (id) *id = rowId;
        return shown;
    }

    // Two rows A01 and B02; A01 loaded into the panel and its 备注 changed.
    purchases::PurchaseFields loadA01WithChangedRemark(std::optional<std::int64_t>* id) {
        records.add(fieldsOf("A01", "1", "1", "a"));
        records.add(fieldsOf("B02", "1", "1", "b"));
        records.refresh();
        moveToCode("A01");
        purchases::PurchaseFields fields;
        fields.texts = load(id);
        fields.texts[11] = "changed";
        fields.changed[11] = true;
        return fields;
    }

    void moveToCode(const std::string& code) {
        for (int i = 0; i < query.recordCount(); ++i) {
            query.moveTo(i);
            if (query.fieldText("商品编码") == code) return;
        }
        FAIL() << "no row " << code;
    }

    testsupport::TestDatabase database;
    store::Connection connection;
    store::Query query;
    purchases::PurchaseRecords records{connection, query};
};

struct AddCase {
    const char* price;
    const char* quantity;
    const char* storedPrice;
    const char* storedQuantity;
    const char* amount;
};

class AddValues : public PurchaseRecordsTest, public ::testing::WithParamInterface<AddCase> {};

TEST_P(AddValues, StoresPurchaseWithWholeQuantityInStockAndNothingSold) {
    const AddCase& c = GetParam();
    ASSERT_EQ(records.add(fieldsOf("A01", c.price, c.quantity)), purchases::AddOutcome::Added);

    const auto rows = storedGoods();
    ASSERT_EQ(rows.size(), 1u);
    Row row = rows[0];
    EXPECT_EQ(row["商品编码"], "A01");
    EXPECT_EQ(row["商品名称"], "");
    EXPECT_EQ(row["进货单价"], c.storedPrice);
    EXPECT_EQ(row["进货数量"], c.storedQuantity);
    EXPECT_EQ(row["进货金额"], c.amount);
    EXPECT_EQ(row["库存数量"], c.storedQuantity);
    EXPECT_EQ(row["库存金额"], c.amount);
    for (const char* column : {"销售单价", "销售数量", "销售金额", "销售利润"})
        EXPECT_EQ(row[column], "0") << column;
    EXPECT_EQ(query.recordCount(), 1) << "the list holds the posted row";
}

INSTANTIATE_TEST_SUITE_P(Entries, AddValues,
                         ::testing::Values(AddCase{"12.5", "4", "12.5", "4", "50"},
                                           AddCase{"0.1", "3", "0.1", "3", "0.3"},
                                           AddCase{"0", "0", "0", "0", "0"},
                                           AddCase{"2", "5.", "2", "5", "10"}));

TEST_F(PurchaseRecordsTest, AllFieldsEmptyStoresNothing) {
    purchases::PurchaseFields fields;
    EXPECT_EQ(records.add(fields), purchases::AddOutcome::Empty);
    EXPECT_TRUE(storedGoods().empty());
}

TEST_F(PurchaseRecordsTest, ANumberThatIsNotANumberStopsTheAddAndLeavesNoBegunRow) {
    EXPECT_EQ(messageOf(fieldsOf("A01", ".", "3")),
              "'.' is not a valid floating point value for field '进货单价'");
    EXPECT_EQ(messageOf(fieldsOf("A01", "2", "")), "'' is not a valid floating point value");
    EXPECT_EQ(query.state(), store::Query::State::Browse);
    EXPECT_EQ(query.rowCount(), 0);
    EXPECT_TRUE(storedGoods().empty());

    // The list is whole again: the next entry goes in alone.
    records.add(fieldsOf("B02", "2", "3"));
    EXPECT_EQ(query.rowCount(), 1);
    ASSERT_EQ(storedGoods().size(), 1u);
    EXPECT_EQ(storedGoods()[0].at("商品编码"), "B02");
}

TEST_F(PurchaseRecordsTest, AddingDuringASearchRereadsAllRowsFirst) {
    records.add(fieldsOf("A01", "1", "1"));
    records.add(fieldsOf("B02", "1", "1"));
    records.refresh();
    purchases::SearchTexts texts{"A0", "", "", ""};
    ASSERT_TRUE(records.search(texts));
    ASSERT_EQ(query.recordCount(), 1);

    records.add(fieldsOf("C03", "1", "1"));
    EXPECT_EQ(query.recordCount(), 3) << "the search was dropped before the row was added";
}

TEST_F(PurchaseRecordsTest, LoadReducesPriceAndQuantityToTwoDecimals) {
    records.add(fieldsOf("A01", "1.234", "2.456", "old"));
    records.refresh();
    std::optional<std::int64_t> id;
    const auto shown = load(&id);
    ASSERT_TRUE(id.has_value());
    EXPECT_EQ(std::to_string(*id), storedGoods()[0].at("ID"));
    EXPECT_EQ(shown[0], "A01");
    EXPECT_EQ(shown[purchases::kPriceField], "1.23");
    EXPECT_EQ(shown[purchases::kQuantityField], "2.46");
    EXPECT_EQ(shown[11], "old");
}

TEST_F(PurchaseRecordsTest, LoadOfAnEmptyListLoadsNothing) {
    bool called = false;
    EXPECT_FALSE(records.load([&](int, const std::string&) { called = true; }).has_value());
    EXPECT_FALSE(called);
}

TEST_F(PurchaseRecordsTest, LoadOfARowWithoutPriceStopsAfterSettingThePrice) {
    records.add(fieldsOf("A01", "1", "1"));
    purchasetest::changeStoredGoods(storedGoods()[0].at("ID"), {{"进货单价", ""}});
    records.refresh();
    int lastField = -1;
    EXPECT_THROW(records.load([&](int field, const std::string&) { lastField = field; }),
                 store::StoreError);
    EXPECT_EQ(lastField, purchases::kPriceField);
}

TEST_F(PurchaseRecordsTest, WriteBackOfTheRemarkKeepsThePriceButRecomputesTheAmount) {
    records.add(fieldsOf("A01", "1.234", "10", "old"));
    records.refresh();
    std::optional<std::int64_t> id;
    purchases::PurchaseFields fields;
    fields.texts = load(&id);
    fields.texts[11] = "new";
    fields.changed[11] = true;

    EXPECT_EQ(records.writeBack(*id, fields), purchases::WriteBackOutcome::Written);
    Row row = storedGoods()[0];
    EXPECT_EQ(row["进货单价"], "1.234");
    EXPECT_EQ(row["进货金额"], "12.3");
    EXPECT_EQ(row["备注"], "new");
    EXPECT_EQ(query.fieldText("备注"), "new") << "the list holds what was stored";
    EXPECT_EQ(query.fieldText("进货金额"), "12.3");
}

// A minus cannot be typed into price or quantity, but it can be pasted.
TEST_F(PurchaseRecordsTest, ANegativePriceOrQuantityIsRefusedNamingTheField) {
    struct Case {
        const char* price;
        const char* quantity;
        const char* message;
    };
    const Case cases[] = {{"-5", "2", "进货单价不能为负数，请重新输入！"},
                          {"2", "-5", "进货数量不能为负数，请重新输入！"},
                          {"-0.01", "-1", "进货单价不能为负数，请重新输入！"}};
    for (const Case& c : cases) {
        const auto fields = fieldsOf("N01", c.price, c.quantity);
        EXPECT_EQ(purchases::refusalOf(fields), c.message);
        EXPECT_EQ(records.add(fields), purchases::AddOutcome::Refused)
            << c.price << " " << c.quantity;
    }
    EXPECT_TRUE(storedGoods().empty());
    EXPECT_EQ(purchases::refusalOf(fieldsOf("N01", "-0", "0")), "");

    std::optional<std::int64_t> id;
    purchases::PurchaseFields fields = loadA01WithChangedRemark(&id);
    for (const Case& c : cases) {
        fields.texts[purchases::kPriceField] = c.price;
        fields.texts[purchases::kQuantityField] = c.quantity;
        fields.changed[purchases::kPriceField] = fields.changed[purchases::kQuantityField] = true;
        EXPECT_EQ(records.writeBack(*id, fields), purchases::WriteBackOutcome::Refused);
    }
    const Row row = storedGoods()[0];
    EXPECT_EQ(row.at("进货单价"), "1");
    EXPECT_EQ(row.at("进货数量"), "1");
    EXPECT_EQ(row.at("备注"), "a");
}

TEST_F(PurchaseRecordsTest, WriteBackOfTheQuantityLeavesSalesAndStockAlone) {
    records.add(fieldsOf("A01", "5", "10"));
    const Row sold = {{"销售单价", "8"},  {"销售数量", "4"}, {"销售金额", "32"},
                      {"销售利润", "12"}, {"库存数量", "6"}, {"库存金额", "30"}};
    purchasetest::changeStoredGoods(storedGoods()[0].at("ID"), sold);
    records.refresh();
    std::optional<std::int64_t> id;
    purchases::PurchaseFields fields;
    fields.texts = load(&id);
    fields.texts[purchases::kQuantityField] = "20";
    fields.changed[purchases::kQuantityField] = true;

    records.writeBack(*id, fields);
    Row row = storedGoods()[0];
    EXPECT_EQ(row["进货数量"], "20");
    EXPECT_EQ(row["进货金额"], "100");
    for (const auto& [column, text] : sold) EXPECT_EQ(row[column], text) << column;
}

TEST_F(PurchaseRecordsTest, WriteBackGoesToTheLoadedRowAfterMovingSearchingOrRefreshing) {
    std::optional<std::int64_t> id;
    purchases::PurchaseFields fields = loadA01WithChangedRemark(&id);

    moveToCode("B02");
    EXPECT_EQ(records.writeBack(*id, fields), purchases::WriteBackOutcome::Written);
    EXPECT_EQ(query.fieldText("商品编码"), "A01") << "the written row becomes current";

    records.refresh();
    moveToCode("B02");
    fields.texts[11] = "again";
    EXPECT_EQ(records.writeBack(*id, fields), purchases::WriteBackOutcome::Written);

    for (const Row& row : storedGoods())
        EXPECT_EQ(row.at("备注"), row.at("商品编码") == "A01" ? "again" : "b");
}

TEST_F(PurchaseRecordsTest, WriteBackToARowHiddenByASearchWritesIt) {
    std::optional<std::int64_t> id;
    purchases::PurchaseFields fields = loadA01WithChangedRemark(&id);

    ASSERT_TRUE(records.search({"B0", "", "", ""}));
    EXPECT_EQ(records.writeBack(*id, fields), purchases::WriteBackOutcome::Written);
    for (const Row& row : storedGoods())
        EXPECT_EQ(row.at("备注"), row.at("商品编码") == "A01" ? "changed" : "b");
    // The list still holds only the row it found, unchanged and current.
    ASSERT_EQ(query.recordCount(), 1);
    EXPECT_EQ(query.fieldText("商品编码"), "B02");
    EXPECT_EQ(query.fieldText("备注"), "b");
    EXPECT_EQ(query.state(), store::Query::State::Browse);
}

TEST_F(PurchaseRecordsTest, WriteBackToARowDeletedFromTheFileWritesNothing) {
    std::optional<std::int64_t> id;
    purchases::PurchaseFields fields = loadA01WithChangedRemark(&id);
    const std::string a01 = std::to_string(*id);

    // Deleted by another connection: the list still shows it.
    purchasetest::deleteStoredGoods(a01);
    EXPECT_EQ(records.writeBack(*id, fields), purchases::WriteBackOutcome::RowGone);
    EXPECT_EQ(query.recordCount(), 2);

    // Deleted from the list too.
    records.refresh();
    EXPECT_EQ(records.writeBack(*id, fields), purchases::WriteBackOutcome::RowGone);
    ASSERT_EQ(storedGoods().size(), 1u);
    EXPECT_EQ(storedGoods()[0].at("备注"), "b");
}

TEST_F(PurchaseRecordsTest, AnAmountTooLargeToStoreNamesTheTypedFields) {
    const std::string message = messageOf(fieldsOf("A01", "1E20", "1E20"));
    EXPECT_NE(message.find("“进货单价”"), std::string::npos) << message;
    EXPECT_NE(message.find("“进货数量”"), std::string::npos) << message;
    EXPECT_EQ(message.find("进货金额"), std::string::npos) << message;
    EXPECT_TRUE(storedGoods().empty());
    EXPECT_EQ(query.rowCount(), 0);
}

TEST_F(PurchaseRecordsTest, WriteBackToAnEmptyListHasNoCurrentRow) {
    purchases::PurchaseFields fields;
    EXPECT_EQ(records.writeBack(1, fields), purchases::WriteBackOutcome::NoCurrentRow);
}

TEST_F(PurchaseRecordsTest, AWriteBackStoppedByABadNumberLeavesRowAndListUnchanged) {
    records.add(fieldsOf("A01", "2", "3", "a"));
    records.refresh();
    std::optional<std::int64_t> id;
    purchases::PurchaseFields fields;
    fields.texts = load(&id);
    fields.texts[0] = "Z99";
    fields.changed[0] = true;
    fields.texts[purchases::kPriceField] = ".";
    fields.changed[purchases::kPriceField] = true;

    try {
        records.writeBack(*id, fields);
        FAIL() << "the bad price was accepted";
    } catch (const store::StoreError& error) {
        EXPECT_STREQ(error.what(), "'.' is not a valid floating point value for field '进货单价'");
    }
    EXPECT_EQ(query.state(), store::Query::State::Browse);
    EXPECT_EQ(query.fieldText("商品编码"), "A01");
    EXPECT_EQ(query.fieldText("进货单价"), "2");
    EXPECT_EQ(storedGoods()[0].at("商品编码"), "A01");

    // Moving in the list afterwards stores nothing either.
    query.first();
    EXPECT_EQ(storedGoods()[0].at("商品编码"), "A01");
}

TEST(SearchCase, TakesTheOneFilledFieldOnly) {
    using purchases::searchCase;
    EXPECT_EQ(searchCase({"01", "", "", ""}), 0);
    EXPECT_EQ(searchCase({"", "", "", "138"}), 3);
    EXPECT_EQ(searchCase({"", " ", "", ""}), 1) << "blanks fill a field";
    EXPECT_EQ(searchCase({"01", "name", "", ""}), std::nullopt);
    EXPECT_EQ(searchCase({"", "", "", ""}), std::nullopt);
}

TEST_F(PurchaseRecordsTest, SearchFindsTheTextAnywhereInTheColumn) {
    for (const char* code : {"A01", "010", "01", "1A0", "0-1"})
        records.add(fieldsOf(code, "1", "1"));
    records.refresh();
    ASSERT_TRUE(records.search({"01", "", "", ""}));
    std::set<std::string> found;
    for (int i = 0; i < query.recordCount(); ++i)
        found.insert(std::string(query.fieldTextAt(i, query.fieldIndex("商品编码"))));
    EXPECT_EQ(found, (std::set<std::string>{"A01", "010", "01"}));
}

TEST_F(PurchaseRecordsTest, SearchRunsOnlyOnAListWithRowsAndOneFilledField) {
    records.add(fieldsOf("A01", "1", "1"));
    records.add(fieldsOf("B02", "1", "1"));
    records.refresh();

    EXPECT_FALSE(records.search({"A01", "x", "", ""}));
    EXPECT_FALSE(records.search({"", "", "", ""}));
    EXPECT_EQ(query.recordCount(), 2);

    EXPECT_TRUE(records.search({"nothing", "", "", ""}));
    EXPECT_EQ(query.recordCount(), 0);
    EXPECT_FALSE(records.search({"A01", "", "", ""})) << "an empty list is not searched";
    EXPECT_EQ(query.recordCount(), 0);

    records.refresh();
    EXPECT_TRUE(records.search({"A01", "", "", ""}));
    EXPECT_EQ(query.recordCount(), 1);
}

TEST_F(PurchaseRecordsTest, SearchTextWithAQuoteIsJustText) {
    records.add(fieldsOf("say \"hi\"", "1", "1"));
    records.add(fieldsOf("B02", "1", "1"));
    records.refresh();
    EXPECT_TRUE(records.search({"\"hi", "", "", ""}));
    EXPECT_EQ(query.recordCount(), 1);
}

std::string repeated(const std::string& piece, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) out += piece;
    return out;
}

TEST(SaleTextLimits, APurchaseTheSalesTableCannotTakeIsWarnedAbout) {
    struct Case {
        std::vector<std::pair<int, std::string>> texts;  // field, text
        std::string warning;
    };
    const std::string fifty = repeated("规", 50);
    const Case cases[] = {
        {{{3, fifty}, {11, repeated("x", 200)}}, ""},  // 备注 is not sold
        {{{3, repeated("x", 60)}},
         "进货信息已保存，但“商品规格”超过 50 个字符，销售信息中存不下，这件商品无法销售。"
         "请把“商品规格”改到 50 个字符以内。"},
        {{{0, repeated("码", 51)}, {4, fifty + "箱"}},
         "进货信息已保存，但“商品编码”超过 50 个字符，“单位”超过 50 个字符，销售信息中存不下，"
         "这件商品无法销售。请把“商品编码”改到 50 个字符以内，把“单位”改到 50 个字符以内。"},
    };
    for (const Case& c : cases) {
        purchases::PurchaseFields fields = fieldsOf("A01", "1", "1");
        for (const auto& [field, text] : c.texts)
            fields.texts[static_cast<std::size_t>(field)] = text;
        EXPECT_EQ(purchases::saleWarning(fields), c.warning);
    }
}

}  // namespace
