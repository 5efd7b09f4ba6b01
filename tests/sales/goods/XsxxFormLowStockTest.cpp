// The lowest stock per goods code in the sales window: the marks in the list, the level dialog,
// and the notice after a sale.
#include <QAction>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <memory>

#include "grid/DataGrid.h"
#include "sales/XsxxForm.h"
#include "stock/LowStockLevelDialog.h"
#include "stock/LowStockListDialog.h"
#include "stock/records/LowStock.h"
#include "store/Values.h"
#include "tests/sales/records/SalesFixture.h"
#include "tests/support/GridClicks.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/WorkbookReader.h"
#include "tests/support/widgets/ScriptedPlatform.h"

using salestest::purchase;

namespace {

QString u(const char* text) { return QString::fromUtf8(text); }

int redPixels(const QImage& image, const QRect& area) {
    int red = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.red() > 150 && c.green() < 100 && c.blue() < 100) ++red;
        }
    return red;
}

}  // namespace

class XsxxFormLowStockTest : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void cleanup();

    void theStockCellOfLowGoodsIsDrawnRed();
    void theLevelDialogShowsTheSummedStockAndSetsTheLevel();
    void aSaleThatTakesACodeToItsLevelIsToldOnceBelowTheList();
    void theLowStockListShowsTheLowCodesAndExportsThem();

  private:
    void sell(int row, const char* quantity);
    int column(const char* field) const;
    void setLevel(const char* code, const char* level);

    std::unique_ptr<testsupport::TestDatabase> database;
    std::unique_ptr<platform::ScriptedPlatform> scripted;
    std::unique_ptr<TXsxxForm> form;
};

void XsxxFormLowStockTest::init() {
    database = std::make_unique<testsupport::TestDatabase>();
    // A01 in two lots: 100 + 4.
    salestest::insert(store::schema::kGoods,
                      {purchase("A01", "10", "100", "1000"), purchase("B02", "3", "10", "30"),
                       purchase("A01", "11", "4", "44")});
    scripted = std::make_unique<platform::ScriptedPlatform>();
    form = std::make_unique<TXsxxForm>();
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
}

void XsxxFormLowStockTest::cleanup() {
    form.reset();
    scripted.reset();
    database.reset();
}

int XsxxFormLowStockTest::column(const char* field) const {
    const auto& columns = form->goodsList().columns();
    for (std::size_t i = 0; i < columns.size(); ++i)
        if (columns[i].field == u(field)) return static_cast<int>(i);
    return -1;
}

void XsxxFormLowStockTest::setLevel(const char* code, const char* level) {
    stock::setLevel(form->connection(), form->goodsQuery(), code, level);
    QTest::mouseClick(form->findChild<QWidget*>(QStringLiteral("SpeedButton4")), Qt::LeftButton);
}

void XsxxFormLowStockTest::sell(int row, const char* quantity) {
    testsupport::doubleClickRow(form->goodsList(), row);
    form->priceEdit().setText(QStringLiteral("5"));
    form->quantityEdit().setText(QString::fromLatin1(quantity));
    QTest::mouseClick(form->findChild<QPushButton*>(QStringLiteral("Button1")), Qt::LeftButton);
}

void XsxxFormLowStockTest::theStockCellOfLowGoodsIsDrawnRed() {
    setLevel("B02", "10");   // 10 in stock: at the level
    setLevel("A01", "103");  // 104 over two rows: above
    grid::TDataGrid& list = form->goodsList();
    const int stockColumn = column("库存数量");
    const int codeColumn = column("商品编码");
    list.setFocus();
    testsupport::clickRow(list, 0);

    QImage picture = list.grab().toImage();
    QCOMPARE(redPixels(picture, list.cellRect(1, stockColumn)) > 0, true);  // B02
    QCOMPARE(redPixels(picture, list.cellRect(1, codeColumn)), 0);          // only its stock
    QCOMPARE(redPixels(picture, list.cellRect(0, stockColumn)), 0);
    QCOMPARE(redPixels(picture, list.cellRect(2, stockColumn)), 0);
    // The stripe under the red text is the row's own.
    const QRect cell = list.cellRect(1, stockColumn);
    QCOMPARE(picture.pixelColor(cell.left() + 2, cell.top() + 2),
             picture.pixelColor(list.cellRect(1, codeColumn).left() + 2, cell.top() + 2));

    // The focused current row keeps the highlight's own text colour.
    testsupport::clickRow(list, 1);
    picture = list.grab().toImage();
    QCOMPARE(redPixels(picture, list.cellRect(1, stockColumn)), 0);

    setLevel("A01", "104");  // both lots count
    testsupport::clickRow(list, 1);
    picture = list.grab().toImage();
    QVERIFY(redPixels(picture, list.cellRect(0, stockColumn)) > 0);
    QVERIFY(redPixels(picture, list.cellRect(2, stockColumn)) > 0);
}

