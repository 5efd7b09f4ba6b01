// Selling with a barcode scanner in the sales window, through its real widgets: key events with
// the timestamps a scanner gives them.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <memory>

#include "grid/DataGrid.h"
#include "sales/XsxxForm.h"
#include "store/Query.h"
#include "tests/sales/records/SalesFixture.h"
#include "tests/support/ScannerKeys.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/widgets/ScriptedPlatform.h"

using salestest::purchase;
using salestest::stored;

namespace {

QString u(const char* text) { return QString::fromUtf8(text); }

salestest::Row goods(const std::string& code, const std::string& stock, const std::string& supplier,
                     const std::string& price = "10", const std::string& latestSale = "0") {
    salestest::Row row = purchase(code, price, "20", "200");
    row["库存数量"] = stock;
    row["供货单位"] = supplier;
    row["销售单价"] = latestSale;
    return row;
}

}  // namespace

class XsxxFormScanTest : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void cleanup();

    void aScanOpensTheSaleOfItsRow();
    void aRepeatedScanAddsOneUpToTheStock();
    void ofSeveralRowsTheOldestWithStockIsSold();
    void codesWithoutStockOrUnknownOpenNothing();
    void theScannersEnterConfirmsNothing();
    void slowTypingIntoTheCustomerNameStaysTyping();
    void fieldsThatTakeCodesHaveNoInputMethod();

  private:
    void scan(QWidget* into, const QString& code) { keys.scan(into, code); }

    std::unique_ptr<testsupport::TestDatabase> database;
    std::unique_ptr<platform::ScriptedPlatform> scripted;
    std::unique_ptr<TXsxxForm> form;
    testsupport::ScannerKeys keys;
};

void XsxxFormScanTest::init() {
    database = std::make_unique<testsupport::TestDatabase>();
    salestest::insert(
        store::schema::kGoods,
        {goods("A01", "100", "", "10"), goods("6901234567892", "3", "", "10", "12.5"),
         goods("6900000000001", "0", "甲公司"), goods("6900000000001", "2", "乙公司", "3.5"),
         goods("6900000000001", "4", "丙公司", "4"), goods("6900000000009", "0", "")});
    scripted = std::make_unique<platform::ScriptedPlatform>();
    form = std::make_unique<TXsxxForm>();
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
}

void XsxxFormScanTest::cleanup() {
    form.reset();
    scripted.reset();
    database.reset();
}

void XsxxFormScanTest::aScanOpensTheSaleOfItsRow() {
    // Into a list narrowed to other goods: the scan finds its row in the whole table.
    form->goodsList().setFocus();
    QTest::mouseClick(form->findChild<QWidget*>(u("SpeedButton3")), Qt::LeftButton);
    form->searchCodeEdit().setText(u("A0"));
    QTest::mouseClick(form->findChild<QWidget*>(u("Button2")), Qt::LeftButton);
    QCOMPARE(form->goodsQuery().recordCount(), 1);

    scan(&form->searchCodeEdit(), u("6901234567892"));
    QVERIFY(form->saleEntryPanel().isVisible());
    QVERIFY(!form->queryPanel().isVisible());
    QCOMPARE(form->searchCodeEdit().text(), u("A0"));
    QCOMPARE(form->goodsQuery().fieldText("商品编码"), std::string("6901234567892"));
    QCOMPARE(form->goodsCodeEdit().text(), u("6901234567892"));
    QCOMPARE(form->priceEdit().text(), u("12.5"));
    QCOMPARE(form->quantityEdit().text(), u("1"));
    QCOMPARE(form->amountEdit().text(), u("12.5"));
    QCOMPARE(QApplication::focusWidget(), &form->priceEdit());
    QVERIFY(scripted->messages.isEmpty());

    // A row never sold opens at the price "0".
    scan(&form->priceEdit(), u("A01"));  // too short for a scan: typing
    QCOMPARE(form->goodsCodeEdit().text(), u("6901234567892"));
    scan(&form->priceEdit(), u(" 6900000000001"));
    QCOMPARE(form->priceEdit().text(), u("0"));
    QCOMPARE(form->amountEdit().text(), u("0"));
}

void XsxxFormScanTest::aRepeatedScanAddsOneUpToTheStock() {
    scan(&form->goodsList(), u("6901234567892"));
    form->customerBox().setFocus();
    form->customerBox().setEditText(u("张三"));
    scan(form->customerBox().lineEdit(), u("6901234567892"));
    QCOMPARE(form->customerBox().currentText(), u("张三"));
    QCOMPARE(form->quantityEdit().text(), u("2"));
    QCOMPARE(form->amountEdit().text(), u("25"));
    scan(form->customerBox().lineEdit(), u("6901234567892"));
    QCOMPARE(form->quantityEdit().text(), u("3"));
    QVERIFY(scripted->messages.isEmpty());

    // Past the stock of 3: refused as a typed quantity is.
    scan(&form->quantityEdit(), u("6901234567892"));
    QCOMPARE(scripted->messageTexts(), QStringList{u("库存数量不足，请重新输入！")});
    QCOMPARE(form->quantityEdit().text(), u("0"));
    QCOMPARE(form->amountEdit().text(), u("0"));
}

