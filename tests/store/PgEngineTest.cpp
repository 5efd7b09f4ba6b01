#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <functional>
#include <optional>
#include <thread>

#include "PgTestServer.h"
#include "store/Database.h"
#include "store/Error.h"
#include "store/Schema.h"
#include "store/SchemaUpgrade.h"
#include "store/pg/PgExchangeCount.h"

namespace {

using pgtest::ServerDatabase;
using store::StoreError;

// A stored value as the tests compare it: "NULL", "i:7", "f:0.1", "t:text".
std::string shown(const store::StoredValue& value) {
    char number[32];
    switch (value.type) {
        case store::ValueType::Null:
            return "NULL";
        case store::ValueType::Integer:
            return "i:" + std::to_string(value.integer);
        case store::ValueType::Float: {
            const auto end = std::to_chars(number, number + sizeof number, value.real).ptr;
            return "f:" + std::string(number, end);
        }
        default:
            return "t:" + std::string(value.text);
    }
}

using Row = std::vector<std::string>;

std::vector<Row> rowsOf(store::EngineStatement& statement) {
    std::vector<Row> rows;
    store::StoredValue value;
    while (statement.step()) {
        Row row;
        for (int c = 0; c < statement.columnCount(); ++c) {
            statement.readValue(c, value);
            row.push_back(shown(value));
        }
        rows.push_back(row);
    }
    return rows;
}

std::vector<Row> rowsOf(const store::Engine& engine, std::string_view sql) {
    auto statement = engine.prepare(sql);
    return rowsOf(*statement);
}

class PgEngineTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!pgtest::serverTestsEnabled()) GTEST_SKIP() << "no test server (JXC_TEST_SERVER=1)";
        database_ = &ServerDatabase::emptied();
        // Each test on a session of its own, not one an earlier test left to the next engine.
        store::closeKeptServerSessions();
        engine_ = database_->open();
    }
    std::int64_t insertGoods(const char* code) {
        auto insert = engine_->prepare(R"(INSERT INTO "表1" ("商品编码") VALUES (?))");
        insert->bindText(1, code);
        insert->step();
        return engine_->lastInsertRowId();
    }
    // As the server does when it restarts or the network fails.
    void dropOtherConnections() const {
        database_->open()->exec(
            "SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE datname = "
            "current_database() AND pid <> pg_backend_pid()");
    }
    // The statements the engine's session holds prepared, but the one that counts them.
    int preparedOnServer() const {
        const auto rows = rowsOf(*engine_,
                                 "SELECT count(*) FROM pg_prepared_statements WHERE "
                                 "strpos(statement, 'pg_prepared_statements') = 0");
        return std::stoi(rows.at(0).at(0).substr(2));
    }
    const ServerDatabase* database_ = nullptr;
    std::unique_ptr<store::Engine> engine_;
};

TEST_F(PgEngineTest, ValuesComeBackAsStoredWithTheirTypes) {
    auto insert = engine_->prepare(
        R"(INSERT INTO "表3" ("商品名称", "备注", "销售单价", "销售数量", "销售金额") VALUES (?, ?, ?, ?, ?))");
    struct Case {
        const char* name;    // bound as text, NULL when null
        const char* remark;  // bound as text
        double price;
        std::int64_t quantity;  // bound as an integer into a double column
        const char* expected;
    };
    const Case cases[] = {
        {"it's \"quoted\"", "", 0.1, 3, "t:it's \"quoted\"|t:|f:0.1|f:3"},
        {"商品 ? 甲", "?1 $1 \\%", 12345678901234.5, -7,
         "t:商品 ? 甲|t:?1 $1 \\%|f:12345678901234.5|f:-7"},
        {nullptr, "x", 1e300, 0, "NULL|t:x|f:1e+300|f:0"},
    };
    for (const Case& c : cases) {
        insert->tryReset();
        if (c.name != nullptr)
            insert->bindText(1, c.name);
        else
            insert->bindNull(1);
        insert->bindText(2, c.remark);
        insert->bindDouble(3, c.price);
        insert->bindInt64(4, c.quantity);
        insert->bindNull(5);
        EXPECT_FALSE(insert->step()) << "an INSERT gives no rows";
    }
    const auto rows = rowsOf(
        *engine_,
        R"(SELECT "商品名称", "备注", "销售单价", "销售数量", "销售金额" FROM "表3" ORDER BY rowid)");
    ASSERT_EQ(rows.size(), std::size(cases));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        std::string joined;
        for (std::size_t c = 0; c < 4; ++c) joined += (c ? "|" : "") + rows[i][c];
        EXPECT_EQ(joined, cases[i].expected);
        EXPECT_EQ(rows[i][4], "NULL");
    }
}

