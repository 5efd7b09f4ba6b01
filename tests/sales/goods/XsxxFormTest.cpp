// The sales window and its sale entry panel, driven through their real widgets.
#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QDateEdit>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <memory>

#include "grid/DataGrid.h"
#include "platform/Application.h"
#include "platform/Modal.h"
#include "sales/XsxxForm.h"
#include "tests/sales/records/SalesFixture.h"
#include "tests/support/GridClicks.h"
#include "tests/support/QuitWatcher.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/TypeCharacters.h"
#include "tests/support/widgets/ScriptedPlatform.h"

using salestest::purchase;
using salestest::stored;

namespace {

using testsupport::QuitWatcher;
using testsupport::typeCharacters;

QString u(const char* text) { return QString::fromUtf8(text); }

std::string storedGoods(const std::string& code, const char* column) {
    for (const auto& row : stored(store::schema::kGoods))
        if (row.at("商品编码") == code) return row.at(column);
    return "?";
}

}  // namespace

class XsxxFormTest : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void cleanup();

    void layoutCaptionsAndColumns();
    void activationReloadsTheListAndClosesBothPanels();
    void threeWaysOpenTheSalePanelFilledFromTheCurrentRow();
    void tabGoesThroughTheFieldsTheUserTypesIn();
    void anEmptyListHasNothingToSell();
    void amountFollowsTheKeysAndTheStockCheckStopsAnOversale();
    void aKeyReleasedOnATextThatIsNotANumberKeepsTheAmount();
    void aReleaseOfAKeyPressedElsewhereRunsNothing();
    void theAmountFollowsTextPastedThroughTheContextMenu();
    void enterPressesTheFocusedButtonOnce();
    void aSaleAnotherCopyChangedTheGoodsOfIsRefused_data();
    void aSaleAnotherCopyChangedTheGoodsOfIsRefused();
    void confirmingMovesTheRowInTheListAndItsFooterSums();
    void confirmRefusesAQuantityPastedAboveTheStock();
    void aFailingSaleKeepsThePanelOpenWithItsTexts();
    void choosingOrTypingACustomerFillsTheDetails();
    void queryByCodeNarrowsTheListAndItsSums();
    void ctrlDeleteDeletesTheSelectedGoods();
    void reopeningTheQueryPanelClearsBothFields();
    void refreshKeepsTheSalePanelOpen();
    void closingBringsTheMainWindowBack();
    void exitLabelClosesTheMainWindow();
    void returningFromTheDetailWindowReReads();

  private:
    template <typename T = QWidget>
    T* child(const char* name) {
        return form->findChild<T*>(QString::fromLatin1(name));
    }
    void click(const char* name) { QTest::mouseClick(child(name), Qt::LeftButton); }
    void doubleClickRow(int row) { testsupport::doubleClickRow(form->goodsList(), row); }
    void moveToRow(int row) { testsupport::clickRow(form->goodsList(), row); }
    void replaceText(QLineEdit* edit, const QString& text);
    void activateFromAnotherForm();
    QString footer(const char* field);

    std::unique_ptr<testsupport::TestDatabase> database;
    std::unique_ptr<platform::ScriptedPlatform> scripted;
    std::unique_ptr<QWidget> mainWindow;
    std::unique_ptr<TXsxxForm> form;
};

void XsxxFormTest::init() {
    database = std::make_unique<testsupport::TestDatabase>();
    salestest::insert(store::schema::kGoods,
                      {purchase("A01", "10", "100", "1000"),
                       purchase("B02", "3.456", "10", "34.56"), purchase("C01", "2", "5", "10")});
    scripted = std::make_unique<platform::ScriptedPlatform>();
    mainWindow = std::make_unique<QWidget>();
    mainWindow->setObjectName(QStringLiteral("main"));
    form = std::make_unique<TXsxxForm>();
    form->setMainWindow(mainWindow.get());
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
}

void XsxxFormTest::cleanup() {
    form.reset();
    mainWindow.reset();
    scripted.reset();
    database.reset();
}

