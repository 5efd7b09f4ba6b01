#include <QApplication>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QTest>

#include "grid/SortMarks.h"
#include "grid/TitleLayout.h"
#include "platform/Fonts.h"
#include "tests/grid/GridFixture.h"
#include "tests/grid/GridTests.h"

namespace gridtest {

using grid::SortMark;

namespace {

void clickTitle(grid::TDataGrid& grid, int column, Qt::KeyboardModifiers modifiers = {}) {
    QTest::mouseClick(&grid, Qt::LeftButton, modifiers, grid.titleRect(column).center());
}

}  // namespace

void TitlesTest::upperCellsJoinEqualRuns() {
    const QFontMetrics metrics(platform::pixelFont("宋体", 13, true));
    const grid::TitleLayout layout = grid::layoutTitles(salesColumns(), grid::SortMarks(), metrics);
    QCOMPARE(layout.upperCells.size(), std::size_t{3});
    QCOMPARE(layout.upperCells[0].firstColumn, 1);
    QCOMPARE(layout.upperCells[0].lastColumn, 5);
    QCOMPARE(layout.upperCells[0].text, QStringLiteral("①商品信息"));
    QCOMPARE(layout.upperCells[1].firstColumn, 6);
    QCOMPARE(layout.upperCells[1].lastColumn, 8);
    QCOMPARE(layout.upperCells[2].firstColumn, 9);
    QCOMPARE(layout.upperCells[2].lastColumn, 11);
    QVERIFY(!layout.twoLevel[0]);
    QCOMPARE(layout.lower[0], QStringLiteral("销售日期"));  // the field name
    QCOMPARE(layout.lower[12], QStringLiteral("备注"));
    QVERIFY(layout.upperHeight >= metrics.height() + 10);
    QVERIFY(layout.bandHeight >= layout.upperHeight + metrics.height() + 10);
}

void TitlesTest::plainClicksCycleOneMark() {
    GridFixture f({{"B", "1", ""}, {"A", "2", ""}, {"C", "3", ""}});
    const QList<SortMark> expected{SortMark::Down, SortMark::Up, SortMark::Down};
    for (SortMark mark : expected) {
        clickTitle(*f.grid, kAmountColumn);
        QCOMPARE(f.grid->sortMark(kAmountColumn), mark);
    }
    // Only marks: the rows keep the database's order.
    QCOMPARE(f.textAt(0, "商品编码"), std::string("B"));
    QCOMPARE(f.textAt(1, "商品编码"), std::string("A"));
    QCOMPARE(f.textAt(2, "商品编码"), std::string("C"));
}

void TitlesTest::ctrlKeepsMarksAndPlainClickClearsThem() {
    GridFixture f(numberedSales(3));
    clickTitle(*f.grid, 1, Qt::ControlModifier);
    clickTitle(*f.grid, 6, Qt::ControlModifier);
    QCOMPARE(f.grid->sortMark(1), SortMark::Down);
    QCOMPARE(f.grid->sortMark(6), SortMark::Down);
    clickTitle(*f.grid, 6, Qt::ControlModifier);
    clickTitle(*f.grid, 6, Qt::ControlModifier);  // up -> none with Ctrl
    QCOMPARE(f.grid->sortMark(6), SortMark::None);
    clickTitle(*f.grid, 6, Qt::ControlModifier);
    clickTitle(*f.grid, 9);
    QCOMPARE(f.grid->sortMark(1), SortMark::None);
    QCOMPARE(f.grid->sortMark(6), SortMark::None);
    QCOMPARE(f.grid->sortMark(9), SortMark::Down);
    clickTitle(*f.grid, 0);  // a one-level title is a button over its whole height
    QCOMPARE(f.grid->sortMark(0), SortMark::Down);
    QCOMPARE(f.grid->sortMark(9), SortMark::None);
}

void TitlesTest::joinedUpperCellIsNotAButton() {
    GridFixture f(numberedSales(3));
    QTest::mouseClick(f.grid.get(), Qt::LeftButton, {}, f.grid->titleRect(2, true).center());
    for (int c = 0; c < 13; ++c) QCOMPARE(f.grid->sortMark(c), SortMark::None);
    // Pressed on a lower cell and released elsewhere: no click.
    QTest::mousePress(f.grid.get(), Qt::LeftButton, {}, f.grid->titleRect(3).center());
    QTest::mouseRelease(f.grid.get(), Qt::LeftButton, {}, f.grid->titleRect(4).center());
    QCOMPARE(f.grid->sortMark(3), SortMark::None);
}

void TitlesTest::resizingKeepsTheSpan() {
    GridFixture f(numberedSales(3));
    const QRect before = f.grid->titleRect(2, true);
    QCOMPARE(before, f.grid->titleRect(5, true));
    QCOMPARE(before.left(), f.grid->titleRect(1).left());
    QCOMPARE(before.right(), f.grid->titleRect(5).right());

    const QRect lower = f.grid->titleRect(2);
    const QPoint border(lower.right() + 1, lower.center().y());
    QTest::mousePress(f.grid.get(), Qt::LeftButton, {}, border);
    QMouseEvent move(QEvent::MouseMove, border + QPoint(30, 0),
                     f.grid->mapToGlobal(border + QPoint(30, 0)), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(f.grid.get(), &move);
    QTest::mouseRelease(f.grid.get(), Qt::LeftButton, {}, border + QPoint(30, 0));

    QCOMPARE(f.grid->columns()[2].width, 95);
    const QRect after = f.grid->titleRect(2, true);
    QCOMPARE(after.left(), before.left());
    QCOMPARE(after.width(), before.width() + 30);
    QCOMPARE(after.right(), f.grid->titleRect(5).right());
    for (int c = 0; c < 13; ++c) QCOMPARE(f.grid->sortMark(c), SortMark::None);
}

void TitlesTest::indicatorWidthFollowsRowCount() {
    GridFixture f(numberedSales(150));
    const int narrow = GridFixture(numberedSales(9)).grid->indicatorWidth();
    const QFontMetrics metrics(platform::pixelFont("宋体", 13));
    // The widest row number fits, and more digits take more room.
    QVERIFY(f.grid->indicatorWidth() > metrics.horizontalAdvance(QStringLiteral("NO.150")));
    QVERIFY(f.grid->indicatorWidth() > narrow);
    QCOMPARE(f.grid->titleRect(-1).width(), f.grid->indicatorWidth());
    QCOMPARE(f.grid->titleRect(0).left(), f.grid->indicatorWidth());
}

}  // namespace gridtest
