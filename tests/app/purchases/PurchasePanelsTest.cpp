// The main window's purchase commands and panels, driven through its real widgets.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <memory>

#include "app/MainForm.h"
#include "grid/DataGrid.h"
#include "platform/Application.h"
#include "purchases/records/PurchaseRecords.h"
#include "stock/records/LowStock.h"
#include "tests/purchases/records/StoredRows.h"
#include "tests/support/QuotedSearches.h"
#include "tests/support/StoredRows.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/TypeCharacters.h"
#include "tests/support/widgets/ScriptedPlatform.h"

using platform::MessageKind;
using purchasetest::Row;
using purchasetest::storedGoods;

namespace {

using testsupport::typeCharacters;

QString u(const char* text) { return QString::fromUtf8(text); }

const char* const kButtonHint =
    "请单击左边的序号选中一条记录或拖选一段记录，\r\n"
    "也可以用Ctrl及Shift来进行多选，然后再删除信息。";
const char* const kMenuHint =
    "请单击左边的序号选中一条记录或拖选一段记录，\r\n"
    "也可以用Ctrl及Shift来进行多选，然后再删除记录。";

}  // namespace

class PurchasePanelsTest : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void cleanup();

    void numericEditsTakeDigitsAndOnePoint();
    void numericEditsDiscardOtherCharactersAndCtrlKeys();
    void showingPanelsPutsThemAtTheirPlaceAndSetsTheMode();
    void doubleClickLeavesTheQueryPanelOpen();
    void panelsAreDraggedByTheirFreeSurfaceWithTheLeftButton();
    void aDraggedPanelKeepsItsButtonsInTheList();
    void addingStoresTheTypedPurchaseAndClearsThePanel();
    void addingEverythingAsShownTwiceStoresTwoRows();
    void aSpecTooLongForSaleIsStoredWithAWarning();
    void allEditsEmptyAreRefused();
    void aLonePointStopsTheAddWithoutAHalfRow();
    void loadingShowsTwoDecimalsAndWritesBackOnlyChangedFields();
    void writeBackGoesToTheLoadedRowAfterMovingInTheList();
    void writeBackToADeletedRowSaysSo();
    void aRowThatCannotBeLoadedTakesNoWriteBack();
    void loadingAnEmptyListWarns();
    void deletingRemovesNonAdjacentSelectedRowsAfterOneConfirmation();
    void deletingWithoutSelectionShowsTheCommandsHint();
    void cancellingTheConfirmationDeletesNothing();
    void deletingALotThatTakesACodeToItsLevelTellsItOnce();
    void searchByCodeNarrowsTheListAndRefreshShowsAll();
    void menuSearchesAndRefreshes();
    void eachSearchEditSearchesItsColumn();
    void searchTextsWithQuotesAreJustText();
    void enterPressesTheFocusedButtonOnce();

  private:
    QWidget* widget(const char* name) { return form->findChild<QWidget*>(name); }
    QAction* action(const char* name) { return form->findChild<QAction*>(name); }
    grid::TDataGrid* grid() { return &form->purchaseList(); }
    void addRow(const char* code, const char* price, const char* quantity, const char* remark = "");
    void typeInto(QLineEdit* edit, const QString& text);
    void replaceText(QLineEdit* edit, const QString& text);
    void clickRow(int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    void doubleClickRow(int row);
    QStringList listedCodes();

    std::unique_ptr<testsupport::TestDatabase> database;
    std::unique_ptr<platform::ScriptedPlatform> scripted;
    std::unique_ptr<TMainForm> form;
};

void PurchasePanelsTest::init() {
    database = std::make_unique<testsupport::TestDatabase>();
    scripted = std::make_unique<platform::ScriptedPlatform>();
    form = std::make_unique<TMainForm>();
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
}

void PurchasePanelsTest::cleanup() {
    form.reset();
    scripted.reset();
    database.reset();
}

void PurchasePanelsTest::addRow(const char* code, const char* price, const char* quantity,
                                const char* remark) {
    QTest::mouseClick(widget("SpeedButton1"), Qt::LeftButton);
    typeInto(&form->codeEdit(), u(code));
    replaceText(&form->priceEdit(), u(price));
    replaceText(&form->quantityEdit(), u(quantity));
    typeInto(&form->remarkEdit(), u(remark));
    QTest::mouseClick(widget("Button1"), Qt::LeftButton);
    scripted->clear();
}