void XsxxFormTest::replaceText(QLineEdit* edit, const QString& text) {
    // Typing over the selected text: the field is never empty at a key release.
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

void XsxxFormTest::activateFromAnotherForm() {
    QWidget other;
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    other.hide();
    form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
}

QString XsxxFormTest::footer(const char* field) {
    const auto& columns = form->goodsList().columns();
    for (int i = 0; i < static_cast<int>(columns.size()); ++i)
        if (columns[static_cast<std::size_t>(i)].field == u(field))
            return form->goodsList().footerText(i);
    return QStringLiteral("?");
}

void XsxxFormTest::layoutCaptionsAndColumns() {
    QCOMPARE(form->windowTitle(), u("销售信息"));
    QCOMPARE(form->size(), QSize(1000, 603));
    const char* captions[] = {"销售商品", "销售明细", "查询信息", "刷新信息",
                              "销售打印", "数据导出", "关闭窗口"};
    for (int k = 0; k < 7; ++k) {
        auto* button = child<QToolButton>(qPrintable(QStringLiteral("SpeedButton%1").arg(k + 1)));
        QCOMPARE(button->text(), u(captions[k]));
        QCOMPARE(button->geometry(), QRect(8 + 112 * k, 7, 105, 33));
    }
    QCOMPARE(child<QLabel>("Label1")->text(), u("【退出软件】"));
    QStringList menu;
    for (QAction* action : form->popupMenu()->actions())
        menu << (action->isSeparator() ? QStringLiteral("-") : action->text());
    QCOMPARE(menu, QStringList({u("销售商品"), u("销售明细"), u("退货明细"), "-", u("查询信息"),
                                u("刷新信息"), "-", u("打印报表"), u("数据导出"), "-",
                                u("设置最低库存…"), u("库存预警"), "-", u("关闭窗体")}));
    QCOMPARE(form->goodsList().columns().size(), std::size_t(15));
    QCOMPARE(form->goodsList().toolTip(), u("双击可以销售商品"));
    QCOMPARE(footer("商品编码"), u("合计"));
    QCOMPARE(footer("进货金额"), QStringLiteral("1044.56"));
    QCOMPARE(footer("库存金额"), QStringLiteral("1044.56"));
    QVERIFY(!form->saleEntryPanel().isVisible());
    QVERIFY(!form->queryPanel().isVisible());
    QCOMPARE(form->saleEntryPanel().size(), QSize(308, 425));
    QCOMPARE(form->queryPanel().size(), QSize(481, 89));
}

void XsxxFormTest::activationReloadsTheListAndClosesBothPanels() {
    click("SpeedButton1");
    QVERIFY(form->saleEntryPanel().isVisible());
    salestest::insert(store::schema::kGoods, {purchase("D09", "1", "1", "1")});
    QCOMPARE(form->goodsQuery().recordCount(), 3);
    activateFromAnotherForm();
    QCOMPARE(form->goodsQuery().recordCount(), 4);
    QVERIFY(!form->saleEntryPanel().isVisible());
    QVERIFY(!form->queryPanel().isVisible());

    // A message box closing is no return from another window.
    click("SpeedButton3");
    salestest::insert(store::schema::kGoods, {purchase("E10", "1", "1", "1")});
    QMessageBox box;
    box.show();
    box.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&box));
    box.hide();
    form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
    QCOMPARE(form->goodsQuery().recordCount(), 4);
    QVERIFY(form->queryPanel().isVisible());
}

