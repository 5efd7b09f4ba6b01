#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "store/Connection.h"
#include "store/ConnectionString.h"
#include "store/Database.h"
#include "store/Query.h"
#include "store/Schema.h"
#include "store/TableCache.h"
#include "tests/support/QueryRows.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/TestServer.h"

namespace {

using testsupport::codes;

using store::TableCache;
using testsupport::TestDatabase;

// Two windows' connections on one file, each with its goods query, as the main window and the
// sales window hold them.
class TableCacheTest : public testing::Test {
  protected:
    void SetUp() override { TableCache::instance().clear(); }

    static void reread(store::Connection& connection, store::Query& query) {
        store::reconnectAndRequery(connection, {{&query, store::schema::kGoods}});
    }

    static int reads() { return TableCache::instance().fileReads(store::schema::kGoods); }

    // Writes through a connection of its own, as another copy of the program would.
    void writeDirectly(const std::string& sql) { db.open().exec(sql); }

    TestDatabase db{TestDatabase::Content::Demo};
    store::Connection mainConnection;
    store::Query mainGoods{mainConnection};
    store::Connection salesConnection;
    store::Query salesGoods{salesConnection};
};

TEST_F(TableCacheTest, AnUnchangedTableIsReadOnceAndItsRowsShared) {
    reread(mainConnection, mainGoods);
    reread(salesConnection, salesGoods);
    reread(mainConnection, mainGoods);
    EXPECT_EQ(reads(), 1);
    EXPECT_TRUE(mainGoods.sharesRows());
    EXPECT_EQ(codes(mainGoods), codes(salesGoods));
    // What every re-read shows: all rows, the first one current.
    EXPECT_EQ(mainGoods.currentIndex(), 0);
    EXPECT_TRUE(mainGoods.bof());
    EXPECT_FALSE(mainGoods.eof());
    EXPECT_GT(mainGoods.recordCount(), 10);
}

TEST_F(TableCacheTest, ARowChangedInOneWindowReachesAnotherOnlyByItsReread) {
    reread(mainConnection, mainGoods);
    reread(salesConnection, salesGoods);
    const std::vector<std::string> before = codes(salesGoods);
    const int column = salesGoods.fieldIndex("库存数量");
    const std::string stockBefore(salesGoods.fieldTextAt(1, column));

    struct Change {
        const char* name;
        void (*apply)(store::Query&);
    };
    const Change changes[] = {
        {"posted",
         [](store::Query& q) {
             q.append();
             q.setFieldText("商品编码", "NEW-1");
             q.post();
         }},
        {"edited",
         [](store::Query& q) {
             q.moveTo(1);
             q.edit();
             q.setFieldText("库存数量", "12345");
             q.post();
         }},
        {"deleted",
         [](store::Query& q) {
             q.first();
             q.remove();
         }},
    };
    std::vector<std::string> expected = before;
    std::string expectedStock = stockBefore;
    for (const Change& change : changes) {
        SCOPED_TRACE(change.name);
        const int readsBefore = reads();
        change.apply(mainGoods);
        // The other window's shared rows are as they were.
        EXPECT_EQ(codes(salesGoods), expected);
        EXPECT_EQ(salesGoods.fieldTextAt(1, column), expectedStock);
        // Its re-read goes to the file and finds the change.
        reread(salesConnection, salesGoods);
        EXPECT_EQ(reads(), readsBefore + 1);
        EXPECT_EQ(codes(salesGoods), codes(mainGoods));
        expected = codes(salesGoods);
        expectedStock = std::string(salesGoods.fieldTextAt(1, column));
    }
    EXPECT_EQ(expected.back(), "NEW-1");
    EXPECT_EQ(expected.size(), before.size());  // one added, one deleted
    EXPECT_EQ(expected.front(), before[1]);
    EXPECT_EQ(salesGoods.fieldTextAt(0, column), "12345") << "the edited row, first now";
}

TEST_F(TableCacheTest, AnEditBegunInOneWindowNeverShowsInAnother) {
    reread(mainConnection, mainGoods);
    reread(salesConnection, salesGoods);
    const std::string code = salesGoods.fieldText("商品编码");
    mainGoods.edit();
    mainGoods.setFieldText("商品编码", "TYPED");
    EXPECT_EQ(mainGoods.fieldText("商品编码"), "TYPED");
    EXPECT_EQ(salesGoods.fieldText("商品编码"), code);
    reread(salesConnection, salesGoods);
    EXPECT_EQ(salesGoods.fieldText("商品编码"), code);
    mainGoods.cancel();
    EXPECT_EQ(mainGoods.fieldText("商品编码"), code);
}

TEST_F(TableCacheTest, ACommitOfAnotherConnectionMakesTheNextRereadReadAgain) {
    reread(mainConnection, mainGoods);
    writeDirectly(
        std::string("UPDATE \"") + store::schema::kGoods +
        "\" SET \"商品编码\" = 'OUTSIDE' WHERE rowid = " + std::to_string(mainGoods.rowIdAt(0)));
    EXPECT_NE(mainGoods.fieldText("商品编码"), "OUTSIDE");  // a snapshot until re-read
    reread(mainConnection, mainGoods);
    EXPECT_EQ(reads(), 2);
    EXPECT_EQ(mainGoods.fieldText("商品编码"), "OUTSIDE");
}

TEST_F(TableCacheTest, AnotherProcessWritingTheFileMakesTheNextRereadReadAgain) {
    reread(mainConnection, mainGoods);
    reread(salesConnection, salesGoods);
    // The writer opens the file by its path, or the server's database by its name.
    const std::string data =
        testsupport::onServer() ? "--server \"" + db.server().database : "\"" + db.path();
    const std::string command = std::string("\"") + JXC_TABLE_WRITER + "\" " + data +
                                std::string("\" \"UPDATE \\\"") + store::schema::kGoods +
                                "\\\" SET \\\"备注\\\" = 'FROM-ELSEWHERE'\"";
    ASSERT_EQ(std::system(command.c_str()), 0);
    reread(mainConnection, mainGoods);
    EXPECT_EQ(reads(), 2);
    EXPECT_EQ(mainGoods.fieldText("备注"), "FROM-ELSEWHERE");
    EXPECT_FALSE(mainGoods.sharesRows() && salesGoods.sharesRows() &&
                 salesGoods.fieldText("备注") == "FROM-ELSEWHERE");
}

TEST_F(TableCacheTest, ReadsInsideAWriteTransactionNeitherUseNorFillTheCache) {
    reread(salesConnection, salesGoods);
    const int count = salesGoods.recordCount();
    store::Query otherGoods(mainConnection);
    {
        store::WriteTransaction transaction(mainConnection);
        mainGoods.select(store::schema::kGoods);
        mainGoods.open();
        EXPECT_FALSE(mainGoods.sharesRows());
        mainGoods.append();
        mainGoods.setFieldText("商品编码", "UNCOMMITTED");
        mainGoods.post();
        otherGoods.select(store::schema::kGoods);
        otherGoods.open();  // sees the connection's own uncommitted row
        EXPECT_EQ(otherGoods.recordCount(), count + 1);
        EXPECT_FALSE(otherGoods.sharesRows());
    }  // rolled back: the goods query reads its rows again
    EXPECT_EQ(mainGoods.recordCount(), count);
    reread(salesConnection, salesGoods);
    EXPECT_EQ(salesGoods.recordCount(), count);
    EXPECT_EQ(codes(mainGoods), codes(salesGoods));
}

TEST_F(TableCacheTest, SearchesAndParametersAreNeverShared) {
    reread(mainConnection, mainGoods);
    const std::string code = mainGoods.fieldText("商品编码");
    struct Case {
        std::string condition;
        std::vector<std::string> parameters;
    };
    const Case cases[] = {
        {"商品编码 like '%" + code + "%'", {}},
        {"商品编码 = ?", {code}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.condition);
        store::Query search(salesConnection);
        search.select(store::schema::kGoods, c.condition, c.parameters);
        search.open();
        EXPECT_FALSE(search.sharesRows());
        EXPECT_GE(search.recordCount(), 1);
        EXPECT_LT(search.recordCount(), mainGoods.recordCount());
    }
    // A search does not take the place of the whole table either.
    reread(salesConnection, salesGoods);
    EXPECT_EQ(salesGoods.recordCount(), mainGoods.recordCount());
    EXPECT_EQ(reads(), 1);
}

TEST_F(TableCacheTest, AFilePutInPlaceUnderTheSameNameIsReadAfresh) {
    if (testsupport::onServer()) GTEST_SKIP() << "a file renamed into place";
    reread(mainConnection, mainGoods);
    TestDatabase restored{TestDatabase::Content::Empty, false};
    {
        store::Database other(restored.path(), store::kDatabasePassword);
        other.exec(std::string("INSERT INTO \"") + store::schema::kGoods +
                   "\" (\"商品编码\") VALUES ('RESTORED')");
    }
    // A restore renames the chosen file over data.mdb; nothing is committed to the old file.
    std::filesystem::rename(restored.path(), db.path());
    store::Connection next;
    store::Query goods(next);
    reread(next, goods);
    EXPECT_EQ(codes(goods), std::vector<std::string>{"RESTORED"});
}

TEST_F(TableCacheTest, ColumnTotalsFollowTheRowsOfEachQuery) {
    reread(mainConnection, mainGoods);
    reread(salesConnection, salesGoods);
    const int amount = mainGoods.fieldIndex("进货金额");
    const store::values::Total total = salesGoods.columnTotal(amount);
    EXPECT_EQ(mainGoods.columnTotal(amount), total);
    mainGoods.edit();
    mainGoods.setFieldText("进货金额", "1000000");
    const store::values::Total firstRow = store::values::toTenThousandths(
        *store::values::parseNumber(salesGoods.fieldText("进货金额")));
    // While editing, the buffer counts; the other list's total stays.
    EXPECT_EQ(mainGoods.columnTotal(amount), total - firstRow + 10000000000);
    mainGoods.post();
    EXPECT_EQ(mainGoods.columnTotal(amount), total - firstRow + 10000000000);
    EXPECT_EQ(salesGoods.columnTotal(amount), total);
    reread(salesConnection, salesGoods);
    EXPECT_EQ(salesGoods.columnTotal(amount), mainGoods.columnTotal(amount));
}

}  // namespace
