// The returns list window driven through its real widgets, among the windows the program makes
// at start-up: opened from the sales window, searched, printed, exported, and its returns
// deleted with their goods taken back out of stock.
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "app/Startup.h"
#include "grid/DataGrid.h"
#include "platform/Fonts.h"
#include "platform/Modal.h"
#include "reports/ThdyForm.h"
#include "sales/ThmxForm.h"
#include "sales/XsxxForm.h"
#include "sales/records/ReturnRecords.h"
#include "store/Connection.h"
#include "store/ConnectionString.h"
#include "store/Database.h"
#include "store/Query.h"
#include "store/Schema.h"
#include "tests/app/StartedProgram.h"
#include "tests/reports/PreviewProbe.h"
#include "tests/support/GridClicks.h"
#include "tests/support/ScannerKeys.h"
#include "tests/support/StoredRows.h"
#include "tests/support/TypeCharacters.h"
#include "tests/support/WorkbookReader.h"
#include "tests/support/widgets/RunControl.h"
#include "tests/support/widgets/ScriptedPlatform.h"

namespace {

namespace schema = store::schema;
using platform::Answer;
using testsupport::Row;

QString u(const char* text) { return QString::fromUtf8(text); }

// The list's columns: 退货日期, 商品编码, four more goods texts, then the quantity and refund.
constexpr int kCodeColumn = 1;
constexpr int kQuantityColumn = 6;
constexpr int kRefundColumn = 7;

Row goods(const char* code, const char* sold, const char* stock) {
    return {{"商品编码", code},  {"商品名称", std::string("名称") + code},
            {"商品型号", "M"},   {"商品规格", "S"},
            {"单位", "个"},      {"进货单价", "2"},
            {"进货数量", "10"},  {"销售数量", sold},
            {"销售金额", "30"},  {"销售利润", "10"},
            {"库存数量", stock}, {"库存金额", "8"}};
}

Row sale(const char* code, const char* date, const char* customer) {
    return {{"销售日期", date}, {"商品编码", code}, {"商品名称", std::string("名称") + code},
            {"商品型号", "M"},  {"商品规格", "S"},  {"单位", "个"},
            {"销售单价", "5"},  {"销售数量", "3"},  {"客户姓名", customer}};
}

}  // namespace

class ReturnsWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { platform::installFonts(); }
    void init();
    void cleanup() { program_.reset(); }

    void theSalesWindowOpensItInItsPlace();
    void eachSearchFieldNarrowsTheListAndTheSums_data();
    void eachSearchFieldNarrowsTheListAndTheSums();
    void deletingAfterTheConfirmationPutsTheGoodsBackAsSold();
    void aReturnThatCannotBeUndoneKeepsEverySelectedOne();
    void deletingReturnsThatTakeACodeToItsLowestStockTellsIt();
    void aScannedCodeIsSearchedFor();
    void theExportWritesTheListAsItStands();
    void theReportPrintsEveryReturn();

  private:
    void openList();
    static void run(QWidget& window, const char* control) {
        testsupport::runControl(window, control);
    }
    QStringList listedCodes();
    QString footer(int column) { return form().returnsList().footerText(column); }
    TThmxForm& form() { return program_->windows().returnsWindow(); }
    platform::ScriptedPlatform& scripted() { return program_->platform(); }

    std::unique_ptr<apptest::StartedProgram> program_;
    std::vector<Row> goodsAsSold_;
};

// Two goods rows as their sales left them, three sales, and a return of each sale.
void ReturnsWindowTest::init() {
    program_ = std::make_unique<apptest::StartedProgram>([this] {
        const auto goodsIds = testsupport::appendRows(
            schema::kGoods, {goods("A001", "6", "4"), goods("B002", "3", "7")});
        const auto saleIds =
            testsupport::appendRows(schema::kSales, {sale("A001", "2025-03-01 10:00:00", "甲"),
                                                     sale("A001", "2025-04-01 10:00:00", "乙"),
                                                     sale("B002", "2026-01-05 10:00:00", "丙")});
        goodsAsSold_ = testsupport::storedRows(schema::kGoods);
        store::Connection connection(store::buildConnectionStringForCurrentDirectory());
        salereturn::ReturnRecords returns(connection);
        const struct {
            int sale, goods;
            const char *date, *quantity, *refund;
        } given[] = {{0, 0, "2026-12-01 09:00:00", "1", "5"},
                     {1, 0, "2026-12-02 09:00:00", "2", "9.5"},
                     {2, 1, "2026-12-02 10:00:00", "0.5", "2.5"}};
        for (const auto& g : given) {
            const auto result = returns.confirm({std::stoll(saleIds[std::size_t(g.sale)]),
                                                 std::stoll(goodsIds[std::size_t(g.goods)]), g.date,
                                                 g.quantity, g.refund, "坏了"});
            QCOMPARE(result.outcome, salereturn::ReturnResult::Outcome::Returned);
        }
    });
}

void ReturnsWindowTest::openList() {
    form().show();
    form().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form()));
}