void XsxxFormTest::threeWaysOpenTheSalePanelFilledFromTheCurrentRow() {
    click("SpeedButton3");
    doubleClickRow(1);
    QVERIFY(form->saleEntryPanel().isVisible());
    QVERIFY(!form->queryPanel().isVisible());
    QCOMPARE(form->saleEntryPanel().pos(), QPoint(642, 46));
    QCOMPARE(form->goodsCodeEdit().text(), QStringLiteral("B02"));
    QCOMPARE(form->goodsNameEdit().text(), u("名称B02"));
    QCOMPARE(form->unitEdit().text(), u("个"));
    QCOMPARE(form->purchasePriceEdit().text(), QStringLiteral("3.46"));
    QCOMPARE(form->stockEdit().text(), QStringLiteral("10"));
    QCOMPARE(form->priceEdit().text(), QStringLiteral("0"));
    QCOMPARE(form->quantityEdit().text(), QStringLiteral("0"));
    QCOMPARE(form->amountEdit().text(), QStringLiteral("0"));
    QCOMPARE(form->saleDateEdit().date(), QDate::currentDate());
    QVERIFY(form->customerBox().currentText().isEmpty());

    form->saleEntryPanel().move(10, 10);
    moveToRow(0);
    child<QAction>("N1")->trigger();
    QCOMPARE(form->goodsCodeEdit().text(), QStringLiteral("A01"));
    QCOMPARE(form->saleEntryPanel().pos(), QPoint(642, 46));
    moveToRow(2);
    click("SpeedButton1");
    QCOMPARE(form->goodsCodeEdit().text(), QStringLiteral("C01"));
    QVERIFY(scripted->messages.isEmpty());
}

void XsxxFormTest::tabGoesThroughTheFieldsTheUserTypesIn() {
    click("SpeedButton1");
    form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
    form->saleDateEdit().setFocus();
    QStringList order;
    for (int i = 0; i < 8; ++i) {
        QWidget* focus = QApplication::focusWidget();
        QVERIFY(focus != nullptr);
        // The combo box's own line edit stands for it.
        if (qobject_cast<QComboBox*>(focus->parentWidget())) focus = focus->parentWidget();
        if (focus->parentWidget() == &form->saleDateEdit()) focus = &form->saleDateEdit();
        order << focus->objectName();
        QTest::keyClick(focus, Qt::Key_Tab);
    }
    QCOMPARE(order, QStringList({"DateTimePicker1", "Edit8", "Edit9", "ComboBox1", "Edit11",
                                 "Edit12", "Edit13", "Button1"}));
}

void XsxxFormTest::anEmptyListHasNothingToSell() {
    click("SpeedButton3");
    form->searchCodeEdit().setText(QStringLiteral("zz"));
    click("Button2");
    QCOMPARE(form->goodsQuery().recordCount(), 0);
    click("SpeedButton1");
    QCOMPARE(scripted->messageTexts(), QStringList{u("当前销售商品信息为空!")});
    QVERIFY(!form->saleEntryPanel().isVisible());
}

void XsxxFormTest::amountFollowsTheKeysAndTheStockCheckStopsAnOversale() {
    click("SpeedButton1");  // A01: stock 100
    replaceText(&form->priceEdit(), QStringLiteral("12.5"));
    QCOMPARE(form->amountEdit().text(), QStringLiteral("0"));
    replaceText(&form->quantityEdit(), QStringLiteral("1"));
    QCOMPARE(form->amountEdit().text(), QStringLiteral("12.5"));
    QTest::keyClicks(&form->quantityEdit(), QStringLiteral("5"));
    QCOMPARE(form->amountEdit().text(), QStringLiteral("187.5"));
    QVERIFY(scripted->messages.isEmpty());
    QTest::keyClicks(&form->quantityEdit(), QStringLiteral("0"));
    QCOMPARE(scripted->messageTexts(), QStringList{u("库存数量不足，请重新输入！")});
    QCOMPARE(form->quantityEdit().text(), QStringLiteral("0"));
    QCOMPARE(form->amountEdit().text(), QStringLiteral("0"));

    replaceText(&form->quantityEdit(), QStringLiteral("100"));  // the whole stock is accepted
    QCOMPARE(form->amountEdit().text(), QStringLiteral("1250"));
    replaceText(&form->priceEdit(), QStringLiteral("11"));
    QCOMPARE(form->amountEdit().text(), QStringLiteral("1100"));
    QCOMPARE(scripted->messages.size(), 1);
}

