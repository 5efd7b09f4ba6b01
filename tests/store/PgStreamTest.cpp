// Rows streamed from the server (a result set read whole, outside a transaction) against the same
// rows fetched as one result: the texts, the numbers, NULL and the failures must not differ, and
// the connection must stay usable for other statements while a stream is only partly read.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PgTestServer.h"
#include "store/Error.h"

namespace {

using pgtest::ServerDatabase;
using store::StoreError;

std::string shown(const store::StoredValue& value) {
    switch (value.type) {
        case store::ValueType::Null:
            return "NULL";
        case store::ValueType::Integer:
            return "i:" + std::to_string(value.integer);
        case store::ValueType::Float:
            return "f:" + std::to_string(value.real) + "/" + std::string(value.text);
        default:
            return "t:" + std::string(value.text);
    }
}

using Rows = std::vector<std::vector<std::string>>;

Rows rowsOf(store::EngineStatement& statement) {
    Rows rows;
    store::StoredValue value;
    while (statement.step()) {
        rows.emplace_back();
        for (int c = 0; c < statement.columnCount(); ++c) {
            statement.readValue(c, value);
            rows.back().push_back(shown(value));
        }
    }
    return rows;
}

Rows read(const store::Engine& engine, std::string_view sql, bool streamed) {
    auto statement = engine.prepare(sql);
    if (streamed) statement->expectManyRows();
    return rowsOf(*statement);
}

class PgStreamTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!pgtest::serverTestsEnabled()) GTEST_SKIP() << "no test server (JXC_TEST_SERVER=1)";
        engine_ = ServerDatabase::emptied().open();
    }
    void insertGoods(int count) {
        engine_->exec(R"(INSERT INTO "表1" ("商品编码", "进货单价") SELECT 'G' || n, n / 4.0 )"
                      "FROM generate_series(1, " +
                      std::to_string(count) + ") AS n");
    }
    std::unique_ptr<store::Engine> engine_;
};

TEST_F(PgStreamTest, StreamedRowsAreTheFetchedRows) {
    auto insert = engine_->prepare(
        R"(INSERT INTO "表1" ("商品编码", "商品名称", "备注", "进货单价", "库存数量") VALUES (?, ?, ?, ?, ?))");
    const struct {
        const char* code;
        const char* name;  // NULL when null
        const char* remark;
        double price;
    } cases[] = {
        {"tab\there", "line\nbreak\r\n", "back\\slash \\N \\\\N", 0.1},
        {"\\N", nullptr, "", 12345678901234.5},
        {"商品", "退格\b换页\f竖表\v", "\\x41 \\101", 1e300},
        {"", "", "trailing tab\t", -0.0},
        {"0.30000000000000004", "1e-07", "x", 0.30000000000000004},
    };
    for (const auto& c : cases) {
        insert->tryReset();
        insert->bindText(1, c.code);
        if (c.name != nullptr)
            insert->bindText(2, c.name);
        else
            insert->bindNull(2);
        insert->bindText(3, c.remark);
        insert->bindDouble(4, c.price);
        insert->bindNull(5);
        insert->step();
    }
    const char* sql = R"(SELECT "ID", *, 2.5::numeric, 7::numeric, true FROM "表1" ORDER BY "ID")";
    const Rows fetched = read(*engine_, sql, false);
    ASSERT_EQ(fetched.size(), std::size(cases));
    EXPECT_EQ(read(*engine_, sql, true), fetched);
    EXPECT_EQ(fetched[0][2], "t:tab\there");
    EXPECT_EQ(fetched[1][3], "NULL");
    EXPECT_EQ(fetched[1][2], "t:\\N") << "a text that looks like COPY's NULL";
    EXPECT_EQ(fetched[3][2], "t:") << "an empty text is not NULL";
    EXPECT_EQ(fetched[0][7], "f:0.100000/0.1") << "the text as the program writes numbers";
    EXPECT_EQ(fetched[4][7], "f:0.300000/") << "17 digits: formatted by the program";
    EXPECT_EQ(fetched[2][7], "f:" + std::to_string(1e300) + "/") << "an exponent";
}

TEST_F(PgStreamTest, OtherStatementsRunWhileAStreamIsPartlyRead) {
    insertGoods(3000);
    auto stream = engine_->prepare(R"(SELECT "商品编码" FROM "表1" ORDER BY "ID")");
    stream->expectManyRows();
    store::StoredValue value;
    ASSERT_TRUE(stream->step());
    stream->readValue(0, value);
    const std::string first(value.text);
    // Another statement, a transaction and its commit on the same connection in the middle.
    EXPECT_EQ(read(*engine_, R"(SELECT count(*) FROM "表1";  )", true), (Rows{{"i:3000"}}))
        << "with the statement's closing semicolon";
    engine_->begin();
    engine_->exec(R"(UPDATE "表1" SET "备注" = 'x' WHERE "ID" = 1)");
    engine_->commit();
    EXPECT_EQ(first, "G1") << "the current row stays readable";
    stream->readValue(0, value);
    EXPECT_EQ(value.text, "G1");
    int rows = 1;
    std::string last;
    while (stream->step()) {
        stream->readValue(0, value);
        last = value.text;
        ++rows;
    }
    EXPECT_EQ(rows, 3000);
    EXPECT_EQ(last, "G3000");
    EXPECT_TRUE(engine_->inAutocommit());
}

TEST_F(PgStreamTest, AStreamLeftHalfReadFreesTheConnection) {
    insertGoods(3000);
    for (const bool reset : {true, false}) {
        auto stream = engine_->prepare(R"(SELECT * FROM "表1")");
        stream->expectManyRows();
        ASSERT_TRUE(stream->step());
        if (reset)
            EXPECT_TRUE(stream->tryReset());
        else
            stream.reset();
        EXPECT_TRUE(engine_->inAutocommit());
        EXPECT_EQ(read(*engine_, R"(SELECT count(*) FROM "表1")", true), (Rows{{"i:3000"}}));
    }
}

TEST_F(PgStreamTest, FailuresAreToldAsWhenFetched) {
    insertGoods(3000);
    // Refused before any row, and after many rows (division by zero at the last row).
    for (const char* sql : {R"(SELECT "没有这一列" FROM "表1")",
                            R"(SELECT 1 / (3000 - "ID") FROM "表1" ORDER BY "ID")"}) {
        std::string fetched, streamed;
        int streamedRows = 0;
        try {
            read(*engine_, sql, false);
        } catch (const StoreError& error) {
            fetched = error.what();
        }
        try {
            auto statement = engine_->prepare(sql);
            statement->expectManyRows();
            while (statement->step()) ++streamedRows;
        } catch (const StoreError& error) {
            streamed = error.what();
        }
        EXPECT_FALSE(fetched.empty()) << sql;
        EXPECT_EQ(streamed, fetched) << sql;
        EXPECT_EQ(read(*engine_, R"(SELECT 1)", true), (Rows{{"i:1"}})) << "usable after";
    }
}

}  // namespace