void PurchasePanelsTest::typeInto(QLineEdit* edit, const QString& text) {
    QTest::keyClick(edit, Qt::Key_End);
    typeCharacters(edit, text);
}

void PurchasePanelsTest::replaceText(QLineEdit* edit, const QString& text) {
    QTest::keyClick(edit, Qt::Key_End);
    QTest::keyClick(edit, Qt::Key_Home, Qt::ShiftModifier);
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

void PurchasePanelsTest::clickRow(int row, Qt::KeyboardModifiers modifiers) {
    const QRect cell = grid()->cellRect(row, -1);
    QVERIFY(!cell.isEmpty());
    QTest::mouseClick(grid(), Qt::LeftButton, modifiers, cell.center());
}

void PurchasePanelsTest::doubleClickRow(int row) {
    const QRect cell = grid()->cellRect(row, 1);
    QVERIFY(!cell.isEmpty());
    QTest::mouseDClick(grid(), Qt::LeftButton, Qt::NoModifier, cell.center());
}

QStringList PurchasePanelsTest::listedCodes() {
    QStringList codes;
    const store::Query& query = form->goodsQuery();
    for (int i = 0; i < query.recordCount(); ++i)
        codes << QString::fromStdString(
            std::string(query.fieldTextAt(i, query.fieldIndex("商品编码"))));
    return codes;
}

void PurchasePanelsTest::numericEditsTakeDigitsAndOnePoint() {
    for (QLineEdit* edit : {&form->priceEdit(), &form->quantityEdit()}) {
        edit->clear();
        QTest::keyClicks(edit, QStringLiteral("1.2.3"));
        QCOMPARE(edit->text(), QStringLiteral("1.23"));
        QVERIFY(edit->isModified());

        edit->setText(QStringLiteral("1.5"));
        edit->selectAll();
        QTest::keyClick(edit, '.');
        QCOMPARE(edit->text(), QStringLiteral("1.5"));

        QTest::keyClick(edit, Qt::Key_End);
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, QStringLiteral(".7"));
        QCOMPARE(edit->text(), QStringLiteral("1.7"));

        QTest::keyClick(edit, Qt::Key_Home);
        QTest::keyClick(edit, Qt::Key_Right);
        QTest::keyClick(edit, Qt::Key_Delete);
        QCOMPARE(edit->text(), QStringLiteral("17"));
    }
}

void PurchasePanelsTest::numericEditsDiscardOtherCharactersAndCtrlKeys() {
    QLineEdit* price = &form->priceEdit();
    price->setText(QStringLiteral("12"));
    QTest::keyClick(price, Qt::Key_End);
    QTest::keyClicks(price, QStringLiteral("-, a+e"));
    typeCharacters(price, u("１箱"));
    QCOMPARE(price->text(), QStringLiteral("12"));
    QVERIFY(!price->isModified());

    form->codeEdit().setText(QStringLiteral("99"));
    form->codeEdit().selectAll();
    form->codeEdit().copy();
    // Ctrl+V as platforms report it: with the control character, or with no text at all.
    const auto pasteKeys = [](QWidget* widget) {
        for (const QString& text : {QString(QChar(0x16)), QString()}) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_V, Qt::ControlModifier, text);
            QApplication::sendEvent(widget, &press);
        }
    };
    form->goodsNameEdit().clear();
    pasteKeys(&form->goodsNameEdit());
    QCOMPARE(form->goodsNameEdit().text(),
             QStringLiteral("9999"));  // an edit without the filter pastes

    price->selectAll();
    pasteKeys(price);
    QTest::keyClick(price, Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(price->text(), QStringLiteral("12"));

    // Edits without the filter take anything.
    form->unitEdit().clear();
    typeCharacters(&form->unitEdit(), u("箱-a"));
    QCOMPARE(form->unitEdit().text(), u("箱-a"));
}