TEST_F(PgEngineTest, ExpressionsReadAsNumbersOrText) {
    const auto rows = rowsOf(*engine_,
                             "SELECT count(*), 2.5::numeric, 40::numeric, true, 'x' || 'y', NULL, "
                             "'Infinity'::float8, 1.5::real FROM \"表2\"");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0], (Row{"i:0", "f:2.5", "i:40", "i:1", "t:xy", "NULL", "f:inf", "f:1.5"}));
}

TEST_F(PgEngineTest, DeclaresTheFilesTypesForTableColumnsOnly) {
    auto statement = engine_->prepare(R"(select rowid, *, 1 AS one from "表3")");
    ASSERT_EQ(statement->columnCount(), 16);
    EXPECT_EQ(statement->columnName(0), "ID");
    EXPECT_EQ(statement->columnDeclType(0), "INTEGER");
    EXPECT_EQ(statement->columnName(2), "销售日期");
    EXPECT_EQ(statement->columnDeclType(2), "TEXT(255)");
    EXPECT_EQ(statement->columnDeclType(3), "TEXT(50)");
    EXPECT_EQ(statement->columnDeclType(8), "DOUBLE");
    EXPECT_EQ(statement->columnDeclType(15), "");
    EXPECT_THROW(statement->columnName(16), StoreError);
    EXPECT_EQ(engine_->counterColumn("表3"), "ID");
    EXPECT_EQ(engine_->counterColumn("表2"), "");
}

TEST_F(PgEngineTest, HiddenRowIdShowsOnlyWhenAskedFor) {
    auto insert = engine_->prepare(R"(INSERT INTO "表2" ("公司名称") VALUES (?))");
    insert->bindText(1, "甲公司");
    insert->step();
    const std::int64_t rowId = engine_->lastInsertRowId();
    EXPECT_GT(rowId, 0);

    auto all = engine_->prepare(R"(select * from "表2")");
    ASSERT_EQ(all->columnCount(), 6);
    for (int c = 0; c < 6; ++c) EXPECT_NE(all->columnName(c), "rowid");

    const auto withId = rowsOf(*engine_, R"(select rowid, * from "表2")");
    ASSERT_EQ(withId.size(), 1u);
    ASSERT_EQ(withId[0].size(), 7u);
    EXPECT_EQ(withId[0][0], "i:" + std::to_string(rowId));
    EXPECT_EQ(withId[0][1], "t:甲公司");

    auto remove = engine_->prepare(R"(DELETE FROM "表2" WHERE rowid = ?)");
    remove->bindInt64(1, rowId);
    remove->step();
    EXPECT_EQ(engine_->changes(), 1);
    EXPECT_TRUE(rowsOf(*engine_, R"(select * from "表2")").empty());
}

TEST_F(PgEngineTest, TellsInsertedIdsAndChangedRows) {
    const std::int64_t first = insertGoods("A");
    const std::int64_t second = insertGoods("B");
    EXPECT_EQ(second, first + 1);
    engine_->exec(R"(UPDATE "表1" SET "单位" = '个')");
    EXPECT_EQ(engine_->changes(), 2);
    rowsOf(*engine_, R"(SELECT * FROM "表1")");
    EXPECT_EQ(engine_->changes(), 2) << "a read changes nothing";
    auto update = engine_->prepare(R"(UPDATE "表1" SET "单位" = ? WHERE rowid = ?)");
    update->bindText(1, "箱");
    update->bindInt64(2, second + 100);
    EXPECT_FALSE(update->step());
    EXPECT_EQ(engine_->changes(), 0);
}

TEST_F(PgEngineTest, RowsKeepTheOrderTheyWereStoredInAfterAnUpdate) {
    for (const char* code : {"A", "B", "C"}) insertGoods(code);
    engine_->exec(R"(UPDATE "表1" SET "单位" = '个' WHERE "商品编码" = 'A')");
    EXPECT_EQ(rowsOf(*engine_, R"(select 商品编码 from 表1)"),
              (std::vector<Row>{{"t:A"}, {"t:B"}, {"t:C"}}));
}

TEST_F(PgEngineTest, BindingsAreCheckedAndClearedByReset) {
    auto select = engine_->prepare(R"(SELECT ?, ? FROM "表2" WHERE false)");
    EXPECT_THROW(select->bindText(3, "x"), StoreError);
    EXPECT_THROW(select->bindText(0, "x"), StoreError);
    auto echo = engine_->prepare("SELECT ?::text");
    echo->bindText(1, "first");
    EXPECT_EQ(rowsOf(*echo), (std::vector<Row>{{"t:first"}}));
    EXPECT_TRUE(echo->tryReset());
    EXPECT_EQ(rowsOf(*echo), (std::vector<Row>{{"NULL"}})) << "an unbound parameter is NULL";
}

