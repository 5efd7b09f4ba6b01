// Finding the goods row a scanned code sells from.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sales/records/ScanLookup.h"
#include "store/Connection.h"
#include "store/Query.h"
#include "store/Schema.h"
#include "tests/sales/records/SalesFixture.h"
#include "tests/support/TestDatabase.h"

namespace {

using salestest::purchase;
using Outcome = sales::ScanMatch::Outcome;

salestest::Row withStock(salestest::Row row, const std::string& stock) {
    row["库存数量"] = stock;
    return row;
}

// Goods rows in the order of their IDs; the comments give each one's position.
std::vector<salestest::Row> shelf() {
    return {
        purchase("690001", "2", "5", "10"),                      // 0
        withStock(purchase("690002", "3", "9", "27"), "0"),      // 1: sold out
        withStock(purchase("690002", "3.5", "9", "31.5"), "3"),  // 2: oldest with stock
        purchase("690002", "4", "7", "28"),                      // 3
        withStock(purchase("690003", "1", "2", "2"), "0"),       // 4
        withStock(purchase("690003", "1", "2", "2"), "0"),       // 5
        withStock(purchase("690004", "1", "2", "2"), "0.5"),     // 6: less than one unit
        purchase("  690005\xE3\x80\x80", "1", "2", "2"),         // 7: stored with blanks
        withStock(purchase("690006", "1", "2", "2"), ""),        // 8: no stock figure
        purchase("ABC", "1", "2", "2"),                          // 9
        withStock(purchase("690007", "1", "2", "2"), "0.996"),   // 10: shown as 1
        withStock(purchase("690008", "1", "2", "2"), "0.5"),     // 11: older, less than a unit
        withStock(purchase("690008", "1", "2", "2"), "2"),       // 12: a whole unit
        withStock(purchase("690009", "1", "2", "2"), "0.004"),   // 13: shown as 0
    };
}

struct Case {
    const char* name;
    std::string scanned;
    Outcome outcome;
    int row;  // position in shelf() of the row found, -1 for none
    bool severalRows;
};

class ScanLookupTest : public testing::TestWithParam<Case> {
  protected:
    void SetUp() override {
        ids = salestest::insert(store::schema::kGoods, shelf());
        // Newest first, so that the list's order is not the order of the IDs.
        goods.select(store::schema::kGoods, "1 order by ID desc");
        goods.open();
    }

    // The position in shelf() of a row of the goods query.
    int shelfPosition(int row) const {
        const std::string id = std::to_string(goods.rowIdAt(row));
        for (std::size_t i = 0; i < ids.size(); ++i)
            if (ids[i] == id) return static_cast<int>(i);
        return -2;
    }

    testsupport::TestDatabase db;
    std::vector<std::string> ids;
    store::Connection connection;
    store::Query goods{connection};
};

TEST_P(ScanLookupTest, FindsTheRowToSellFrom) {
    const Case& c = GetParam();
    const sales::ScanMatch match = sales::findGoodsByCode(goods, c.scanned);
    EXPECT_EQ(match.outcome, c.outcome);
    EXPECT_EQ(match.row < 0 ? -1 : shelfPosition(match.row), c.row);
    EXPECT_EQ(match.severalRows, c.severalRows);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, ScanLookupTest,
    testing::Values(Case{"OneRowWithStock", "690001", Outcome::Found, 0, false},
                    Case{"OldestOfSeveralWithStock", "690002", Outcome::Found, 2, true},
                    Case{"RowsWithoutStock", "690003", Outcome::NoStock, -1, false},
                    Case{"LessThanOneUnit", "690004", Outcome::Found, 6, false},
                    Case{"OldestWithAWholeUnit", "690008", Outcome::Found, 12, true},
                    Case{"StockShownAsZero", "690009", Outcome::NoStock, -1, false},
                    Case{"StockShownAsOneUnit", "690007", Outcome::Found, 10, false},
                    Case{"BlanksAroundTheStoredCode", "690005", Outcome::Found, 7, false},
                    Case{"BlanksAroundTheScan", " 690001\t", Outcome::Found, 0, false},
                    Case{"NoStockFigure", "690006", Outcome::NoStock, -1, false},
                    Case{"UnknownCode", "690099", Outcome::Unknown, -1, false},
                    Case{"PartOfACode", "69000", Outcome::Unknown, -1, false},
                    Case{"AWildcard", "6900%", Outcome::Unknown, -1, false},
                    Case{"ARowNumber", "3", Outcome::Unknown, -1, false},
                    Case{"OtherLetterCase", "abc", Outcome::Unknown, -1, false},
                    Case{"Empty", "  ", Outcome::Unknown, -1, false}),
    [](const testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

// The index of codes is made once for the rows and follows what the list writes.
TEST_F(ScanLookupTest, AnEditedCodeAndAMovedStockAreFoundAtOnce) {
    ASSERT_EQ(sales::findGoodsByCode(goods, "690001").outcome, Outcome::Found);
    const int row = sales::findGoodsByCode(goods, "690001").row;
    goods.moveTo(row);
    goods.edit();
    goods.setFieldText("商品编码", "777");
    goods.post();
    EXPECT_EQ(sales::findGoodsByCode(goods, "690001").outcome, Outcome::Unknown);
    EXPECT_EQ(sales::findGoodsByCode(goods, "777").row, row);

    const int newest = sales::findGoodsByCode(goods, "690002").row;
    goods.moveTo(newest);
    goods.edit();
    goods.setFieldText("库存数量", "0");
    goods.post();
    EXPECT_EQ(shelfPosition(sales::findGoodsByCode(goods, "690002").row), 3);
}

}  // namespace