void XsxxFormTest::aKeyReleasedOnATextThatIsNotANumberKeepsTheAmount() {
    click("SpeedButton1");
    replaceText(&form->priceEdit(), QStringLiteral("2"));
    replaceText(&form->quantityEdit(), QStringLiteral("3"));
    QCOMPARE(form->amountEdit().text(), QStringLiteral("6"));
    scripted->clear();
    QTest::keyClick(&form->quantityEdit(), Qt::Key_Backspace);
    QCOMPARE(form->amountEdit().text(), QStringLiteral("6"));
    QCOMPARE(scripted->messages.size(), 1);
    QVERIFY(scripted->messages[0].text.contains(QStringLiteral("is not a valid floating point")));
}

// The Enter that closes the error box is released in the field that had the focus: that release
// must not bring the box back.
void XsxxFormTest::aReleaseOfAKeyPressedElsewhereRunsNothing() {
    click("SpeedButton1");
    for (QLineEdit* edit : {&form->priceEdit(), &form->quantityEdit()}) {
        scripted->clear();
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_Backspace);  // "0" erased: the box, once
        QCOMPARE(scripted->messages.size(), 1);
        QTest::keyRelease(edit, Qt::Key_Return);
        QTest::keyRelease(edit, Qt::Key_Escape);
        QTest::keyRelease(edit, Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(scripted->messages.size(), 1);
        QTest::keyClicks(edit, QStringLiteral("2"));
        QCOMPARE(scripted->messages.size(), 1);
    }
    QCOMPARE(form->amountEdit().text(), QStringLiteral("4"));
}

void XsxxFormTest::theAmountFollowsTextPastedThroughTheContextMenu() {
    click("SpeedButton1");  // A01: stock 100
    replaceText(&form->priceEdit(), QStringLiteral("2"));
    const auto pasteInto = [](QLineEdit& edit, const QString& text) {
        QGuiApplication::clipboard()->setText(text);
        edit.selectAll();
        const std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
        QAction* paste = nullptr;
        for (QAction* action : menu->actions())
            if (action->text().endsWith(
                    QKeySequence(QKeySequence::Paste).toString(QKeySequence::NativeText)))
                paste = action;  // whatever the menu's language
        QVERIFY(paste != nullptr && paste->isEnabled());
        paste->trigger();
    };
    pasteInto(form->quantityEdit(), QStringLiteral("99"));
    QCOMPARE(form->amountEdit().text(), QStringLiteral("198"));
    pasteInto(form->priceEdit(), QStringLiteral("0.5"));
    QCOMPARE(form->amountEdit().text(), QStringLiteral("49.5"));
    QVERIFY(scripted->messages.isEmpty());
    // Pasted above the stock: refused as typed would be.
    pasteInto(form->quantityEdit(), QStringLiteral("101"));
    QCOMPARE(scripted->messageTexts(), QStringList{u("库存数量不足，请重新输入！")});
    QCOMPARE(form->quantityEdit().text(), QStringLiteral("0"));
    QCOMPARE(form->amountEdit().text(), QStringLiteral("0"));
}

void XsxxFormTest::enterPressesTheFocusedButtonOnce() {
    click("SpeedButton1");
    replaceText(&form->priceEdit(), QStringLiteral("12.5"));
    replaceText(&form->quantityEdit(), QStringLiteral("3"));
    auto* confirm = child<QPushButton>("Button1");
    confirm->setFocus();
    QTest::keyClick(confirm, Qt::Key_Return);
    QCOMPARE(scripted->messageTexts(), QStringList{u("销售商品成功！")});
    QCOMPARE(stored(store::schema::kSales).size(), std::size_t(1));

    child<QAction>("N4")->trigger();
    auto* search = child<QPushButton>("Button2");
    QSignalSpy pressed(search, &QPushButton::clicked);
    search->setFocus();
    QTest::keyClick(search, Qt::Key_Enter, Qt::KeypadModifier);
    QTest::keyClick(search, Qt::Key_Return);
    QCOMPARE(pressed.count(), 2);
    // A held key's repeats press nothing more.
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"), true);
    QApplication::sendEvent(search, &repeat);
    QCOMPARE(pressed.count(), 2);
}

