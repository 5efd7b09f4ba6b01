// "数据导出" of the main window: the purchase list through 表4 into a workbook.
#include <QAction>
#include <QTest>
#include <QToolButton>
#include <filesystem>

#include "app/MainForm.h"
#include "store/Schema.h"
#include "tests/export/SampleGoods.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/WorkbookReader.h"
#include "tests/support/widgets/ScriptedPlatform.h"

using testsupport::numberCell;
using testsupport::readWorkbook;
using testsupport::textCell;

class PurchaseExportTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        database_ = std::make_unique<testsupport::TestDatabase>();
        std::filesystem::create_directories(folder());
        testsupport::appendRows(store::schema::kGoods, exporttest::twoGoods());
        testsupport::appendRows(store::schema::kGoods, {{{"商品编码", "003"}}});
        scripted_ = std::make_unique<platform::ScriptedPlatform>();
        form_ = std::make_unique<TMainForm>();
        form_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
    }

    void cleanup() {
        form_.reset();
        scripted_.reset();
        database_.reset();
    }

    void exportWritesEveryPurchaseRow_data() {
        QTest::addColumn<bool>("fromMenu");
        QTest::newRow("SpeedButton7") << false;
        QTest::newRow("N7") << true;
    }

    void exportWritesEveryPurchaseRow() {
        QFETCH(bool, fromMenu);
        // A search in force: the export still takes every row, and the list shows them again.
        form_->goodsQuery().select(store::schema::kGoods, "商品编码 like \"%002%\"");
        form_->goodsQuery().open();
        scripted_->saveFileNames.enqueue(chosen("purchases"));

        runExport(fromMenu);

        QCOMPARE(scripted_->messageTexts(), QStringList{QStringLiteral("成功导出全部数据!")});
        QCOMPARE(form_->goodsQuery().recordCount(), 3);
        QCOMPARE(form_->goodsQuery().recNo(), 3);  // the list on its last row
        QCOMPARE(testsupport::storedRows(store::schema::kPurchaseExport).size(), std::size_t(3));
        const auto book = readWorkbook(file("purchases.xls"));
        QVERIFY2(book.opened, book.error.c_str());
        const auto& sheet = book.sheets.at(0);
        QCOMPARE(sheet.rows, 4u);
        QCOMPARE(sheet.columns, 13u);
        const char* header[] = {"商品编码", "商品名称", "商品型号", "商品规格", "单位",
                                "进货单价", "进货数量", "进货金额", "供货单位", "联系人",
                                "联系电话", "详细地址", "备注"};
        for (unsigned c = 0; c < 13; ++c) QCOMPARE(sheet.at(0, c), textCell(header[c]));
        QCOMPARE(sheet.at(1, 0), textCell("001"));
        QCOMPARE(sheet.at(1, 5), numberCell(12.5));
        QCOMPARE(sheet.at(1, 8), textCell("惠民批发"));
        QCOMPARE(sheet.at(1, 12), textCell("=1+1"));
        QCOMPARE(sheet.at(2, 5), numberCell(0.1));
        QCOMPARE(sheet.at(2, 6), std::string());  // an empty number: an empty cell
        QCOMPARE(sheet.at(3, 0), textCell("003"));
    }

    void aNameEndingInXlsGetsASecondOne() {
        scripted_->saveFileNames.enqueue(chosen("x.xls"));
        runExport(false);
        QVERIFY(std::filesystem::exists(file("x.xls.xls")));
        QVERIFY(!std::filesystem::exists(file("x.xls")));
    }

    void cancellingTheDialogStillLeavesAFreshStagingCopy() {
        testsupport::appendRows(store::schema::kPurchaseExport, {{{"商品编码", "stale"}}});
        runExport(false);
        QVERIFY(scripted_->messages.isEmpty());
        const auto staged = testsupport::storedRows(store::schema::kPurchaseExport);
        QCOMPARE(staged.size(), std::size_t(3));
        QCOMPARE(staged[0].at("商品编码"), std::string("001"));
        QVERIFY(std::filesystem::is_empty(folder()));
    }

    void anEmptyGoodsTableGivesTheHeaderOnly() {
        form_.reset();
        database_.reset();  // the current directory goes back before the next one is entered
        database_ = std::make_unique<testsupport::TestDatabase>();
        std::filesystem::create_directories(folder());
        form_ = std::make_unique<TMainForm>();
        scripted_->saveFileNames.enqueue(chosen("empty"));
        runExport(false);
        QCOMPARE(scripted_->messageTexts(), QStringList{QStringLiteral("成功导出全部数据!")});
        const auto book = readWorkbook(file("empty.xls"));
        QVERIFY2(book.opened, book.error.c_str());
        QCOMPARE(book.sheets.at(0).rows, 1u);
    }

    void backupAndExportShareTheLastName() {
        scripted_->saveFileNames.enqueue(chosen("exported"));
        runExport(false);
        form_->findChild<QAction*>("N8")->trigger();  // backup: dialog cancelled
        scripted_->saveFileNames.enqueue(chosen("backup"));
        form_->findChild<QAction*>("N8")->trigger();
        runExport(true);
        QCOMPARE(scripted_->saveInitialNames, QStringList({QString(), chosen("exported"),
                                                           chosen("exported"), chosen("backup")}));
    }

  private:
    void runExport(bool fromMenu) {
        if (fromMenu)
            form_->findChild<QAction*>("N7")->trigger();
        else
            QTest::mouseClick(form_->findChild<QToolButton*>("SpeedButton7"), Qt::LeftButton);
    }
    std::filesystem::path folder() const { return database_->directory() / "chosen"; }
    QString chosen(const char* name) const {
        return QString::fromStdString((folder() / name).string());
    }
    std::string file(const char* name) const { return (folder() / name).string(); }

    std::unique_ptr<testsupport::TestDatabase> database_;
    std::unique_ptr<platform::ScriptedPlatform> scripted_;
    std::unique_ptr<TMainForm> form_;
};

QTEST_MAIN(PurchaseExportTest)
#include "PurchaseExportTest.moc"