TEST_F(PgEngineTest, TransactionsStoreAllOrNothing) {
    EXPECT_TRUE(engine_->inAutocommit());
    engine_->begin();
    EXPECT_FALSE(engine_->inAutocommit());
    insertGoods("rolled back");
    EXPECT_TRUE(engine_->tryRollback());
    EXPECT_TRUE(engine_->inAutocommit());
    EXPECT_TRUE(rowsOf(*engine_, R"(SELECT * FROM "表1")").empty());

    engine_->begin();
    insertGoods("kept");
    engine_->commit();
    EXPECT_EQ(rowsOf(*engine_, R"(SELECT "商品编码" FROM "表1")"), (std::vector<Row>{{"t:kept"}}));

    // A statement that fails takes back only itself, as in the file: the transaction goes on.
    engine_->begin();
    insertGoods("before");
    EXPECT_THROW(engine_->exec("SELECT no_such_column FROM \"表1\""), StoreError);
    auto refused = engine_->prepare(R"(INSERT INTO "表1" ("ID") VALUES (?))");
    refused->bindText(1, "not a number");
    EXPECT_THROW(refused->step(), StoreError);
    insertGoods("after");
    engine_->commit();
    EXPECT_TRUE(engine_->inAutocommit());
    EXPECT_EQ(rowsOf(*engine_, R"(SELECT "商品编码" FROM "表1")"),
              (std::vector<Row>{{"t:kept"}, {"t:before"}, {"t:after"}}));
}

TEST_F(PgEngineTest, TransactionWithNothingInItSendsNothing) {
    store::Engine& engine = *engine_;
    struct Case {
        const char* what;
        std::function<void()> begin;
        std::function<void()> end;
    };
    const Case cases[] = {
        {"commit", [&] { engine.begin(); }, [&] { engine.commit(); }},
        {"rollback", [&] { engine.begin(); }, [&] { EXPECT_TRUE(engine.tryRollback()); }},
        {"read snapshot", [&] { engine.beginReadSnapshot(); }, [&] { engine.tryRollback(); }},
        {"BEGIN, COMMIT", [&] { engine.exec("BEGIN IMMEDIATE"); }, [&] { engine.exec("COMMIT"); }},
        {"BEGIN, ROLLBACK", [&] { engine.exec("BEGIN"); }, [&] { engine.exec("ROLLBACK"); }},
        {"begun twice", [&] { engine.begin(), engine.exec("BEGIN"); }, [&] { engine.commit(); }},
    };
    store::pg::ExchangeCounter exchanges(engine);
    for (const Case& c : cases) {
        c.begin();
        EXPECT_FALSE(engine.inAutocommit()) << c.what;
        c.end();
        EXPECT_TRUE(engine.inAutocommit()) << c.what;
    }
    EXPECT_EQ(exchanges.count(), 0);
}

TEST_F(PgEngineTest, BeginGoesWithTheFirstStatement) {
    store::pg::ExchangeCounter exchanges(*engine_);
    engine_->begin();
    insertGoods("taken back");
    EXPECT_EQ(exchanges.count(), 1);
    EXPECT_TRUE(engine_->tryRollback());
    EXPECT_EQ(exchanges.count(), 2);
    engine_->exec("BEGIN IMMEDIATE");
    engine_->exec(R"(INSERT INTO "表1" ("商品编码") VALUES ('kept'))");
    engine_->exec("COMMIT");
    EXPECT_EQ(exchanges.count(), 4);
    EXPECT_EQ(rowsOf(*engine_, R"(SELECT "商品编码" FROM "表1")"), (std::vector<Row>{{"t:kept"}}));
}

TEST_F(PgEngineTest, WholeReadAfterBeginIsPartOfTheTransaction) {
    insertGoods("A");
    auto other = database_->open();
    const auto rowsRead = [&] {
        auto statement = engine_->prepare(R"(SELECT "商品编码" FROM "表1")");
        statement->expectManyRows();
        return rowsOf(*statement).size();
    };
    engine_->beginReadSnapshot();
    EXPECT_EQ(rowsRead(), 1u);
    other->exec(R"(INSERT INTO "表1" ("商品编码") VALUES ('B'))");
    EXPECT_EQ(rowsRead(), 1u) << "read from the snapshot";
    engine_->tryRollback();
    EXPECT_EQ(rowsRead(), 2u);
}