void XsxxFormTest::aSaleAnotherCopyChangedTheGoodsOfIsRefused_data() {
    QTest::addColumn<QString>("change");  // by another copy of the program, after the panel opened
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("stockShown");   // afterwards
    QTest::addColumn<QString>("stockStored");  // "?": no such goods row
    QTest::newRow("stock taken") << QString::fromUtf8("UPDATE " +
                                                      std::string(store::schema::kGoods) +
                                                      " SET 库存数量 = 1 WHERE 商品编码 = 'C01'")
                                 << u("库存数量不足，当前库存为 1，请重新输入！") << u("1")
                                 << u("1");
    QTest::newRow("goods deleted")
        << QString::fromUtf8("DELETE FROM " + std::string(store::schema::kGoods) +
                             " WHERE 商品编码 = 'C01'")
        << u("要销售的商品信息已不存在，请重新选择！") << u("5") << u("?");
}

void XsxxFormTest::aSaleAnotherCopyChangedTheGoodsOfIsRefused() {
    QFETCH(QString, change);
    QFETCH(QString, message);
    QFETCH(QString, stockShown);
    QFETCH(QString, stockStored);
    moveToRow(2);  // C01: stock 5
    click("SpeedButton1");
    QCOMPARE(form->stockEdit().text(), QStringLiteral("5"));
    replaceText(&form->priceEdit(), QStringLiteral("3"));
    replaceText(&form->quantityEdit(), QStringLiteral("5"));
    {
        store::Connection other(store::buildConnectionStringForCurrentDirectory());
        other.database().exec(change.toStdString());
    }
    click("Button1");
    QCOMPARE(scripted->messageTexts(), QStringList{message});
    QVERIFY(form->saleEntryPanel().isVisible());
    QCOMPARE(form->stockEdit().text(), stockShown);
    QVERIFY(stored(store::schema::kSales).empty());
    QCOMPARE(storedGoods("C01", "库存数量"), stockStored.toStdString());
}

void XsxxFormTest::confirmingMovesTheRowInTheListAndItsFooterSums() {
    moveToRow(0);
    click("SpeedButton1");
    replaceText(&form->priceEdit(), QStringLiteral("12.5"));
    replaceText(&form->quantityEdit(), QStringLiteral("3"));
    QCOMPARE(form->amountEdit().text(), QStringLiteral("37.5"));
    typeCharacters(form->customerBox().lineEdit(), u("王五"));
    click("Button1");
    QCOMPARE(scripted->messageTexts(), QStringList{u("销售商品成功！")});
    QVERIFY(!form->saleEntryPanel().isVisible());
    QCOMPARE(storedGoods("A01", "库存数量"), std::string("97"));
    QCOMPARE(form->goodsQuery().currentIndex(), 0);
    QCOMPARE(footer("销售金额"), QStringLiteral("37.5"));
    QCOMPARE(footer("销售利润"), QStringLiteral("7.5"));
    QCOMPARE(footer("库存金额"), QStringLiteral("1014.56"));
    const auto sales = stored(store::schema::kSales);
    QCOMPARE(sales.size(), std::size_t(1));
    QCOMPARE(sales[0].at("客户姓名"), std::string("王五"));
    // The chosen day, with the time of day of the confirmation.
    const std::string date = sales[0].at("销售日期");
    const std::string day = QDate::currentDate().toString(u"yyyy-MM-dd").toStdString();
    QCOMPARE(date.substr(0, day.size()), day);
    QCOMPARE(date.size(), std::size_t(19));  // yyyy-MM-dd HH:mm:ss
}

void XsxxFormTest::confirmRefusesAQuantityPastedAboveTheStock() {
    click("SpeedButton1");
    form->quantityEdit().setText(QStringLiteral("150"));  // no key released
    click("Button1");
    QCOMPARE(scripted->messages.size(), 1);
    QVERIFY(scripted->messages[0].text.contains(u("库存数量")));
    QVERIFY(form->saleEntryPanel().isVisible());
    QCOMPARE(form->quantityEdit().text(), QStringLiteral("150"));
}

