// The sales detail window driven through its real widgets.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <filesystem>
#include <memory>

#include "grid/DataGrid.h"
#include "sales/XsmxForm.h"
#include "store/ConnectionString.h"
#include "store/Database.h"
#include "tests/sales/records/StoredSales.h"
#include "tests/support/GridClicks.h"
#include "tests/support/QuitWatcher.h"
#include "tests/support/QuotedSearches.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/TypeCharacters.h"
#include "tests/support/widgets/ScriptedPlatform.h"

using detailtest::Row;
using detailtest::sale;
using detailtest::storedSales;
using platform::Answer;
using platform::MessageKind;

namespace {

using testsupport::typeCharacters;

QString u(const char* text) { return QString::fromUtf8(text); }

void activate(QWidget& window) {
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
}

const char* const kHint =
    "请单击左边的序号选中一条记录或拖选一段记录，\r\n"
    "也可以用Ctrl及Shift来进行多选，然后再删除信息。";

constexpr int kAmountColumn = 8;

}  // namespace

class SaleDetailWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void cleanup();

    void layoutListAndMenu();
    void footerShowsUpToFourDecimals();
    void loadingShowsTwoDecimalsAndTheAmountFollowsThem();
    void writeBackWithNothingChangedRewritesOnlyTheAmount();
    void typingThenDeletingCountsAsAChange();
    void writeBackGoesToTheLoadedSaleAfterAMove();
    void aSaleThatCannotBeLoadedTakesNoWriteBack();
    void doubleClickOnAnEmptyListWarns();
    void doubleClickLeavesTheQueryPanelAsItIs();
    void deletingWithoutSelectionShowsTheHint();
    void deletingNonAdjacentRowsAfterOneConfirmation();
    void deletingASaleLeavesTheGoodsTableAlone();
    void aSaleWithReturnsIsNotDeleted();
    void returningPartOfASaleGivesItsGoodsBackToStock();
    void anOlderSaleWithSeveralGoodsRowsIsReturnedToTheOneChosen();
    void searchByCodeTotalsTheSalesFound();
    void aSearchFindingNothingEmptiesTheListUntilARefresh();
    void searchTextsWithQuotesAreJustText();
    void comingBackFromAnotherWindowRereads();
    void everyWayOfClosingHidesTheWindow();
    void aFailedRereadIsNotRepeatedByTheClosingOfItsErrorBox();

  private:
    void open(const std::vector<Row>& sales = {});
    QWidget* widget(const char* name) { return form->findChild<QWidget*>(name); }
    // The entry panel's field for a column of 表3, the query panel's for a searched column.
    QLineEdit* field(const char* column) { return &form->entryEdit(column); }
    QLineEdit* searchField(const char* column) { return &form->searchEdit(column); }
    QAction* action(const char* name) { return form->findChild<QAction*>(name); }
    grid::TDataGrid& list() { return form->salesList(); }
    void click(const char* name) { QTest::mouseClick(widget(name), Qt::LeftButton); }
    void clickRow(int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        testsupport::clickRow(list(), row, modifiers);
    }
    void doubleClickRow(int row) { testsupport::doubleClickRow(list(), row); }
    void typeInto(QLineEdit* edit, const QString& text) { testsupport::typeAtEnd(edit, text); }
    void execute(const std::string& sql);
    QStringList listedCodes();

    std::unique_ptr<testsupport::TestDatabase> database;
    std::unique_ptr<platform::ScriptedPlatform> scripted;
    std::unique_ptr<TXsmxForm> form;
};

void SaleDetailWindowTest::init() {
    database = std::make_unique<testsupport::TestDatabase>();
    scripted = std::make_unique<platform::ScriptedPlatform>();
}

void SaleDetailWindowTest::cleanup() {
    form.reset();
    scripted.reset();
    database.reset();
}

void SaleDetailWindowTest::open(const std::vector<Row>& sales) {
    if (!sales.empty()) detailtest::addSales(sales);
    form = std::make_unique<TXsmxForm>();
    activate(*form);
}

void SaleDetailWindowTest::execute(const std::string& sql) {
    store::Database db(database->path(), store::kDatabasePassword);
    db.exec(sql);
}

