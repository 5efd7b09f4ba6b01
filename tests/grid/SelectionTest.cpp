#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>

#include "tests/grid/GridFixture.h"
#include "tests/grid/GridTests.h"

namespace gridtest {

namespace {

QList<int> selectedRows(const grid::TDataGrid& grid, int rows) {
    QList<int> selected;
    for (int row = 0; row < rows; ++row)
        if (grid.isRowSelected(row)) selected.append(row);
    return selected;
}

void click(grid::TDataGrid& grid, int row, Qt::KeyboardModifiers modifiers = {}) {
    QTest::mouseClick(&grid, Qt::LeftButton, modifiers, grid.cellRect(row, 2).center());
}

}  // namespace

void SelectionTest::plainCtrlAndShiftClicks() {
    GridFixture f(numberedSales(10));
    click(*f.grid, 2);
    QCOMPARE(f.query.currentIndex(), 2);
    QCOMPARE(selectedRows(*f.grid, 10), (QList<int>{2}));

    for (int row : {0, 4, 6, 8}) click(*f.grid, row, Qt::ControlModifier);
    QCOMPARE(selectedRows(*f.grid, 10), (QList<int>{0, 2, 4, 6, 8}));
    QCOMPARE(f.query.currentIndex(), 8);
    click(*f.grid, 4, Qt::ControlModifier);  // toggles off
    QCOMPARE(selectedRows(*f.grid, 10), (QList<int>{0, 2, 6, 8}));
    QCOMPARE(f.query.currentIndex(), 4);

    click(*f.grid, 5);  // a plain click leaves only that row
    QCOMPARE(selectedRows(*f.grid, 10), (QList<int>{5}));
    QCOMPARE(f.grid->selectedCount(), 1);

    click(*f.grid, 1, Qt::ControlModifier);
    click(*f.grid, 8, Qt::ShiftModifier);  // from the current row 1 to 8, added
    QCOMPARE(selectedRows(*f.grid, 10), (QList<int>{1, 2, 3, 4, 5, 6, 7, 8}));
    QCOMPARE(f.query.currentIndex(), 8);
}

void SelectionTest::indicatorCellSelectsToo() {
    GridFixture f(numberedSales(5));
    QTest::mouseClick(f.grid.get(), Qt::LeftButton, {}, f.grid->cellRect(3, -1).center());
    QCOMPARE(f.query.currentIndex(), 3);
    QCOMPARE(selectedRows(*f.grid, 5), (QList<int>{3}));
}

void SelectionTest::dragSelectsARange() {
    GridFixture f(numberedSales(10));
    QTest::mousePress(f.grid.get(), Qt::LeftButton, {}, f.grid->cellRect(6, 3).center());
    for (int row : {5, 4, 3, 2}) {
        QMouseEvent move(QEvent::MouseMove, f.grid->cellRect(row, 3).center(),
                         f.grid->mapToGlobal(f.grid->cellRect(row, 3).center()), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(f.grid.get(), &move);
    }
    QTest::mouseRelease(f.grid.get(), Qt::LeftButton, {}, f.grid->cellRect(2, 3).center());
    QCOMPARE(selectedRows(*f.grid, 10), (QList<int>{2, 3, 4, 5, 6}));
    QCOMPARE(f.query.currentIndex(), 2);
}

void SelectionTest::rightButtonKeepsSelectionAndOpensMenu() {
    GridFixture f(numberedSales(6));
    QMenu menu;
    menu.addAction(QStringLiteral("修改信息"));
    f.grid->setPopupMenu(&menu);
    click(*f.grid, 1);
    click(*f.grid, 3, Qt::ControlModifier);
    QTest::mousePress(f.grid.get(), Qt::RightButton, {}, f.grid->cellRect(5, 4).center());
    QCOMPARE(f.query.currentIndex(), 5);
    QCOMPARE(selectedRows(*f.grid, 6), (QList<int>{1, 3}));
    QTRY_VERIFY(menu.isVisible());
    menu.hide();
}

void SelectionTest::cursorKeys() {
    GridFixture f(numberedSales(50));
    click(*f.grid, 2);
    click(*f.grid, 4, Qt::ControlModifier);
    QTest::keyClick(f.grid.get(), Qt::Key_Down);  // a plain key empties the selection
    QCOMPARE(f.query.currentIndex(), 5);
    QCOMPARE(f.grid->selectedCount(), 0);
    QTest::keyClick(f.grid.get(), Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(f.query.currentIndex(), 49);
    QVERIFY(f.grid->topRow() > 0);
    QVERIFY(!f.grid->cellRect(49, 0).isEmpty());
    QTest::keyClick(f.grid.get(), Qt::Key_Home);
    QCOMPARE(f.query.currentIndex(), 0);
    QCOMPARE(f.grid->topRow(), 0);
    QTest::keyClick(f.grid.get(), Qt::Key_PageDown);
    QVERIFY(f.query.currentIndex() > 5);
    QTest::keyClick(f.grid.get(), Qt::Key_Up, Qt::ControlModifier);
    QTest::keyClick(f.grid.get(), Qt::Key_PageUp);
    QCOMPARE(f.query.currentIndex(), 0);
    QTest::keyClick(f.grid.get(), Qt::Key_Up);  // stays on the first row
    QCOMPARE(f.query.currentIndex(), 0);
}

void SelectionTest::shiftKeysExtendAndShrink() {
    GridFixture f(numberedSales(10));
    click(*f.grid, 7, Qt::ControlModifier);
    click(*f.grid, 7, Qt::ControlModifier);  // row 7 current, nothing selected
    QCOMPARE(f.grid->selectedCount(), 0);
    click(*f.grid, 1);
    for (int i = 0; i < 3; ++i) QTest::keyClick(f.grid.get(), Qt::Key_Down, Qt::ShiftModifier);
    QCOMPARE(selectedRows(*f.grid, 10), (QList<int>{1, 2, 3, 4}));
    QTest::keyClick(f.grid.get(), Qt::Key_Up, Qt::ShiftModifier);  // back towards the start
    QCOMPARE(selectedRows(*f.grid, 10), (QList<int>{1, 2, 3}));
    QTest::keyClick(f.grid.get(), Qt::Key_Home, Qt::ShiftModifier);  // past the start
    QCOMPARE(selectedRows(*f.grid, 10), (QList<int>{0, 1}));
    QTest::keyClick(f.grid.get(), Qt::Key_Escape);
    QCOMPARE(f.grid->selectedCount(), 0);
    QCOMPARE(f.query.currentIndex(), 0);
}

void SelectionTest::tabMovesBetweenColumns() {
    GridFixture f(numberedSales(5));
    QLineEdit next(f.grid.get());  // a further stop Tab must not move the focus to
    next.show();
    f.grid->activateWindow();
    f.grid->setFocus();
    QTRY_VERIFY(f.grid->hasFocus());
    click(*f.grid, 2);
    QTest::keyClick(f.grid.get(), Qt::Key_Tab);
    QTest::keyClick(f.grid.get(), Qt::Key_Tab);
    QCOMPARE(f.grid->currentColumn(), 2);
    QVERIFY(f.grid->hasFocus());
    QTest::keyClick(f.grid.get(), Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(f.grid->currentColumn(), 1);
    for (int i = 0; i < 3; ++i) QTest::keyClick(f.grid.get(), Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(f.grid->currentColumn(), 0);
    for (int i = 0; i < 20; ++i) QTest::keyClick(f.grid.get(), Qt::Key_Tab);
    QCOMPARE(f.grid->currentColumn(), 12);
    QVERIFY(f.grid->hasFocus());
    QCOMPARE(f.query.currentIndex(), 2);  // rows and selection stay
    QCOMPARE(selectedRows(*f.grid, 5), (QList<int>{2}));
}

void SelectionTest::doubleClickRaisesEventOnThatRow() {
    GridFixture f(numberedSales(5));
    QSignalSpy spy(f.grid.get(), &grid::TDataGrid::doubleClicked);
    QTest::mouseDClick(f.grid.get(), Qt::LeftButton, {}, f.grid->cellRect(3, 5).center());
    QCOMPARE(spy.count(), 1);
    QCOMPARE(f.query.currentIndex(), 3);
    QTest::mouseDClick(f.grid.get(), Qt::LeftButton, {}, f.grid->titleRect(4).center());
    QCOMPARE(spy.count(), 2);
    QCOMPARE(f.query.currentIndex(), 3);
}

void SelectionTest::gridFollowsTheQuery() {
    GridFixture f(numberedSales(120));
    QCOMPARE(f.grid->topRow(), 0);
    f.query.moveTo(100);
    QVERIFY(!f.grid->cellRect(100, 0).isEmpty());
    f.query.first();
    QCOMPARE(f.grid->topRow(), 0);
    f.query.last();
    QVERIFY(!f.grid->cellRect(119, 0).isEmpty());
}

}  // namespace gridtest