void PurchasePanelsTest::showingPanelsPutsThemAtTheirPlaceAndSetsTheMode() {
    QVERIFY(form->entryPanel().isHidden());
    QVERIFY(form->queryPanel().isHidden());

    form->codeEdit().setText(QStringLiteral("left over"));
    form->entryPanel().move(10, 10);
    QTest::mouseClick(widget("SpeedButton1"), Qt::LeftButton);
    QVERIFY(form->entryPanel().isVisible());
    QCOMPARE(form->entryPanel().pos(), QPoint(240, 88));
    QVERIFY(widget("Button1")->isVisible());
    QVERIFY(widget("Button3")->isHidden());
    QVERIFY(widget("Button2")->isVisible());
    QCOMPARE(form->codeEdit().text(), QString());
    QCOMPARE(form->priceEdit().text(), QStringLiteral("0"));
    QCOMPARE(form->quantityEdit().text(), QStringLiteral("0"));

    form->searchCodeEdit().setText(QStringLiteral("x"));
    form->queryPanel().move(0, 0);
    QTest::mouseClick(widget("SpeedButton4"), Qt::LeftButton);
    QVERIFY(form->queryPanel().isVisible());
    QVERIFY(form->entryPanel().isHidden());
    QCOMPARE(form->queryPanel().pos(), QPoint(224, 168));
    QCOMPARE(form->searchCodeEdit().text(), QString());

    QTest::mouseClick(widget("Image3"), Qt::LeftButton);
    QVERIFY(form->queryPanel().isHidden());

    action("N1")->trigger();
    QVERIFY(form->entryPanel().isVisible());
    form->goodsNameEdit().setText(QStringLiteral("kept"));
    QTest::mouseClick(widget("Button2"), Qt::LeftButton);
    QVERIFY(form->entryPanel().isHidden());
    QCOMPARE(form->goodsNameEdit().text(), QStringLiteral("kept"));
    action("N1")->trigger();
    QTest::mouseClick(widget("Image2"), Qt::LeftButton);
    QVERIFY(form->entryPanel().isHidden());
    QVERIFY(scripted->messages.isEmpty());
}

void PurchasePanelsTest::doubleClickLeavesTheQueryPanelOpen() {
    addRow("A01", "1", "1");
    QTest::mouseClick(widget("SpeedButton4"), Qt::LeftButton);
    doubleClickRow(0);
    QVERIFY(form->entryPanel().isVisible());
    QVERIFY(form->queryPanel().isVisible());
    QVERIFY(widget("Button3")->isVisible());
    QVERIFY(widget("Button1")->isHidden());

    QTest::mouseClick(widget("SpeedButton2"), Qt::LeftButton);
    QVERIFY(form->entryPanel().isVisible());
    QVERIFY(form->queryPanel().isHidden());
}

void PurchasePanelsTest::panelsAreDraggedByTheirFreeSurfaceWithTheLeftButton() {
    QTest::mouseClick(widget("SpeedButton1"), Qt::LeftButton);
    QWidget* panel = &form->entryPanel();
    QCOMPARE(panel->cursor().shape(), Qt::SizeAllCursor);
    QCOMPARE(widget("Label1")->cursor().shape(), Qt::ArrowCursor);
    const QPoint free(12, 270);
    QVERIFY(panel->childAt(free) == nullptr);

    QTest::mousePress(panel, Qt::RightButton, {}, free);
    QTest::mouseMove(panel, free + QPoint(30, 20));
    QTest::mouseRelease(panel, Qt::RightButton, {}, free + QPoint(30, 20));
    QCOMPARE(panel->pos(), QPoint(240, 88));

    // A press on a label is not on the free surface.
    const QPoint onLabel = widget("Label1")->geometry().center();
    QTest::mousePress(panel, Qt::LeftButton, {}, onLabel);
    QTest::mouseMove(panel, onLabel + QPoint(30, 20));
    QTest::mouseRelease(panel, Qt::LeftButton, {}, onLabel + QPoint(30, 20));
    QCOMPARE(panel->pos(), QPoint(240, 88));

    QTest::mousePress(panel, Qt::LeftButton, {}, free);
    QTest::mouseMove(panel, free + QPoint(-40, 25));
    // The panel follows the pointer, so the pointer stays where it took hold of the panel.
    QTest::mouseRelease(panel, Qt::LeftButton, {}, free);
    QCOMPARE(panel->pos(), QPoint(200, 113));
    QVERIFY(QWidget::mouseGrabber() == nullptr);

    QTest::mouseClick(widget("SpeedButton1"), Qt::LeftButton);
    QCOMPARE(panel->pos(), QPoint(240, 88));
}

