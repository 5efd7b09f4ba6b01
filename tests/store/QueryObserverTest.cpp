#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "store/Connection.h"
#include "store/ConnectionString.h"
#include "store/Database.h"
#include "store/Error.h"
#include "store/Query.h"
#include "store/Schema.h"
#include "tests/support/TestDatabase.h"

namespace {

// Writes down every notification with its index and the current row at that moment.
class Recorder : public store::QueryObserver {
  public:
    std::vector<std::string> events;
    std::vector<std::string> take() { return std::exchange(events, {}); }

    void queryOpened(store::Query& q) override { add("opened", q); }
    void queryClosed(store::Query& q) override { add("closed", q); }
    void queryScrolled(store::Query& q) override { add("scrolled", q); }
    void queryEditStarted(store::Query& q) override { add("editStarted", q); }
    void queryRowInserted(store::Query& q, int i) override {
        add("inserted " + std::to_string(i), q);
    }
    void queryPosted(store::Query& q, int i) override { add("posted " + std::to_string(i), q); }
    void queryCancelled(store::Query& q) override { add("cancelled", q); }
    void queryAboutToDelete(store::Query& q, int i) override {
        add("aboutToDelete " + std::to_string(i), q);
    }
    void queryRowRemoved(store::Query& q, int i) override {
        add("removed " + std::to_string(i), q);
    }

  private:
    void add(const std::string& what, store::Query& q) {
        events.push_back(what + " @" + std::to_string(q.currentIndex()) + "/" +
                         std::to_string(q.rowCount()));
    }
};

using Events = std::vector<std::string>;

TEST(QueryObserver, EveryChangeIsToldInOrder) {
    testsupport::TestDatabase db;
    store::Connection connection;
    store::Query query(connection);
    Recorder recorder;
    query.addObserver(&recorder);
    query.select(store::schema::kGoods);
    query.open();
    EXPECT_EQ(recorder.take(), Events{"opened @-1/0"});

    query.append();
    query.setFieldText("商品编码", "A");
    query.post();
    EXPECT_EQ(recorder.take(), (Events{"inserted 0 @0/1", "editStarted @0/1", "posted 0 @0/1"}));

    query.append();
    query.cancel();
    EXPECT_EQ(recorder.take(), (Events{"inserted 1 @1/2", "editStarted @1/2", "removed 1 @0/1",
                                       "cancelled @0/1", "scrolled @0/1"}));

    query.append();
    query.setFieldText("商品编码", "B");
    query.first();  // posts the new row, then moves
    EXPECT_EQ(recorder.take(),
              (Events{"inserted 1 @1/2", "editStarted @1/2", "posted 1 @1/2", "scrolled @0/2"}));

    query.edit();
    query.cancel();
    EXPECT_EQ(recorder.take(), (Events{"editStarted @0/2", "cancelled @0/2"}));

    query.remove();
    EXPECT_EQ(recorder.take(), (Events{"aboutToDelete 0 @0/2", "removed 0 @0/1", "scrolled @0/1"}));

    db.open().exec(std::string("DROP TABLE ") + store::schema::kGoods);
    EXPECT_THROW(query.remove(), store::StoreError);  // refused: the row stays, nobody is told
    EXPECT_EQ(query.recordCount(), 1);
    EXPECT_TRUE(recorder.take().empty());

    connection.close();
    EXPECT_EQ(recorder.take(), Events{"closed @-1/0"});

    query.removeObserver(&recorder);
    EXPECT_THROW(query.open(), store::StoreError);  // the table is gone
    EXPECT_TRUE(recorder.events.empty());
}

}  // namespace
