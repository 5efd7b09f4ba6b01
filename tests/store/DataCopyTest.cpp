#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <string>

#include "store/ConnectionString.h"
#include "store/DataCopy.h"
#include "store/Database.h"
#include "store/Error.h"
#include "store/Schema.h"
#include "store/SchemaUpgrade.h"
#include "tests/support/EveryRow.h"
#include "tests/support/TestDatabase.h"
#include "tools/MakeDatabase.h"

namespace {

namespace fs = std::filesystem;
using store::Database;
using testsupport::TemporaryDirectory;
using testsupport::TestDatabase;

struct Copied {
    TemporaryDirectory dir;
    std::string path() const { return (dir.path() / "copy.mdb").string(); }
};

std::vector<store::CopiedTable> copyInto(Database& source, Database& target) {
    store::Transaction transaction(target);
    auto copied = store::copyData(source, target);
    transaction.commit();
    return copied;
}

TEST(DataCopy, ACopyHoldsEveryRowWithItsIdsAndNewRowsFollowThem) {
    TestDatabase shop(TestDatabase::Content::Demo, false);
    Database source(shop.path(), store::kDatabasePassword);
    testsupport::addUnusualRows(source);
    Copied copy;
    Database target(copy.path(), store::kDatabasePassword, Database::Mode::Create);
    const auto copied = copyInto(source, target);

    EXPECT_EQ(testsupport::everyRow(target), testsupport::everyRow(source));
    EXPECT_EQ(store::schema::fileVersion(target), store::schema::kVersion);
    ASSERT_EQ(copied.size(), store::schema::everyTable().size());
    EXPECT_EQ(copied.front().name, store::schema::kGoods);
    store::Statement goods(source, R"(SELECT count(*), max("ID") FROM "表1")");
    ASSERT_TRUE(goods.step());
    EXPECT_EQ(copied.front().rows, goods.int64Value(0));

    target.exec(R"(INSERT INTO "表1" ("商品编码") VALUES ('NEW'))");
    EXPECT_EQ(target.lastInsertRowId(), goods.int64Value(1) + 1);
}

TEST(DataCopy, AFileOfAnEarlierVersionIsCopiedAsItIs) {
    TemporaryDirectory dir;
    const std::string old = (dir.path() / "old.mdb").string();
    {
        Database db(old, store::kDatabasePassword, Database::Mode::Create);
        for (const auto& table : store::schema::tables())
            db.exec(store::schema::createTableSql(table));
        db.exec(R"(INSERT INTO "表3" ("商品编码", "销售数量") VALUES ('S1', 2))");
    }
    Database source(old, store::kDatabasePassword);

    // Into a new file: the same five tables at the same version.
    Copied copy;
    Database target(copy.path(), store::kDatabasePassword, Database::Mode::Create);
    copyInto(source, target);
    EXPECT_EQ(testsupport::everyRow(target), testsupport::everyRow(source));
    EXPECT_EQ(store::schema::fileVersion(target), 0);
    EXPECT_FALSE(store::schema::holdsTable(target, store::schema::kReturns));

    // Into a database of this version: it keeps its added tables and its version.
    Copied current;
    tools::makeDatabase(current.path(), false);
    Database upToDate(current.path(), store::kDatabasePassword);
    copyInto(source, upToDate);
    EXPECT_EQ(testsupport::everyRow(upToDate), testsupport::everyRow(source));
    EXPECT_EQ(store::schema::fileVersion(upToDate), store::schema::kVersion);
}

struct Fault {
    const char* trigger;  // made in the target before the copy
    const char* table;    // named by the message
    const char* what;     // the column or the row count, as the message names it
};

void PrintTo(const Fault& fault, std::ostream* out) { *out << fault.table << " " << fault.what; }

class DataCopyCheck : public testing::TestWithParam<Fault> {};

// A target that stores something else than it was given is caught, and keeps nothing of the copy.
TEST_P(DataCopyCheck, AMismatchNamesTheTableAndColumnAndWritesNothing) {
    TestDatabase shop(TestDatabase::Content::Demo, false);
    Database source(shop.path(), store::kDatabasePassword);
    Copied copy;
    tools::makeDatabase(copy.path(), false);
    Database target(copy.path(), store::kDatabasePassword);
    target.exec(GetParam().trigger);
    try {
        copyInto(source, target);
        FAIL() << "copied";
    } catch (const store::StoreError& error) {
        const std::string message = error.what();
        EXPECT_NE(message.find(std::string("“") + GetParam().table + "”"), std::string::npos)
            << message;
        EXPECT_NE(message.find(GetParam().what), std::string::npos) << message;
    }
    store::Statement rows(target,
                          R"(SELECT (SELECT count(*) FROM "表1") + (SELECT count(*) FROM "表3"))");
    ASSERT_TRUE(rows.step());
    EXPECT_EQ(rows.int64Value(0), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, DataCopyCheck,
    testing::Values(Fault{R"(CREATE TRIGGER t AFTER INSERT ON "表1" WHEN NEW."ID" = 5 BEGIN
                 UPDATE "表1" SET "库存金额" = "库存金额" + 0.0001 WHERE "ID" = NEW."ID"; END)",
                          "表1", "“库存金额”"},
                    Fault{R"(CREATE TRIGGER t AFTER INSERT ON "表3" WHEN NEW."ID" = 2 BEGIN
                 DELETE FROM "表3" WHERE "ID" = NEW."ID"; END)",
                          "表3", "行"},
                    Fault{R"(CREATE TRIGGER t AFTER INSERT ON "表1" WHEN NEW."ID" = 1 BEGIN
                 UPDATE "表1" SET "进货单价" = NULL WHERE "ID" = NEW."ID"; END)",
                          "表1", "“进货单价”"}));

