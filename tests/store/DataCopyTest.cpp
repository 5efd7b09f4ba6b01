#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>

#include "store/ConnectionString.h"
#include "store/DataCopy.h"
#include "store/Database.h"
#include "store/Error.h"
#include "store/Schema.h"
#include "store/SchemaUpgrade.h"
#include "tests/support/DemoFile.h"
#include "tests/support/EveryRow.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/TestServer.h"
#include "tools/MakeDatabase.h"

namespace {

namespace fs = std::filesystem;
using store::Database;
using testsupport::TemporaryDirectory;

// The copies between two files; on the server the same code is tested between a file and the
// server (ServerCopyTest).
class DataCopy : public testing::Test {
  protected:
    void SetUp() override {
        if (testsupport::onServer()) GTEST_SKIP() << "copies between files";
        shop_.emplace();
    }

    // The demo shop's file.
    Database demo() const { return Database(shop_->path(), store::kDatabasePassword); }
    // A file of the database maker with every table empty, or a new file without any table.
    Database emptyTables() const {
        const std::string path = (copies_.path() / "tables.mdb").string();
        tools::makeDatabase(path, false);
        return Database(path, store::kDatabasePassword);
    }
    Database newFile() const {
        return Database((copies_.path() / "new.mdb").string(), store::kDatabasePassword,
                        Database::Mode::Create);
    }

    std::optional<testsupport::DemoFile> shop_;
    TemporaryDirectory copies_;
};

std::vector<store::CopiedTable> copyInto(Database& source, Database& target) {
    store::Transaction transaction(target);
    auto copied = store::copyData(source, target);
    transaction.commit();
    return copied;
}

// The message of a copy that fails; "copied" when it did not.
std::string copyFailure(Database& source, Database& target) {
    try {
        copyInto(source, target);
    } catch (const store::StoreError& error) {
        return error.what();
    }
    return "copied";
}

TEST_F(DataCopy, ACopyHoldsEveryRowWithItsIdsAndNewRowsFollowThem) {
    Database source = demo();
    testsupport::addUnusualRows(source);
    Database target = newFile();
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

TEST_F(DataCopy, AFileOfAnEarlierVersionIsCopiedAsItIs) {
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
    Database target = newFile();
    copyInto(source, target);
    EXPECT_EQ(testsupport::everyRow(target), testsupport::everyRow(source));
    EXPECT_EQ(store::schema::fileVersion(target), 0);
    EXPECT_FALSE(store::schema::holdsTable(target, store::schema::kReturns));

    // Into a database of this version: it keeps its added tables and its version.
    Database upToDate = emptyTables();
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

class DataCopyCheck : public DataCopy, public testing::WithParamInterface<Fault> {};

// A target that stores something else than it was given is caught, and keeps nothing of the copy.
TEST_P(DataCopyCheck, AMismatchNamesTheTableAndColumnAndWritesNothing) {
    Database source = demo();
    Database target = emptyTables();
    target.exec(GetParam().trigger);
    const std::string message = copyFailure(source, target);
    EXPECT_NE(message.find(std::string("“") + GetParam().table + "”"), std::string::npos)
        << message;
    EXPECT_NE(message.find(GetParam().what), std::string::npos) << message;
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

TEST_F(DataCopy, RefusesATargetWithRowsAndASourceOfALaterVersionOrWithoutTheTables) {
    Database source = demo();
    Database target = emptyTables();
    // An ID no copied row has: nothing but the refusal stops the copy.
    target.exec(R"(INSERT INTO "表3" ("ID", "商品编码") VALUES (99999, 'MINE'))");
    EXPECT_NE(copyFailure(source, target).find("“表3”中已有数据"), std::string::npos);
    EXPECT_EQ(testsupport::everyRow(target).size(), 1u);

    target.exec(R"(DELETE FROM "表3")");
    source.exec("PRAGMA user_version = " + std::to_string(store::schema::kVersion + 1));
    EXPECT_NE(copyFailure(source, target).find("新版本"), std::string::npos);
    EXPECT_TRUE(testsupport::everyRow(target).empty());

    // A database under the program's password without its tables is nobody's shop.
    Database stranger((copies_.path() / "stranger.mdb").string(), store::kDatabasePassword,
                      Database::Mode::Create);
    stranger.exec(R"(CREATE TABLE "表1" ("ID" INTEGER PRIMARY KEY))");
    EXPECT_NE(copyFailure(stranger, target).find("没有表“表2”"), std::string::npos);
    EXPECT_TRUE(testsupport::everyRow(target).empty());
}

TEST_F(DataCopy, ReplacingAllRowsTakesTheSourcesRowsOrKeepsTheTargets) {
    Database source = demo();
    Database target = emptyTables();
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
