#pragma once

#include <QTest>

#include "grid/DataGrid.h"

namespace testsupport {

// A click on a row of a list, where the row indicator is (as the user picks a row).
inline void clickRow(grid::TDataGrid& list, int row,
                     Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    const QRect cell = list.cellRect(row, -1);
    QVERIFY(!cell.isEmpty());
    QTest::mouseClick(&list, Qt::LeftButton, modifiers, cell.center());
}

// A double click on a row's second column.
inline void doubleClickRow(grid::TDataGrid& list, int row) {
    const QRect cell = list.cellRect(row, 1);
    QVERIFY(!cell.isEmpty());
    QTest::mouseDClick(&list, Qt::LeftButton, Qt::NoModifier, cell.center());
}

}  // namespace testsupport