void XsxxFormTest::aFailingSaleKeepsThePanelOpenWithItsTexts() {
    click("SpeedButton1");
    replaceText(&form->priceEdit(), QStringLiteral("12"));
    replaceText(&form->quantityEdit(), QStringLiteral("2"));
    {
        store::Connection other(store::buildConnectionStringForCurrentDirectory());
        other.database().exec(std::string("CREATE TRIGGER refuse BEFORE UPDATE ON ") +
                              store::schema::kGoods + " BEGIN SELECT RAISE(ABORT, 'locked'); END");
    }
    click("Button1");
    QCOMPARE(scripted->messages.size(), 1);
    QVERIFY(scripted->messages[0].text.contains(QStringLiteral("locked")));
    QVERIFY(form->saleEntryPanel().isVisible());
    QCOMPARE(form->priceEdit().text(), QStringLiteral("12"));
    QCOMPARE(form->quantityEdit().text(), QStringLiteral("2"));
}

void XsxxFormTest::choosingOrTypingACustomerFillsTheDetails() {
    salestest::insert(store::schema::kSales,
                      {{{"客户姓名", "张伟"}, {"联系电话", "111"}, {"详细地址", "东路"}},
                       {{"客户姓名", "李娜"}, {"联系电话", "222"}, {"备注", "常客"}}});
    click("SpeedButton1");
    QComboBox& box = form->customerBox();
    QCOMPARE(box.count(), 2);
    QVERIFY(box.currentText().isEmpty());
    QTest::keyClick(&box, Qt::Key_Down);  // chooses the first name
    QCOMPARE(box.currentText(), u("张伟"));
    QCOMPARE(form->phoneEdit().text(), QStringLiteral("111"));
    QCOMPARE(form->addressEdit().text(), u("东路"));

    box.lineEdit()->clear();
    typeCharacters(box.lineEdit(), u("李"));
    QCOMPARE(form->phoneEdit().text(), QStringLiteral("222"));
    QCOMPARE(form->remarkEdit().text(), u("常客"));
    typeCharacters(box.lineEdit(), u("四"));  // 李四: no earlier sale
    QVERIFY(form->phoneEdit().text().isEmpty());
    QVERIFY(form->remarkEdit().text().isEmpty());
    QTest::keyClick(box.lineEdit(), Qt::Key_Backspace);  // 李 again, but nothing fills now
    QVERIFY(form->phoneEdit().text().isEmpty());

    click("SpeedButton1");  // reopening reads the customer list again
    typeCharacters(box.lineEdit(), u("李"));
    QCOMPARE(form->phoneEdit().text(), QStringLiteral("222"));
}

void XsxxFormTest::queryByCodeNarrowsTheListAndItsSums() {
    child<QAction>("N4")->trigger();
    QVERIFY(form->queryPanel().isVisible());
    QCOMPARE(form->queryPanel().pos(), QPoint(224, 168));
    QTest::keyClicks(&form->searchCodeEdit(), QStringLiteral("01"));
    click("Button2");
    QCOMPARE(form->goodsQuery().recordCount(), 2);
    QCOMPARE(footer("进货金额"), QStringLiteral("1010"));
    QVERIFY(form->queryPanel().isVisible());

    form->searchCodeEdit().clear();
    typeCharacters(&form->searchNameEdit(), u("名称B"));
    click("Button2");
    QCOMPARE(form->goodsQuery().recordCount(), 1);  // searches all of 表1, not the list
    QVERIFY(scripted->messages.isEmpty());
}