TEST_F(PgEngineTest, FailedFirstStatementIsTakenBackAndTheTransactionGoesOn) {
    const std::function<void()> failures[] = {
        [&] { engine_->exec(R"(SELECT no_such_column FROM "表1")"); },
        [&] {
            auto refused = engine_->prepare(R"(INSERT INTO "表1" ("ID") VALUES (?))");
            refused->bindText(1, "not a number");
            refused->step();
        },
    };
    for (const auto& fail : failures) {
        engine_->begin();
        EXPECT_THROW(fail(), StoreError);
        EXPECT_FALSE(engine_->inAutocommit());
        insertGoods("taken back with the transaction");
        EXPECT_TRUE(engine_->tryRollback());
        engine_->begin();
        EXPECT_THROW(fail(), StoreError);
        insertGoods("kept");
        engine_->commit();
    }
    EXPECT_EQ(rowsOf(*engine_, R"(SELECT "商品编码" FROM "表1")"),
              (std::vector<Row>{{"t:kept"}, {"t:kept"}}));
}

TEST_F(PgEngineTest, FailedBeginIsTheFirstStatementsFailure) {
    struct Case {
        const char* what;
        std::function<void()> begin;
        std::optional<int> code;
    };
    const Case cases[] = {
        {"a BEGIN the server refuses",
         [&] { engine_->exec("BEGIN ISOLATION LEVEL NO_SUCH_LEVEL"); }, std::nullopt},
        {"the connection lost before the BEGIN went",
         [&] {
             engine_->begin();
             dropOtherConnections();
         },
         StoreError::kServerUnreachable},
    };
    for (const Case& c : cases) {
        c.begin();
        for (int attempt = 0; attempt < 2; ++attempt) {
            try {
                insertGoods("refused");
                ADD_FAILURE() << c.what << ": stored";
            } catch (const StoreError& error) {
                if (c.code) {
                    EXPECT_EQ(error.code(), *c.code) << c.what << ": " << error.what();
                }
            }
            EXPECT_FALSE(engine_->inAutocommit()) << c.what << ": still in its transaction";
        }
        engine_->tryRollback();
        EXPECT_TRUE(engine_->inAutocommit()) << c.what;
        EXPECT_EQ(rowsOf(*engine_, R"(SELECT count(*) FROM "表1")"), (std::vector<Row>{{"i:0"}}))
            << c.what;
    }
}

TEST_F(PgEngineTest, ConcurrentChangeOfTheSameRowIsAConflict) {
    const std::int64_t id = insertGoods("A");
    auto other = database_->open();
    engine_->exec("BEGIN ISOLATION LEVEL REPEATABLE READ");
    rowsOf(*engine_, R"(SELECT * FROM "表1")");
    other->exec(R"(UPDATE "表1" SET "单位" = '箱')");
    auto update = engine_->prepare(R"(UPDATE "表1" SET "单位" = '个' WHERE rowid = ?)");
    update->bindInt64(1, id);
    try {
        update->step();
        FAIL() << "no conflict";
    } catch (const StoreError& error) {
        EXPECT_EQ(error.code(), StoreError::kServerConflict) << error.what();
    }
    EXPECT_FALSE(update->tryReset());
    EXPECT_THROW(update->throwLastFailure(), StoreError);
    engine_->tryRollback();
}

TEST_F(PgEngineTest, DeadlockIsAConflict) {
    const std::int64_t first = insertGoods("A");
    const std::int64_t second = insertGoods("B");
    auto other = database_->open();
    // Each takes one row, then waits for the other's: the server ends one of them.
    const auto update = [](store::Engine& engine, std::int64_t id) {
        auto statement = engine.prepare(R"(UPDATE "表1" SET "单位" = 'x' WHERE rowid = ?)");
        statement->bindInt64(1, id);
        statement->step();
    };
    engine_->begin();
    other->begin();
    update(*engine_, first);
    update(*other, second);
    std::optional<StoreError> mine, theirs;
    // The one the server chose rolls back at once, as the program does with a conflict: its
    // failed statement alone is taken back, and its transaction still holds its first row, for
    // which the other waits.
    std::thread waiting([&] {
        try {
            update(*other, first);
        } catch (const StoreError& error) {
            theirs = error;
            other->tryRollback();
        }
    });
    try {
        update(*engine_, second);
    } catch (const StoreError& error) {
        mine = error;
        engine_->tryRollback();
    }
    waiting.join();
    engine_->tryRollback();
    other->tryRollback();
    ASSERT_NE(mine.has_value(), theirs.has_value());
    const StoreError& conflict = mine ? *mine : *theirs;
    EXPECT_EQ(conflict.code(), StoreError::kServerConflict) << conflict.what();
}

TEST_F(PgEngineTest, WritersOfOneTableDoNotWaitForEachOthersTransactions) {
    engine_->begin();
    insertGoods("open transaction");
    auto other = database_->open();
    other->exec("SET statement_timeout = '3s'");
    EXPECT_NO_THROW(other->exec(R"(INSERT INTO "表1" ("商品编码") VALUES ('other counter'))"));
    engine_->commit();
    EXPECT_EQ(rowsOf(*other, R"(SELECT count(*) FROM "表1")"), (std::vector<Row>{{"i:2"}}));
}

