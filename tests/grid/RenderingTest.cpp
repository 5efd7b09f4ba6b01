#include <QImage>
#include <QTest>

#include "tests/grid/GridFixture.h"
#include "tests/grid/GridTests.h"

namespace gridtest {

namespace {

QImage picture(grid::TDataGrid& grid) { return grid.grab().toImage(); }

QColor colourAt(const QImage& image, const QPoint& point) { return image.pixelColor(point); }

int darkPixels(const QImage& image, const QRect& area) {
    int dark = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (qGray(image.pixel(x, y)) < 100) ++dark;
    return dark;
}

}  // namespace

void RenderingTest::rowsAreStripedByRecordNumber() {
    GridFixture f(numberedSales(8));
    f.grid->clearFocus();
    const QImage image = picture(*f.grid);
    for (int row = 0; row < 8; ++row) {
        const QColor expected = row % 2 == 0 ? QColor(Qt::white) : QColor(238, 238, 238);
        QCOMPARE(colourAt(image, f.grid->cellRect(row, 2).center()), expected);
    }
    // The indicator title "行号" and the current row's "NO.1" are drawn.
    QVERIFY(darkPixels(image, f.grid->titleRect(-1).adjusted(2, 2, -2, -2)) > 10);
    QVERIFY(darkPixels(image, f.grid->cellRect(0, -1).adjusted(1, 1, -1, -1)) > 10);
    QCOMPARE(darkPixels(image, f.grid->cellRect(1, -1).adjusted(2, 2, -2, -2)), 0);
}

void RenderingTest::highlightWithAndWithoutFocus() {
    GridFixture f(numberedSales(8));
    f.grid->activateWindow();
    f.grid->setFocus();
    QTRY_VERIFY(f.grid->hasFocus());
    QTest::mouseClick(f.grid.get(), Qt::LeftButton, {}, f.grid->cellRect(4, 2).center());
    QTest::mouseClick(f.grid.get(), Qt::LeftButton, Qt::ControlModifier,
                      f.grid->cellRect(2, 2).center());
    QTest::mouseClick(f.grid.get(), Qt::LeftButton, Qt::ControlModifier,
                      f.grid->cellRect(2, 2).center());  // current row 2, selected row 4
    const QColor highlight = f.grid->palette().color(QPalette::Active, QPalette::Highlight);
    QImage image = picture(*f.grid);
    QCOMPARE(colourAt(image, f.grid->cellRect(4, 2).center()), highlight);
    QCOMPARE(colourAt(image, f.grid->cellRect(2, 2).center()), highlight);
    QCOMPARE(colourAt(image, f.grid->cellRect(3, 2).center()), QColor(238, 238, 238));

    f.grid->clearFocus();
    image = picture(*f.grid);
    QCOMPARE(colourAt(image, f.grid->cellRect(4, 2).center()),
             f.grid->palette().color(QPalette::Button));
    QCOMPARE(colourAt(image, f.grid->cellRect(2, 2).center()), QColor(Qt::white));
}

void RenderingTest::upperCellIsJoined() {
    GridFixture f(numberedSales(2));
    f.grid->clearFocus();
    const QImage image = picture(*f.grid);
    const QColor face = f.grid->palette().color(QPalette::Button);
    const int border = f.grid->titleRect(1).right();  // between 商品编码 and 商品名称
    const QPoint upper(border, f.grid->titleRect(1, true).top() + 3);
    const QPoint lower(border, f.grid->titleRect(1).top() + 3);
    QCOMPARE(colourAt(image, upper), face);
    QVERIFY(colourAt(image, lower) != face);
    // Between two runs the upper level is divided.
    const QPoint between(f.grid->titleRect(5).right(), upper.y());
    QVERIFY(colourAt(image, between) != face);
}

void RenderingTest::footerShowsItsTexts() {
    GridFixture f(numberedSales(3));
    const QImage image = picture(*f.grid);
    const QRect label = f.grid->footerRect(0).adjusted(2, 2, -2, -2);
    const QRect sum = f.grid->footerRect(kAmountColumn).adjusted(2, 2, -2, -2);
    const QRect empty = f.grid->footerRect(kCodeColumn).adjusted(2, 2, -2, -2);
    QVERIFY(darkPixels(image, label) > 20);
    QVERIFY(darkPixels(image, sum) > 3);
    QCOMPARE(darkPixels(image, empty), 0);
    QCOMPARE(colourAt(image, empty.center()), QColor(Qt::cyan));
    QVERIFY(f.grid->footerRect(0).bottom() < f.grid->height());
}

void RenderingTest::noPartOfARowThatDoesNotFitShowsAboveTheFooter() {
    GridFixture f(numberedSales(60));
    f.grid->clearFocus();
    const int rowHeight = f.grid->rowHeight();
    const int rowsArea = f.grid->footerRect(0).top() - f.grid->titleHeight();
    // Room for an odd number of whole rows and half a row: the row cut in half is a grey one.
    const int whole = (rowsArea / rowHeight) | 1;
    f.grid->resize(f.grid->width(),
                   f.grid->height() - rowsArea + whole * rowHeight + rowHeight / 2);
    QCOMPARE(f.grid->footerRect(0).top() - f.grid->titleHeight(),
             whole * rowHeight + rowHeight / 2);

    QVERIFY(!f.grid->cellRect(whole - 1, 2).isEmpty());
    QVERIFY(f.grid->cellRect(whole, 2).isEmpty());  // the row that does not fit is not shown
    const QImage image = picture(*f.grid);
    QCOMPARE(colourAt(image, f.grid->cellRect(whole - 1, 2).center()), QColor(Qt::white));
    const int gapTop = f.grid->cellRect(whole - 1, 2).bottom() + 1;
    const int gapBottom = f.grid->footerRect(0).top() - 1;
    for (int y = gapTop; y <= gapBottom; ++y)
        for (int x = f.grid->indicatorWidth(); x < f.grid->footerRect(kAmountColumn).right(); ++x)
            QVERIFY2(image.pixelColor(x, y) == QColor(Qt::white),
                     qPrintable(QStringLiteral("painted at %1, %2").arg(x).arg(y)));
    // A click there selects nothing.
    QTest::mouseClick(f.grid.get(), Qt::LeftButton, {}, QPoint(200, gapTop + 2));
    QCOMPARE(f.grid->selectedCount(), 0);
}

}  // namespace gridtest
