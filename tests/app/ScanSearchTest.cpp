// A scanned goods code in the main window and the sales detail window: searched for, or taken
// into the purchase being entered.
#include <QDir>
#include <QLineEdit>
#include <QSettings>
#include <QStandardPaths>
#include <QTest>
#include <memory>

#include "app/MainForm.h"
#include "sales/XsmxForm.h"
#include "store/Query.h"
#include "store/Schema.h"
#include "tests/app/StartedProgram.h"
#include "tests/sales/records/SalesFixture.h"
#include "tests/support/ScannerKeys.h"

namespace {

QString u(const char* text) { return QString::fromUtf8(text); }

void activate(QWidget& window) {
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
}

void storeRows() {
    using salestest::purchase;
    salestest::insert(store::schema::kGoods,
                      {purchase("A01", "1", "1", "1"), purchase("6901234567892", "1", "1", "1"),
                       purchase("69012345678", "1", "1", "1")});
    salestest::insert(
        store::schema::kSales,
        {{{"商品编码", "6901234567892"}}, {{"商品编码", "A01"}}, {{"商品编码", "6901234567892"}}});
}

}  // namespace

class ScanSearchTest : public QObject {
    Q_OBJECT

  private slots:
    void init() { program_ = std::make_unique<apptest::StartedProgram>(storeRows); }
    void cleanup() { program_.reset(); }

    void theMainWindowSearchesAScannedCode();
    void aPurchaseBeingEnteredTakesTheScannedCode();
    void theSalesDetailWindowSearchesAScannedCode();
    void theScannerSettingsComeFromTheSettingsFile();

  private:
    TMainForm& main() { return program_->windows().mainForm(); }
    std::unique_ptr<apptest::StartedProgram> program_;
    testsupport::ScannerKeys keys;
};

void ScanSearchTest::theMainWindowSearchesAScannedCode() {
    activate(main());
    keys.scan(main().findChild<QWidget*>(u("DataGrid1")), u("6901234567892"));
    QVERIFY(main().queryPanel().isVisible());
    QCOMPARE(main().searchCodeEdit().text(), u("6901234567892"));
    QCOMPARE(main().goodsQuery().recordCount(), 1);
    QVERIFY(!main().searchCodeEdit().testAttribute(Qt::WA_InputMethodEnabled));
}

void ScanSearchTest::aPurchaseBeingEnteredTakesTheScannedCode() {
    activate(main());
    QTest::mouseClick(main().findChild<QWidget*>(u("SpeedButton1")), Qt::LeftButton);
    main().goodsNameEdit().setText(u("矿泉水"));
    keys.scan(&main().goodsNameEdit(), u("6901234567892"));
    QCOMPARE(main().codeEdit().text(), u("6901234567892"));
    QVERIFY(main().codeEdit().isModified());
    QCOMPARE(main().goodsNameEdit().text(), u("矿泉水"));
    QVERIFY(!main().queryPanel().isVisible());
    QCOMPARE(main().goodsQuery().recordCount(), 3);
}

void ScanSearchTest::theSalesDetailWindowSearchesAScannedCode() {
    TXsmxForm& detail = program_->windows().salesDetailWindow();
    activate(detail);
    keys.scan(detail.findChild<QWidget*>(u("DataGrid1")), u("6901234567892"));
    QLineEdit& code = detail.searchEdit(store::schema::column::kGoodsCode);
    QCOMPARE(code.text(), u("6901234567892"));
    QVERIFY(detail.findChild<QWidget*>(u("Panel5"))->isVisible());
    QCOMPARE(detail.salesQuery().recordCount(), 2);
}

void ScanSearchTest::theScannerSettingsComeFromTheSettingsFile() {
    program_.reset();
    program_ = std::make_unique<apptest::StartedProgram>([] {
        storeRows();
        const QString file =
            QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
                .filePath(u("Quenvar/quenvar-jxc.ini"));
        QSettings ini(file, QSettings::IniFormat);
        ini.setValue(u("Scanner/MinLength"), 14);
    });
    activate(main());
    // 13 characters are too few now: typing, which the list does not take.
    keys.scan(main().findChild<QWidget*>(u("DataGrid1")), u("6901234567892"));
    QVERIFY(!main().queryPanel().isVisible());
}

QTEST_MAIN(ScanSearchTest)
#include "ScanSearchTest.moc"