void PurchasePanelsTest::aDraggedPanelKeepsItsButtonsInTheList() {
    const struct {
        const char* show;
        QWidget* panel;
        QPoint free;
    } panels[] = {{"SpeedButton1", &form->entryPanel(), QPoint(12, 270)},
                  {"SpeedButton4", &form->queryPanel(), QPoint(12, 85)}};
    const QPoint pulls[] = {{3000, 0}, {-3000, 0}, {0, 3000}, {0, -3000}, {3000, 3000}};
    for (const auto& p : panels) {
        const QRect list = p.panel->parentWidget()->rect();
        for (const QPoint& pull : pulls) {
            QTest::mouseClick(widget(p.show), Qt::LeftButton);
            const QPoint place = p.panel->pos();
            QVERIFY(p.panel->childAt(p.free) == nullptr);
            QTest::mousePress(p.panel, Qt::LeftButton, {}, p.free);
            QTest::mouseMove(p.panel, p.free + pull);
            QTest::mouseRelease(p.panel, Qt::LeftButton, {}, p.free);
            const QPoint moved = p.panel->pos() - place;
            QVERIFY2(moved.x() * pull.x() > 0 || moved.y() * pull.y() > 0, p.show);
            for (QAbstractButton* button : p.panel->findChildren<QAbstractButton*>()) {
                if (!button->isVisibleTo(p.panel)) continue;
                const QRect at(button->mapTo(p.panel->parentWidget(), QPoint(0, 0)),
                               button->size());
                QVERIFY2(list.contains(at), qPrintable(button->objectName()));
            }
        }
    }
}

void PurchasePanelsTest::addingStoresTheTypedPurchaseAndClearsThePanel() {
    QTest::mouseClick(widget("SpeedButton1"), Qt::LeftButton);
    typeInto(&form->codeEdit(), QStringLiteral("A01"));
    typeInto(&form->goodsNameEdit(), u("螺丝"));
    replaceText(&form->priceEdit(), QStringLiteral("12.5"));
    replaceText(&form->quantityEdit(), QStringLiteral("4."));
    typeInto(&form->contactEdit(), u("张三"));
    scripted->onMessage = [&](const platform::MessageRecord&) {
        // The row is stored before the success message shows.
        QCOMPARE(storedGoods().size(), size_t(1));
        QCOMPARE(form->codeEdit().text(), QString());
    };
    QTest::mouseClick(widget("Button1"), Qt::LeftButton);
    scripted->onMessage = nullptr;

    QCOMPARE(scripted->messageTexts(), QStringList{u("进货信息添加成功！")});
    QCOMPARE(scripted->messages[0].kind, MessageKind::Plain);
    const auto rows = storedGoods();
    QCOMPARE(rows.size(), size_t(1));
    Row row = rows[0];
    QCOMPARE(row["商品编码"], std::string("A01"));
    QCOMPARE(row["商品名称"], std::string("螺丝"));
    QCOMPARE(row["联系人"], std::string("张三"));
    QCOMPARE(row["进货单价"], std::string("12.5"));
    QCOMPARE(row["进货数量"], std::string("4"));
    QCOMPARE(listedCodes(), QStringList{QStringLiteral("A01")});
    QVERIFY(form->entryPanel().isVisible());
    QVERIFY(widget("Button1")->isVisible());
    QCOMPARE(form->priceEdit().text(), QStringLiteral("0"));
    QCOMPARE(form->contactEdit().text(), QString());
}

void PurchasePanelsTest::addingEverythingAsShownTwiceStoresTwoRows() {
    QTest::mouseClick(widget("SpeedButton1"), Qt::LeftButton);
    QTest::mouseClick(widget("Button1"), Qt::LeftButton);
    QTest::mouseClick(widget("Button1"), Qt::LeftButton);
    QCOMPARE(scripted->messageTexts(),
             QStringList({u("进货信息添加成功！"), u("进货信息添加成功！")}));
    const auto rows = storedGoods();
    QCOMPARE(rows.size(), size_t(2));
    for (Row row : rows) {
        QCOMPARE(row["商品编码"], std::string());
        QCOMPARE(row["进货单价"], std::string("0"));
        QCOMPARE(row["进货数量"], std::string("0"));
    }
    QCOMPARE(form->goodsQuery().recordCount(), 2);
}