TEST_F(PgEngineTest, ChangeCountMovesOnlyWithChangesOfItsTable) {
    auto watch = engine_->watchChanges();
    const auto start = watch->version("表1");
    ASSERT_TRUE(start.has_value());
    auto other = database_->open();
    std::optional<std::int64_t> last = start;
    const auto moved = [&] {
        const auto now = watch->version("表1");
        const bool changed = now != last;
        last = now;
        return changed;
    };
    rowsOf(*other, R"(SELECT * FROM "表1")");
    EXPECT_FALSE(moved()) << "a read";
    other->exec(R"(INSERT INTO "表3" ("单位") VALUES ('x'))");
    EXPECT_FALSE(moved()) << "another table";
    other->exec(R"(INSERT INTO "表1" ("单位") VALUES ('x'))");
    EXPECT_TRUE(moved()) << "insert";
    other->exec(R"(UPDATE "表1" SET "单位" = 'y')");
    EXPECT_TRUE(moved()) << "update";
    other->begin();
    other->exec(R"(DELETE FROM "表1")");
    EXPECT_FALSE(moved()) << "not committed yet";
    other->commit();
    EXPECT_TRUE(moved()) << "delete";
    EXPECT_EQ(watch->version("no such table"), 0);
}

TEST_F(PgEngineTest, SchemaFacts) {
    EXPECT_EQ(engine_->schemaVersion(), store::schema::kVersion);
    EXPECT_TRUE(engine_->holdsTable("表1"));
    EXPECT_TRUE(engine_->holdsTable(store::schema::kLowStockList));
    EXPECT_FALSE(engine_->holdsTable("表9"));

    ServerDatabase empty(ServerDatabase::Tables::None);
    auto bare = empty.open();
    EXPECT_EQ(bare->schemaVersion(), 0);
    EXPECT_FALSE(bare->holdsTable("表1"));
    bare->begin();
    bare->createTable(store::schema::table("表1"));
    EXPECT_TRUE(bare->holdsTable("表1"));
    EXPECT_EQ(bare->counterColumn("表1"), "ID");
    bare->tryRollback();
    EXPECT_FALSE(bare->holdsTable("表1")) << "made by a transaction that was rolled back";
    bare->begin();
    bare->setSchemaVersion(1);
    bare->setSchemaVersion(2);
    bare->commit();
    EXPECT_EQ(bare->schemaVersion(), 2);
    EXPECT_EQ(rowsOf(*bare, R"(SELECT count(*) FROM "数据版本")"), (std::vector<Row>{{"i:1"}}));
}

TEST_F(PgEngineTest, DataOfALaterVersionIsRefusedNamingTheServer) {
    ServerDatabase later;
    store::Database db(later.open());
    db.engine().begin();
    db.engine().setSchemaVersion(store::schema::kVersion + 1);
    db.engine().commit();
    try {
        store::schema::upgrade(db);
        FAIL() << "a later version was upgraded";
    } catch (const StoreError& error) {
        const std::string text = error.what();
        EXPECT_EQ(text.find(db.file() + "中的数据是新版本的本程序保存的"), 0u) << text;
        EXPECT_EQ(text.find("数据库文件"), std::string::npos) << text;
    }
}

TEST_F(PgEngineTest, CounterFollowsCopiedRows) {
    engine_->exec(R"(INSERT INTO "表1" ("ID", "商品编码") VALUES (10, 'copied'))");
    engine_->counterFollowsRows("表1");
    EXPECT_EQ(insertGoods("next"), 11);
    engine_->exec(R"(DELETE FROM "表1")");
    engine_->counterFollowsRows("表1");
    EXPECT_EQ(insertGoods("first"), 1);
}

TEST_F(PgEngineTest, DecimalRoundWorksOnTheShortestText) {
    auto round = engine_->prepare("SELECT decimal_round(?, 2)");
    const std::pair<double, const char*> cases[] = {
        {2.675, "f:2.68"}, {1.005, "f:1.01"}, {-2.675, "f:-2.68"}, {0.125, "f:0.13"}};
    for (const auto& [value, expected] : cases) {
        round->tryReset();
        round->bindDouble(1, value);
        EXPECT_EQ(rowsOf(*round), (std::vector<Row>{{expected}})) << value;
    }
    round->tryReset();
    round->bindNull(1);
    EXPECT_EQ(rowsOf(*round), (std::vector<Row>{{"NULL"}}));
}

