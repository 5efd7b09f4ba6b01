// The report windows: their print command re-reads the whole table, fills the date and the totals
// into the summary band and opens the preview; a PDF of each report reads back with its texts.
#include <QApplication>
#include <QDate>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <memory>

#include "PreviewProbe.h"
#include "platform/Fonts.h"
#include "profile/records/CompanyProfile.h"
#include "reports/Dy1Form.h"
#include "reports/Dy2Form.h"
#include "reports/Dy3Form.h"
#include "reports/DyForm.h"
#include "reports/engine/PagedOutput.h"
#include "reports/engine/ReportPages.h"
#include "reports/layouts/TotalsText.h"
#include "reports/preview/ReportPreview.h"
#include "store/Connection.h"
#include "store/ConnectionString.h"
#include "store/Error.h"
#include "store/Query.h"
#include "store/Schema.h"
#include "tests/support/StoredRows.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/widgets/ScriptedPlatform.h"

using namespace reports;
using testsupport::TestDatabase;

namespace {

QString pdfText(const QString& path) {
    QProcess process;
    process.start(QStringLiteral("pdftotext"),
                  {QStringLiteral("-enc"), QStringLiteral("UTF-8"), path, QStringLiteral("-")});
    if (!process.waitForFinished(30000)) return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

// Characters whose glyphs Noto CJK shares with a radical; a PDF must give them back as drawn.
const char* const kSharedGlyphs = "民文人金长一";

// The shop's goods and sales, and its company row.
void storeShop() {
    testsupport::appendRows(store::schema::kGoods, {{{"商品编码", "A1"},
                                                     {"商品名称", "茶杯"},
                                                     {"进货单价", "2.5"},
                                                     {"进货数量", "4"},
                                                     {"进货金额", "10"},
                                                     {"销售金额", "7.5"},
                                                     {"销售利润", "1.25"},
                                                     {"库存金额", "5"},
                                                     {"联系人", "李四"},
                                                     {"备注", kSharedGlyphs}},
                                                    {{"商品编码", "A2"},
                                                     {"商品名称", "茶壶"},
                                                     {"进货单价", "0.125"},
                                                     {"进货数量", "1"},
                                                     {"进货金额", "0.125"},
                                                     {"销售金额", "2.675"},
                                                     {"库存金额", "0.125"}}});
    testsupport::appendRows(store::schema::kSales, {{{"商品编码", "A1"},
                                                     {"商品名称", "茶杯"},
                                                     {"销售单价", "3.333333"},
                                                     {"销售数量", "3"},
                                                     {"销售金额", "9.999999"},
                                                     {"客户姓名", "赵六"},
                                                     {"备注", kSharedGlyphs}}});
    testsupport::appendRows(store::schema::kLowStockList, {{{"商品编码", "A2"},
                                                            {"商品名称", "茶壶"},
                                                            {"单位", "把"},
                                                            {"库存数量", "1"},
                                                            {"最低库存", "3.5"},
                                                            {"缺货数量", "2.5"}}});
    testsupport::appendRows(store::schema::kCompany, {{{"公司名称", "千帆民文人金长一商行"},
                                                       {"公司地址", "杭州市文三路1号"},
                                                       {"联系人", "王五"},
                                                       {"联系电话", "0571-88886666"},
                                                       {"网址", "www.qianfan.example"}}});
}

}  // namespace

class ReportWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { platform::installFonts(); }

    void init() {
        scripted_ = std::make_unique<platform::ScriptedPlatform>();
        database_ = std::make_unique<TestDatabase>();
        storeShop();
        companyConnection_ =
            std::make_unique<store::Connection>(store::buildConnectionStringForCurrentDirectory());
        company_ = std::make_unique<store::Query>(*companyConnection_);
        company_->select(store::schema::kCompany);
        company_->open();
    }

    void cleanup() {
        company_.reset();
        companyConnection_.reset();
        database_.reset();
        scripted_.reset();
    }