void PurchasePanelsTest::aSpecTooLongForSaleIsStoredWithAWarning() {
    const QString longSize(60, QChar(u'规'));
    const QString warning =
        u("进货信息已保存，但“商品规格”超过 50 个字符，销售信息中存不下，这件商品无法销售。"
          "请把“商品规格”改到 50 个字符以内。");
    QTest::mouseClick(widget("SpeedButton1"), Qt::LeftButton);
    typeInto(&form->codeEdit(), QStringLiteral("A01"));
    typeInto(&form->entryEdit("商品规格"), longSize);
    QTest::mouseClick(widget("Button1"), Qt::LeftButton);
    QCOMPARE(scripted->messageTexts(), QStringList({u("进货信息添加成功！"), warning}));
    QCOMPARE(QString::fromStdString(storedGoods()[0]["商品规格"]), longSize);

    scripted->clear();
    doubleClickRow(0);
    typeInto(&form->remarkEdit(), QStringLiteral("r"));
    QTest::mouseClick(widget("Button3"), Qt::LeftButton);
    QCOMPARE(scripted->messageTexts(), QStringList({u("修改进货信息成功！"), warning}));

    scripted->clear();
    doubleClickRow(0);
    QLineEdit* sizeEdit = &form->entryEdit("商品规格");
    sizeEdit->selectAll();
    QTest::keyClick(sizeEdit, Qt::Key_Delete);
    typeCharacters(sizeEdit, longSize.left(50));
    QTest::mouseClick(widget("Button3"), Qt::LeftButton);
    QCOMPARE(scripted->messageTexts(), QStringList{u("修改进货信息成功！")});
}

void PurchasePanelsTest::allEditsEmptyAreRefused() {
    QTest::mouseClick(widget("SpeedButton1"), Qt::LeftButton);
    form->priceEdit().clear();
    form->quantityEdit().clear();
    QTest::mouseClick(widget("Button1"), Qt::LeftButton);
    QCOMPARE(scripted->messageTexts(), QStringList{u("进货信息不能为空！")});
    QVERIFY(storedGoods().empty());
    QVERIFY(form->entryPanel().isVisible());
}

void PurchasePanelsTest::aLonePointStopsTheAddWithoutAHalfRow() {
    addRow("A01", "1", "1");
    QTest::mouseClick(widget("SpeedButton1"), Qt::LeftButton);
    typeInto(&form->codeEdit(), QStringLiteral("B02"));
    replaceText(&form->priceEdit(), QStringLiteral("."));
    QTest::mouseClick(widget("Button1"), Qt::LeftButton);

    QCOMPARE(scripted->messageTexts(),
             QStringList{u("'.' is not a valid floating point value for field '进货单价'")});
    QCOMPARE(scripted->messages[0].kind, MessageKind::Error);
    QCOMPARE(form->codeEdit().text(), QStringLiteral("B02"));
    QCOMPARE(form->priceEdit().text(), QStringLiteral("."));

    // Moving in the list afterwards stores nothing.
    clickRow(0);
    QCOMPARE(storedGoods().size(), size_t(1));
}

void PurchasePanelsTest::loadingShowsTwoDecimalsAndWritesBackOnlyChangedFields() {
    addRow("A01", "1.234", "10", "old");
    purchasetest::changeStoredGoods(storedGoods()[0].at("ID"),
                                    {{"商品名称", "elsewhere"}, {"联系人", "elsewhere"}});
    doubleClickRow(0);
    QCOMPARE(form->priceEdit().text(), QStringLiteral("1.23"));
    QCOMPARE(form->quantityEdit().text(), QStringLiteral("10"));
    QCOMPARE(form->remarkEdit().text(), QStringLiteral("old"));
    QVERIFY(!form->priceEdit().isModified());

    replaceText(&form->remarkEdit(), QStringLiteral("new"));
    // A character typed and deleted again is a change too.
    typeInto(&form->contactEdit(), QStringLiteral("x"));
    QTest::keyClick(&form->contactEdit(), Qt::Key_Backspace);
    QTest::mouseClick(widget("Button3"), Qt::LeftButton);

    QCOMPARE(scripted->messageTexts(), QStringList{u("修改进货信息成功！")});
    QVERIFY(form->entryPanel().isHidden());
    Row row = storedGoods()[0];
    QCOMPARE(row["备注"], std::string("new"));
    // An unchanged field is not written: the price shown rounded and another window's name stay.
    QCOMPARE(row["进货单价"], std::string("1.234"));
    QCOMPARE(row["商品名称"], std::string("elsewhere"));
    QCOMPARE(row["联系人"], std::string());
}