TEST_F(PgEngineTest, LikeIgnoresAsciiCaseAndTakesBackslashAsItself) {
    for (const char* code : {"AbC-1", "x\\y", "50%off"}) insertGoods(code);
    auto search =
        engine_->prepare(R"(SELECT "商品编码" FROM "表1" WHERE "商品编码" like ? ORDER BY rowid)");
    const std::pair<const char*, std::vector<Row>> cases[] = {
        {"%abc%", {{"t:AbC-1"}}},
        {"%\\%", {{"t:x\\y"}}},
        {"%0%o%", {{"t:50%off"}}},
    };
    for (const auto& [pattern, expected] : cases) {
        search->tryReset();
        search->bindText(1, pattern);
        EXPECT_EQ(rowsOf(*search), expected) << pattern;
    }
}

TEST_F(PgEngineTest, RefusalsNameWhatWasWrong) {
    engine_->exec("CREATE TEMPORARY TABLE t (a varchar(2) NOT NULL UNIQUE)");
    engine_->exec("INSERT INTO t VALUES ('ab')");
    const std::pair<const char*, const char*> cases[] = {
        {"INSERT INTO t VALUES ('ab')", "已有相同的值"},
        {"INSERT INTO t VALUES (NULL)", "“a”不能为空"},
        {"INSERT INTO t VALUES ('abc')", "文本太长"},
        {R"(SELECT * FROM "表9")", "jxc-mkdb --server"},
    };
    for (const auto& [sql, part] : cases) {
        try {
            engine_->exec(sql);
            ADD_FAILURE() << sql;
        } catch (const StoreError& error) {
            EXPECT_NE(std::string(error.what()).find(part), std::string::npos) << error.what();
        }
    }
}

TEST_F(PgEngineTest, LostConnectionIsToldAndMadeAgainOutsideATransaction) {
    auto watch = engine_->watchChanges();
    ASSERT_TRUE(watch->version("表1").has_value());
    engine_->begin();
    insertGoods("lost with its transaction");
    dropOtherConnections();
    const auto expectUnreachable = [this] {
        try {
            engine_->exec(R"(SELECT 1 FROM "表1")");
            ADD_FAILURE() << "no failure";
        } catch (const StoreError& error) {
            EXPECT_EQ(error.code(), StoreError::kServerUnreachable) << error.what();
            EXPECT_NE(std::string(error.what()).find("连接中断"), std::string::npos);
        }
    };
    expectUnreachable();
    expectUnreachable();  // still inside the lost transaction: no new connection in its middle
    EXPECT_EQ(watch->version("表1"), std::nullopt);
    engine_->tryRollback();
    EXPECT_EQ(rowsOf(*engine_, R"(SELECT count(*) FROM "表1")"), (std::vector<Row>{{"i:0"}}));
}

TEST_F(PgEngineTest, StatementRunAgainAfterTheConnectionWasMadeAgain) {
    auto count = engine_->prepare(R"(SELECT count(*) FROM "表1" WHERE "商品编码" = ?)");
    const auto countOf = [&](const char* code) {
        count->tryReset();
        count->bindText(1, code);
        return rowsOf(*count);
    };
    insertGoods("A");
    EXPECT_EQ(countOf("A"), (std::vector<Row>{{"i:1"}}));
    EXPECT_EQ(countOf("B"), (std::vector<Row>{{"i:0"}})) << "run again";
    dropOtherConnections();
    EXPECT_THROW(countOf("A"), StoreError);
    EXPECT_EQ(countOf("A"), (std::vector<Row>{{"i:1"}})) << "on the new connection";
    EXPECT_EQ(countOf("A"), (std::vector<Row>{{"i:1"}}));
}

TEST_F(PgEngineTest, TextRunAgainIsPreparedOnceForTheSessionInTheSameExchange) {
    {
        store::pg::ExchangeCounter exchanges(*engine_);
        for (const char* code : {"A", "B", "C"}) insertGoods(code);  // a statement object each
        EXPECT_EQ(exchanges.count(), 3);
    }
    EXPECT_EQ(preparedOnServer(), 1);
    // Prepared in a transaction that is rolled back, it stays.
    const auto rename = [&](std::int64_t id, const char* unit) {
        auto update = engine_->prepare(R"(UPDATE "表1" SET "单位" = ? WHERE rowid = ?)");
        update->bindText(1, unit);
        update->bindInt64(2, id);
        update->step();
    };
    engine_->begin();
    rename(1, "个");
    rename(2, "箱");
    EXPECT_TRUE(engine_->tryRollback());
    EXPECT_EQ(preparedOnServer(), 2);
    rename(3, "包");
    EXPECT_EQ(preparedOnServer(), 2);
    EXPECT_EQ(rowsOf(*engine_, R"(SELECT "商品编码", "单位" FROM "表1")"),
              (std::vector<Row>{{"t:A", "NULL"}, {"t:B", "NULL"}, {"t:C", "t:包"}}));
}

