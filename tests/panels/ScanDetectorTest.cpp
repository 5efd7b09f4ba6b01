// Telling a barcode scanner's runs of keys from typing, by the key events' own timestamps.
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>
#include <memory>

#include "panels/EnterClicksButtons.h"
#include "panels/ScanDetector.h"
#include "tests/support/ScannerKeys.h"

namespace {

QString u(const char* text) { return QString::fromUtf8(text); }

}  // namespace

class ScanDetectorTest : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void cleanup();

    void runsOfKeys_data();
    void runsOfKeys();
    void aHeldKeyReachesTheFieldWhenNoKeyFollows();
    void theEnterOfAScanPressesNoButton();
    void settingsAreReadAndTheirDefaultsWritten();

  private:
    std::unique_ptr<QWidget> window_;
    QLineEdit* field_ = nullptr;
    QPushButton* button_ = nullptr;
    panels::ScanDetector* detector_ = nullptr;
};

void ScanDetectorTest::init() {
    window_ = std::make_unique<QWidget>();
    auto* layout = new QVBoxLayout(window_.get());
    field_ = new QLineEdit(u("客户"), window_.get());
    button_ = new QPushButton(u("确定"), window_.get());
    layout->addWidget(field_);
    layout->addWidget(button_);
    panels::EnterClicksButtons::install(*window_);
    detector_ = panels::ScanDetector::install(*window_, panels::ScanSettings{});
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
}

void ScanDetectorTest::cleanup() { window_.reset(); }

void ScanDetectorTest::runsOfKeys_data() {
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QList<int>>("gaps");  // before each key after the first, the end key last
    QTest::addColumn<int>("endKey");
    QTest::addColumn<QString>("scanned");  // empty: typing
    QTest::addColumn<QString>("fieldText");

    const QList<int> fast13(13, 10);
    QTest::newRow("13 fast digits and Enter")
        << u("6901234567892") << fast13 << int(Qt::Key_Return) << u("6901234567892") << u("客户");
    QTest::newRow("every gap 50 ms") << u("12345") << QList<int>{50, 50, 50, 50, 50}
                                     << int(Qt::Key_Return) << u("12345") << u("客户");
    QTest::newRow("one gap of 51 ms") << u("12345") << QList<int>{10, 51, 10, 10, 10}
                                      << int(Qt::Key_Return) << QString() << u("客户12345");
    QTest::newRow("Enter 51 ms after the last key")
        << u("12345") << QList<int>{10, 10, 10, 10, 51} << int(Qt::Key_Return) << QString()
        << u("客户12345");
    QTest::newRow("3 characters") << u("123") << QList<int>{10, 10, 10} << int(Qt::Key_Return)
                                  << QString() << u("客户123");
    QTest::newRow("4 characters") << u("A1b2") << QList<int>{10, 10, 10, 10} << int(Qt::Key_Return)
                                  << u("A1b2") << u("客户");
    QTest::newRow("slow typing") << u("zhang") << QList<int>{180, 220, 150, 300, 200}
                                 << int(Qt::Key_Return) << QString() << u("客户zhang");
    QTest::newRow("full-width digits and letters")
        << u("１２３ＡＢ") << QList<int>{10, 10, 10, 10, 10} << int(Qt::Key_Return) << u("123AB")
        << u("客户");
    QTest::newRow("Tab ends a scan")
        << u("ABCD1234") << QList<int>(8, 20) << int(Qt::Key_Tab) << u("ABCD1234") << u("客户");
    QTest::newRow("keypad Enter ends a scan")
        << u("4711") << QList<int>(4, 5) << int(Qt::Key_Enter) << u("4711") << u("客户");
    QTest::newRow("Escape ends nothing")
        << u("4711") << QList<int>(4, 5) << int(Qt::Key_Escape) << QString() << u("客户4711");
}

void ScanDetectorTest::runsOfKeys() {
    QFETCH(QString, keys);
    QFETCH(QList<int>, gaps);
    QFETCH(int, endKey);
    QFETCH(QString, scanned);
    QFETCH(QString, fieldText);

    field_->setFocus();
    QSignalSpy scans(detector_, &panels::ScanDetector::scanned);
    testsupport::ScannerKeys typing;
    for (int i = 0; i < keys.size(); ++i)
        typing.character(field_, keys.at(i), i == 0 ? 1000 : gaps.at(i - 1));
    const QString endText = endKey == Qt::Key_Tab      ? u("\t")
                            : endKey == Qt::Key_Escape ? u("\x1b")
                                                       : u("\r");
    typing.key(field_, endKey, endText, gaps.last(),
               endKey == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
    QCoreApplication::processEvents();

    QCOMPARE(field_->text(), fieldText);
    if (scanned.isEmpty()) {
        QCOMPARE(scans.count(), 0);
    } else {
        QCOMPARE(scans.count(), 1);
        QCOMPARE(scans.at(0).at(0).toString(), scanned);
        // Tab ended the scan without moving the focus.
        QCOMPARE(QApplication::focusWidget(), field_);
    }
}

void ScanDetectorTest::aHeldKeyReachesTheFieldWhenNoKeyFollows() {
    field_->setFocus();
    testsupport::ScannerKeys typing;
    typing.character(field_, QLatin1Char('7'), 0);
    typing.character(field_, QLatin1Char('8'), 20);
    QTRY_COMPARE(field_->text(), u("客户78"));
}

void ScanDetectorTest::theEnterOfAScanPressesNoButton() {
    button_->setFocus();
    QSignalSpy clicks(button_, &QPushButton::clicked);
    QSignalSpy scans(detector_, &panels::ScanDetector::scanned);
    testsupport::ScannerKeys typing;
    for (const QChar c : u("12345678")) typing.character(button_, c, 8);
    typing.key(button_, Qt::Key_Return, u("\r"), 8);
    QCoreApplication::processEvents();
    QCOMPARE(scans.count(), 1);
    QCOMPARE(clicks.count(), 0);

    // Enter after typing still presses it.
    typing.key(button_, Qt::Key_Return, u("\r"), 500);
    QCOMPARE(clicks.count(), 1);
}

void ScanDetectorTest::settingsAreReadAndTheirDefaultsWritten() {
    QTemporaryDir dir;
    const QString file = dir.filePath(u("quenvar-jxc.ini"));
    const panels::ScanSettings defaults = panels::readScanSettings(file);
    QCOMPARE(defaults.maxGapMs, 50);
    QCOMPARE(defaults.minLength, 4);
    QVERIFY(defaults.endsOnEnter && defaults.endsOnTab);
    {
        QSettings ini(file, QSettings::IniFormat);
        QCOMPARE(ini.value(u("Scanner/MaxGapMs")).toInt(), 50);
        QCOMPARE(ini.value(u("Scanner/MinLength")).toInt(), 4);
        ini.setValue(u("Scanner/MaxGapMs"), u("80"));
        ini.setValue(u("Scanner/MinLength"), u("zero"));
        ini.setValue(u("Scanner/EndKeys"), u("Tab"));
    }
    const panels::ScanSettings read = panels::readScanSettings(file);
    QCOMPARE(read.maxGapMs, 80);
    QCOMPARE(read.minLength, 4);
    QVERIFY(!read.endsOnEnter);
    QVERIFY(read.endsOnTab);
}

QTEST_MAIN(ScanDetectorTest)
#include "ScanDetectorTest.moc"
