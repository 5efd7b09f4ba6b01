#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "store/Connection.h"
#include "store/ConnectionString.h"
#include "store/Database.h"
#include "store/Error.h"
#include "store/Query.h"
#include "store/Schema.h"
#include "store/WindowTables.h"
#include "tests/support/QueryRows.h"
#include "tests/support/RefusingTrigger.h"
#include "tests/support/StoredRows.h"
#include "tests/support/TestDatabase.h"

namespace {

using testsupport::codes;

using testsupport::TestDatabase;

std::string errorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const store::StoreError& e) {
        return e.what();
    }
    return "(no error)";
}

class QueryTest : public testing::Test {
  protected:
    void SetUp() override { open(query, store::schema::kGoods); }

    static void open(store::Query& q, const std::string& table) {
        q.select(table);
        q.open();
    }

    // Appends and posts a goods row with the given code and purchase price.
    void addGoods(const std::string& code, const std::string& price = "1") {
        query.append();
        query.setFieldText("商品编码", code);
        query.setFieldText("进货单价", price);
        query.post();
    }

    TestDatabase db;
    store::Connection connection;
    store::Query query{connection};
};

TEST_F(QueryTest, OpensTheConnectionAndReadsFieldTypes) {
    EXPECT_TRUE(connection.isOpen());
    EXPECT_EQ(query.tableName(), store::schema::kGoods);
    EXPECT_TRUE(query.isEmpty());
    EXPECT_TRUE(query.eof());
    EXPECT_TRUE(query.bof());
    EXPECT_EQ(query.currentIndex(), -1);
    EXPECT_EQ(query.fields()[0].type, store::FieldType::Counter);
    EXPECT_EQ(query.fields()[1].type, store::FieldType::Text);
    EXPECT_EQ(query.fields()[1].size, 255);
    EXPECT_EQ(query.fields()[query.fieldIndex("进货单价")].type, store::FieldType::Double);
    EXPECT_EQ(query.fieldText("商品编码"), "");  // no row: empty
}

TEST_F(QueryTest, PostedValuesReadBackAsText) {
    query.append();
    query.setFieldText("商品编码", "A001");
    query.setFieldText("进货单价", "5.");
    query.setFieldText("进货数量", " 3.10 ");
    query.setFieldText("进货金额", "");
    query.post();
    EXPECT_EQ(query.fieldText("ID"), std::to_string(query.rowIdAt(0)));
    EXPECT_EQ(query.fieldText("进货单价"), "5");

    store::Query fresh(connection);
    open(fresh, store::schema::kGoods);
    ASSERT_EQ(fresh.recordCount(), 1);
    EXPECT_EQ(fresh.fieldText("ID"), query.fieldText("ID"));
    EXPECT_EQ(fresh.fieldText("商品编码"), "A001");
    EXPECT_EQ(fresh.fieldText("进货单价"), "5");
    EXPECT_EQ(fresh.fieldText("进货数量"), "3.1");
    EXPECT_EQ(fresh.fieldText("进货金额"), "");
    EXPECT_TRUE(fresh.fieldIsNull("进货金额"));
    EXPECT_EQ(fresh.fieldText("备注"), "");
}