QStringList ReturnsWindowTest::listedCodes() {
    QStringList codes;
    const store::Query& query = form().returnsQuery();
    for (int i = 0; i < query.recordCount(); ++i)
        codes << QString::fromUtf8(
            std::string(query.fieldTextAt(i, query.fieldIndex(schema::column::kGoodsCode))));
    return codes;
}

// "退货明细" in the sales window's menu shows the list in the sales window's place, read
// afresh; closing it brings the sales window back.
void ReturnsWindowTest::theSalesWindowOpensItInItsPlace() {
    TXsxxForm& sales = program_->windows().salesWindow();
    bool listRead = false, salesHidden = false, listShown = false;
    QStringList codes;
    QString quantities, refunds;
    QTimer::singleShot(0, &sales, [&] {
        QTimer::singleShot(0, &form(), [&] {
            listRead = QTest::qWaitFor([&] { return form().returnsQuery().isOpen(); });
            salesHidden = !sales.isVisible();
            listShown = form().isVisible() && QApplication::activeModalWidget() == &form();
            codes = listedCodes();
            quantities = footer(kQuantityColumn);
            refunds = footer(kRefundColumn);
            run(form(), "SpeedButton6");  // 关闭窗口
        });
        run(sales, "N11");
        QVERIFY(sales.isVisible());
        sales.close();
    });
    platform::showModal(sales);
    QVERIFY(listRead);
    QVERIFY(salesHidden);
    QVERIFY(listShown);
    QCOMPARE(codes, QStringList({"A001", "A001", "B002"}));
    QCOMPARE(quantities, QStringLiteral("3.5"));
    QCOMPARE(refunds, QStringLiteral("17"));
    QVERIFY(scripted().messages.isEmpty());
}

void ReturnsWindowTest::eachSearchFieldNarrowsTheListAndTheSums_data() {
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("codes");
    QTest::addColumn<QString>("quantity");
    QTest::addColumn<QString>("refund");
    QTest::newRow("商品编码") << u("商品编码") << u("B0") << QStringList{"B002"} << "0.5"
                              << "2.5";
    QTest::newRow("商品名称") << u("商品名称") << u("名称A") << QStringList{"A001", "A001"} << "3"
                              << "14.5";
    QTest::newRow("客户姓名") << u("客户姓名") << u("乙") << QStringList{"A001"} << "2"
                              << "9.5";
    QTest::newRow("退货日期") << u("退货日期") << u("12-02") << QStringList{"A001", "B002"} << "2.5"
                              << "12";
    QTest::newRow("销售日期") << u("销售日期") << u("2025-03") << QStringList{"A001"} << "1"
                              << "5";
}

void ReturnsWindowTest::eachSearchFieldNarrowsTheListAndTheSums() {
    QFETCH(QString, column);
    QFETCH(QString, text);
    QFETCH(QStringList, codes);
    QFETCH(QString, quantity);
    QFETCH(QString, refund);
    openList();
    run(form(), "N3");
    QVERIFY(form().queryPanel().isVisible());
    testsupport::typeCharacters(&form().searchEdit(column.toStdString()), text);
    QTest::mouseClick(form().findChild<QWidget*>("Button1"), Qt::LeftButton);
    QCOMPARE(listedCodes(), codes);
    QCOMPARE(footer(kQuantityColumn), quantity);
    QCOMPARE(footer(kRefundColumn), refund);
    run(form(), "SpeedButton3");  // 刷新信息
    QCOMPARE(listedCodes().size(), 3);
}

void ReturnsWindowTest::deletingAfterTheConfirmationPutsTheGoodsBackAsSold() {
    openList();
    run(form(), "SpeedButton1");
    QCOMPARE(scripted().messageTexts(),
             QStringList{u("请单击左边的序号选中一条记录或拖选一段记录，\r\n"
                           "也可以用Ctrl及Shift来进行多选，然后再删除信息。")});
    scripted().clear();

    testsupport::clickRow(form().returnsList(), 0);
    testsupport::clickRow(form().returnsList(), 2, Qt::ShiftModifier);
    scripted().messageAnswers.enqueue(Answer::Cancel);
    run(form(), "N1");
    QCOMPARE(testsupport::storedRows(schema::kReturns).size(), std::size_t(3));
    QVERIFY(testsupport::storedRows(schema::kGoods) != goodsAsSold_);

    run(form(), "SpeedButton1");
    QCOMPARE(scripted().messageTexts(),
             QStringList({u("确定要删除选中的退货记录？\r\n删除后退回的商品将从库存中撤回。"),
                          u("确定要删除选中的退货记录？\r\n删除后退回的商品将从库存中撤回。")}));
    QVERIFY(testsupport::storedRows(schema::kReturns).empty());
    QVERIFY(testsupport::storedRows(schema::kGoods) == goodsAsSold_);
    QVERIFY(form().returnsQuery().isEmpty());
    QCOMPARE(footer(kRefundColumn), QStringLiteral("0"));
}