void PurchasePanelsTest::writeBackGoesToTheLoadedRowAfterMovingInTheList() {
    addRow("A01", "1", "1", "a");
    addRow("B02", "1", "1", "b");
    doubleClickRow(0);
    QCOMPARE(form->codeEdit().text(), QStringLiteral("A01"));
    replaceText(&form->remarkEdit(), QStringLiteral("changed"));
    clickRow(1);
    QTest::mouseClick(widget("Button3"), Qt::LeftButton);

    QCOMPARE(scripted->messageTexts(), QStringList{u("修改进货信息成功！")});
    for (const Row& row : storedGoods())
        QCOMPARE(row.at("备注"), std::string(row.at("商品编码") == "A01" ? "changed" : "b"));
}

void PurchasePanelsTest::writeBackToADeletedRowSaysSo() {
    addRow("A01", "1", "1", "a");
    addRow("B02", "1", "1", "b");
    doubleClickRow(0);
    replaceText(&form->remarkEdit(), QStringLiteral("changed"));
    clickRow(0);
    QTest::mouseClick(widget("SpeedButton3"), Qt::LeftButton);
    scripted->clear();

    QTest::mouseClick(widget("Button3"), Qt::LeftButton);
    QCOMPARE(scripted->messageTexts(), QStringList{u("要修改的进货信息已不存在，请重新选择！")});
    QVERIFY(form->entryPanel().isVisible());
}

void PurchasePanelsTest::aRowThatCannotBeLoadedTakesNoWriteBack() {
    addRow("A01", "1", "5", "a");
    addRow("B02", "2", "1", "b");
    for (const Row& row : storedGoods())
        if (row.at("商品编码") == "B02")
            purchasetest::changeStoredGoods(row.at("ID"), {{"进货单价", ""}});
    QTest::mouseClick(widget("SpeedButton5"), Qt::LeftButton);
    doubleClickRow(static_cast<int>(listedCodes().indexOf(QStringLiteral("A01"))));
    QCOMPARE(form->codeEdit().text(), QStringLiteral("A01"));

    doubleClickRow(static_cast<int>(listedCodes().indexOf(QStringLiteral("B02"))));
    QCOMPARE(scripted->messages.size(), 1);
    QCOMPARE(scripted->messages[0].kind, MessageKind::Error);
    // The panel holds B02's first fields and A01's others: it may go to neither row.
    QCOMPARE(form->codeEdit().text(), QStringLiteral("B02"));
    QCOMPARE(form->remarkEdit().text(), QStringLiteral("a"));
    QVERIFY(widget("Button3")->isVisible());
    scripted->clear();
    replaceText(&form->priceEdit(), QStringLiteral("3"));
    QTest::mouseClick(widget("Button3"), Qt::LeftButton);

    QCOMPARE(scripted->messageTexts(), QStringList{u("要修改的进货信息已不存在，请重新选择！")});
    for (Row row : storedGoods()) {
        const bool a = row["商品编码"] == "A01";
        QCOMPARE(row["进货单价"], std::string(a ? "1" : ""));
        QCOMPARE(row["进货金额"], std::string(a ? "5" : "2"));
    }
}

void PurchasePanelsTest::loadingAnEmptyListWarns() {
    QTest::mouseDClick(grid(), Qt::LeftButton, {}, QPoint(200, 100));
    QCOMPARE(scripted->messageTexts(), QStringList{u("当前修改进货信息为空！")});
    QCOMPARE(scripted->messages[0].kind, MessageKind::Confirm);
    QVERIFY(form->entryPanel().isHidden());

    scripted->clear();
    form->entryPanel().show();
    widget("Button3")->show();
    QTest::mouseClick(widget("Button3"), Qt::LeftButton);
    QCOMPARE(scripted->messageTexts(), QStringList{u("当前修改进货信息为空！")});
    QCOMPARE(scripted->messages[0].kind, MessageKind::Plain);
}

void PurchasePanelsTest::deletingRemovesNonAdjacentSelectedRowsAfterOneConfirmation() {
    addRow("A01", "1", "1");
    addRow("B02", "1", "1");
    addRow("C03", "1", "1");
    clickRow(0);
    clickRow(2, Qt::ControlModifier);
    QCOMPARE(grid()->selectedCount(), 2);
    QTest::mouseClick(widget("SpeedButton3"), Qt::LeftButton);

    QCOMPARE(scripted->messageTexts(), QStringList{u("确定要删除选中的记录？")});
    QCOMPARE(scripted->messages[0].kind, MessageKind::Confirm);
    QCOMPARE(listedCodes(), QStringList{QStringLiteral("B02")});
    const auto rows = storedGoods();
    QCOMPARE(rows.size(), size_t(1));
    QCOMPARE(rows[0].at("商品编码"), std::string("B02"));
    QCOMPARE(grid()->selectedCount(), 0);
}

