// The print and export commands of the two sales windows, run from their own buttons and menus
// through the windows the program makes at start-up.
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <filesystem>

#include "app/Startup.h"
#include "platform/Fonts.h"
#include "platform/Modal.h"
#include "reports/Dy1Form.h"
#include "reports/Dy2Form.h"
#include "sales/XsmxForm.h"
#include "sales/XsxxForm.h"
#include "store/Query.h"
#include "store/Schema.h"
#include "tests/app/StartedProgram.h"
#include "tests/reports/PreviewProbe.h"
#include "tests/support/StoredRows.h"
#include "tests/support/WorkbookReader.h"
#include "tests/support/widgets/RunControl.h"
#include "tests/support/widgets/ScriptedPlatform.h"

class SalesPrintExportTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { platform::installFonts(); }

    void init() {
        program_ = std::make_unique<apptest::StartedProgram>([] {
            testsupport::appendRows(store::schema::kGoods,
                                    {{{"商品编码", "A1"}, {"销售金额", "10"}, {"库存数量", "5"}},
                                     {{"商品编码", "B2"}, {"销售金额", "2.5"}, {"库存数量", "7"}}});
            testsupport::appendRows(
                store::schema::kSales,
                {{{"商品编码", "A1"}, {"销售金额", "10"}, {"客户姓名", "张三"}},
                 {{"商品编码", "B2"}, {"销售金额", "2.5"}, {"客户姓名", "李四"}}});
        });
    }

    void cleanup() { program_.reset(); }

    // "销售打印" and "打印报表": the goods report over every row of 表1, a query in force or not.
    void goodsReportPrintsEveryGoodsRow_data() {
        QTest::addColumn<bool>("fromMenu");
        QTest::newRow("SpeedButton5") << false;
        QTest::newRow("N7") << true;
    }
    void goodsReportPrintsEveryGoodsRow() {
        QFETCH(bool, fromMenu);
        TXsxxForm& sales = windows().salesWindow();
        sales.goodsQuery().select(store::schema::kGoods, "商品编码 like ?", {"%A1%"});
        sales.goodsQuery().open();
        TDy1Form& report = windows().goodsReport();
        bool shown = false;
        whenPreviewReady(report.report(), [&](reports::TReportPreview&) { shown = true; });
        run(sales, fromMenu ? "N7" : "SpeedButton5");
        QVERIFY(shown);
        QCOMPARE(report.reportRows().recordCount(), 2);
        const auto pages = produce(report.report());
        QVERIFY(printed(*pages, QStringLiteral("B2")));
        QCOMPARE(sales.goodsQuery().recordCount(), 1);  // the list keeps its query
        QVERIFY(scripted().messages.isEmpty());
    }

    // "明细打印" from the tool button and the menu: every sale of 表3, whatever the search.
    void salesDetailReportPrintsEverySale_data() { goodsReportPrintsEveryGoodsRow_data(); }
    void salesDetailReportPrintsEverySale() {
        QFETCH(bool, fromMenu);
        TXsmxForm& detail = windows().salesDetailWindow();
        detail.salesQuery().select(store::schema::kSales, "客户姓名 like ?", {"%张%"});
        detail.salesQuery().open();
        TDy2Form& report = windows().salesDetailReport();
        bool shown = false;
        whenPreviewReady(report.report(), [&](reports::TReportPreview&) { shown = true; });
        run(detail, fromMenu ? "N7" : "SpeedButton5");
        QVERIFY(shown);
        QCOMPARE(report.reportRows().recordCount(), 2);
        const auto pages = produce(report.report());
        QVERIFY(printed(*pages, QStringLiteral("李四")));
    }

    // A preview opened from a window shown modally, as the program shows both sales windows, is
    // in front of it and works, while the calling window takes no input until it is closed.
    void aPreviewOverAModalWindowWorksAndBlocksItsCaller_data() {
        QTest::addColumn<bool>("fromDetail");
        QTest::newRow("销售打印") << false;
        QTest::newRow("明细打印") << true;
    }
    void aPreviewOverAModalWindowWorksAndBlocksItsCaller() {
        QFETCH(bool, fromDetail);
        TXsxxForm& sales = windows().salesWindow();
        TXsmxForm& detail = windows().salesDetailWindow();
        QWidget& caller = fromDetail ? static_cast<QWidget&>(detail) : sales;
        reports::ReportWindow& report =
            fromDetail ? static_cast<reports::ReportWindow&>(windows().salesDetailReport())
                       : windows().goodsReport();

        scripted().printerInstalled = false;  // 打印 then asks where to save the PDF
        bool inFront = false, printReached = false, callerStayed = false;
        whenPreviewReady(report.report(), [&](reports::TReportPreview& preview) {
            inFront = QApplication::activeModalWidget() == &preview;
            clickThroughWindowSystem(*preview.findChild<QToolButton*>("SpeedButton5"));  // 打印
            printReached =
                scripted().dialogs.contains(platform::ScriptedPlatform::Dialog::SaveFile);
            clickThroughWindowSystem(*caller.findChild<QToolButton*>("SpeedButton7"));  // 关闭
            callerStayed = caller.isVisible();
        });
        QTimer::singleShot(0, &sales, [&] {
            if (fromDetail) {
                QTimer::singleShot(0, &detail, [&] {
                    run(detail, "SpeedButton5");
                    detail.close();
                });
                run(sales, "SpeedButton2");
            } else {
                run(sales, "SpeedButton5");
            }
            sales.close();
        });
        platform::showModal(sales);
        QVERIFY(inFront);
        QVERIFY(printReached);
        QVERIFY(callerStayed);
        QVERIFY(openPreview() == nullptr);
    }

    // "数据导出" of the sales window: every goods row through 表5, the list whole again.
    void goodsExportWritesEveryGoodsRow() {
        TXsxxForm& sales = windows().salesWindow();
        sales.goodsQuery().select(store::schema::kGoods, "商品编码 like ?", {"%A1%"});
        sales.goodsQuery().open();
        scripted().saveFileNames.enqueue(path("goods"));
        run(sales, "SpeedButton6");
        QCOMPARE(scripted().messageTexts(), QStringList{QStringLiteral("成功导出全部数据!")});
        QCOMPARE(sales.goodsQuery().recordCount(), 2);
        QCOMPARE(testsupport::storedRows(store::schema::kGoodsExport).size(), std::size_t(2));
        const auto book = testsupport::readWorkbook(path("goods.xls").toStdString());
        QVERIFY2(book.opened, book.error.c_str());
        QCOMPARE(book.sheets.at(0).rows, 3u);
        QCOMPARE(book.sheets.at(0).at(2, 0), testsupport::textCell("B2"));
    }

    // "数据导出" of the sales detail window: the rows the list holds after a search.
    void salesExportWritesTheRowsFound_data() { goodsReportPrintsEveryGoodsRow_data(); }
    void salesExportWritesTheRowsFound() {
        QFETCH(bool, fromMenu);
        TXsmxForm& detail = windows().salesDetailWindow();
        detail.salesQuery().select(store::schema::kSales, "客户姓名 like ?", {"%李%"});
        detail.salesQuery().open();
        scripted().saveFileNames.enqueue(path("sales"));
        run(detail, fromMenu ? "N8" : "SpeedButton6");
        QCOMPARE(scripted().messageTexts(), QStringList{QStringLiteral("成功导出全部数据!")});
        const auto book = testsupport::readWorkbook(path("sales.xls").toStdString());
        QVERIFY2(book.opened, book.error.c_str());
        QCOMPARE(book.sheets.at(0).rows, 2u);
        QCOMPARE(book.sheets.at(0).at(1, 2), testsupport::textCell("B2"));
    }

  private:
    static void run(QWidget& window, const char* control) {
        testsupport::runControl(window, control);
    }
    // A click delivered as the window system delivers it: a window blocked by a modal one
    // never gets it.
    static void clickThroughWindowSystem(QWidget& widget) {
        QWidget* window = widget.window();
        QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {},
                          widget.mapTo(window, widget.rect().center()));
    }
    QString path(const char* name) const { return program_->desktop().dataFile(name); }
    platform::ScriptedPlatform& scripted() { return program_->platform(); }
    startup::Windows& windows() { return program_->windows(); }

    std::unique_ptr<apptest::StartedProgram> program_;
};

QTEST_MAIN(SalesPrintExportTest)
#include "SalesPrintExportTest.moc"