QStringList SaleDetailWindowTest::listedCodes() {
    QStringList codes;
    const store::Query& query = form->salesQuery();
    for (int i = 0; i < query.recordCount(); ++i)
        codes << QString::fromStdString(
            std::string(query.fieldTextAt(i, query.fieldIndex("商品编码"))));
    return codes;
}

void SaleDetailWindowTest::layoutListAndMenu() {
    open({sale("A1", "1", "1", "1")});
    QCOMPARE(form->windowTitle(), u("销售明细"));
    QCOMPARE(form->size(), QSize(1000, 603));
    QCOMPARE(widget("Panel2")->size(), QSize(417, 265));
    QCOMPARE(widget("Panel5")->size(), QSize(481, 97));
    QVERIFY(widget("Panel2")->isHidden());
    QVERIFY(widget("Panel5")->isHidden());
    QCOMPARE(widget("SpeedButton7")->geometry(), QRect(680, 8, 105, 33));

    const auto& columns = list().columns();
    QCOMPARE(columns.size(), size_t(13));
    QCOMPARE(columns[0].field, u("销售日期"));
    QCOMPARE(columns[0].caption, QString());
    QCOMPARE(columns[12].caption, QString());
    QCOMPARE(columns[1].caption, u("①商品信息|商品编码"));
    QCOMPARE(columns[8].caption, u("②销售信息|金额"));
    QCOMPARE(columns[11].width, 135);
    QCOMPARE(list().footerText(0), u("合计"));
    QCOMPARE(list().query(), &form->salesQuery());

    // The sale itself is shown; only the customer details and the remark are corrected.
    for (const char* column :
         {"商品编码", "商品名称", "商品型号", "商品规格", "单位", "销售单价", "销售数量"})
        QVERIFY2(field(column)->isReadOnly(), column);
    for (const char* column : {"客户姓名", "联系电话", "详细地址", "备注"})
        QVERIFY2(!field(column)->isReadOnly(), column);

    QStringList popup;
    for (QAction* item : form->popupMenu()->actions())
        popup << (item->isSeparator() ? QStringLiteral("-") : item->text());
    QCOMPARE(popup,
             QStringList({u("修改信息"), u("删除信息"), u("销售退货"), "-", u("查询信息"),
                          u("刷新信息"), "-", u("明细打印"), u("数据导出"), "-", u("关闭窗口")}));
}

void SaleDetailWindowTest::footerShowsUpToFourDecimals() {
    open({sale("A1", "10", "1", "10"), sale("A2", "0.123", "1", "0.123")});
    QCOMPARE(list().footerText(kAmountColumn), QStringLiteral("10.123"));
    QCOMPARE(form->salesQuery().recordCount(), 2);
}

void SaleDetailWindowTest::loadingShowsTwoDecimalsAndTheAmountFollowsThem() {
    open({sale("A1", "1.234", "3", "3.702", "李四", "旧")});
    field("备注")->setText(QStringLiteral("left over"));
    widget("Panel2")->move(0, 0);
    click("SpeedButton1");
    QVERIFY(widget("Panel2")->isVisible());
    QCOMPARE(widget("Panel2")->pos(), QPoint(256, 88));
    QCOMPARE(field("商品编码")->text(), QStringLiteral("A1"));
    QCOMPARE(field("销售单价")->text(), QStringLiteral("1.23"));
    QCOMPARE(field("销售数量")->text(), QStringLiteral("3"));
    QCOMPARE(field("客户姓名")->text(), u("李四"));
    QCOMPARE(field("备注")->text(), u("旧"));

    typeInto(field("备注"), u("改"));
    click("Button1");
    QCOMPARE(scripted->messageTexts(), QStringList{u("修改进货信息成功！")});
    QCOMPARE(scripted->messages[0].kind, MessageKind::Plain);
    QVERIFY(widget("Panel2")->isHidden());
    const Row stored = storedSales().at(0);
    QCOMPARE(stored.at("备注"), std::string("旧改"));
    QCOMPARE(stored.at("销售单价"), std::string("1.234"));  // shown rounded, not changed
    QCOMPARE(list().footerText(kAmountColumn), QStringLiteral("3.69"));
}