TEST_F(QueryTest, RefusedValuesStoreNothing) {
    store::Query sales(connection);
    open(sales, store::schema::kSales);
    sales.append();
    std::string name;
    for (int i = 0; i < 50; ++i) name += "王";

    EXPECT_EQ(errorOf([&] { sales.setFieldText("客户", "x"); }), "Field '客户' not found");
    EXPECT_EQ(errorOf([&] { sales.fieldText("客户"); }), "Field '客户' not found");
    EXPECT_EQ(errorOf([&] { sales.setFieldText("销售单价", "1,5"); }),
              "'1,5' is not a valid floating point value for field '销售单价'");
    EXPECT_EQ(errorOf([&] { sales.setFieldText("客户姓名", name + "王"); }),
              "字段“客户姓名”最多 50 个字符，输入的文本有 51 个字符");
    EXPECT_EQ(errorOf([&] { sales.setFieldText("ID", "7"); }), "Field 'ID' cannot be modified");
    EXPECT_EQ(sales.fieldText("客户姓名"), "");
    EXPECT_EQ(sales.fieldText("销售单价"), "");

    sales.setFieldText("客户姓名", name);  // exactly fifty characters fit
    sales.post();
    store::Query fresh(connection);
    open(fresh, store::schema::kSales);
    EXPECT_EQ(fresh.fieldText("客户姓名"), name);

    EXPECT_EQ(errorOf([&] { fresh.setFieldText("客户姓名", "x"); }),
              "Dataset not in edit or insert mode");
}

TEST_F(QueryTest, EditPostAndCancel) {
    addGoods("A");
    addGoods("B");
    query.first();
    query.edit();
    query.setFieldText("商品编码", "A2");
    EXPECT_EQ(query.fieldText("商品编码"), "A2");
    query.cancel();
    EXPECT_EQ(query.fieldText("商品编码"), "A");

    query.edit();
    query.setFieldText("商品编码", "A3");
    query.next();  // moving posts the edit
    EXPECT_EQ(query.state(), store::Query::State::Browse);
    EXPECT_EQ(query.fieldText("商品编码"), "B");

    query.append();
    EXPECT_EQ(query.rowCount(), 3);
    EXPECT_EQ(query.recordCount(), 2);
    query.cancel();
    EXPECT_EQ(query.rowCount(), 2);
    EXPECT_EQ(query.fieldText("商品编码"), "B");  // back on the row that was current

    store::Query fresh(connection);
    open(fresh, store::schema::kGoods);
    EXPECT_EQ(codes(fresh), (std::vector<std::string>{"A3", "B"}));
}

TEST_F(QueryTest, RemoveMovesToNextOrPreviousAndKeepsBookmarks) {
    for (const char* code : {"A", "B", "C", "D"}) addGoods(code);
    auto a = query.bookmarkAt(0), c = query.bookmarkAt(2), d = query.bookmarkAt(3);

    query.gotoBookmark(query.bookmarkAt(1));
    query.remove();  // B
    EXPECT_EQ(query.fieldText("商品编码"), "C");
    query.gotoBookmark(d);
    query.remove();  // D, the last row
    EXPECT_EQ(query.fieldText("商品编码"), "C");
    EXPECT_EQ(query.indexOf(a), 0);
    EXPECT_EQ(query.indexOf(c), 1);
    EXPECT_EQ(query.indexOf(d), -1);
    EXPECT_THROW(query.gotoBookmark(d), store::StoreError);

    while (!query.isEmpty()) query.remove();
    EXPECT_TRUE(query.eof());
    EXPECT_THROW(query.remove(), store::StoreError);

    store::Query fresh(connection);
    open(fresh, store::schema::kGoods);
    EXPECT_TRUE(fresh.isEmpty());
}

TEST_F(QueryTest, NavigationSetsBofAndEof) {
    for (const char* code : {"A", "B", "C"}) addGoods(code);
    std::vector<std::string> seen;
    for (query.first(); !query.eof(); query.next()) seen.push_back(query.fieldText("商品编码"));
    EXPECT_EQ(seen, (std::vector<std::string>{"A", "B", "C"}));
    EXPECT_EQ(query.recNo(), 3);
    query.prior();
    EXPECT_EQ(query.recNo(), 2);
    EXPECT_FALSE(query.eof());
    query.moveTo(0);
    query.prior();
    EXPECT_TRUE(query.bof());
    EXPECT_EQ(query.recNo(), 1);
}

