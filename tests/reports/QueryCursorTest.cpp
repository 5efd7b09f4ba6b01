#include <gtest/gtest.h>

#include <stdexcept>

#include "reports/engine/QueryCursor.h"
#include "store/Connection.h"
#include "store/Query.h"
#include "store/Schema.h"
#include "tests/support/TestDatabase.h"

using reports::QueryCursor;

TEST(QueryCursor, DisplayTextsWithAndWithoutTheTwoDecimalFormat) {
    testsupport::TestDatabase db;
    store::Connection connection;
    store::Query query(connection);
    query.select(store::schema::kGoods);
    query.open();
    query.append();
    query.setFieldText("商品编码", "A1");
    query.setFieldText("进货单价", "12.3456");
    query.setFieldText("进货数量", "3");
    query.post();
    query.append();
    query.setFieldText("商品编码", "A2");
    query.post();

    QueryCursor cursor(query);
    cursor.setDisplayFormat(QStringLiteral("进货单价"), QStringLiteral("#0.##"));
    EXPECT_THROW(cursor.setDisplayFormat(QStringLiteral("进货数量"), QStringLiteral("0.000")),
                 std::invalid_argument);

    cursor.first();
    ASSERT_FALSE(cursor.eof());
    EXPECT_EQ(cursor.recordCount(), 2);
    struct Case {
        const char* field;
        const char* text;
    };
    const Case firstRow[] = {
        {"商品编码", "A1"}, {"进货单价", "12.35"}, {"进货数量", "3"}, {"不存在的字段", ""}};
    for (const Case& c : firstRow) {
        EXPECT_EQ(cursor.displayText(QString::fromUtf8(c.field)), QString::fromUtf8(c.text))
            << c.field;
    }
    cursor.next();
    EXPECT_EQ(cursor.displayText(QStringLiteral("进货单价")), QString()) << "empty stays empty";
    cursor.next();
    EXPECT_TRUE(cursor.eof());

    query.close();
    EXPECT_TRUE(cursor.eof());
    EXPECT_EQ(cursor.recordCount(), 0);
    EXPECT_EQ(cursor.displayText(QStringLiteral("商品编码")), QString())
        << "a closed query prints empty";
}