void PurchasePanelsTest::deletingWithoutSelectionShowsTheCommandsHint() {
    addRow("A01", "1", "1");
    QTest::mouseClick(widget("SpeedButton3"), Qt::LeftButton);
    action("N3")->trigger();
    QCOMPARE(scripted->messageTexts(), QStringList({u(kButtonHint), u(kMenuHint)}));
    QCOMPARE(scripted->messages[0].kind, MessageKind::Info);
    QCOMPARE(scripted->messages[1].kind, MessageKind::Info);
    QCOMPARE(storedGoods().size(), size_t(1));
}

void PurchasePanelsTest::cancellingTheConfirmationDeletesNothing() {
    addRow("A01", "1", "1");
    clickRow(0);
    scripted->messageAnswers.enqueue(platform::Answer::Cancel);
    action("N3")->trigger();
    QCOMPARE(scripted->messageTexts(), QStringList{u("确定要删除选中的记录？")});
    QCOMPARE(storedGoods().size(), size_t(1));
    QCOMPARE(form->goodsQuery().recordCount(), 1);
}

// The stock of a code is summed over its lots; a deleted lot can take it to its level.
void PurchasePanelsTest::deletingALotThatTakesACodeToItsLevelTellsItOnce() {
    addRow("A01", "1", "5");
    addRow("A01", "1", "3");
    stock::setLevel(form->connection(), form->goodsQuery(), "A01", "5");
    form->activateFromAnotherWindow();
    clickRow(0);
    action("N3")->trigger();
    QCOMPARE(scripted->messageTexts(), QStringList({u("确定要删除选中的记录？"),
                                                    u("商品 A01 库存只剩 3，已低于最低库存 5")}));
    grid()->clearFocus();  // the highlight of the focused row keeps its own text colour
    const QImage picture = grid()->grab().toImage();
    const QRect code = grid()->cellRect(0, 0);
    bool red = false;
    for (int y = code.top(); y <= code.bottom(); ++y)
        for (int x = code.left(); x <= code.right(); ++x)
            red = red || picture.pixelColor(x, y) == QColor(Qt::red);
    QVERIFY(red);

    // A new lot lifts it above the level, silently; deleting that lot is a new dip.
    scripted->clear();
    addRow("A01", "1", "4");
    clickRow(1);
    action("N3")->trigger();
    QCOMPARE(scripted->messageTexts().size(), 2);
    QCOMPARE(scripted->messageTexts().last(), u("商品 A01 库存只剩 3，已低于最低库存 5"));
}

void PurchasePanelsTest::searchByCodeNarrowsTheListAndRefreshShowsAll() {
    for (const char* code : {"A01", "B02"}) addRow(code, "1", "1");
    QTest::mouseClick(widget("SpeedButton4"), Qt::LeftButton);
    typeInto(&form->searchCodeEdit(), QStringLiteral("A0"));
    QTest::mouseClick(widget("Button4"), Qt::LeftButton);
    QCOMPARE(listedCodes(), QStringList{QStringLiteral("A01")});
    QVERIFY(form->queryPanel().isVisible());
    QCOMPARE(form->searchCodeEdit().text(), QStringLiteral("A0"));
    QVERIFY(scripted->messages.isEmpty());

    QTest::mouseClick(widget("SpeedButton5"), Qt::LeftButton);
    QCOMPARE(listedCodes().size(), 2);
    QVERIFY(form->queryPanel().isVisible());
}

void PurchasePanelsTest::menuSearchesAndRefreshes() {
    addRow("A01", "1", "1");
    addRow("B02", "1", "1");
    form->searchNameEdit().setText(QStringLiteral("left over"));
    action("N11")->trigger();
    QVERIFY(form->queryPanel().isVisible());
    QCOMPARE(form->searchNameEdit().text(), QString());
    typeInto(&form->searchCodeEdit(), QStringLiteral("zz"));
    QTest::mouseClick(widget("Button4"), Qt::LeftButton);
    QVERIFY(listedCodes().isEmpty());

    action("N12")->trigger();
    QCOMPARE(listedCodes(), QStringList({"A01", "B02"}));
    QVERIFY(form->queryPanel().isVisible());
    QVERIFY(scripted->messages.isEmpty());
}

