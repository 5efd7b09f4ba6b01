// The program's SQL texts (question-mark parameters, rowid, IFNULL, LIKE, decimal_round) read
// alike on every engine the data can be kept on.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "store/Database.h"
#include "store/Schema.h"
#include "tests/support/TestDatabase.h"

namespace {

using testsupport::TestDatabase;

const std::string kGoods = std::string("\"") + store::schema::kGoods + "\"";

class SqlDialect : public testing::Test {
  protected:
    // Stores a goods row with that code and stock quantity (none: NULL); its row id.
    std::int64_t addGoods(const std::string& code, std::optional<double> stock = {}) {
        store::Statement insert(
            db, "INSERT INTO " + kGoods + " (\"商品编码\", \"库存数量\") VALUES (?, ?)");
        insert.bindText(1, code);
        if (stock)
            insert.bindDouble(2, *stock);
        else
            insert.bindNull(2);
        insert.step();
        return db.lastInsertRowId();
    }

    TestDatabase made{TestDatabase::Content::Empty, false};
    store::Database db = made.open();
};

TEST_F(SqlDialect, DecimalRoundIsHalfAwayFromZeroOnTheStoredText) {
    struct Case {
        double stored;
        double rounded;
    };
    // Binary rounding would give 2.67 for 2.675 and 1 for 1.005.
    const Case cases[] = {{2.675, 2.68}, {1.005, 1.01}, {-1.005, -1.01}, {0.125, 0.13},
                          {9.995, 10},   {-0.004, 0},   {1e-9, 0},       {1234.5, 1234.5}};
    for (const Case& c : cases) addGoods("", c.stored);
    addGoods("NULL");
    store::Statement rounded(
        db, "SELECT decimal_round(\"库存数量\", 2) FROM " + kGoods + " ORDER BY \"ID\"");
    for (const Case& c : cases) {
        ASSERT_TRUE(rounded.step());
        EXPECT_EQ(rounded.doubleValue(0), c.rounded) << c.stored;
    }
    ASSERT_TRUE(rounded.step());
    EXPECT_TRUE(rounded.isNull(0));

    // The sale's stock check, as the sale stores it.
    store::Statement covers(
        db, "SELECT count(*) FROM " + kGoods + " WHERE decimal_round(\"库存数量\", 2) >= ?");
    covers.bindDouble(1, 2.68);
    ASSERT_TRUE(covers.step());
    EXPECT_EQ(covers.int64Value(0), 3);  // 2.675, 9.995 and 1234.5
}

TEST_F(SqlDialect, DoublesComeBackBitForBit) {
    const double values[] = {0.1 + 0.2, 1e24, -1e-10, 2.675, 123456789.12345679, 5e-324};
    for (double value : values) addGoods("", value);
    store::Statement read(db, "SELECT \"库存数量\" FROM " + kGoods + " ORDER BY \"ID\"");
    for (double value : values) {
        ASSERT_TRUE(read.step());
        EXPECT_EQ(read.type(0), store::Statement::ValueType::Float);
        EXPECT_EQ(read.doubleValue(0), value);
    }
}

TEST_F(SqlDialect, TheRowIdIsTheCounterWhereATableHasOne) {
    addGoods("A");
    const std::int64_t b = addGoods("B");
    store::Statement byRowId(db, "SELECT \"ID\", \"商品编码\" FROM " + kGoods + " WHERE rowid = ?");
    byRowId.bindInt64(1, b);
    ASSERT_TRUE(byRowId.step());
    EXPECT_EQ(byRowId.int64Value(0), b);
    EXPECT_EQ(byRowId.text(1), "B");

    // The company table has no counter: its rows still have ids of their own.
    const std::string company = std::string("\"") + store::schema::kCompany + "\"";
    db.exec("INSERT INTO " + company + " (\"公司名称\") VALUES ('甲')");
    const std::int64_t first = db.lastInsertRowId();
    db.exec("INSERT INTO " + company + " (\"公司名称\") VALUES ('乙')");
    EXPECT_NE(db.lastInsertRowId(), first);
    store::Statement companyRow(db, "SELECT \"公司名称\" FROM " + company + " WHERE rowid = ?");
    companyRow.bindInt64(1, first);
    ASSERT_TRUE(companyRow.step());
    EXPECT_EQ(companyRow.text(0), "甲");
    EXPECT_FALSE(companyRow.step());
}

TEST_F(SqlDialect, SearchesAndDefaultsReadAlike) {
    for (const char* code : {"AB1", "ab2", "中AB", "中文", "a_b"}) addGoods(code);
    struct Case {
        std::string where;
        std::vector<std::string> parameters;
        std::int64_t count;
    };
    const Case cases[] = {
        {"\"商品编码\" LIKE ?", {"%ab%"}, 3},  // ASCII case is ignored
        {"\"商品编码\" like ?", {"中%"}, 2},
        {"\"商品编码\" LIKE 'A__'", {}, 3},  // three characters, the first an a
        {"\"商品编码\" = '?' OR \"商品编码\" = ?", {"中文"}, 1},  // no parameter in a literal
        {"IFNULL(\"库存数量\", -1) = -1", {}, 5},
        {"IFNULL(\"备注\", '') = ?", {""}, 5},
    };
    for (const Case& c : cases) {
        store::Statement count(db, "SELECT count(*) FROM " + kGoods + " WHERE " + c.where);
        int index = 1;
        for (const std::string& parameter : c.parameters) count.bindText(index++, parameter);
        ASSERT_TRUE(count.step()) << c.where;
        EXPECT_EQ(count.int64Value(0), c.count) << c.where;
    }
}

}  // namespace