TEST_F(PgEngineTest, PreparedTextsStartAgainOnAConnectionMadeAgain) {
    insertGoods("A");
    insertGoods("B");
    dropOtherConnections();
    EXPECT_THROW(insertGoods("lost"), StoreError);
    insertGoods("C");
    EXPECT_EQ(preparedOnServer(), 0) << "run once on this connection";
    insertGoods("D");
    EXPECT_EQ(preparedOnServer(), 1);
    EXPECT_EQ(rowsOf(*engine_, R"(SELECT "商品编码" FROM "表1")"),
              (std::vector<Row>{{"t:A"}, {"t:B"}, {"t:C"}, {"t:D"}}));
}

TEST_F(PgEngineTest, PreparedReadOfATableMadeAgainGivesItsNewColumns) {
    struct Case {
        const char* what;
        const char* remade;
        Row row;
        bool inTransaction;
    };
    const Case cases[] = {
        {"the same columns",
         "CREATE TEMPORARY TABLE remade AS SELECT 2 AS a, 'y'::text AS b",
         {"i:2", "t:y"},
         false},
        {"other columns",
         "CREATE TEMPORARY TABLE remade AS SELECT 'y'::text AS b, 2.5::float8 AS c",
         {"t:y", "f:2.5"},
         false},
        {"other columns, in a transaction",
         "CREATE TEMPORARY TABLE remade AS SELECT 'z'::text AS b",
         {"t:z"},
         true},
    };
    const char* read = "SELECT * FROM remade";
    for (const Case& c : cases) {
        engine_->exec("DROP TABLE IF EXISTS remade");
        engine_->exec("CREATE TEMPORARY TABLE remade AS SELECT 1 AS a, 'x'::text AS b");
        for (int run = 0; run < 2; ++run)
            EXPECT_EQ(rowsOf(*engine_, read), (std::vector<Row>{{"i:1", "t:x"}})) << c.what;
        if (c.inTransaction) engine_->begin();
        engine_->exec("DROP TABLE remade");
        engine_->exec(c.remade);
        for (int run = 0; run < 2; ++run)
            EXPECT_EQ(rowsOf(*engine_, read), (std::vector<Row>{c.row})) << c.what;
        if (c.inTransaction) engine_->commit();
    }
    EXPECT_EQ(rowsOf(*engine_,
                     "SELECT count(*) FROM pg_prepared_statements WHERE statement = "
                     "'SELECT * FROM remade'"),
              (std::vector<Row>{{"i:1"}}))
        << "prepared again under its name";
    engine_->exec("DROP TABLE remade");
    EXPECT_THROW(rowsOf(*engine_, read), StoreError) << "gone";
}

TEST_F(PgEngineTest, PreparedTextsAreBounded) {
    constexpr int kTexts = 300;
    for (int run = 0; run < 2; ++run)
        for (int i = 0; i < kTexts; ++i)
            ASSERT_EQ(rowsOf(*engine_, "SELECT " + std::to_string(i)),
                      (std::vector<Row>{{"i:" + std::to_string(i)}}));
    EXPECT_EQ(preparedOnServer(), 256);
    EXPECT_EQ(rowsOf(*engine_, "SELECT 0"), (std::vector<Row>{{"i:0"}})) << "deallocated before";
}

// Each column's name and declared type, of a statement that must give no row.
std::vector<std::string> columnsOf(const store::Engine& engine, std::string_view sql) {
    auto statement = engine.prepare(sql);
    std::vector<std::string> columns;
    for (int c = 0; c < statement->columnCount(); ++c)
        columns.push_back(statement->columnName(c) + " " + statement->columnDeclType(c));
    EXPECT_FALSE(statement->step()) << sql;
    return columns;
}

TEST_F(PgEngineTest, EmptyReadIsAnsweredFromWhatTheSessionKnows) {
    const char* read = R"(select rowid, *, ? AS extra from "表3" where 0)";
    // The same read, which the server always answers.
    const auto asked = columnsOf(*engine_, R"(select rowid, *, ? AS extra from "表3" where false)");
    ASSERT_EQ(asked.size(), 16u);
    EXPECT_EQ(asked[0], "ID INTEGER");
    EXPECT_EQ(asked[2], "销售日期 TEXT(255)");
    EXPECT_EQ(asked[8], "销售单价 DOUBLE");
    EXPECT_EQ(asked[15], "extra ");
    insertGoods("a row the read must not give");
    engine_->exec(R"(INSERT INTO "表3" ("单位") VALUES ('个'))");
    EXPECT_EQ(columnsOf(*engine_, read), asked);
    store::pg::ExchangeCounter exchanges(*engine_);
    EXPECT_EQ(columnsOf(*engine_, read), asked);
    engine_->begin();
    EXPECT_EQ(columnsOf(*engine_, read), asked);
    engine_->commit();
    EXPECT_EQ(exchanges.count(), 0);
    // Its row goes in as the program appends one.
    engine_->begin();
    columnsOf(*engine_, read);
    engine_->exec(R"(INSERT INTO "表3" ("单位") VALUES ('箱'))");
    engine_->commit();
    EXPECT_EQ(exchanges.count(), 2);
    // Opened as a result set read whole outside a transaction, it is not streamed either.
    const char* whole = R"(select rowid, * from "表3" where 0)";
    columnsOf(*engine_, whole);
    store::pg::ExchangeCounter more(*engine_);
    auto statement = engine_->prepare(whole);
    statement->expectManyRows();
    EXPECT_FALSE(statement->step());
    EXPECT_EQ(statement->columnCount(), 15);
    EXPECT_EQ(more.count(), 0);
}

