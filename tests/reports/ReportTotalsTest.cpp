// The totals of the summary band: sums over every row of the data set, and their printed text.
#include <gtest/gtest.h>

#include <QDate>
#include <QLocale>

#include "reports/layouts/SumList.h"
#include "reports/layouts/TotalsText.h"
#include "store/Connection.h"
#include "store/ConnectionString.h"
#include "store/Schema.h"
#include "store/Values.h"
#include "tests/support/StoredRows.h"
#include "tests/support/TestDatabase.h"

namespace L = reports::layouts;
namespace values = store::values;

namespace {

struct TotalCase {
    std::vector<const char*> amounts;  // stored values of one column, "" for an empty value
    const char* printed;
};

class PrintedTotal : public ::testing::TestWithParam<TotalCase> {};

// Sums go through the store and the sum list, as the report windows compute them.
TEST_P(PrintedTotal, OfTheStoredValues) {
    testsupport::TestDatabase database;
    std::vector<testsupport::Row> rows;
    for (const char* amount : GetParam().amounts) rows.push_back({{"进货金额", amount}});
    testsupport::appendRows(store::schema::kGoods, rows);

    store::Connection connection(store::buildConnectionStringForCurrentDirectory());
    store::Query query(connection);
    L::SumList sums(query, {"进货金额"});
    query.select(store::schema::kGoods);
    query.open();
    ASSERT_EQ(sums.totals().size(), 1u);
    EXPECT_EQ(L::totalText(sums.totals()[0]).toStdString(), GetParam().printed);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PrintedTotal,
    ::testing::Values(TotalCase{{"0.125", "0.125"}, "0.25"},  // exact, not 0.24999...
                      TotalCase{{"2.675"}, "2.67"},           // its double lies below 2.675
                      TotalCase{{"1234.5"}, "1234.5"}, TotalCase{{"1000", "200"}, "1200"},
                      TotalCase{{"12.3456"}, "12.35"},
                      // more than four decimals: each addition is rounded to ten-thousandths
                      TotalCase{{"0.00004", "0.00004", "0.00004"}, "0"},
                      TotalCase{{"1.23456", "", "1.00004"}, "2.23"},
                      TotalCase{{"-5.5", "2.25"}, "-3.25"}, TotalCase{{}, "0"},
                      // beyond 15 digits the exact total is kept, not its 15-digit rounding
                      TotalCase{{"99999999999999.5", "99999999999999.5", "99999999999999.5"},
                                "299999999999998.5"}));

TEST(ReportTotals, TheGoodsTotalsAreIndependentAndAnEmptyProfitAddsNothing) {
    testsupport::TestDatabase database;
    testsupport::appendRows(store::schema::kGoods,
                            {{{"销售金额", "10"}, {"销售利润", "2.5"}, {"库存金额", "7"}},
                             {{"销售金额", "4.25"}, {"销售利润", ""}, {"库存金额", "1"}},
                             {{"销售金额", ""}, {"销售利润", "-1"}, {"库存金额", ""}}});
    store::Connection connection(store::buildConnectionStringForCurrentDirectory());
    store::Query query(connection);
    L::SumList sums(query, {"销售金额", "销售利润", "库存金额"});
    query.select(store::schema::kGoods);
    query.open();
    const auto& t = sums.totals();
    ASSERT_EQ(t.size(), 3u);
    EXPECT_EQ(values::tenThousandthsText(t[0]), "14.25");
    EXPECT_EQ(values::tenThousandthsText(t[1]), "1.5");
    EXPECT_EQ(values::tenThousandthsText(t[2]), "8");
}

TEST(ReportTotals, ReopeningRecomputesAndAClosedDataSetSumsNothing) {
    testsupport::TestDatabase database;
    testsupport::appendRows(store::schema::kSales, {{{"销售金额", "3"}}});
    store::Connection connection(store::buildConnectionStringForCurrentDirectory());
    store::Query query(connection);
    L::SumList sums(query, {"销售金额", "没有的列"});
    EXPECT_EQ(values::tenThousandthsText(sums.totals()[0]), "0");
    query.select(store::schema::kSales);
    query.open();
    EXPECT_EQ(values::tenThousandthsText(sums.totals()[0]), "3");
    EXPECT_EQ(values::tenThousandthsText(sums.totals()[1]), "0") << "a missing field sums 0";
    EXPECT_EQ(query.currentIndex(), 0) << "the data set stays on its first row";

    testsupport::appendRows(store::schema::kSales, {{{"销售金额", "4"}}});
    query.close();
    query.open();
    EXPECT_EQ(values::tenThousandthsText(sums.totals()[0]), "7");
}

TEST(ReportTotals, RoundingStepKeepsTextThatIsNoNumber) {
    EXPECT_EQ(L::roundedToCents(QStringLiteral("RepLabel15")), QStringLiteral("RepLabel15"));
    EXPECT_EQ(L::roundedToCents(QStringLiteral("0.5")), QStringLiteral("0.5"));
    EXPECT_EQ(L::roundedToCents(QStringLiteral("0.125")), QStringLiteral("0.12"));
    EXPECT_EQ(L::roundedToCents(QStringLiteral("1.005")), QStringLiteral("1"));  // below a half
    EXPECT_EQ(L::roundedToCents(QStringLiteral("-12.3456")), QStringLiteral("-12.35"));
}

TEST(ReportTotals, PrintDateIsTheProgramLocalesShortDate) {
    const QDate date(2026, 12, 10);
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    EXPECT_EQ(L::printDateText(date), QStringLiteral("2026/12/10"));
    QLocale::setDefault(before);
}

}  // namespace
