#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "store/ConnectionString.h"
#include "store/Database.h"
#include "store/Error.h"
#include "store/Schema.h"
#include "store/SchemaUpgrade.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/TestServer.h"

namespace {

namespace fs = std::filesystem;
namespace schema = store::schema;
using store::Database;
using testsupport::TemporaryDirectory;
using testsupport::TestDatabase;

// A data.mdb as earlier versions of the program left it: the five tables, a goods row and a sale,
// no schema version.
std::string makeOldFile(const TemporaryDirectory& dir) {
    const std::string file = (dir.path() / "data.mdb").string();
    Database db(file, store::kDatabasePassword, Database::Mode::Create);
    for (const auto& table : schema::tables()) db.exec(schema::createTableSql(table));
    db.exec(R"(INSERT INTO "表1" ("商品编码", "进货单价", "库存数量") VALUES ('A1', 2.5, 7))");
    db.exec(
        R"(INSERT INTO "表3" ("销售日期", "商品编码", "销售数量") VALUES ('2024-1-2', 'A1', 3))");
    return file;
}

bool holdsTable(const Database& db, const std::string& name) {
    store::Statement find(db,
                          "SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = ?");
    find.bindText(1, name);
    return find.step() && find.int64Value(0) == 1;
}

// Every row of the five tables and every statement that made them, as one text.
std::string contentOfTheFive(const Database& db) {
    std::string content;
    for (const auto& table : schema::tables()) {
        store::Statement made(db, "SELECT sql FROM sqlite_master WHERE name = ?");
        made.bindText(1, table.name);
        if (made.step()) content += std::string(made.text(0)) + "\n";
        store::Statement rows(db, "SELECT * FROM \"" + table.name + "\"");
        while (rows.step()) {
            for (int c = 0; c < rows.columnCount(); ++c)
                content += (rows.isNull(c)   ? std::string("NULL")
                            : rows.isText(c) ? std::string(rows.text(c))
                                             : std::to_string(rows.doubleValue(c))) +
                           "|";
            content += "\n";
        }
    }
    return content;
}

std::string bytesOf(const std::string& path) {
    std::stringstream bytes;
    bytes << std::ifstream(path, std::ios::binary).rdbuf();
    return bytes.str();
}

TEST(SchemaUpgrade, AnOlderFileGetsTheAddedTablesAndKeepsItsData) {
    if (testsupport::onServer()) GTEST_SKIP() << "the upgrade of a file";
    TemporaryDirectory dir;
    const std::string file = makeOldFile(dir);
    Database db(file, store::kDatabasePassword);
    const std::string before = contentOfTheFive(db);
    ASSERT_EQ(schema::upgradeNeed(db), schema::UpgradeNeed::Tables);

    schema::upgrade(db);

    EXPECT_EQ(schema::fileVersion(db), schema::kVersion);
    EXPECT_EQ(schema::upgradeNeed(db), schema::UpgradeNeed::None);
    for (const auto& table : schema::addedTables()) {
        EXPECT_TRUE(holdsTable(db, table.name)) << table.name;
        store::Statement columns(db, "SELECT * FROM \"" + table.name + "\"");
        ASSERT_EQ(columns.columnCount(), static_cast<int>(table.columns.size()));
        for (int c = 0; c < columns.columnCount(); ++c)
            EXPECT_EQ(columns.columnName(c), table.columns[static_cast<std::size_t>(c)].name);
    }
    EXPECT_EQ(contentOfTheFive(db), before);
}

// A file of an earlier version that added tables keeps them with their rows and gets the
// tables of the later versions.
TEST(SchemaUpgrade, AFileOfAnEarlierAddingVersionGetsOnlyTheLaterTables) {
    if (testsupport::onServer()) GTEST_SKIP() << "the upgrade of a file";
    TemporaryDirectory dir;
    const std::string file = makeOldFile(dir);
    Database db(file, store::kDatabasePassword);
    for (const auto& table : schema::addedTables())
        if (table.version == 1) db.exec(schema::createTableSql(table));
    db.exec(R"(INSERT INTO "销售货源" ("销售ID", "商品ID") VALUES (1, 1))");
    db.exec(R"(INSERT INTO "退货" ("退货原因") VALUES ('破损'))");
    db.exec("PRAGMA user_version = 1");
    ASSERT_EQ(schema::upgradeNeed(db), schema::UpgradeNeed::Tables);

    schema::upgrade(db);

    EXPECT_EQ(schema::fileVersion(db), schema::kVersion);
    for (const auto& table : schema::addedTables()) EXPECT_TRUE(holdsTable(db, table.name));
    store::Statement links(db, R"(SELECT count(*) FROM "销售货源")");
    ASSERT_TRUE(links.step());
    EXPECT_EQ(links.int64Value(0), 1);
    store::Statement kept(db, R"(SELECT "退货原因" FROM "退货")");
    ASSERT_TRUE(kept.step());
    EXPECT_EQ(kept.text(0), "破损");
}

TEST(SchemaUpgrade, ACurrentFileIsLeftByteForByte) {
    if (testsupport::onServer()) GTEST_SKIP() << "the upgrade of a file";
    TestDatabase made(TestDatabase::Content::Demo, false);
    const std::string before = bytesOf(made.path());
    {
        Database db(made.path(), store::kDatabasePassword);
        EXPECT_EQ(schema::upgradeNeed(db), schema::UpgradeNeed::None);
        schema::upgrade(db);
        EXPECT_EQ(schema::fileVersion(db), schema::kVersion);
    }
    EXPECT_EQ(bytesOf(made.path()), before);
}

TEST(SchemaUpgrade, AFileWithoutTheFiveTablesIsNotTouched) {
    if (testsupport::onServer()) GTEST_SKIP() << "the upgrade of a file";
    TemporaryDirectory dir;
    const std::string file = (dir.path() / "other.db").string();
    Database db(file, store::kDatabasePassword, Database::Mode::Create);
    db.exec("CREATE TABLE notes (a TEXT)");
    EXPECT_EQ(schema::upgradeNeed(db), schema::UpgradeNeed::None);
    schema::upgrade(db);
    EXPECT_EQ(schema::fileVersion(db), 0);
    EXPECT_FALSE(holdsTable(db, schema::kReturns));
}

TEST(SchemaUpgrade, AFileOfALaterVersionIsRefusedByName) {
    if (testsupport::onServer()) GTEST_SKIP() << "the upgrade of a file";
    TemporaryDirectory dir;
    const std::string file = makeOldFile(dir);
    Database db(file, store::kDatabasePassword);
    db.exec("PRAGMA user_version = " + std::to_string(schema::kVersion + 1));
    EXPECT_EQ(schema::upgradeNeed(db), schema::UpgradeNeed::Refused);
    try {
        schema::upgrade(db);
        FAIL() << "a later version was upgraded";
    } catch (const store::StoreError& error) {
        const std::string text = error.what();
        EXPECT_NE(text.find(file), std::string::npos) << text;
        EXPECT_NE(text.find("新版本"), std::string::npos) << text;
    }
    EXPECT_EQ(schema::fileVersion(db), schema::kVersion + 1);
    EXPECT_FALSE(holdsTable(db, schema::kReturns));
}

TEST(SchemaUpgrade, AFailureHalfWayLeavesTheFileAsItWas) {
    if (testsupport::onServer()) GTEST_SKIP() << "the upgrade of a file";
    TemporaryDirectory dir;
    const std::string file = makeOldFile(dir);
    Database db(file, store::kDatabasePassword);
    // Something else holds the name of the last added table: creating it fails after the first
    // ones were made.
    const std::string last = schema::addedTables().back().name;
    db.exec("CREATE VIEW \"" + last + "\" AS SELECT 1");
    const std::string before = contentOfTheFive(db);

    try {
        schema::upgrade(db);
        FAIL() << "the upgrade went through";
    } catch (const store::StoreError& error) {
        EXPECT_NE(std::string(error.what()).find(file), std::string::npos) << error.what();
    }
    EXPECT_TRUE(db.inAutocommit());
    EXPECT_EQ(schema::fileVersion(db), 0);
    for (const auto& table : schema::addedTables())
        EXPECT_FALSE(holdsTable(db, table.name)) << table.name;
    EXPECT_EQ(contentOfTheFive(db), before);
}

}  // namespace
