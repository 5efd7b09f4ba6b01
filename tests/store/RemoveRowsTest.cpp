// Deleting several rows of a result set together.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "store/Connection.h"
#include "store/ConnectionString.h"
#include "store/Database.h"
#include "store/Error.h"
#include "store/Query.h"
#include "store/RowDeletion.h"
#include "store/Schema.h"
#include "tests/support/RefusingTrigger.h"
#include "tests/support/TestDatabase.h"

namespace {

class Recorder : public store::QueryObserver {
  public:
    std::vector<std::string> events;
    void queryAboutToDelete(store::Query&, int i) override {
        events.push_back("aboutToDelete " + std::to_string(i));
    }
    void queryRowRemoved(store::Query&, int i) override {
        events.push_back("removed " + std::to_string(i));
    }
    void queryAboutToDeleteRows(store::Query& q, const std::vector<int>& rows) override {
        events.push_back("aboutToDeleteRows " + join(rows) + " of " +
                         std::to_string(q.recordCount()));
    }
    void queryRowsRemoved(store::Query& q, const std::vector<int>& rows) override {
        events.push_back("rowsRemoved " + join(rows) + " of " + std::to_string(q.recordCount()));
    }

  private:
    static std::string join(const std::vector<int>& rows) {
        std::string text;
        for (int row : rows) text += (text.empty() ? "" : ",") + std::to_string(row);
        return text;
    }
};

class RemoveRows : public ::testing::Test {
  protected:
    void SetUp() override {
        store::Database db = database.open();
        for (int i = 1; i <= 6; ++i)
            db.exec(std::string("INSERT INTO ") + store::schema::kSales +
                    " (商品编码, 备注) VALUES ('A" + std::to_string(i) + "', '" +
                    (i == 3 ? "locked" : "") + "')");
        query.select(store::schema::kSales);
        query.open();
        query.addObserver(&recorder);
    }

    std::vector<std::string> listed() const {
        std::vector<std::string> codes;
        for (int i = 0; i < query.recordCount(); ++i)
            codes.emplace_back(query.fieldTextAt(i, query.fieldIndex("商品编码")));
        return codes;
    }

    std::vector<std::string> stored() const {
        store::Connection other(store::buildConnectionStringForCurrentDirectory());
        store::Query q(other);
        q.select(store::schema::kSales);
        q.open();
        std::vector<std::string> codes;
        for (int i = 0; i < q.recordCount(); ++i)
            codes.emplace_back(q.fieldTextAt(i, q.fieldIndex("商品编码")));
        return codes;
    }

    void refuseLocked() {
        testsupport::addRefusingTrigger(database, "keep_locked", store::schema::kSales, "DELETE",
                                        "old.备注 = 'locked'", "record is locked");
    }

    testsupport::TestDatabase database;
    Recorder recorder;  // outlives the query, which tells it of its end
    store::Connection connection{store::buildConnectionStringForCurrentDirectory()};
    store::Query query{connection};
};

TEST_F(RemoveRows, DropsTheRowsTogetherAndTellsOnce) {
    const auto bookmarkOfA4 = query.bookmarkAt(3);
    {
        store::WriteTransaction transaction(connection);
        query.removeRows({4, 1, 2, 4});
        transaction.commit();
    }
    EXPECT_EQ(listed(), (std::vector<std::string>{"A1", "A4", "A6"}));
    EXPECT_EQ(stored(), listed());
    EXPECT_EQ(recorder.events,
              (std::vector<std::string>{"aboutToDeleteRows 1,2,4 of 6", "rowsRemoved 1,2,4 of 3"}));
    EXPECT_EQ(query.currentIndex(), 1);  // the row after the first deleted: A4
    EXPECT_EQ(query.indexOf(bookmarkOfA4), 1);
    EXPECT_EQ(query.indexOf(query.bookmarkAt(2)), 2);
}

TEST_F(RemoveRows, DeletingTheLastRowsLeavesTheNewLastRowCurrent) {
    query.removeRows({4, 5});
    EXPECT_EQ(query.currentIndex(), 3);
    query.removeRows({0, 1, 2, 3});
    EXPECT_EQ(query.recordCount(), 0);
    EXPECT_EQ(query.currentIndex(), -1);
    EXPECT_TRUE(query.eof());
    EXPECT_TRUE(stored().empty());
}

TEST_F(RemoveRows, ARefusedRowStopsTheDeletionAndKeepsWhatWasDone) {
    refuseLocked();
    {
        store::WriteTransaction transaction(connection);
        EXPECT_THROW(query.removeRows({0, 2, 4, 5}), store::StoreError);
        transaction.commit();
    }
    // A6 and A5 went, A3 refused, A1 not reached.
    EXPECT_EQ(listed(), (std::vector<std::string>{"A1", "A2", "A3", "A4"}));
    EXPECT_EQ(stored(), listed());
    EXPECT_EQ(query.currentIndex(), 2);  // on the refused row
}

TEST_F(RemoveRows, ARollbackBringsTheListBackInLineWithTheFile) {
    {
        store::WriteTransaction transaction(connection);
        query.removeRows({0, 1});
        EXPECT_EQ(query.recordCount(), 4);
    }
    EXPECT_EQ(listed(), (std::vector<std::string>{"A1", "A2", "A3", "A4", "A5", "A6"}));
    EXPECT_EQ(stored(), listed());
}

// A server gave the deletion up (another counter's concurrent change): it runs again on the list
// the rollback read afresh, where another connection's earlier deletion has moved the rows up.
TEST_F(RemoveRows, ADeletionRetriedAfterAConflictFindsItsRowsAgain) {
    store::Database(database.path(), store::kDatabasePassword)
        .exec(std::string("DELETE FROM ") + store::schema::kSales + " WHERE 商品编码 = 'A1'");
    std::vector<std::vector<int>> asked;
    const bool deleted =
        store::deleteRowsTogether(query, {2, 4}, [&](const std::vector<int>& rows) {
            asked.push_back(rows);
            if (asked.size() > 1) return true;
            query.removeRows({5});  // written in the transaction: the rollback reads the list again
            throw store::StoreError("deadlock detected", store::StoreError::kServerConflict);
        });
    EXPECT_TRUE(deleted);
    EXPECT_EQ(asked, (std::vector<std::vector<int>>{{2, 4}, {1, 3}}));  // A3 and A5 both times
    EXPECT_EQ(listed(), (std::vector<std::string>{"A2", "A4", "A6"}));
    EXPECT_EQ(stored(), listed());
}

TEST_F(RemoveRows, MisuseIsRefused) {
    query.removeRows({});
    query.removeRows({-1, 99});
    EXPECT_EQ(query.recordCount(), 6);
    EXPECT_TRUE(recorder.events.empty());
    query.close();
    EXPECT_THROW(query.removeRows({0}), store::StoreError);
    query.setSql(std::string("select 商品编码 from ") + store::schema::kSales);
    query.open();
    EXPECT_THROW(query.removeRows({0}), store::StoreError);
}

}  // namespace