TEST(DataCopy, RefusesATargetWithRowsAndASourceOfALaterVersion) {
    TestDatabase shop(TestDatabase::Content::Demo, false);
    Database source(shop.path(), store::kDatabasePassword);
    Copied copy;
    tools::makeDatabase(copy.path(), false);
    Database target(copy.path(), store::kDatabasePassword);
    const auto refusal = [&] {
        try {
            copyInto(source, target);
        } catch (const store::StoreError& error) {
            return std::string(error.what());
        }
        return std::string("copied");
    };
    // An ID no copied row has: nothing but the refusal stops the copy.
    target.exec(R"(INSERT INTO "表3" ("ID", "商品编码") VALUES (99999, 'MINE'))");
    EXPECT_NE(refusal().find("“表3”中已有数据"), std::string::npos);
    EXPECT_EQ(testsupport::everyRow(target).size(), 1u);

    target.exec(R"(DELETE FROM "表3")");
    source.exec("PRAGMA user_version = " + std::to_string(store::schema::kVersion + 1));
    EXPECT_NE(refusal().find("新版本"), std::string::npos);
    EXPECT_TRUE(testsupport::everyRow(target).empty());
}

TEST(DataCopy, ReplacingAllRowsTakesTheSourcesRowsOrKeepsTheTargets) {
    TestDatabase shop(TestDatabase::Content::Demo, false);
    Database source(shop.path(), store::kDatabasePassword);
    Copied copy;
    tools::makeDatabase(copy.path(), false);
    Database target(copy.path(), store::kDatabasePassword);
    testsupport::addUnusualRows(target);  // rows in tables the source leaves empty, too
    const auto before = testsupport::everyRow(target);

    // A failure half-way (in 表3, after 表1 was copied) leaves the target as it was.
    target.exec(R"(CREATE TRIGGER t AFTER INSERT ON "表3" WHEN NEW."ID" = 2 BEGIN
                   UPDATE "表3" SET "销售数量" = "销售数量" + 1 WHERE "ID" = 2; END)");
    EXPECT_THROW(store::replaceAllRows(source, target), store::StoreError);
    EXPECT_EQ(testsupport::everyRow(target), before);

    target.exec("DROP TRIGGER t");
    store::replaceAllRows(source, target);
    EXPECT_EQ(testsupport::everyRow(target), testsupport::everyRow(source));
}

}  // namespace