void SaleDetailWindowTest::writeBackWithNothingChangedRewritesOnlyTheAmount() {
    open({sale("A1", "2.456", "2", "0", "王五", "x")});
    Row expected = storedSales().at(0);
    action("N1")->trigger();
    click("Button1");
    expected["销售金额"] = "4.92";
    QCOMPARE(storedSales().at(0), expected);
    QCOMPARE(scripted->messageTexts(), QStringList{u("修改进货信息成功！")});
}

void SaleDetailWindowTest::typingThenDeletingCountsAsAChange() {
    open({sale("A1", "1", "1", "1", "甲")});
    // Marks each write of the name, even one of the same text.
    execute(std::string("CREATE TRIGGER name_written AFTER UPDATE OF \"客户姓名\" ON \"") +
            store::schema::kSales + "\" BEGIN UPDATE \"" + store::schema::kSales +
            "\" SET \"详细地址\" = 'name written' WHERE rowid = new.rowid; END;");
    click("SpeedButton1");
    click("Button1");
    QCOMPARE(storedSales().at(0).at("详细地址"), std::string(""));

    click("SpeedButton1");
    typeInto(field("客户姓名"), QStringLiteral("x"));
    QTest::keyClick(field("客户姓名"), Qt::Key_Backspace);
    QCOMPARE(field("客户姓名")->text(), u("甲"));
    click("Button1");
    QCOMPARE(storedSales().at(0).at("详细地址"), std::string("name written"));
    QCOMPARE(storedSales().at(0).at("客户姓名"), std::string("甲"));
}

void SaleDetailWindowTest::writeBackGoesToTheLoadedSaleAfterAMove() {
    open({sale("A1", "1", "1", "1", "甲"), sale("B2", "2", "2", "4", "乙")});
    doubleClickRow(0);
    QVERIFY(widget("Panel2")->isVisible());
    clickRow(1);
    QCOMPARE(form->salesQuery().currentIndex(), 1);
    typeInto(field("客户姓名"), u("改"));
    click("Button1");
    QCOMPARE(storedSales().at(0).at("客户姓名"), std::string("甲改"));
    QCOMPARE(storedSales().at(1).at("客户姓名"), std::string("乙"));

    // The loaded sale deleted meanwhile: a clear message, nothing written.
    click("SpeedButton1");
    QCOMPARE(field("商品编码")->text(), QStringLiteral("A1"));
    clickRow(0);
    scripted->clear();
    click("SpeedButton2");
    QCOMPARE(form->salesQuery().recordCount(), 1);
    typeInto(field("联系电话"), QStringLiteral("9"));
    scripted->clear();
    click("Button1");
    QCOMPARE(scripted->messageTexts(), QStringList{u("要修改的销售信息已不存在，请重新选择！")});
    QVERIFY(widget("Panel2")->isVisible());
}

void SaleDetailWindowTest::aSaleThatCannotBeLoadedTakesNoWriteBack() {
    open({sale("A1", "1", "1", "1", "甲"), sale("B2", "", "2", "", "乙")});
    click("SpeedButton1");  // A1 loaded, panel open
    clickRow(1);
    scripted->clear();
    click("SpeedButton1");  // B2 has no price: the load stops
    QCOMPARE(scripted->messages.size(), 1);
    QCOMPARE(scripted->messages[0].kind, MessageKind::Error);
    QCOMPARE(field("客户姓名")->text(), u("甲"));  // fields after the price keep A1's texts
    QCOMPARE(field("商品编码")->text(), QStringLiteral("B2"));
    typeInto(field("客户姓名"), QStringLiteral("x"));
    scripted->clear();
    click("Button1");
    QCOMPARE(scripted->messageTexts(), QStringList{u("要修改的销售信息已不存在，请重新选择！")});
    QCOMPARE(storedSales().at(0).at("客户姓名"), std::string("甲"));
    QCOMPARE(storedSales().at(1).at("客户姓名"), std::string("乙"));
}

