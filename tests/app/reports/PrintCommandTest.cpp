// "进货打印" in the main window, from its tool button and its context menu: the purchase report
// over every row of 表1 in the preview, whatever the list shows.
#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <filesystem>

#include "app/MainForm.h"
#include "app/Startup.h"
#include "platform/Fonts.h"
#include "profile/JbzlForm.h"
#include "reports/DyForm.h"
#include "store/Schema.h"
#include "tests/app/StartedProgram.h"
#include "tests/reports/PreviewProbe.h"
#include "tests/support/StoredRows.h"
#include "tests/support/widgets/ScriptedPlatform.h"

class PrintCommandTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { platform::installFonts(); }

    void init() {
        program_ = std::make_unique<apptest::StartedProgram>([] {
            testsupport::appendRows(store::schema::kGoods,
                                    {{{"商品编码", "A1"}, {"进货金额", "0.125"}},
                                     {{"商品编码", "B2"}, {"进货金额", "0.125"}}});
            testsupport::appendRows(
                store::schema::kCompany,
                {{{"公司名称", "千帆商行"}, {"公司地址", "杭州市文三路1号"}, {"联系人", "王五"}}});
        });
        main().show();
        QVERIFY(QTest::qWaitForWindowExposed(&main()));
    }

    void cleanup() { program_.reset(); }

    void toolButtonPrintsEveryRowDespiteASearchAndWithTheNewPurchase() {
        // A purchase entered a moment ago through the entry panel.
        click("SpeedButton1");
        main().codeEdit().setText(QStringLiteral("NEW1"));
        main().priceEdit().setText(QStringLiteral("2"));
        main().quantityEdit().setText(QStringLiteral("3"));
        click("Button1");
        // A search that narrows the list to one row.
        click("SpeedButton4");
        main().searchCodeEdit().setText(QStringLiteral("A1"));
        click("Button4");
        QCOMPARE(main().goodsQuery().recordCount(), 1);

        TDyForm& report = windows().purchaseReport();
        int pagesShown = 0;
        whenPreviewReady(report.report(), [&](reports::TReportPreview& preview) {
            pagesShown = preview.pageCount();
        });
        click("SpeedButton6");
        QCOMPARE(pagesShown, 1);
        QVERIFY(openPreview() == nullptr);

        QCOMPARE(report.reportRows().recordCount(), 3);
        QCOMPARE(report.report().caption(QStringLiteral("RepLabel15")), QStringLiteral("6.25"));
        const auto pages = produce(report.report());
        for (const char* code : {"A1", "B2", "NEW1", "进货明细表", "千帆商行"})
            QVERIFY2(printed(*pages, QString::fromUtf8(code)), code);
        QCOMPARE(main().goodsQuery().recordCount(), 1);  // the list keeps its search
        QCOMPARE(scripted().messageTexts(), QStringList{QStringLiteral("进货信息添加成功！")});
    }

    void contextMenuItemPrintsTheSameAndACompanySaveShowsAtOnce() {
        TJbzlForm& company = windows().companyWindow();
        company.addressEdit().setText(QStringLiteral("宁波市中山路8号"));
        QTest::mouseClick(&company.saveButton(), Qt::LeftButton);

        TDyForm& report = windows().purchaseReport();
        int pagesShown = 0;
        whenPreviewReady(report.report(), [&](reports::TReportPreview& preview) {
            pagesShown = preview.pageCount();
        });
        main().findChild<QAction*>(QStringLiteral("N14"))->trigger();
        QCOMPARE(pagesShown, 1);
        const auto pages = produce(report.report());
        QVERIFY(printed(*pages, QStringLiteral("宁波市中山路8号")));
        QCOMPARE(report.report().caption(QStringLiteral("RepLabel15")), QStringLiteral("0.25"));
    }

    void aMissingDatabaseIsShownAndNoPreviewOpens() {
        std::filesystem::rename("data.mdb", "moved.mdb");
        click("SpeedButton6");
        QVERIFY(openPreview() == nullptr);
        QCOMPARE(scripted().messages.size(), 1);  // the error, shown once by the command's edge
        std::filesystem::rename("moved.mdb", "data.mdb");
    }

  private:
    TMainForm& main() { return windows().mainForm(); }
    void click(const char* name) {
        QWidget* widget = main().findChild<QWidget*>(QString::fromLatin1(name));
        QVERIFY2(widget != nullptr, name);
        QTest::mouseClick(widget, Qt::LeftButton);
    }

    platform::ScriptedPlatform& scripted() { return program_->platform(); }
    startup::Windows& windows() { return program_->windows(); }

    std::unique_ptr<apptest::StartedProgram> program_;
};

QTEST_MAIN(PrintCommandTest)
#include "PrintCommandTest.moc"
