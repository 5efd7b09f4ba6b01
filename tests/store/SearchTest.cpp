#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "store/Connection.h"
#include "store/Query.h"
#include "store/Schema.h"
#include "store/Search.h"
#include "tests/support/TestDatabase.h"

namespace {

using Codes = std::vector<std::string>;

class SearchTest : public testing::Test {
  protected:
    void SetUp() override {
        query.select(store::schema::kGoods);
        query.open();
        for (const char* code : {"A%1", "AB1", "A_1", "X\"Y", "ab1", "ZZ", "AB1"}) {
            query.append();
            query.setFieldText("商品编码", code);
            query.post();
        }
    }

    Codes search(const std::string& text) {
        store::runSearch(query, store::schema::kGoods, "商品编码", text);
        Codes out;
        for (query.first(); !query.eof(); query.next()) out.push_back(query.fieldText("商品编码"));
        return out;
    }

    testsupport::TestDatabase db;
    store::Connection connection;
    store::Query query{connection};
};

TEST_F(SearchTest, FindsRowsContainingTheText) {
    EXPECT_EQ(search("B1"), (Codes{"AB1", "ab1", "AB1"}));  // duplicates both kept
    EXPECT_EQ(search(""), (Codes{"A%1", "AB1", "A_1", "X\"Y", "ab1", "ZZ", "AB1"}));
    EXPECT_EQ(search("nothing"), Codes{});
}

TEST_F(SearchTest, PercentAndUnderscoreStayWildcards) {
    EXPECT_EQ(search("A%1"), (Codes{"A%1", "AB1", "A_1", "ab1", "AB1"}));
    EXPECT_EQ(search("A_1"), (Codes{"A%1", "AB1", "A_1", "ab1", "AB1"}));
}

TEST_F(SearchTest, QuotesAreJustCharacters) {
    EXPECT_EQ(search("\""), Codes{"X\"Y"});
    EXPECT_EQ(search("'"), Codes{});
    EXPECT_EQ(query.sql(),
              std::string("select * from ") + store::schema::kGoods + " where 商品编码 like ?");
}

// Nor is a backslash an escape character, not even at the end of the text.
TEST_F(SearchTest, ABackslashIsJustACharacter) {
    query.append();
    query.setFieldText("商品编码", "C\\D");
    query.post();
    for (const char* text : {"\\", "C\\", "\\D", "C\\D"})
        EXPECT_EQ(search(text), Codes{"C\\D"}) << text;
}

}  // namespace