void SaleDetailWindowTest::doubleClickOnAnEmptyListWarns() {
    open();
    QTest::mouseDClick(&list(), Qt::LeftButton, Qt::NoModifier, QPoint(200, 100));
    QCOMPARE(scripted->messageTexts(), QStringList{u("当前修改销售信息为空！")});
    QCOMPARE(scripted->messages[0].kind, MessageKind::Confirm);
    QVERIFY(widget("Panel2")->isHidden());

    scripted->clear();
    click("Button1");  // the panel's button with no sale at all
    QCOMPARE(scripted->messageTexts(), QStringList{u("当前修改销售信息为空！")});
    QCOMPARE(scripted->messages[0].kind, MessageKind::Plain);
}

void SaleDetailWindowTest::doubleClickLeavesTheQueryPanelAsItIs() {
    open({sale("A1", "1", "1", "1")});
    click("SpeedButton3");
    doubleClickRow(0);
    QVERIFY(widget("Panel2")->isVisible());
    QVERIFY(widget("Panel5")->isVisible());
    click("SpeedButton1");
    QVERIFY(widget("Panel5")->isHidden());
    click("SpeedButton3");
    QVERIFY(widget("Panel2")->isHidden());
    QTest::mouseClick(widget("Image3"), Qt::LeftButton);
    QVERIFY(widget("Panel5")->isHidden());
}

void SaleDetailWindowTest::deletingWithoutSelectionShowsTheHint() {
    open({sale("A1", "1", "1", "1")});
    click("SpeedButton2");
    action("N2")->trigger();
    QCOMPARE(scripted->messageTexts(), QStringList({u(kHint), u(kHint)}));
    QCOMPARE(scripted->messages[0].kind, MessageKind::Info);
    QCOMPARE(storedSales().size(), size_t(1));
}

void SaleDetailWindowTest::deletingNonAdjacentRowsAfterOneConfirmation() {
    open({sale("A1", "1", "1", "1"), sale("A2", "2", "1", "2"), sale("A3", "4", "1", "4"),
          sale("A4", "8", "1", "8")});
    QCOMPARE(list().footerText(kAmountColumn), QStringLiteral("15"));
    clickRow(0);
    clickRow(2, Qt::ControlModifier);
    scripted->messageAnswers.enqueue(Answer::Cancel);
    click("SpeedButton2");
    QCOMPARE(storedSales().size(), size_t(4));
    QCOMPARE(list().selectedCount(), 2);

    click("SpeedButton2");
    QCOMPARE(scripted->messageTexts(),
             QStringList({u("确定要删除选中的记录？"), u("确定要删除选中的记录？")}));
    QCOMPARE(scripted->messages[1].kind, MessageKind::Confirm);
    QCOMPARE(listedCodes(), QStringList({"A2", "A4"}));
    QCOMPARE(storedSales().size(), size_t(2));
    QCOMPARE(list().footerText(kAmountColumn), QStringLiteral("10"));
    QCOMPARE(list().selectedCount(), 0);
}

void SaleDetailWindowTest::deletingASaleLeavesTheGoodsTableAlone() {
    detailtest::addRows(store::schema::kGoods, {{{"商品编码", "A1"},
                                                 {"进货数量", "10"},
                                                 {"销售数量", "5"},
                                                 {"库存数量", "5"},
                                                 {"销售金额", "50"}}});
    const auto goodsBefore = detailtest::storedRows(store::schema::kGoods);
    open({sale("A1", "10", "5", "50")});
    clickRow(0);
    action("N2")->trigger();
    QCOMPARE(storedSales().size(), size_t(0));
    QCOMPARE(detailtest::storedRows(store::schema::kGoods), goodsBefore);
}

void SaleDetailWindowTest::aSaleWithReturnsIsNotDeleted() {
    open({sale("A1", "10", "5", "50"), sale("A2", "10", "1", "10")});
    detailtest::addRows(store::schema::kReturns,
                        {{{"销售ID", storedSales()[0].at("ID")}, {"退货数量", "1"}}});
    clickRow(0);
    clickRow(1, Qt::ControlModifier);
    click("SpeedButton2");
    QCOMPARE(scripted->messageTexts(),
             QStringList({u("确定要删除选中的记录？"),
                          u("选中的销售中有已退货的销售，不能删除：它的退货记录要用到它！")}));
    QCOMPARE(storedSales().size(), size_t(2));
    QCOMPARE(listedCodes(), QStringList({"A1", "A2"}));
}