int main(int argc, char** argv) {
    // The main window saves its icon under the user's data folder; keep that out of the home.
    QTemporaryDir dataHome;
    qputenv("XDG_DATA_HOME", dataHome.path().toLocal8Bit());
    platform::Application app(argc, argv);
    PurchasePanelsTest test;
    return QTest::qExec(&test, argc, argv);
}

void PurchasePanelsTest::eachSearchEditSearchesItsColumn() {
    testsupport::appendRows(
        store::schema::kGoods,
        {{{"商品编码", "A01"}, {"商品名称", "甲"}, {"联系人", "张三"}, {"联系电话", "111"}},
         {{"商品编码", "B02"}, {"商品名称", "乙"}, {"联系人", "李四"}, {"联系电话", "222"}}});
    QTest::mouseClick(widget("SpeedButton5"), Qt::LeftButton);  // the list reads them
    QTest::mouseClick(widget("SpeedButton4"), Qt::LeftButton);
    const struct {
        const char* column;
        const char* text;
    } cases[] = {{"商品编码", "B0"}, {"商品名称", "乙"}, {"联系人", "李"}, {"联系电话", "22"}};
    for (const auto& c : cases) {
        for (std::string_view column : purchases::kSearchColumns) form->searchEdit(column).clear();
        typeCharacters(&form->searchEdit(c.column), QString::fromUtf8(c.text));
        QTest::mouseClick(widget("Button4"), Qt::LeftButton);
        QVERIFY2(listedCodes() == QStringList{QStringLiteral("B02")}, c.column);
    }
    QVERIFY(scripted->messages.isEmpty());
}

void PurchasePanelsTest::searchTextsWithQuotesAreJustText() {
    for (const std::string& code : testsupport::kQuotedCodes)
        testsupport::appendRows(store::schema::kGoods, {{{"商品编码", code}}});
    for (const auto& c : testsupport::kQuotedSearches) {
        QTest::mouseClick(widget("SpeedButton5"), Qt::LeftButton);  // all rows again
        QTest::mouseClick(widget("SpeedButton4"), Qt::LeftButton);
        QTest::keyClicks(&form->searchCodeEdit(), QString::fromUtf8(c.text));
        QTest::mouseClick(widget("Button4"), Qt::LeftButton);
        QStringList found;
        for (const std::string& code : c.found) found << QString::fromStdString(code);
        QVERIFY2(listedCodes() == found, c.text);
    }
    QVERIFY(scripted->messages.isEmpty());
}

void PurchasePanelsTest::enterPressesTheFocusedButtonOnce() {
    const auto pressEnter = [&](const char* name, Qt::Key key) {
        auto* button = qobject_cast<QPushButton*>(widget(name));
        QVERIFY(button != nullptr && button->isVisible());
        button->setFocus();
        QTest::keyClick(button, key, key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
    };
    QTest::mouseClick(widget("SpeedButton1"), Qt::LeftButton);
    typeInto(&form->codeEdit(), QStringLiteral("A01"));
    pressEnter("Button1", Qt::Key_Return);  // 添加
    QCOMPARE(storedGoods().size(), size_t(1));
    QCOMPARE(scripted->messageTexts(), QStringList{u("进货信息添加成功！")});

    pressEnter("Button2", Qt::Key_Enter);  // 取消
    QVERIFY(!widget("Panel2")->isVisible());

    scripted->clear();
    doubleClickRow(0);
    typeInto(&form->remarkEdit(), u("改"));
    pressEnter("Button3", Qt::Key_Enter);  // 修改
    QCOMPARE(scripted->messageTexts(), QStringList{u("修改进货信息成功！")});
    QCOMPARE(storedGoods()[0]["备注"], std::string("改"));

    QTest::mouseClick(widget("SpeedButton4"), Qt::LeftButton);
    QSignalSpy searched(qobject_cast<QPushButton*>(widget("Button4")), &QPushButton::clicked);
    pressEnter("Button4", Qt::Key_Return);  // 查询
    QCOMPARE(searched.count(), 1);
}

#include "PurchasePanelsTest.moc"
#include "store/Schema.h"