void XsxxFormTest::ctrlDeleteDeletesTheSelectedGoods() {
    moveToRow(1);  // B02, selected
    QTest::keyClick(&form->goodsList(), Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(scripted->messageTexts(), QStringList{QStringLiteral("Delete record?")});
    QCOMPARE(form->goodsQuery().recordCount(), 2);
    QCOMPARE(footer("进货金额"), QStringLiteral("1010"));
    QCOMPARE(stored(store::schema::kGoods).size(), std::size_t(2));
    QCOMPARE(storedGoods("B02", "库存数量"), std::string("?"));  // gone from the file
}

void XsxxFormTest::reopeningTheQueryPanelClearsBothFields() {
    click("SpeedButton3");
    QTest::keyClicks(&form->searchCodeEdit(), QStringLiteral("A"));
    QTest::keyClicks(&form->searchNameEdit(), QStringLiteral("B"));
    child<QAction>("N4")->trigger();
    QVERIFY(form->searchCodeEdit().text().isEmpty());
    QVERIFY(form->searchNameEdit().text().isEmpty());
}

void XsxxFormTest::refreshKeepsTheSalePanelOpen() {
    click("SpeedButton3");
    QTest::keyClicks(&form->searchCodeEdit(), QStringLiteral("A"));
    click("Button2");
    QCOMPARE(form->goodsQuery().recordCount(), 1);
    click("SpeedButton1");
    salestest::insert(store::schema::kGoods, {purchase("D09", "1", "1", "1")});
    click("SpeedButton4");
    QCOMPARE(form->goodsQuery().recordCount(), 4);
    QVERIFY(form->saleEntryPanel().isVisible());
    QVERIFY(form->salesQuery().isOpen());
    child<QAction>("N5")->trigger();
    QCOMPARE(form->goodsQuery().recordCount(), 4);
    QVERIFY(form->saleEntryPanel().isVisible());
}

void XsxxFormTest::closingBringsTheMainWindowBack() {
    click("SpeedButton7");
    QVERIFY(!form->isVisible());
    QVERIFY(mainWindow->isVisible());
    mainWindow->hide();
    form->show();
    form->close();  // the close box goes the same way
    QVERIFY(mainWindow->isVisible());
    mainWindow->hide();
    form->show();
    child<QAction>("N10")->trigger();
    QVERIFY(mainWindow->isVisible());
}

void XsxxFormTest::exitLabelClosesTheMainWindow() {
    mainWindow->show();
    bool closed = false;
    struct CloseWatch : QObject {
        bool* closed;
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == QEvent::Close) *closed = true;
            return false;
        }
    } watch;
    watch.closed = &closed;
    mainWindow->installEventFilter(&watch);
    QTest::mouseClick(child("Label1"), Qt::LeftButton);
    QVERIFY(closed);
    QVERIFY(!mainWindow->isVisible());

    // While the sales window is open the main window is hidden; the program still ends.
    QuitWatcher quits;
    QTimer::singleShot(0, form.get(), [&] {
        QTest::mouseClick(child("Label1"), Qt::LeftButton);
        QCoreApplication::sendPostedEvents();
        QCoreApplication::exit(7);
    });
    QCOMPARE(QCoreApplication::exec(), 7);
    QCOMPARE(quits.count, 1);
}

void XsxxFormTest::returningFromTheDetailWindowReReads() {
    QWidget detail;
    detail.setWindowTitle(u("销售明细"));
    form->setSalesDetailWindow(&detail);
    form->hide();
    bool seen = false;
    bool backModal = false;
    QTimer::singleShot(0, form.get(), [&] {
        QTimer::singleShot(0, &detail, [&] {
            seen = detail.isVisible() && detail.isModal() && !form->isVisible();
            salestest::insert(store::schema::kGoods, {purchase("D09", "1", "1", "1")});
            detail.close();
        });
        click("SpeedButton3");
        click("SpeedButton2");
        backModal = form->isVisible() && form->isModal();
        QTRY_COMPARE(form->goodsQuery().recordCount(), 4);
        QVERIFY(!form->queryPanel().isVisible());
        form->close();
    });
    platform::showModal(*form);
    QVERIFY(seen);
    QVERIFY(backModal);
    QVERIFY(!form->isVisible());
}

int main(int argc, char** argv) {
    platform::Application app(argc, argv);
    XsxxFormTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "XsxxFormTest.moc"
#include "store/Schema.h"
