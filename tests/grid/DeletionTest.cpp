#include <QTest>

#include "store/Connection.h"
#include "store/Error.h"
#include "store/Schema.h"
#include "tests/grid/GridFixture.h"
#include "tests/grid/GridTests.h"
#include "tests/support/QueryRows.h"
#include "tests/support/WatchedWrites.h"
#include "tests/support/widgets/ScriptedPlatform.h"

namespace gridtest {

namespace {

using testsupport::codes;

void click(grid::TDataGrid& grid, int row, Qt::KeyboardModifiers modifiers = {}) {
    QTest::mouseClick(&grid, Qt::LeftButton, modifiers, grid.cellRect(row, 2).center());
}

// The store refuses to delete rows marked "locked", as a locked file would.
const std::string kRefuseLocked = std::string("CREATE TRIGGER keep_locked BEFORE DELETE ON \"") +
                                  store::schema::kSales +
                                  "\" WHEN old.\"备注\" = 'locked' "
                                  "BEGIN SELECT RAISE(ABORT, 'record is locked'); END;";

}  // namespace

void DeletionTest::deletesSelectedRowsLastToFirst() {
    GridFixture f(numberedSales(6));
    click(*f.grid, 1);
    click(*f.grid, 3, Qt::ControlModifier);
    click(*f.grid, 4, Qt::ControlModifier);
    f.grid->deleteSelected();
    QCOMPARE(codes(f.query), (std::vector<std::string>{"A1", "A3", "A6"}));
    QCOMPARE(f.grid->selectedCount(), 0);
    QCOMPARE(f.grid->footerText(kAmountColumn), QStringLiteral("10"));  // 21 - 2 - 4 - 5
    QCOMPARE(f.query.currentIndex(), 1);  // where the last deletion (of A2) left it
}

void DeletionTest::refusedDeletionStopsAtThatRow() {
    std::vector<Sale> sales = numberedSales(6);
    sales[2].remark = "locked";
    GridFixture f(sales);
    f.execute(kRefuseLocked);
    for (int row : {0, 2, 4}) click(*f.grid, row, Qt::ControlModifier);
    QVERIFY_THROWS_EXCEPTION(store::StoreError, f.grid->deleteSelected());
    QCOMPARE(codes(f.query), (std::vector<std::string>{"A1", "A2", "A3", "A4", "A6"}));
    QCOMPARE(f.grid->selectedCount(), 2);
    QVERIFY(f.grid->isRowSelected(0));
    QVERIFY(f.grid->isRowSelected(2));
    QCOMPARE(f.grid->footerText(kAmountColumn), QStringLiteral("16"));  // only A5 left the total
    f.grid->grab();                                                     // painting goes on

    f.execute("DROP TRIGGER keep_locked");
    f.grid->deleteSelected();
    QCOMPARE(codes(f.query), (std::vector<std::string>{"A2", "A4", "A6"}));
    QCOMPARE(f.grid->footerText(kAmountColumn), QStringLiteral("12"));
}

void DeletionTest::ctrlDeleteAsksInEnglish() {
    platform::ScriptedPlatform platform;
    GridFixture f(numberedSales(4));
    click(*f.grid, 0);
    click(*f.grid, 2, Qt::ControlModifier);
    platform.messageAnswers.enqueue(platform::Answer::Cancel);
    QTest::keyClick(f.grid.get(), Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(platform.messages.size(), 1);
    QCOMPARE(platform.messages[0].caption, QStringLiteral("Confirm"));
    QCOMPARE(platform.messages[0].text, QStringLiteral("Delete all selected records?"));
    QCOMPARE(platform.messages[0].kind, platform::MessageKind::Question);
    QCOMPARE(f.query.recordCount(), 4);

    platform.messageAnswers.enqueue(platform::Answer::Ok);
    QTest::keyClick(f.grid.get(), Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(codes(f.query), (std::vector<std::string>{"A2", "A4"}));
    QCOMPARE(f.grid->selectedCount(), 0);

    QTest::keyClick(f.grid.get(), Qt::Key_Delete);  // without Ctrl nothing happens
    QCOMPARE(platform.messages.size(), 2);
}

void DeletionTest::ctrlDeleteWithoutSelectionDeletesCurrentRow() {
    platform::ScriptedPlatform platform;
    GridFixture f(numberedSales(3));
    f.query.moveTo(1);
    QTest::keyClick(f.grid.get(), Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(platform.messageTexts(), QStringList{QStringLiteral("Delete record?")});
    QCOMPARE(codes(f.query), (std::vector<std::string>{"A1", "A3"}));
    QCOMPARE(f.grid->footerText(kAmountColumn), QStringLiteral("4"));
}

void DeletionTest::ctrlDeleteRefusedIsShown() {
    platform::ScriptedPlatform platform;
    std::vector<Sale> sales = numberedSales(3);
    sales[1].remark = "locked";
    GridFixture f(sales);
    f.execute(kRefuseLocked);
    f.query.moveTo(1);
    QTest::keyClick(f.grid.get(), Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(platform.messages.size(), 2);
    QCOMPARE(platform.messages[1].kind, platform::MessageKind::Error);
    QVERIFY(platform.messages[1].text.contains(QStringLiteral("locked")));
    QCOMPARE(f.query.recordCount(), 3);
    QCOMPARE(f.grid->footerText(kAmountColumn), QStringLiteral("6"));
}

void DeletionTest::withoutADeleterTheSelectionStays() {
    platform::ScriptedPlatform platform;
    GridFixture f(numberedSales(3));
    f.grid->setRowDeleter({});
    click(*f.grid, 0);
    click(*f.grid, 2, Qt::ControlModifier);
    f.grid->deleteSelected();
    QTest::keyClick(f.grid.get(), Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(platform.messages.size(), 0);  // nothing asked that would not be done
    QCOMPARE(f.query.recordCount(), 3);
    QCOMPARE(f.grid->selectedCount(), 2);

    // The rows reach the deleter in row order.
    std::vector<int> handed;
    f.grid->setRowDeleter([&](const std::vector<int>& rows) { handed = rows; });
    f.grid->deleteSelected();
    QCOMPARE(handed, (std::vector<int>{0, 2}));
    QCOMPARE(f.grid->selectedCount(), 0);
}

void DeletionTest::ctrlDeleteOnEmptyListDoesNothing() {
    platform::ScriptedPlatform platform;
    GridFixture f({});
    QTest::keyClick(f.grid.get(), Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(platform.messages.size(), 0);
    f.grid->deleteSelected();
    QCOMPARE(f.grid->selectedCount(), 0);
}

void DeletionTest::ctrlDeleteOnAListThatCannotChangeDoesNothing() {
    platform::ScriptedPlatform platform;
    GridFixture f(numberedSales(2));
    f.query.setSql(std::string("select 商品编码, 销售金额 from ") + store::schema::kSales);
    f.query.open();
    QTest::keyClick(f.grid.get(), Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(platform.messages.size(), 0);
    QCOMPARE(f.query.recordCount(), 2);
}

void DeletionTest::togetherTheTotalFallsAsItWouldRowByRow() {
    // Halves of ten-thousandths: each row's share is rounded as a single deletion rounds it.
    const std::vector<Sale> sales = {{"A1", "0.03125", ""},
                                     {"A2", "1.00005", ""},
                                     {"A3", "0.0001", ""},
                                     {"A4", "2.00015", ""},
                                     {"A5", "0.03125", ""}};
    GridFixture together(sales);
    for (int row : {0, 1, 3}) click(*together.grid, row, Qt::ControlModifier);
    together.grid->deleteSelected();

    GridFixture oneByOne(sales);
    for (int row : {3, 1, 0}) {
        oneByOne.query.moveTo(row);
        oneByOne.query.remove();
    }
    QCOMPARE(codes(together.query), (std::vector<std::string>{"A3", "A5"}));
    QCOMPARE(together.grid->footerTotal(kAmountColumn), oneByOne.grid->footerTotal(kAmountColumn));
    QCOMPARE(together.query.currentIndex(), oneByOne.query.currentIndex());
}

void DeletionTest::insideACallersTransactionTheCallerDecides() {
    GridFixture f(numberedSales(4));
    click(*f.grid, 1);
    click(*f.grid, 2, Qt::ControlModifier);
    {
        store::WriteTransaction transaction(f.connection);
        f.grid->deleteSelected();
        QCOMPARE(codes(f.query), (std::vector<std::string>{"A1", "A4"}));
    }  // not committed: the rows come back in the list and its total
    QCOMPARE(codes(f.query), (std::vector<std::string>{"A1", "A2", "A3", "A4"}));
    QCOMPARE(f.grid->footerText(kAmountColumn), QStringLiteral("10"));

    click(*f.grid, 0);
    {
        store::WriteTransaction transaction(f.connection);
        f.grid->deleteSelected();
        transaction.commit();
    }
    f.query.close();
    f.query.open();
    QCOMPARE(codes(f.query), (std::vector<std::string>{"A2", "A3", "A4"}));
}

void DeletionTest::anotherConnectionNeverSeesAHalfDeletedSelection() {
    GridFixture f(numberedSales(6));
    for (int row : {1, 3, 4}) click(*f.grid, row, Qt::ControlModifier);
    testsupport::SecondConnectionView view(
        f.connection.database(), store::schema::kSales,
        std::string("SELECT group_concat(\"商品编码\") FROM \"") + store::schema::kSales + "\"");
    f.grid->deleteSelected();
    // Each deletion in turn: the other connection still sees every row until all are gone.
    QCOMPARE(view.seen(), std::vector<std::string>(3, "A1,A2,A3,A4,A5,A6"));
    QCOMPARE(view.look(), std::string("A1,A3,A6"));
}

void DeletionTest::aDeletionWhoseCommitFailsKeepsEveryRow() {
    GridFixture f(numberedSales(6));
    for (int row : {1, 3, 4}) click(*f.grid, row, Qt::ControlModifier);
    {
        const testsupport::RefusedCommits refused(f.connection.database());
        QVERIFY_THROWS_EXCEPTION(store::StoreError, f.grid->deleteSelected());
    }
    const std::vector<std::string> all = {"A1", "A2", "A3", "A4", "A5", "A6"};
    QCOMPARE(codes(f.query), all);
    QCOMPARE(f.grid->footerText(kAmountColumn), QStringLiteral("21"));
    f.query.close();
    f.query.open();
    QCOMPARE(codes(f.query), all);
}

}  // namespace gridtest