TEST_F(QueryTest, SecondConnectionSeesPostOnlyAfterRerun) {
    store::Connection other;
    store::Query otherQuery(other);
    open(otherQuery, store::schema::kGoods);
    addGoods("NEW");
    EXPECT_TRUE(otherQuery.isEmpty());
    otherQuery.close();
    otherQuery.open();
    EXPECT_EQ(codes(otherQuery), std::vector<std::string>{"NEW"});
}

// While the table refuses writes (a trigger that aborts while 拒绝 holds a row), a post fails; once
// it accepts them again, a move must not store the row whose post failed.
class RefusingTable {
  public:
    explicit RefusingTable(const TestDatabase& db) : db_(db) {
        db_.execDirectly("CREATE TABLE 拒绝 (x integer)");
        for (const char* event : {"INSERT", "UPDATE"})
            testsupport::addRefusingTrigger(db_, std::string("拒绝") + event, store::schema::kGoods,
                                            event, "EXISTS (SELECT 1 FROM 拒绝)",
                                            std::string(store::schema::kGoods) + " 暂不可写");
    }
    void refuse(bool on) {
        db_.execDirectly(on ? "INSERT INTO 拒绝 VALUES (1)" : "DELETE FROM 拒绝");
    }

  private:
    const TestDatabase& db_;
};

