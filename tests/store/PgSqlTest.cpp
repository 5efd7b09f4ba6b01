#include <gtest/gtest.h>

#include "store/Error.h"
#include "store/pg/PgSql.h"

namespace {

using store::pg::toServerSql;

struct DialectCase {
    const char* what;
    const char* program;
    const char* server;
};

class DialectTest : public ::testing::TestWithParam<DialectCase> {};

TEST_P(DialectTest, ReadsTheProgramsSqlInTheServersDialect) {
    EXPECT_EQ(toServerSql(GetParam().program).text, GetParam().server) << GetParam().what;
}

// The company table has no counter: its hidden rowid never shows.
const std::string kCompanyRows =
    R"(select rowid, "公司名称", "公司地址", "联系人", "联系电话", "网址", "备注" from "表2" ORDER BY rowid)";

INSTANTIATE_TEST_SUITE_P(
    Statements, DialectTest,
    ::testing::Values(
        DialectCase{"parameters in order", "SELECT 1 WHERE a = ? AND b = ?",
                    "SELECT 1 WHERE a = $1 AND b = $2"},
        DialectCase{"numbered parameters, and a plain one after them takes the next number",
                    "x = ?2 AND y = ?1 AND z = ?", "x = $2 AND y = $1 AND z = $3"},
        DialectCase{"a ? inside a literal or a quoted name stays",
                    R"(SELECT '?', "a?b" FROM t WHERE c = ?)",
                    R"(SELECT '?', "a?b" FROM t WHERE c = $1)"},
        DialectCase{"doubled quotes inside a literal", "SELECT 'it''s ?' WHERE a = ?",
                    "SELECT 'it''s ?' WHERE a = $1"},
        DialectCase{"IFNULL is COALESCE; a column named ifnull is not a call",
                    "SELECT IFNULL(a, ''), ifnull (b, 0), ifnull FROM t",
                    "SELECT COALESCE(a, ''), COALESCE (b, 0), ifnull FROM t"},
        DialectCase{"LIKE ignores ASCII case and has no escape character",
                    "select * from 表1 where 商品名称 like ?",
                    "select * from \"表1\" where \"商品名称\" ILIKE $1 ESCAPE '' ORDER BY \"ID\""},
        DialectCase{"NOT LIKE, and a literal pattern", "a NOT LIKE '%x%'",
                    "a NOT ILIKE '%x%' ESCAPE ''"},
        DialectCase{"a LIKE that names its escape keeps it", "a LIKE ? ESCAPE '!'",
                    "a ILIKE $1 ESCAPE '!'"},
        DialectCase{"rowid of a table with a counter is its ID",
                    R"(UPDATE "表1" SET "单位" = ? WHERE rowid = ?)",
                    R"(UPDATE "表1" SET "单位" = $1 WHERE "ID" = $2)"},
        DialectCase{"rowid of a table without one is the hidden column",
                    R"(DELETE FROM "表4" WHERE rowid = ?)",
                    R"(DELETE FROM "表4" WHERE rowid = $1)"},
        DialectCase{
            "the rows a query reads after their row id",
            R"(select rowid, * from "表1" where 商品编码 like ?)",
            R"(select "ID", * from "表1" where "商品编码" ILIKE $1 ESCAPE '' ORDER BY "ID")"},
        DialectCase{"select * never shows the hidden rowid; select rowid, * shows it once",
                    R"(select rowid, * from "表2")", kCompanyRows.c_str()},
        DialectCase{
            "rowid by alias, and in a subquery by its own table",
            R"(SELECT r.rowid, (SELECT count(*) FROM "表1" WHERE rowid IN (SELECT "商品ID" FROM "导入商品" WHERE "导入ID" = r.rowid)) FROM "导入记录" r ORDER BY r.rowid DESC)",
            R"(SELECT r."ID", (SELECT count(*) FROM "表1" WHERE "ID" IN (SELECT "商品ID" FROM "导入商品" WHERE "导入ID" = r."ID")) FROM "导入记录" r ORDER BY r."ID" DESC)"},
        DialectCase{
            "joined tables with aliases",
            R"(SELECT g.rowid FROM "表1" g JOIN "导入商品" AS i ON i."商品ID" = g.rowid WHERE EXISTS (SELECT 1 FROM "表3" s WHERE s.rowid NOT IN (SELECT "销售ID" FROM "销售货源")))",
            R"(SELECT g."ID" FROM "表1" g JOIN "导入商品" AS i ON i."商品ID" = g."ID" WHERE EXISTS (SELECT 1 FROM "表3" s WHERE s."ID" NOT IN (SELECT "销售ID" FROM "销售货源")))"},
        DialectCase{"the unquoted name ID keeps its case",
                    "销售ID in (select ID from 表3 where id = ?)",
                    R"("销售ID" in (select "ID" from "表3" where "ID" = $1))"},
        DialectCase{
            "IS compares values, NULL equal to NULL",
            R"(a IS ? AND b IS NOT "c" AND d IS NULL AND e IS NOT NULL)",
            R"(a IS NOT DISTINCT FROM $1 AND b IS DISTINCT FROM  "c" AND d IS NULL AND e IS NOT NULL)"},
        DialectCase{"WHERE 0 and WHERE 1", R"(select * from "表3" where 0)",
                    R"(select * from "表3" where false ORDER BY "ID")"},
        DialectCase{"a number compared is no condition of its own", "SELECT 1 WHERE 0 = ?",
                    "SELECT 1 WHERE 0 = $1"},
        DialectCase{"the file's == is =", "a == ?", "a = $1"},
        DialectCase{"count(*) and a product stay", R"(SELECT count(*), a * b FROM "表2")",
                    R"(SELECT count(*), a * b FROM "表2")"},
        DialectCase{
            "a qualified star over a table without a counter", R"(SELECT c.* FROM "表2" c)",
            R"(SELECT c."公司名称", c."公司地址", c."联系人", c."联系电话", c."网址", c."备注" FROM "表2" c ORDER BY rowid)"},
        DialectCase{
            "rows in the order they were stored, before LIMIT and FOR UPDATE",
            R"(select 备注 from 表3 where 客户姓名 like ? limit 1)",
            R"(select "备注" from "表3" where "客户姓名" ILIKE $1 ESCAPE '' ORDER BY "ID" limit 1)"},
        DialectCase{"a row read to be written", R"(SELECT 1 FROM "表1" WHERE rowid = ? FOR UPDATE)",
                    R"(SELECT 1 FROM "表1" WHERE "ID" = $1 ORDER BY "ID" FOR UPDATE)"},
        DialectCase{
            "distinct values in the order they first come",
            "Select Distinct 客户姓名 From 表3 where 单位 = ?",
            R"(Select  "客户姓名" From "表3" where "单位" = $1 GROUP BY "客户姓名" ORDER BY min("ID"))"},
        DialectCase{"distinct values named otherwise stay as they are",
                    "SELECT DISTINCT a AS b FROM 表3", R"(SELECT DISTINCT a AS b FROM "表3")"},
        DialectCase{"BEGIN IMMEDIATE is BEGIN", "BEGIN IMMEDIATE", "BEGIN "},
        DialectCase{"comments stay as they are", "SELECT 1 -- why?\n", "SELECT 1 -- why?\n"}));

struct InsertCase {
    const char* what;
    const char* program;
    const char* server;
    bool returnsRowId;
};

class InsertDialectTest : public ::testing::TestWithParam<InsertCase> {};

TEST_P(InsertDialectTest, ReturnsTheRowIdAndOverridesTheCounterWhenGiven) {
    const auto sql = toServerSql(GetParam().program);
    EXPECT_EQ(sql.text, GetParam().server) << GetParam().what;
    EXPECT_EQ(sql.returnsRowId, GetParam().returnsRowId) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Inserts, InsertDialectTest,
    ::testing::Values(
        InsertCase{"a table with a counter", R"(INSERT INTO "表3" ("单位") VALUES (?))",
                   R"(INSERT INTO "表3" ("单位") VALUES ($1) RETURNING "ID")", true},
        InsertCase{"without one", R"(INSERT INTO "表4" ("单位", "备注") VALUES (?,?);)",
                   R"(INSERT INTO "表4" ("单位", "备注") VALUES ($1,$2) RETURNING rowid)", true},
        InsertCase{"default values", R"(INSERT INTO "表2" DEFAULT VALUES)",
                   R"(INSERT INTO "表2" DEFAULT VALUES RETURNING rowid)", true},
        InsertCase{
            "naming the counter itself", R"(INSERT INTO "表1" ("ID", "单位") VALUES (?, ?))",
            R"(INSERT INTO "表1" ("ID", "单位") OVERRIDING SYSTEM VALUE VALUES ($1, $2) RETURNING "ID")",
            true},
        InsertCase{
            "naming the hidden rowid", R"(INSERT INTO "表5" (rowid, "单位") SELECT 1, 'x')",
            R"(INSERT INTO "表5" (rowid, "单位") OVERRIDING SYSTEM VALUE SELECT 1, 'x' RETURNING rowid)",
            true},
        InsertCase{"a table of another program", "INSERT INTO other (a) VALUES (?)",
                   "INSERT INTO other (a) VALUES ($1)", false},
        InsertCase{"one of several statements",
                   R"(INSERT INTO "表3" ("单位") VALUES ('a'); SELECT 1)",
                   R"(INSERT INTO "表3" ("单位") VALUES ('a'); SELECT 1)", false}));

TEST(DialectControl, TellsStatementsThatBeginOrEndATransaction) {
    using Control = store::pg::ServerSql::Control;
    const std::pair<const char*, Control> cases[] = {
        {"BEGIN IMMEDIATE", Control::Begin},
        {"START TRANSACTION ISOLATION LEVEL SERIALIZABLE;", Control::Begin},
        {"BEGIN; SELECT 1", Control::Other},
        {" commit", Control::Commit},
        {"END", Control::Commit},
        {"ROLLBACK", Control::Rollback},
        {"rollback work;", Control::Rollback},
        {"ABORT", Control::Rollback},
        {"ROLLBACK TO SAVEPOINT a", Control::Other},
        {"ROLLBACK AND CHAIN", Control::Other},
        {"ROLLBACK; SELECT 1", Control::Other},
        {"SAVEPOINT a", Control::Other},
        {"RELEASE a", Control::Other},
        {"SELECT 1", Control::None},
        {"-- x\nDELETE FROM t", Control::None}};
    for (const auto& [sql, control] : cases) EXPECT_EQ(toServerSql(sql).control, control) << sql;
}

TEST(DialectColumns, TellsStatementsThatMayChangeATablesColumns) {
    const std::pair<const char*, bool> cases[] = {
        {R"(SELECT 1; INSERT INTO "表3" ("单位") VALUES (?); UPDATE t SET a = 1; DELETE FROM t)",
         true},
        {"-- x\nWITH a AS (SELECT 1) SELECT * FROM a", true},
        {"BEGIN; SAVEPOINT a; RELEASE a; COMMIT", true},
        {"CREATE TABLE t (a integer)", false},
        {"SELECT 1; DROP TABLE t", false},
        {"ALTER TABLE t ADD b integer", false},
        {"SET search_path = other", false},
        {"ROLLBACK", false},
        {"ROLLBACK TO SAVEPOINT a", false},
        {"TRUNCATE t", false}};
    for (const auto& [sql, keeps] : cases) {
        EXPECT_EQ(toServerSql(sql).keepsColumns, keeps) << sql;
        EXPECT_EQ(store::pg::keepsColumns(toServerSql(sql).text), keeps) << sql;
    }
}

TEST(DialectReadsNothing, OnlyAReadThatCanGiveNoRowWhateverTheData) {
    const std::pair<const char*, bool> cases[] = {
        {R"(select rowid, * from "表3" where 0)", true},
        {"select * from 表1 where 0.0 for update", true},
        {"select * from 表1 where 1", false},
        {"select * from 表1 where 0 or 商品编码 = ?", false},
        {"select count(*) from 表1 where 0", false},
        {"select 1 from 表1 where 0 having true", false},
        {"select * from 表1 where 0 union select * from 表1", false},
        {"select * from 表1 where rowid in (select 1 from 表2 where 0)", false},
        {"select * from 表1 where 0; select 1", false},
        {"delete from 表1 where 0", false}};
    for (const auto& [sql, nothing] : cases)
        EXPECT_EQ(toServerSql(sql).readsNothing, nothing) << sql;
}

TEST(DialectParameters, CountsTheHighestNumber) {
    EXPECT_EQ(toServerSql("a = ?3 OR b = ?").parameters, 4);
    EXPECT_EQ(toServerSql("a = ?1 OR b = ?1").parameters, 1);
    EXPECT_EQ(toServerSql("SELECT '?'").parameters, 0);
}

TEST(DialectPragma, FileSettingsAreRefusedWithAMessage) {
    try {
        toServerSql("PRAGMA integrity_check");
        FAIL() << "no error";
    } catch (const store::StoreError& error) {
        EXPECT_NE(std::string(error.what()).find("integrity_check"), std::string::npos);
    }
}

}  // namespace