TEST_F(PgEngineTest, EmptyReadIsAskedAgainWhenColumnsMayHaveChanged) {
    const char* read = "select * from widened where 0";
    const std::vector<std::string> narrow = {"a INTEGER"};
    const std::vector<std::string> wide = {"a INTEGER", "b TEXT(5)"};
    engine_->exec("CREATE TEMPORARY TABLE widened (a integer)");
    EXPECT_EQ(columnsOf(*engine_, read), narrow);
    engine_->exec("ALTER TABLE widened ADD b varchar(5)");
    EXPECT_EQ(columnsOf(*engine_, read), wide);
    engine_->begin();
    engine_->prepare("ALTER TABLE widened DROP b")->step();
    EXPECT_EQ(columnsOf(*engine_, read), narrow);
    engine_->tryRollback();
    EXPECT_EQ(columnsOf(*engine_, read), wide) << "the change was taken back";
    engine_->exec("BEGIN");
    engine_->exec("ALTER TABLE widened DROP b");
    EXPECT_EQ(columnsOf(*engine_, read), narrow);
    engine_->exec("ROLLBACK");
    EXPECT_EQ(columnsOf(*engine_, read), wide) << "taken back by its statement";

    const char* sales = R"(select rowid, * from "表3" where 0)";
    columnsOf(*engine_, sales);
    dropOtherConnections();
    EXPECT_THROW(engine_->exec("SELECT 1"), StoreError);
    engine_->exec("SELECT 1");  // on a new connection
    store::pg::ExchangeCounter exchanges(*engine_);
    EXPECT_EQ(columnsOf(*engine_, sales).size(), 15u);
    EXPECT_EQ(exchanges.count(), 1) << "asked on the connection made again";
}

// The message of a connection that could not be made, which must say so by its code.
std::string refusedConnection(const store::ServerSettings& settings) {
    try {
        store::openServerEngine(settings);
    } catch (const StoreError& error) {
        EXPECT_EQ(error.code(), StoreError::kServerUnreachable);
        return error.what();
    }
    ADD_FAILURE() << "connected";
    return {};
}

TEST(PgConnect, ServerNotRunningNamesTheServerAndWhatToCheck) {
    store::ServerSettings settings;
    settings.host = "/nonexistent-socket-folder";
    settings.port = "5999";
    settings.database = "shop";
    const std::string message = refusedConnection(settings);
    EXPECT_NE(message.find(settings.describe()), std::string::npos) << message;
    EXPECT_NE(message.find("没有运行"), std::string::npos) << message;
    EXPECT_NE(message.find("（"), std::string::npos) << "libpq's own text: " << message;
}

TEST(PgConnect, MissingDatabaseSaysHowToMakeIt) {
    if (!pgtest::serverTestsEnabled()) GTEST_SKIP() << "no test server (JXC_TEST_SERVER=1)";
    store::ServerSettings settings;
    settings.database = "jxc_no_such_database";
    const std::string message = refusedConnection(settings);
    EXPECT_NE(message.find("“jxc_no_such_database”不存在"), std::string::npos) << message;
    EXPECT_NE(message.find("jxc-mkdb --server"), std::string::npos) << message;
}

TEST(PgConnect, IdentityTellsDatabasesApartAndIsNeverZero) {
    if (!pgtest::serverTestsEnabled()) GTEST_SKIP() << "no test server (JXC_TEST_SERVER=1)";
    const ServerDatabase& shop = ServerDatabase::emptied();
    const auto first = shop.open()->identity();
    EXPECT_TRUE(first.known());
    EXPECT_EQ(first, shop.open()->identity());
    EXPECT_NE(first, store::openServerEngine({})->identity()) << "the maintenance database";
    EXPECT_TRUE(shop.open()->isServer());
    EXPECT_NE(shop.open()->name().find(shop.settings().database), std::string::npos);
}

}  // namespace