void XsxxFormLowStockTest::theLevelDialogShowsTheSummedStockAndSetsTheLevel() {
    testsupport::clickRow(form->goodsList(), 2);
    QAction* item = form->findChild<QAction*>(QStringLiteral("N12"));
    QVERIFY(form->popupMenu()->actions().contains(item));
    QCOMPARE(item->text(), u("设置最低库存…"));
    item->trigger();
    auto* dialog = form->findChild<stock::TLowStockLevelDialog*>();
    QVERIFY(dialog != nullptr && dialog->isVisible());
    QCOMPARE(dialog->findChild<QLineEdit*>(QStringLiteral("Edit1"))->text(), u("A01"));
    QCOMPARE(dialog->findChild<QLineEdit*>(QStringLiteral("Edit3"))->text(), u("104"));
    QCOMPARE(dialog->levelEdit().text(), QString());
    QTest::keyClicks(&dialog->levelEdit(), QStringLiteral("120"));
    QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("Button1")), Qt::LeftButton);
    QTRY_VERIFY(form->findChild<stock::TLowStockLevelDialog*>() == nullptr);
    const auto level = stock::levelOf(form->connection(), "A01");
    QVERIFY(level.has_value());
    QCOMPARE(store::values::tenThousandthsText(level->level), std::string("120"));
    QCOMPARE(form->lowStockMarks().levels().count("A01"), std::size_t(1));

    // Opened again it shows the level; emptied and confirmed with Enter, the level is gone.
    item->trigger();
    dialog = form->findChild<stock::TLowStockLevelDialog*>();
    QVERIFY(dialog != nullptr);
    QCOMPARE(dialog->levelEdit().text(), QStringLiteral("120"));
    dialog->levelEdit().clear();
    QTest::keyClick(&dialog->levelEdit(), Qt::Key_Return);
    QVERIFY(!stock::levelOf(form->connection(), "A01").has_value());
    QVERIFY(scripted->messages.isEmpty());
}

void XsxxFormLowStockTest::aSaleThatTakesACodeToItsLevelIsToldOnceBelowTheList() {
    setLevel("B02", "8");
    QLabel& status = form->scanStatusLabel();
    sell(1, "1");  // 9: above
    QVERIFY(!status.isVisible());
    sell(1, "1");  // 8: at the level
    QCOMPARE(scripted->messageTexts().last(), u("销售商品成功！"));
    QVERIFY(status.isVisible());
    QCOMPARE(status.text(), u("商品 B02 名称B02 库存只剩 8，已低于最低库存 8"));

    status.hide();
    sell(1, "1");  // 7: told already
    QVERIFY(!status.isVisible());
    QCOMPARE(scripted->messageTexts().size(), 3);
}

void XsxxFormLowStockTest::theLowStockListShowsTheLowCodesAndExportsThem() {
    QAction* item = form->findChild<QAction*>(QStringLiteral("N13"));
    QCOMPARE(item->text(), u("库存预警"));
    QVERIFY(form->popupMenu()->actions().contains(item));
    item->trigger();
    QCOMPARE(scripted->messageTexts(), QStringList{u("没有库存低于最低库存的商品。")});

    setLevel("A01", "105");   // 104: short by 1
    setLevel("B02", "12.5");  // 10: short by 2.5
    item->trigger();
    auto* list = form->findChild<stock::TLowStockListDialog*>();
    QVERIFY(list != nullptr && list->isVisible());
    store::Query& rows = list->lowStockQuery();
    QCOMPARE(rows.recordCount(), 2);
    rows.first();
    QCOMPARE(rows.fieldText("商品编码"), std::string("B02"));
    QCOMPARE(rows.fieldText("缺货数量"), std::string("2.5"));
    rows.next();
    QCOMPARE(rows.fieldText("商品编码"), std::string("A01"));
    QCOMPARE(rows.fieldText("库存数量"), std::string("104"));
    QCOMPARE(list->lowStockList().footerText(
                 static_cast<int>(list->lowStockList().columns().size()) - 1),
             QStringLiteral("3.5"));

    const QString file = QString::fromStdString((database->directory() / "预警").string());
    scripted->saveFileNames.enqueue(file);
    QTest::mouseClick(list->findChild<QPushButton*>(QStringLiteral("Button2")), Qt::LeftButton);
    QCOMPARE(scripted->messageTexts().last(), u("成功导出全部数据!"));
    const testsupport::ReadWorkbook book = testsupport::readWorkbook(file.toStdString() + ".xls");
    QVERIFY(book.opened);
    QCOMPARE(book.sheets.at(0).at(0, 0), std::string("t:商品编码"));
    QCOMPARE(book.sheets.at(0).at(1, 0), std::string("t:B02"));
    QCOMPARE(book.sheets.at(0).at(2, 7), std::string("n:1"));
}

QTEST_MAIN(XsxxFormLowStockTest)
#include "XsxxFormLowStockTest.moc"