// A001's lowest stock is what its sales left: taking its returns back out of stock brings it
// there, which is told once after the deletion.
void ReturnsWindowTest::deletingReturnsThatTakeACodeToItsLowestStockTellsIt() {
    const std::string level = goodsAsSold_.at(0).at(schema::column::kStockQuantity);
    testsupport::appendRows(schema::kStockLevels, {{{schema::column::kGoodsCode, "A001"},
                                                    {schema::column::kStockLevel, level},
                                                    {schema::column::kLowStockTold, "0"}}});
    openList();
    testsupport::clickRow(form().returnsList(), 0);
    testsupport::clickRow(form().returnsList(), 2, Qt::ShiftModifier);
    scripted().messageAnswers.enqueue(Answer::Ok);
    run(form(), "N1");
    const QStringList said = scripted().messageTexts();
    QCOMPARE(said.size(), 2);
    QVERIFY2(said.at(1).startsWith(u("商品 A001")) && said.at(1).contains(u("已低于最低库存")),
             qPrintable(said.join(u("|"))));
}

// B002's purchase deleted since: its return cannot take the stock back, and the A001 return
// selected with it stays as well.
void ReturnsWindowTest::aReturnThatCannotBeUndoneKeepsEverySelectedOne() {
    openList();
    const auto returnsBefore = testsupport::storedRows(schema::kReturns);
    store::Database(program_->database().path(), store::kDatabasePassword)
        .exec("DELETE FROM \"表1\" WHERE \"商品编码\" = 'B002'");
    const auto goodsBefore = testsupport::storedRows(schema::kGoods);
    testsupport::clickRow(form().returnsList(), 1);
    testsupport::clickRow(form().returnsList(), 2, Qt::ShiftModifier);
    run(form(), "SpeedButton1");
    QCOMPARE(scripted().messageTexts().size(), 2);
    QCOMPARE(scripted().messageTexts().at(1),
             u("这条退货退回的进货记录已不存在，无法撤回它的库存，退货记录没有删除！\r\n"
               "选中的退货记录都没有删除。"));
    QVERIFY(testsupport::storedRows(schema::kReturns) == returnsBefore);
    QVERIFY(testsupport::storedRows(schema::kGoods) == goodsBefore);
    QCOMPARE(listedCodes(), QStringList({"A001", "A001", "B002"}));
}

void ReturnsWindowTest::aScannedCodeIsSearchedFor() {
    openList();
    testsupport::ScannerKeys keys;
    keys.scan(&form().returnsList(), u("B002"));
    QVERIFY(form().queryPanel().isVisible());
    QCOMPARE(form().searchEdit(schema::column::kGoodsCode).text(), u("B002"));
    QCOMPARE(listedCodes(), QStringList{"B002"});
}

// After a search only the returns found, every column of 退货.
void ReturnsWindowTest::theExportWritesTheListAsItStands() {
    openList();
    run(form(), "N3");
    testsupport::typeCharacters(&form().searchEdit(schema::column::kCustomer), u("丙"));
    QTest::mouseClick(form().findChild<QWidget*>("Button1"), Qt::LeftButton);
    const QString file = program_->desktop().dataFile("returns");
    scripted().saveFileNames.enqueue(file);
    run(form(), "SpeedButton5");
    QCOMPARE(scripted().messageTexts(), QStringList{QStringLiteral("成功导出全部数据!")});
    const auto book = testsupport::readWorkbook((file + ".xls").toStdString());
    QVERIFY2(book.opened, book.error.c_str());
    const auto& sheet = book.sheets.at(0);
    QCOMPARE(sheet.rows, 2u);
    QCOMPARE(sheet.columns, unsigned(schema::table(schema::kReturns).columns.size()));
    QCOMPARE(sheet.at(0, 4), testsupport::textCell("商品编码"));
    QCOMPARE(sheet.at(1, 4), testsupport::textCell("B002"));
}

// "退货打印": the returns report over every return, whatever the search, with its two sums.
void ReturnsWindowTest::theReportPrintsEveryReturn() {
    openList();
    run(form(), "N3");
    QTest::keyClicks(&form().searchEdit(schema::column::kGoodsCode), u("B002"));
    QTest::mouseClick(form().findChild<QWidget*>("Button1"), Qt::LeftButton);
    TThdyForm& report = program_->windows().returnsReport();
    bool shown = false;
    whenPreviewReady(report.report(), [&](reports::TReportPreview&) { shown = true; });
    run(form(), "SpeedButton4");
    QVERIFY(shown);
    QCOMPARE(report.reportRows().recordCount(), 3);
    const auto pages = produce(report.report());
    for (const char* text : {"退货明细表", "乙", "2026-12-01 09:00:00", "3.5", "17"})
        QVERIFY2(printed(*pages, u(text)), text);
    QCOMPARE(form().returnsQuery().recordCount(), 1);  // the list keeps its search
    QVERIFY(scripted().messages.isEmpty());
}

QTEST_MAIN(ReturnsWindowTest)
#include "ReturnsWindowTest.moc"
