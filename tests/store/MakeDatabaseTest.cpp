#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

#include "store/Connection.h"
#include "store/ConnectionString.h"
#include "store/Database.h"
#include "store/Error.h"
#include "store/Query.h"
#include "store/Schema.h"
#include "store/SchemaUpgrade.h"
#include "store/Values.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/TestServer.h"
#include "tools/FileMoves.h"
#include "tools/MakeDatabase.h"

namespace {

namespace fs = std::filesystem;
using testsupport::TemporaryDirectory;
using testsupport::TestDatabase;

TEST(MakeDatabase, RefusesToOverwriteAndLeavesNoPartialFile) {
    if (testsupport::onServer()) GTEST_SKIP() << "the making of a file";
    TemporaryDirectory dir;
    const fs::path path = dir.path() / "data.mdb";
    std::ofstream(path) << "precious";
    EXPECT_THROW(tools::makeDatabase(path.string(), false), store::StoreError);
    std::stringstream kept;
    kept << std::ifstream(path).rdbuf();
    EXPECT_EQ(kept.str(), "precious");

    EXPECT_THROW(tools::makeDatabase((dir.path() / "missing" / "data.mdb").string(), false),
                 store::StoreError);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

std::string contentOf(const fs::path& path) {
    std::stringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

TEST(MakeDatabase, KeepsAUsersFileWithTheScratchName) {
    if (testsupport::onServer()) GTEST_SKIP() << "the making of a file";
    TemporaryDirectory dir;
    const fs::path path = dir.path() / "data.mdb";
    std::ofstream(dir.path() / "data.mdb.making") << "mine";
    tools::makeDatabase(path.string(), false);
    EXPECT_TRUE(store::canOpenDatabase(path.string(), store::kDatabasePassword));
    EXPECT_EQ(contentOf(dir.path() / "data.mdb.making"), "mine");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 2);
}

TEST(MakeDatabase, TheFinalMoveNeverReplacesAFile) {
    if (testsupport::onServer()) GTEST_SKIP() << "the making of a file";
    TemporaryDirectory dir;
    const fs::path made = tools::makeFreeFileBeside((dir.path() / "data.mdb").string());
    const fs::path other = tools::makeFreeFileBeside((dir.path() / "data.mdb").string());
    EXPECT_NE(made, other);
    std::ofstream(made) << "new";
    const fs::path target = dir.path() / "data.mdb";
    std::ofstream(target) << "appeared meanwhile";

    std::error_code ec;
    EXPECT_FALSE(tools::moveWithoutReplacing(made.string(), target.string(), ec));
    EXPECT_EQ(ec, std::errc::file_exists);
    EXPECT_EQ(contentOf(target), "appeared meanwhile");
    EXPECT_EQ(contentOf(made), "new");

    fs::remove(target);
    EXPECT_TRUE(tools::moveWithoutReplacing(made.string(), target.string(), ec)) << ec.message();
    EXPECT_EQ(contentOf(target), "new");
    EXPECT_FALSE(fs::exists(made));
}

TEST(MakeDatabase, EveryTableHasItsColumnsAndTypesAtThisVersion) {
    TestDatabase db;
    EXPECT_EQ(store::schema::fileVersion(db.open()), store::schema::kVersion);
    store::Connection connection;
    std::vector<store::schema::TableDef> all = store::schema::tables();
    const auto& added = store::schema::addedTables();
    ASSERT_FALSE(added.empty());
    all.insert(all.end(), added.begin(), added.end());
    for (const auto& table : all) {
        store::Query query(connection);
        query.select(table.name);
        query.open();
        ASSERT_EQ(query.fields().size(), table.columns.size()) << table.name;
        for (std::size_t i = 0; i < table.columns.size(); ++i) {
            EXPECT_EQ(query.fields()[i].name, table.columns[i].name);
            EXPECT_EQ(query.fields()[i].type, table.columns[i].type) << table.columns[i].name;
            if (table.columns[i].type == store::FieldType::Text) {
                EXPECT_EQ(query.fields()[i].size, table.columns[i].size);
            }
        }
        EXPECT_TRUE(query.isEmpty());
    }
}

TEST(MakeDatabase, DemoGoodsFiguresAgree) {
    TestDatabase db(TestDatabase::Content::Demo);
    store::Connection connection;
    store::Query goods(connection);
    goods.select(store::schema::kGoods);
    goods.open();
    ASSERT_GE(goods.recordCount(), 20);
    int sold = 0;
    using store::values::toNumber;
    for (goods.first(); !goods.eof(); goods.next()) {
        double price = toNumber(goods.fieldText("进货单价"));
        double quantity = toNumber(goods.fieldText("进货数量"));
        double soldQuantity = toNumber(goods.fieldText("销售数量"));
        double stock = toNumber(goods.fieldText("库存数量"));
        EXPECT_EQ(stock, quantity - soldQuantity);
        EXPECT_EQ(
            goods.fieldText("库存金额"),
            store::values::productText(goods.fieldText("进货单价"), goods.fieldText("库存数量")));
        EXPECT_NEAR(toNumber(goods.fieldText("销售利润")),
                    toNumber(goods.fieldText("销售金额")) - price * soldQuantity, 1e-9);
        if (soldQuantity > 0) ++sold;
    }
    EXPECT_GT(sold, 5);

    store::Query company(connection);
    company.select(store::schema::kCompany);
    company.open();
    EXPECT_EQ(company.recordCount(), 1);
    EXPECT_FALSE(company.fieldText("公司名称").empty());
}

}  // namespace
