#include <QTest>

#include "platform/Fonts.h"
#include "store/ConnectionString.h"
#include "store/Error.h"
#include "store/Query.h"
#include "store/Schema.h"
#include "tests/grid/GridFixture.h"
#include "tests/grid/GridTests.h"

namespace gridtest {

void FooterTotalsTest::sumText_data() {
    QTest::addColumn<QStringList>("amounts");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("expected");
    QTest::newRow("tenths add up exactly") << QStringList{"0.1", "0.2", "0.3"} << ""
                                           << "0.6";
    QTest::newRow("tenths, display format") << QStringList{"0.1", "0.2", "0.3"} << "#0.##"
                                            << "0.6";
    QTest::newRow("four decimals without format") << QStringList{"10", "0.123"} << ""
                                                  << "10.123";
    QTest::newRow("two decimals with format") << QStringList{"10", "0.123"} << "#0.##"
                                              << "10.12";
    QTest::newRow("empty values count nothing") << QStringList{"5", "", "2.5"} << ""
                                                << "7.5";
    QTest::newRow("negative") << QStringList{"-3.25", "1"} << "#0.##"
                              << "-2.25";
    QTest::newRow("no rows") << QStringList{} << ""
                             << "0";
    // Beyond 64-bit counts of ten-thousandths (about 9.22e14): still exact.
    QTest::newRow("twenty nines") << QStringList{"99999999999999999999", "1"} << "#0.##"
                                  << "100000000000000000001";
    QTest::newRow("largest accepted, both signs")
        << QStringList{"1E24", "1E24", "-1E24", "0.01"} << ""
        << "999999999999999983222784.01";  // the double nearest 1E24, exactly
}

void FooterTotalsTest::postingALargeValueKeepsTheTotalExact() {
    GridFixture f({{"A1", "1000000000000000", ""}});  // 1e15: 1e19 ten-thousandths
    f.query.append();
    f.query.setFieldText("销售金额", "99999999999999999999");
    f.query.post();
    QCOMPARE(f.grid->footerText(kAmountColumn), QStringLiteral("100001000000000000000"));
    f.query.append();
    QVERIFY_THROWS_EXCEPTION(store::StoreError, f.query.setFieldText("销售金额", "1.1E24"));
    f.query.cancel();
    QCOMPARE(f.grid->footerText(kAmountColumn), QStringLiteral("100001000000000000000"));
}

void FooterTotalsTest::sumText() {
    QFETCH(QStringList, amounts);
    QFETCH(QString, format);
    QFETCH(QString, expected);
    std::vector<Sale> sales;
    for (const QString& amount : amounts) sales.push_back({"A", amount.toStdString(), ""});
    GridFixture f(sales, format);
    QCOMPARE(f.grid->footerText(kAmountColumn), expected);
    QCOMPARE(f.grid->footerText(0), QStringLiteral("合计"));
    QCOMPARE(f.grid->footerText(kCodeColumn), QString());
}

void FooterTotalsTest::emptyResultSet() {
    GridFixture f({});
    QCOMPARE(f.grid->footerText(0), QStringLiteral("合计"));
    QCOMPARE(f.grid->footerText(kAmountColumn), QStringLiteral("0"));
    QCOMPARE(f.grid->selectedCount(), 0);
    const QFontMetrics metrics(platform::pixelFont("宋体", 13));
    QVERIFY(f.grid->indicatorWidth() > metrics.horizontalAdvance(QStringLiteral("NO.0")));
    // Clicks and keys on an empty list do nothing.
    QTest::mouseClick(f.grid.get(), Qt::LeftButton, {}, QPoint(100, f.grid->titleHeight() + 5));
    QTest::keyClick(f.grid.get(), Qt::Key_Down, Qt::ShiftModifier);
    QCOMPARE(f.grid->selectedCount(), 0);
}

void FooterTotalsTest::postsAndDeletionsAdjustTheTotal() {
    GridFixture f({{"A1", "10", ""}, {"A2", "20", ""}, {"A3", "30", ""}});
    QVERIFY(f.grid->footerTotal(kAmountColumn) == 600000);

    f.query.moveTo(0);
    f.query.edit();
    f.query.setFieldText("销售金额", "15");
    f.query.post();
    QVERIFY(f.grid->footerTotal(kAmountColumn) == 650000);
    QCOMPARE(f.grid->footerText(kAmountColumn), QStringLiteral("65"));

    f.query.remove();  // the row of 15
    QVERIFY(f.grid->footerTotal(kAmountColumn) == 500000);

    f.query.append();
    f.query.setFieldText("销售金额", "0.05");
    f.query.post();
    QCOMPARE(f.grid->footerText(kAmountColumn), QStringLiteral("50.05"));

    f.query.append();
    f.query.setFieldText("销售金额", "99");
    f.query.cancel();
    QCOMPARE(f.grid->footerText(kAmountColumn), QStringLiteral("50.05"));

    f.query.moveTo(0);  // the row of 20
    f.query.edit();
    f.query.setFieldText("销售金额", "");
    f.query.post();
    QCOMPARE(f.grid->footerText(kAmountColumn), QStringLiteral("30.05"));
}

void FooterTotalsTest::deletionRoundsTheNewTotal() {
    // 0.03125 is 312.5 ten-thousandths: the walk gives 312 + 1 = 313; removing the row leaves
    // 313 - 312.5 = 0.5, which goes to the even 0, not 313 - 312 = 1.
    GridFixture f({{"A1", "0.03125", ""}, {"A2", "0.0001", ""}});
    QVERIFY(f.grid->footerTotal(kAmountColumn) == 313);
    f.query.moveTo(0);
    f.query.remove();
    QVERIFY(f.grid->footerTotal(kAmountColumn) == 0);
    QCOMPARE(f.grid->footerText(kAmountColumn), QStringLiteral("0"));
}

void FooterTotalsTest::aFileNumberBeyondRangeShowsNoWrongTotal() {
    // Written by an older program or by hand: the store no longer accepts such a number.
    GridFixture f({{"A1", "1", ""}});
    f.execute(std::string("INSERT INTO \"") + store::schema::kSales +
              "\" (\"销售金额\") VALUES (1e300)");
    f.query.close();
    f.query.open();  // the list opens all the same
    QCOMPARE(f.query.recordCount(), 2);
    QCOMPARE(f.grid->footerText(kAmountColumn), QStringLiteral("数值过大"));
    f.query.moveTo(1);
    f.query.remove();
    QCOMPARE(f.grid->footerText(kAmountColumn), QStringLiteral("数值过大"));
    f.query.close();
    f.query.open();
    QCOMPARE(f.grid->footerText(kAmountColumn), QStringLiteral("1"));
}

void FooterTotalsTest::missingColumnShowsZero() {
    GridFixture f({{"A1", "10", ""}});
    auto columns = salesColumns();
    columns[kAmountColumn].field = QStringLiteral("无此列");
    f.grid->setColumns(columns);
    QCOMPARE(f.grid->footerText(kAmountColumn), QStringLiteral("0"));
    f.query.close();
    f.query.open();
    QCOMPARE(f.grid->footerText(kAmountColumn), QStringLiteral("0"));
    f.grid->grab();  // paints the empty cells of the missing column
}

void FooterTotalsTest::reopenRebuildsAndEmptiesSelection() {
    GridFixture f({{"A1", "1", ""}, {"A2", "2", ""}});
    QTest::mouseClick(f.grid.get(), Qt::LeftButton, {}, f.grid->cellRect(1, 2).center());
    QCOMPARE(f.grid->selectedCount(), 1);
    f.execute(std::string("INSERT INTO \"") + store::schema::kSales +
              "\" (\"销售金额\") VALUES (4)");
    QCOMPARE(f.grid->footerText(kAmountColumn), QStringLiteral("3"));  // a snapshot

    f.query.close();
    QCOMPARE(f.grid->footerText(kAmountColumn), QStringLiteral("0"));
    f.query.open();
    QCOMPARE(f.grid->footerText(kAmountColumn), QStringLiteral("7"));
    QCOMPARE(f.grid->selectedCount(), 0);
}

void FooterTotalsTest::gridOutlivesItsQuery() {
    testsupport::TestDatabase database;
    grid::TDataGrid grid;
    grid.setColumns(salesColumns());
    {
        store::Connection connection(store::initialConnectionString());
        store::Query query(connection);
        query.select(store::schema::kSales);
        query.open();
        grid.setQuery(&query);
    }
    QCOMPARE(grid.query(), nullptr);
    QCOMPARE(grid.footerText(kAmountColumn), QStringLiteral("0"));
    grid.grab();
}

}  // namespace gridtest