namespace {

// A goods row that sold 2 of 10 at 10 a piece, bought at 4.
Row soldGoods(const std::string& supplier) {
    return {{"商品编码", "A1"}, {"商品名称", "商品A1"}, {"商品型号", "M"},  {"商品规格", "S"},
            {"单位", "个"},     {"进货单价", "4"},      {"进货数量", "10"}, {"进货金额", "40"},
            {"销售数量", "2"},  {"销售金额", "20"},     {"销售利润", "12"}, {"库存数量", "8"},
            {"库存金额", "32"}, {"供货单位", supplier}};
}

// A sale of 2 of those goods, made before sales noted their goods row.
Row soldBefore() {
    Row row = sale("A1", "10", "2", "20");
    row["商品型号"] = "M";
    row["商品规格"] = "S";
    return row;
}

// Types text over the whole of an edit, key by key.
void retype(QLineEdit* edit, const QString& text) {
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_End);
    while (!edit->text().isEmpty()) QTest::keyClick(edit, Qt::Key_Backspace);
    testsupport::typeAtEnd(edit, text);
}

}  // namespace

void SaleDetailWindowTest::returningPartOfASaleGivesItsGoodsBackToStock() {
    detailtest::addRows(store::schema::kGoods, {soldGoods("甲厂")});
    open({soldBefore(), sale("Z9", "1", "1", "1")});

    // A sale whose purchase was deleted has nothing to go back to: the panel stays closed.
    clickRow(1);
    click("SpeedButton8");
    QCOMPARE(scripted->messageTexts(),
             QStringList{u("这笔销售的商品在进货信息中已不存在（进货记录已删除），无法退货！")});
    QVERIFY(form->returnPanel().isHidden());

    scripted->clear();
    clickRow(0);
    action("N11")->trigger();
    QVERIFY(form->returnPanel().isVisible());
    QCOMPARE(form->soldEdit().text(), QStringLiteral("2"));
    QCOMPARE(form->returnedEdit().text(), QStringLiteral("0"));
    QCOMPARE(form->returnableEdit().text(), QStringLiteral("2"));
    QCOMPARE(form->returnQuantityEdit().text(), QStringLiteral("2"));
    QCOMPARE(form->refundEdit().text(), QStringLiteral("20"));
    QVERIFY(form->returnableEdit().isReadOnly());
    QCOMPARE(form->returnGoodsRowBox().count(), 1);
    QVERIFY(!form->returnGoodsRowBox().isEnabled());
    QVERIFY(form->returnGoodsRowBox().currentText().contains(u("甲厂")));

    // Above what can be returned: refused, naming the number, nothing stored.
    retype(&form->returnQuantityEdit(), QStringLiteral("3"));
    QCOMPARE(form->refundEdit().text(), QStringLiteral("30"));
    click("Button4");
    QCOMPARE(scripted->messageTexts().size(), 1);
    QVERIFY2(scripted->messageTexts()[0].contains(u(" 2，")),
             qPrintable(scripted->messageTexts()[0]));
    QVERIFY(form->returnPanel().isVisible());
    QVERIFY(detailtest::storedRows(store::schema::kReturns).empty());

    // The refund follows the quantity and is held to its amount at the sale price.
    scripted->clear();
    retype(&form->returnQuantityEdit(), QStringLiteral("1"));
    QCOMPARE(form->refundEdit().text(), QStringLiteral("10"));
    retype(&form->refundEdit(), QStringLiteral("12"));
    QCOMPARE(scripted->messageTexts(), QStringList{u("退款金额不能超过退货数量乘销售单价 10！")});
    QCOMPARE(form->refundEdit().text(), QStringLiteral("10"));
    retype(&form->refundEdit(), QStringLiteral("9"));
    typeInto(&form->returnReasonEdit(), u("坏了"));

    scripted->clear();
    click("Button4");
    QCOMPARE(scripted->messageTexts(), QStringList{u("销售退货成功！")});
    QVERIFY(form->returnPanel().isHidden());
    const auto returns = detailtest::storedRows(store::schema::kReturns);
    QCOMPARE(returns.size(), size_t(1));
    QCOMPARE(returns[0].at("退货数量"), std::string("1"));
    QCOMPARE(returns[0].at("退款金额"), std::string("9"));
    QCOMPARE(returns[0].at("退货原因"), std::string("坏了"));
    const Row goods = detailtest::storedRows(store::schema::kGoods).at(0);
    QCOMPARE(goods.at("销售数量"), std::string("1"));
    QCOMPARE(goods.at("销售金额"), std::string("11"));
    QCOMPARE(goods.at("销售利润"), std::string("7"));  // 12 − (9 − 1 × 4)
    QCOMPARE(goods.at("库存数量"), std::string("9"));
    QCOMPARE(goods.at("库存金额"), std::string("36"));
    QCOMPARE(list().query()->currentIndex(), 0);

    // Opened again, the panel counts the return.
    click("SpeedButton8");
    QCOMPARE(form->returnedEdit().text(), QStringLiteral("1"));
    QCOMPARE(form->returnQuantityEdit().text(), QStringLiteral("1"));
    click("Button5");
    QVERIFY(form->returnPanel().isHidden());
}