    void eachReportAsPdf_data() {
        QTest::addColumn<int>("window");
        QTest::addColumn<QStringList>("expected");
        const QStringList heading = {"千帆民文人金长一商行",
                                     "www.qianfan.example",
                                     "公司地址：",
                                     "杭州市文三路1号",
                                     "联系电话：",
                                     "0571-88886666",
                                     "合计",
                                     "制表人：",
                                     "王五",
                                     "打印日期："};
        QTest::newRow("purchase") << 0
                                  << heading + QStringList{"进货明细表", "商品信息", "进货信息",
                                                           "供货商信息", "商品编码", "单价",
                                                           "详细地址",   "茶壶",     "0.13",
                                                           "10.12",      "李四",     kSharedGlyphs};
        QTest::newRow("goods") << 1 << heading + QStringList{"销售统计表", "销售信息", "库存信息",
                                                             "利润",       "7.5",      "2.68",
                                                             "10.18",      "1.25",     "5.12"};
        QTest::newRow("sales detail")
            << 2 << heading + QStringList{"销售明细表", "客户信息", "客户姓名", "3.333333",
                                          "9.999999",   "赵六",     "10",       kSharedGlyphs};
        QTest::newRow("low stock")
            << 3
            << heading + QStringList{"库存预警表", "商品信息", "库存信息", "最低库存", "缺货数量",
                                     "茶壶",       "把",       "3.5",      "2.5"};
    }

