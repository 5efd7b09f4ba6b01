// The database maker and the copies on a server: run on the tests' cluster (JXC_TEST_SERVER=1
// with the PG* variables), skipped without one.
#include <gtest/gtest.h>

#include <string>

#include "store/ConnectionString.h"
#include "store/Database.h"
#include "store/Error.h"
#include "store/Schema.h"
#include "store/SchemaUpgrade.h"
#include "tests/support/DemoFile.h"
#include "tests/support/EmptyServerDatabase.h"
#include "tests/support/EveryRow.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/TestServer.h"
#include "tools/MakeDatabase.h"

namespace {

using store::Database;
using testsupport::EmptyServerDatabase;
using testsupport::TemporaryDirectory;

class ServerCopy : public testing::Test {
  protected:
    void SetUp() override {
        if (!testsupport::onServer()) GTEST_SKIP() << "copies to and from a server";
    }
};

// The message of what fails; "done" when it did not.
template <typename Work>
std::string failureOf(Work work) {
    try {
        work();
    } catch (const store::StoreError& error) {
        return error.what();
    }
    return "done";
}

std::string declaredType(const store::schema::ColumnDef& column) {
    switch (column.type) {
        case store::FieldType::Counter:
            return "INTEGER";
        case store::FieldType::Double:
            return "DOUBLE";
        default:
            return "TEXT(" + std::to_string(column.size) + ")";
    }
}

TEST_F(ServerCopy, TheMakerMakesEveryTableInAnEmptyDatabaseOnlyOnce) {
    const EmptyServerDatabase empty;
    tools::makeServerDatabase(empty.settings(), false);
    Database db = Database::onServer(empty.settings());
    EXPECT_EQ(db.engine().schemaVersion(), store::schema::kVersion);
    for (const auto* table : store::schema::everyTable()) {
        store::Statement read(db, "SELECT * FROM \"" + table->name + "\"");
        EXPECT_FALSE(read.step()) << table->name;
        ASSERT_EQ(read.columnCount(), static_cast<int>(table->columns.size())) << table->name;
        for (int i = 0; i < read.columnCount(); ++i) {
            const auto& column = table->columns[static_cast<std::size_t>(i)];
            EXPECT_EQ(read.columnName(i), column.name);
            EXPECT_EQ(read.columnDeclType(i), declaredType(column)) << column.name;
        }
    }

    // Never twice: the second run is refused naming a table, and the rows stay.
    db.exec(R"(INSERT INTO "表2" ("公司名称") VALUES ('本店'))");
    const std::string again = failureOf([&] { tools::makeServerDatabase(empty.settings(), true); });
    EXPECT_NE(again.find("“表1”"), std::string::npos) << again;
    EXPECT_EQ(testsupport::everyRow(db).size(), 1u);
}

TEST_F(ServerCopy, TheDemoShopOnTheServerIsTheDemoFile) {
    const testsupport::DemoFile file;
    const EmptyServerDatabase empty;
    tools::makeServerDatabase(empty.settings(), true);
    EXPECT_EQ(testsupport::everyRow(Database::onServer(empty.settings())),
              testsupport::everyRow(Database(file.path(), store::kDatabasePassword)));
}

// A shop's file to the server and back to a .bak: every row of every table the same.
TEST_F(ServerCopy, AFileCopiedToTheServerComesBackInABakWithIdenticalRows) {
    const testsupport::DemoFile shop;
    Database source(shop.path(), store::kDatabasePassword);
    testsupport::addUnusualRows(source);
    const EmptyServerDatabase empty;
    const std::string report = tools::copyToServer(shop.path(), empty.settings());
    store::Statement goods(source, R"(SELECT count(*), max("ID") FROM "表1")");
    ASSERT_TRUE(goods.step());
    EXPECT_NE(report.find("表1：" + std::to_string(goods.int64Value(0)) + " 行"), std::string::npos)
        << report;

    Database server = Database::onServer(empty.settings());
    const std::string bak = (shop.folder.path() / "shop.bak").string();
    server.backupTo(bak);
    Database back(bak, store::kDatabasePassword, Database::Mode::ReadOnly);
    EXPECT_EQ(testsupport::everyRow(back), testsupport::everyRow(source));
    EXPECT_EQ(back.engine().schemaVersion(), store::schema::kVersion);

    // The server's counter goes on after the copied IDs.
    server.exec(R"(INSERT INTO "表1" ("商品编码") VALUES ('NEW'))");
    EXPECT_EQ(server.lastInsertRowId(), goods.int64Value(1) + 1);
}

TEST_F(ServerCopy, AFileTheServerCannotTakeLeavesTheDatabaseEmpty) {
    const testsupport::DemoFile shop;
    {
        // The file's engine keeps a text it cannot read as a number in a number column.
        Database source(shop.path(), store::kDatabasePassword);
        source.exec(R"(UPDATE "表3" SET "销售数量" = '三' WHERE "ID" = 4)");
    }
    const EmptyServerDatabase empty;
    const std::string failure =
        failureOf([&] { tools::copyToServer(shop.path(), empty.settings()); });
    EXPECT_NE(failure.find("没有写入任何数据"), std::string::npos) << failure;
    Database server = Database::onServer(empty.settings());
    for (const auto* table : store::schema::everyTable())
        EXPECT_FALSE(server.engine().holdsTable(table->name)) << table->name;
    // A database that holds the tables already is refused as such.
    const testsupport::TestDatabase withTables(testsupport::TestDatabase::Content::Empty, false);
    const std::string refusal =
        failureOf([&] { tools::copyToServer(shop.path(), withTables.server()); });
    EXPECT_NE(refusal.find("已有本程序的表"), std::string::npos) << refusal;
}

}  // namespace