void SaleDetailWindowTest::anOlderSaleWithSeveralGoodsRowsIsReturnedToTheOneChosen() {
    detailtest::addRows(store::schema::kGoods, {soldGoods("甲厂"), soldGoods("乙厂")});
    open({soldBefore()});
    click("SpeedButton8");
    QComboBox& rows = form->returnGoodsRowBox();
    QCOMPARE(rows.count(), 2);
    QVERIFY(rows.isEnabled());
    QCOMPARE(rows.currentIndex(), -1);  // nothing is chosen for the user

    click("Button4");
    QCOMPARE(scripted->messageTexts(),
             QStringList{u("进货信息中有多条相同的商品，请选择退货退回到哪一条进货记录！")});
    QVERIFY(detailtest::storedRows(store::schema::kReturns).empty());

    rows.setCurrentIndex(1);
    click("Button4");
    QCOMPARE(scripted->messageTexts().last(), u("销售退货成功！"));
    const auto goods = detailtest::storedRows(store::schema::kGoods);
    QCOMPARE(goods.at(0).at("库存数量"), std::string("8"));
    QCOMPARE(goods.at(1).at("库存数量"), std::string("10"));
}

void SaleDetailWindowTest::searchByCodeTotalsTheSalesFound() {
    open({sale("A1", "1", "1", "1.5"), sale("B1", "1", "1", "2", "乙"),
          sale("XA12", "1", "1", "3")});
    action("N4")->trigger();
    QVERIFY(widget("Panel5")->isVisible());
    QCOMPARE(widget("Panel5")->pos(), QPoint(224, 168));
    QTest::keyClicks(searchField("商品编码"), QStringLiteral("A1"));
    click("Button3");
    QCOMPARE(listedCodes(), QStringList({"A1", "XA12"}));
    QCOMPARE(list().footerText(kAmountColumn), QStringLiteral("4.5"));
    QVERIFY(widget("Panel5")->isVisible());
    QCOMPARE(searchField("商品编码")->text(), QStringLiteral("A1"));

    // Reopened the panel is empty again; the customer edit searches the customer names.
    click("SpeedButton4");
    click("SpeedButton3");
    QCOMPARE(searchField("商品编码")->text(), QString());
    typeCharacters(searchField("客户姓名"), u("乙"));
    click("Button3");
    QCOMPARE(listedCodes(), QStringList{QStringLiteral("B1")});
}

void SaleDetailWindowTest::aSearchFindingNothingEmptiesTheListUntilARefresh() {
    open({sale("A1", "1", "1", "1"), sale("B1", "1", "1", "1")});
    click("SpeedButton3");
    QTest::keyClicks(searchField("商品编码"), QStringLiteral("zz"));
    click("Button3");
    QCOMPARE(listedCodes(), QStringList());
    QCOMPARE(list().footerText(kAmountColumn), QStringLiteral("0"));
    action("N5")->trigger();
    QVERIFY(widget("Panel5")->isVisible());  // a refresh leaves the panels as they are
    QCOMPARE(listedCodes(), QStringList({"A1", "B1"}));
    QCOMPARE(list().footerText(kAmountColumn), QStringLiteral("2"));
    QVERIFY(scripted->messages.isEmpty());
}

