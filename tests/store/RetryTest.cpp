// A write that meets another counter's concurrent change on a database server is tried again.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "store/Connection.h"
#include "store/Error.h"
#include "store/Query.h"
#include "store/Retry.h"
#include "store/Schema.h"
#include "tests/support/TestDatabase.h"

namespace {

using store::StoreError;

// A write whose first tries meet a conflict, as the server reports it.
struct Conflicts {
    int conflicts;
    int calls;    // how often the write ran
    bool gaveUp;  // the user's message came instead of the result
};

class RetryOnConflict : public testing::TestWithParam<Conflicts> {
  protected:
    testsupport::TestDatabase db;
    store::Connection connection;
};

TEST_P(RetryOnConflict, RunsAgainUpToThreeTimes) {
    const Conflicts& c = GetParam();
    int calls = 0;
    const auto write = [&] {
        if (++calls <= c.conflicts)
            throw StoreError("could not serialize access", StoreError::kServerConflict);
        return 42;
    };
    if (c.gaveUp) {
        try {
            store::retryOnConflict(connection, write);
            FAIL() << "no message";
        } catch (const StoreError& error) {
            EXPECT_STREQ(error.what(), store::kConflictGaveUp);
            // Told to the user; a caller further out must not start again.
            EXPECT_NE(error.code(), StoreError::kServerConflict);
        }
    } else {
        EXPECT_EQ(store::retryOnConflict(connection, write), 42);
    }
    EXPECT_EQ(calls, c.calls);
}

INSTANTIATE_TEST_SUITE_P(Cases, RetryOnConflict,
                         testing::Values(Conflicts{0, 1, false}, Conflicts{1, 2, false},
                                         Conflicts{3, 4, false}, Conflicts{4, 4, true}));

TEST(RetryOnConflictOthers, OtherErrorsAreThrownOnAtOnce) {
    testsupport::TestDatabase db;
    store::Connection connection;
    int calls = 0;
    EXPECT_THROW(store::retryOnConflict(connection,
                                        [&] {
                                            ++calls;
                                            throw StoreError("database is locked", 5);
                                        }),
                 StoreError);
    EXPECT_THROW(store::retryOnConflict(connection,
                                        [&] {
                                            ++calls;
                                            throw std::runtime_error("不是数字");
                                        }),
                 std::runtime_error);
    EXPECT_EQ(calls, 2);
}

// Each try is a transaction of its own: what a failed try wrote is rolled back before the next
// one runs, so the write is stored exactly once.
TEST(RetryOnConflictOthers, AFailedTryLeavesNothingBehind) {
    testsupport::TestDatabase db;
    store::Connection connection;
    store::Query sales(connection);
    sales.select(store::schema::kSales);
    sales.open();
    int calls = 0;
    store::retryOnConflict(connection, [&] {
        store::WriteTransaction transaction(connection);
        sales.append();
        sales.setFieldText(store::schema::column::kGoodsCode, "A" + std::to_string(++calls));
        sales.post();
        if (calls < 3) throw StoreError("deadlock detected", StoreError::kServerConflict);
        transaction.commit();
    });
    store::Connection other;
    store::Query stored(other);
    stored.select(store::schema::kSales);
    stored.open();
    ASSERT_EQ(stored.recordCount(), 1);
    EXPECT_EQ(stored.fieldText(store::schema::column::kGoodsCode), "A3");
    EXPECT_EQ(sales.recordCount(), 1);  // the list follows the file
}

// Inside a transaction already open the conflict ends that whole transaction: retrying only the
// inner part would run it on a transaction the server has given up.
TEST(RetryOnConflictOthers, InsideAnOpenTransactionTheOwnerRetries) {
    testsupport::TestDatabase db;
    store::Connection connection;
    int inner = 0;
    int outer = 0;
    store::retryOnConflict(connection, [&] {
        store::WriteTransaction transaction(connection);
        ++outer;
        store::retryOnConflict(connection, [&] {
            if (++inner == 1) throw StoreError("deadlock detected", StoreError::kServerConflict);
        });
        transaction.commit();
    });
    EXPECT_EQ(inner, 2);
    EXPECT_EQ(outer, 2);
}

}  // namespace