void XsxxFormScanTest::ofSeveralRowsTheOldestWithStockIsSold() {
    scan(&form->goodsList(), u("6900000000001"));
    QVERIFY(form->saleEntryPanel().isVisible());
    QCOMPARE(form->goodsQuery().fieldText("供货单位"), std::string("乙公司"));
    QCOMPARE(form->purchasePriceEdit().text(), u("3.5"));
    QCOMPARE(form->stockEdit().text(), u("2"));
    QVERIFY(form->scanStatusLabel().isVisible());
    QVERIFY(form->scanStatusLabel().text().contains(u("乙公司")));
    QVERIFY(form->scanStatusLabel().text().contains(u("3.5")));
    QVERIFY(form->scanBatchLabel().isVisible());
    QCOMPARE(form->scanBatchLabel().toolTip(), u("货源：乙公司"));

    // Opened by hand for a row, the panel names no batch.
    form->saleEntryPanel().hide();
    form->goodsQuery().moveTo(0);
    QTest::mouseClick(form->findChild<QToolButton*>("SpeedButton1"), Qt::LeftButton);
    QVERIFY(form->saleEntryPanel().isVisible());
    QVERIFY(!form->scanBatchLabel().isVisible());
}

void XsxxFormScanTest::codesWithoutStockOrUnknownOpenNothing() {
    scan(&form->goodsList(), u("6900000000009"));
    QCOMPARE(scripted->messageTexts(), QStringList{u("商品 6900000000009 库存不足")});
    QVERIFY(!form->saleEntryPanel().isVisible());

    // An unknown code is told in the status line, without a box, and the open sale stays.
    scan(&form->goodsList(), u("6901234567892"));
    scan(&form->priceEdit(), u("4006381333931"));
    QCOMPARE(scripted->messages.size(), 1);
    QVERIFY(form->scanStatusLabel().isVisible());
    QVERIFY(form->scanStatusLabel().text().contains(u("4006381333931")));
    QVERIFY(form->saleEntryPanel().isVisible());
    QCOMPARE(form->goodsCodeEdit().text(), u("6901234567892"));
    QCOMPARE(form->quantityEdit().text(), u("1"));
    QCOMPARE(form->priceEdit().text(), u("12.5"));
    // A row number is no code.
    scan(&form->priceEdit(), u("0002"));
    QCOMPARE(form->goodsCodeEdit().text(), u("6901234567892"));
}

void XsxxFormScanTest::theScannersEnterConfirmsNothing() {
    scan(&form->goodsList(), u("6901234567892"));
    auto* confirm = form->findChild<QPushButton*>(u("Button1"));
    confirm->setFocus();
    scan(confirm, u("6901234567892"));
    QCOMPARE(form->quantityEdit().text(), u("2"));
    QVERIFY(stored(store::schema::kSales).empty());
    QVERIFY(scripted->messages.isEmpty());
    QVERIFY(form->saleEntryPanel().isVisible());
}

void XsxxFormScanTest::slowTypingIntoTheCustomerNameStaysTyping() {
    scan(&form->goodsList(), u("6901234567892"));
    QLineEdit* name = form->customerBox().lineEdit();
    name->setFocus();
    keys.type(name, u("wang5"), 150);
    QCOMPARE(name->text(), u("wang5"));
    QCOMPARE(form->quantityEdit().text(), u("1"));
    QVERIFY(!form->scanStatusLabel().isVisible());
}

void XsxxFormScanTest::fieldsThatTakeCodesHaveNoInputMethod() {
    for (QWidget* field :
         {static_cast<QWidget*>(&form->searchCodeEdit()), static_cast<QWidget*>(&form->priceEdit()),
          static_cast<QWidget*>(&form->quantityEdit())}) {
        QVERIFY(!field->testAttribute(Qt::WA_InputMethodEnabled));
        QVERIFY(field->inputMethodHints() & Qt::ImhLatinOnly);
    }
    // The customer's name is typed in Chinese.
    QVERIFY(form->customerBox().lineEdit()->testAttribute(Qt::WA_InputMethodEnabled));
}

QTEST_MAIN(XsxxFormScanTest)
#include "XsxxFormScanTest.moc"