    void eachReportAsPdf() {
        QFETCH(int, window);
        QFETCH(QStringList, expected);
        std::unique_ptr<ReportWindow> report = make(window);
        report->setCompanyQuery(*company_);
        report->prepareReport();
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("报表.pdf"));
        QVERIFY(writePdf(report->report(), path));
        const QString text = pdfText(path);
        for (const QString& t : expected) QVERIFY2(text.contains(t), qPrintable(t));
        for (QChar c : text)
            QVERIFY2(c.unicode() < 0x2E80 || c.unicode() > 0x2FDF,
                     qPrintable(QStringLiteral("a radical in the text: ") + c));
        // Texts mixing Latin letters and digits (A1, the date) come back without their digits from
        // pdftotext, though the page shows them; the page images are checked for those.
        QVERIFY(!text.contains(QStringLiteral("RepLabel")));
    }

    void convertButtonFillsTheDateAndTheTotals() {
        TDy1Form window;
        QCOMPARE(window.report().caption(QStringLiteral("RepLabel19")),
                 QStringLiteral("RepLabel19"));
        // The rows are read by a print command's first steps; 转换 alone fills the summary again.
        window.prepareReport();
        for (const char* label : {"RepLabel15", "RepLabel17", "RepLabel19", "RepLabel23"})
            window.report().setCaption(QString::fromLatin1(label), QString());
        QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("Button1")),
                          Qt::LeftButton);
        QCOMPARE(window.report().caption(QStringLiteral("RepLabel17")),
                 layouts::printDateText(QDate::currentDate()));
        QCOMPARE(window.report().caption(QStringLiteral("RepLabel15")), QStringLiteral("10.18"));
        QCOMPARE(window.report().caption(QStringLiteral("RepLabel19")), QStringLiteral("1.25"));
        QCOMPARE(window.report().caption(QStringLiteral("RepLabel23")), QStringLiteral("5.12"));
    }

    void printReportRereadsTheTableAndShowsThePreview() {
        TDyForm window;
        window.setCompanyQuery(*company_);
        testsupport::appendRows(store::schema::kGoods, {{{"商品编码", "NEW"}, {"进货金额", "1"}}});
        int pagesShown = 0;
        whenPreviewReady(window.report(), [&](TReportPreview& preview) {
            pagesShown = preview.pageCount();
            QCOMPARE(preview.pageText(), QStringLiteral("Page 1 of 1"));
        });
        window.printReport();
        QCOMPARE(pagesShown, 1);
        QVERIFY(openPreview() == nullptr);
        QCOMPARE(window.reportRows().recordCount(), 3);
        QCOMPARE(window.report().caption(QStringLiteral("RepLabel15")), QStringLiteral("11.12"));
        const auto pages = produce(window.report());
        QVERIFY(printed(*pages, QStringLiteral("NEW")));
        QVERIFY(printed(*pages, layouts::printDateText(QDate::currentDate())));
    }

    void aSecondPrintWhileTheReportIsProducedIsIgnored() {
        TDyForm window;
        std::vector<testsupport::Row> rows(60,
                                           testsupport::Row{{"商品编码", "X"}, {"进货金额", "1"}});
        testsupport::appendRows(store::schema::kGoods, rows);
        int calls = 0;
        window.report().processEvents = [&] {
            if (++calls != 5) return;
            testsupport::appendRows(store::schema::kGoods, {{{"商品编码", "LATE"}}});
            window.printReport();  // e.g. the main window's button pressed meanwhile
        };
        int pagesShown = 0;
        whenPreviewReady(window.report(),
                         [&](TReportPreview& preview) { pagesShown = preview.pageCount(); });
        window.printReport();
        QCOMPARE(pagesShown, 3);  // 62 rows: 24, 29 and 9 with the summary
        QCOMPARE(window.reportRows().recordCount(), 62);
        QCOMPARE(window.report().caption(QStringLiteral("RepLabel15")), QStringLiteral("70.12"));
    }

    // The window lets the interface work while its report is produced: an event waiting when
    // production starts runs after the first row, not when production has ended.
    void eventsRunWhileTheReportIsProduced() {
        TDyForm window;
        window.prepareReport();
        int rowsWhenRun = -1;
        QMetaObject::invokeMethod(
            this, [&] { rowsWhenRun = window.report().rowsPrinted(); }, Qt::QueuedConnection);
        ReportPages pages;
        QVERIFY(window.report().produce(pages));
        QCOMPARE(rowsWhenRun, 1);
    }

    void aCompanySaveShowsOnTheNextReport() {
        TDy2Form window;
        window.setCompanyQuery(*company_);
        profile::CompanyTexts texts = profile::readCompany(*company_);
        texts[1] = "宁波市中山路8号";
        profile::saveCompany(*company_, texts);
        window.prepareReport();
        const auto pages = produce(window.report());
        QVERIFY(printed(*pages, QStringLiteral("宁波市中山路8号")));
        QVERIFY(!printed(*pages, QStringLiteral("杭州市文三路1号")));
    }

    void withoutACompanyRowTheHeadingIsEmpty() {
        TDyForm window;  // no company query set
        window.prepareReport();
        auto pages = produce(window.report());
        QVERIFY(!printed(*pages, QStringLiteral("千帆民文人金长一商行")));
        QVERIFY(printed(*pages, QStringLiteral("公司地址：")));
        QVERIFY(printed(*pages, QStringLiteral("A1")));

        company_->close();  // a closed company query reads as no row
        window.setCompanyQuery(*company_);
        pages = produce(window.report());
        QVERIFY(!printed(*pages, QStringLiteral("王五")));
        QVERIFY(printed(*pages, QStringLiteral("合计")));
    }

    void aMissingDatabaseStopsThePrintBeforeThePreview() {
        TDyForm window;
        std::filesystem::rename("data.mdb", "moved.mdb");
        bool opened = false;
        auto* timer = new QTimer(this);
        connect(timer, &QTimer::timeout, this, [&] { opened = opened || openPreview(); });
        timer->start(1);
        QVERIFY_THROWS_EXCEPTION(store::StoreError, window.printReport());
        QCoreApplication::processEvents();
        QVERIFY(!opened);
        QVERIFY(openPreview() == nullptr);
        delete timer;
        std::filesystem::rename("moved.mdb", "data.mdb");
    }

  private:
    static std::unique_ptr<ReportWindow> make(int window) {
        switch (window) {
            case 0:
                return std::make_unique<TDyForm>();
            case 1:
                return std::make_unique<TDy1Form>();
            case 2:
                return std::make_unique<TDy2Form>();
            default:
                return std::make_unique<TDy3Form>();
        }
    }

    std::unique_ptr<platform::ScriptedPlatform> scripted_;
    std::unique_ptr<TestDatabase> database_;
    std::unique_ptr<store::Connection> companyConnection_;
    std::unique_ptr<store::Query> company_;
};

QTEST_MAIN(ReportWindowTest)
#include "ReportWindowTest.moc"