TEST_F(QueryTest, ARowWhosePostFailedIsNeverStoredByALaterMove) {
    addGoods("A");
    addGoods("B");
    RefusingTable table(db);
    table.refuse(true);

    query.first();
    query.edit();
    query.setFieldText("商品编码", "A2");
    EXPECT_EQ(errorOf([&] { query.post(); }), std::string(store::schema::kGoods) + " 暂不可写");
    EXPECT_EQ(query.state(), store::Query::State::Browse);
    EXPECT_EQ(query.fieldText("商品编码"), "A");  // the list shows what the file holds

    query.append();
    query.setFieldText("商品编码", "C");
    EXPECT_THROW(query.post(), store::StoreError);
    EXPECT_EQ(query.state(), store::Query::State::Browse);
    EXPECT_EQ(query.rowCount(), 2);

    table.refuse(false);
    query.next();
    query.first();
    query.last();
    store::Query fresh(connection);
    open(fresh, store::schema::kGoods);
    EXPECT_EQ(codes(fresh), (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(codes(query), (std::vector<std::string>{"A", "B"}));
}

TEST_F(QueryTest, ARowWithARefusedValueIsGivenUpByAMove) {
    addGoods("A");
    addGoods("B");
    for (const char* bad : {"abc", "1E25"}) {
        query.first();
        query.edit();
        query.setFieldText("商品编码", "A2");
        EXPECT_THROW(query.setFieldText("进货单价", bad), store::StoreError) << bad;
        query.next();  // the row is given up, not half stored
        EXPECT_EQ(query.state(), store::Query::State::Browse);
    }
    query.append();
    query.setFieldText("商品编码", "C");
    EXPECT_THROW(query.setFieldText("进货数量", "x"), store::StoreError);
    query.first();

    store::Query fresh(connection);
    open(fresh, store::schema::kGoods);
    EXPECT_EQ(codes(fresh), (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(codes(query), (std::vector<std::string>{"A", "B"}));
}

TEST_F(QueryTest, ANumberBeyondWhatTotalsHoldIsRefusedNamingTheField) {
    query.append();
    EXPECT_EQ(errorOf([&] { query.setFieldText("进货数量", "1.5E24"); }),
              "字段“进货数量”的值“1.5E24”太大：数值的绝对值不能大于 1E24");
    EXPECT_EQ(errorOf([&] { query.setFieldText("进货单价", "-2e30"); }),
              "字段“进货单价”的值“-2e30”太大：数值的绝对值不能大于 1E24");
    query.setFieldText("进货数量", "99999999999999999999");
    query.setFieldText("进货单价", "-1E24");
    query.post();
    EXPECT_EQ(query.fieldText("进货数量"), "1E20");
    EXPECT_EQ(query.fieldText("进货单价"), "-1E24");
}

TEST_F(QueryTest, ReconnectAndRequeryShowsAllRowsAgain) {
    addGoods("A");
    addGoods("B");
    query.select(store::schema::kGoods, "商品编码 = ?", {"B"});
    query.open();
    EXPECT_EQ(query.recordCount(), 1);

    store::reconnectAndRequery(connection, {{&query, store::schema::kGoods}});
    EXPECT_EQ(connection.connectionString(), store::buildConnectionStringForCurrentDirectory());
    EXPECT_FALSE(connection.loginPrompt());
    EXPECT_EQ(query.sql(), std::string("select * from ") + store::schema::kGoods);
    EXPECT_EQ(codes(query), (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(query.currentIndex(), 0);
}

TEST_F(QueryTest, ClosingTheConnectionClosesItsQueries) {
    connection.close();
    EXPECT_FALSE(query.isOpen());
    EXPECT_THROW(query.first(), store::StoreError);
    query.open();  // opens the connection again
    EXPECT_TRUE(connection.isOpen());
}

TEST_F(QueryTest, ReadOnlyStatementsRefuseWrites) {
    addGoods("A", "2.5");
    store::Query sum(connection);
    sum.setSql(std::string("select count(*) as n, sum(进货单价) as total from ") +
               store::schema::kGoods);
    sum.open();
    EXPECT_EQ(sum.fieldText("n"), "1");
    EXPECT_EQ(sum.fieldText("total"), "2.5");
    EXPECT_THROW(sum.append(), store::StoreError);
    EXPECT_THROW(sum.edit(), store::StoreError);

    // Only select() names a table to write back to, whatever the statement's text says.
    store::Query text(connection);
    text.setSql(std::string("select * from ") + store::schema::kGoods);
    text.open();
    EXPECT_FALSE(text.canModify());
    EXPECT_THROW(text.edit(), store::StoreError);
}

TEST_F(QueryTest, ASelectionWithAConditionWritesItsRowsBack) {
    addGoods("A");
    addGoods("B");
    store::Query found(connection);
    found.select(store::schema::kGoods, "商品编码 = ?", {"B"});
    found.open();
    ASSERT_EQ(codes(found), std::vector<std::string>{"B"});
    found.edit();
    found.setFieldText("商品编码", "C");
    found.post();
    query.close();
    query.open();
    EXPECT_EQ(codes(query), (std::vector<std::string>{"A", "C"}));
}

TEST(WindowTablesTest, PreparesOpensAndRereadsItsTablesTogether) {
    TestDatabase db;
    store::WindowTables tables({store::schema::kGoods, store::schema::kSales});
    tables.prepare();
    EXPECT_TRUE(tables.connection().isOpen());
    EXPECT_FALSE(tables.query(0).isOpen());
    EXPECT_EQ(tables.query(1).sql(), std::string("select * from ") + store::schema::kSales);

    tables.open();
    ASSERT_TRUE(tables.query(0).isOpen() && tables.query(1).isOpen());
    const int goods = tables.query(0).recordCount();
    // Another window stores a goods row; this one sees it at its next re-read.
    testsupport::appendRows(store::schema::kGoods, {{{"商品编码", "X"}}});
    EXPECT_EQ(tables.query(0).recordCount(), goods);
    tables.reread();
    EXPECT_EQ(tables.query(0).recordCount(), goods + 1);
    EXPECT_TRUE(tables.query(1).isOpen());
    EXPECT_EQ(tables.connection().connectionString(),
              store::buildConnectionStringForCurrentDirectory());
}

}  // namespace

namespace {

TEST(QueryLifetime, QueryMayOutliveItsConnection) {
    TestDatabase db;
    auto connection = std::make_unique<store::Connection>();
    store::Query query(*connection);
    query.select(store::schema::kGoods);
    query.open();
    connection.reset();  // closes the query; the query's own end must not touch the connection
    EXPECT_FALSE(query.isOpen());
}

}  // namespace