void SaleDetailWindowTest::searchTextsWithQuotesAreJustText() {
    std::vector<Row> sales;
    for (const std::string& code : testsupport::kQuotedCodes)
        sales.push_back(sale(code, "1", "1", "1"));
    open(sales);
    for (const auto& c : testsupport::kQuotedSearches) {
        action("N5")->trigger();  // all rows again
        click("SpeedButton3");
        QTest::keyClicks(searchField("商品编码"), QString::fromUtf8(c.text));
        click("Button3");
        QStringList found;
        for (const std::string& code : c.found) found << QString::fromStdString(code);
        QVERIFY2(listedCodes() == found, c.text);
    }
    QVERIFY(scripted->messages.isEmpty());
}

void SaleDetailWindowTest::comingBackFromAnotherWindowRereads() {
    open({sale("A1", "1", "1", "1"), sale("B1", "1", "1", "1")});
    click("SpeedButton3");
    QTest::keyClicks(searchField("商品编码"), QStringLiteral("B"));
    click("Button3");
    QCOMPARE(listedCodes(), QStringList({"B1"}));
    detailtest::addSales({sale("C1", "1", "1", "1")});

    QWidget preview;  // the print preview, say
    activate(preview);
    activate(*form);
    QCOMPARE(listedCodes(), QStringList({"A1", "B1", "C1"}));
    QVERIFY(widget("Panel5")->isHidden());
    QVERIFY(widget("Panel2")->isHidden());
    QCOMPARE(list().footerText(kAmountColumn), QStringLiteral("3"));
    QCOMPARE(list().selectedCount(), 0);
}

void SaleDetailWindowTest::everyWayOfClosingHidesTheWindow() {
    open();
    click("SpeedButton7");
    QVERIFY(form->isHidden());
    activate(*form);
    action("N10")->trigger();
    QVERIFY(form->isHidden());
    activate(*form);
    form->close();
    QVERIFY(form->isHidden());
    QVERIFY(scripted->messages.isEmpty());

    // Closing shows the sales window again by itself, not only when a modal run ends.
    QWidget salesWindow;
    form->setSalesWindow(&salesWindow);
    activate(*form);
    click("SpeedButton7");
    QVERIFY(salesWindow.isVisible());
    salesWindow.hide();

    // "【退出软件】" ends the program even though the main window is hidden.
    QWidget mainWindow;
    form->setMainWindow(&mainWindow);
    mainWindow.show();
    activate(*form);
    testsupport::QuitWatcher quits;
    QTimer::singleShot(0, form.get(), [&] {
        QTest::mouseClick(widget("Label1"), Qt::LeftButton);
        QCoreApplication::sendPostedEvents();
        QCoreApplication::exit(7);
    });
    QCOMPARE(QCoreApplication::exec(), 7);
    QVERIFY(mainWindow.isHidden());
    QCOMPARE(quits.count, 1);
}

void SaleDetailWindowTest::aFailedRereadIsNotRepeatedByTheClosingOfItsErrorBox() {
    open({sale("A1", "1", "1", "1")});
    std::filesystem::rename("data.mdb", "moved.mdb");
    click("SpeedButton4");  // 刷新信息: the file cannot be opened
    QCOMPARE(scripted->messages.size(), 1);

    QMessageBox box;  // the error box, closed by its OK
    activate(box);
    box.close();
    activate(*form);
    QCOMPARE(scripted->messages.size(), 1);

    QWidget other;  // coming back from another window tries again
    activate(other);
    activate(*form);
    QCOMPARE(scripted->messages.size(), 2);

    std::filesystem::rename("moved.mdb", "data.mdb");
    activate(other);
    activate(*form);
    QCOMPARE(listedCodes(), QStringList({"A1"}));
    QCOMPARE(scripted->messages.size(), 2);
}

QTEST_MAIN(SaleDetailWindowTest)
#include "SaleDetailWindowTest.moc"
#include "store/Schema.h"
