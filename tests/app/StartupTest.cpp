#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>

#include "app/DesktopLauncher.h"
#include "app/MainForm.h"
#include "app/Startup.h"
#include "backup/AutoBackupSettings.h"
#include "backup/DamagedDataStore.h"
#include "backup/DataStoreCopy.h"
#include "platform/Command.h"
#include "profile/JbzlForm.h"
#include "reports/Dy1Form.h"
#include "reports/Dy2Form.h"
#include "reports/Dy3Form.h"
#include "reports/DyForm.h"
#include "reports/ThdyForm.h"
#include "sales/ThmxForm.h"
#include "sales/XsmxForm.h"
#include "sales/XsxxForm.h"
#include "store/ConnectionString.h"
#include "store/Database.h"
#include "store/ServerSettings.h"
#include "store/TableCache.h"
#include "tests/app/StartedProgram.h"
#include "tests/support/DamagedDatabase.h"
#include "tests/support/PermissionsHold.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/widgets/ScriptedPlatform.h"

using testsupport::ScopedCurrentDirectory;
using testsupport::TemporaryDirectory;
using testsupport::TestDatabase;

namespace {

int goodsRows(const std::string& file) {
    const store::Database db(file, store::kDatabasePassword, store::Database::Mode::ReadOnly);
    store::Statement count(db, std::string("select count(*) from ") + store::schema::kGoods);
    count.step();
    return static_cast<int>(count.int64Value(0));
}

}  // namespace

class StartupTest : public QObject {
    Q_OBJECT

  private slots:
    void init() { desktop_ = std::make_unique<apptest::ScriptedDesktop>(); }
    void cleanup() { desktop_.reset(); }

    void theWindowsAreCreatedInOrderEachWithItsTableOpen() {
        TestDatabase database;
        QStringList order;
        startup::Windows windows([&](QWidget& window) {
            order << QString::fromLatin1(window.metaObject()->className());
        });
        QCOMPARE(order,
                 QStringList({"TMainForm", "TXsxxForm", "TDy1Form", "TJbzlForm", "TDyForm",
                              "TXsmxForm", "TDy2Form", "TThmxForm", "TThdyForm", "TDy3Form"}));

        QVERIFY(windows.mainForm().goodsQuery().isOpen());
        QCOMPARE(windows.mainForm().goodsQuery().tableName(), std::string(store::schema::kGoods));
        QVERIFY(windows.salesWindow().goodsQuery().isOpen());
        QCOMPARE(windows.salesWindow().goodsQuery().tableName(),
                 std::string(store::schema::kGoods));
        QCOMPARE(windows.salesWindow().goodsExportQuery().tableName(),
                 std::string(store::schema::kGoodsExport));
        QVERIFY(windows.companyWindow().companyQuery().isOpen());
        // Windows that read their table again before they first show or print it read nothing
        // at start-up.
        QCOMPARE(windows.purchaseReport().reportRows().tableName(),
                 std::string(store::schema::kGoods));
        QCOMPARE(windows.goodsReport().reportRows().tableName(),
                 std::string(store::schema::kGoods));
        QCOMPARE(windows.salesDetailReport().reportRows().tableName(),
                 std::string(store::schema::kSales));
        QCOMPARE(windows.salesDetailWindow().salesQuery().tableName(),
                 std::string(store::schema::kSales));
        QVERIFY(!windows.salesDetailWindow().salesQuery().isOpen());
        QCOMPARE(windows.returnsWindow().returnsQuery().tableName(),
                 std::string(store::schema::kReturns));
        QVERIFY(!windows.returnsWindow().returnsQuery().isOpen());
        QCOMPARE(windows.returnsReport().reportRows().tableName(),
                 std::string(store::schema::kReturns));
        QCOMPARE(windows.lowStockReport().reportRows().tableName(),
                 std::string(store::schema::kLowStockList));
        QCOMPARE(windows.salesWindow().windowTitle(), QStringLiteral("销售信息"));
        QCOMPARE(windows.salesDetailWindow().windowTitle(), QStringLiteral("销售明细"));

        // Nothing is shown but the main window, and only its closing ends the program.
        for (QWidget* w : QApplication::topLevelWidgets()) QVERIFY(!w->isVisible());
        QVERIFY(windows.mainForm().testAttribute(Qt::WA_QuitOnClose));
        QVERIFY(!windows.salesWindow().testAttribute(Qt::WA_QuitOnClose));
        QVERIFY(!windows.companyWindow().testAttribute(Qt::WA_QuitOnClose));
    }

    void theReturnPanelOpensTheReturnsListInPlaceOfTheSalesDetail() {
        TestDatabase database;
        startup::Windows windows;
        auto* button = windows.salesDetailWindow().findChild<QPushButton*>("Button6");
        QVERIFY(button != nullptr);
        QVERIFY(button->isEnabled());
        windows.salesDetailWindow().show();
        bool shown = false;
        QTimer::singleShot(0, [&] {
            shown = windows.returnsWindow().isVisible() && !windows.salesDetailWindow().isVisible();
            windows.returnsWindow().close();
        });
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(shown);
        QVERIFY(windows.salesDetailWindow().isVisible());
        windows.salesDetailWindow().hide();
    }

    void startShowsTheMainWindowAndWritesTheLauncher() {
        TestDatabase database;
        const QString launcherFile = QDir(desktop_->desktopFolder()).filePath(launcher::fileName());
        QFile::remove(launcherFile);
        std::unique_ptr<startup::Windows> windows;
        QCOMPARE(startup::start(windows), 0);
        QVERIFY(windows != nullptr);
        QVERIFY(windows->mainForm().isVisible());
        QVERIFY(scripted().messages.isEmpty());

        QFile written(launcherFile);
        QVERIFY2(written.open(QIODevice::ReadOnly), qPrintable(launcherFile));
        const QString text = QString::fromUtf8(written.readAll());
        QVERIFY(text.startsWith(QStringLiteral("[Desktop Entry]\n")));
        QVERIFY2(text.contains(QStringLiteral("Path=") + QCoreApplication::applicationDirPath()),
                 qPrintable(text));
    }

    void aStartWithoutAUsableDatabaseEndsWithAMessage_data() {
        QTest::addColumn<QString>("content");
        QTest::newRow("missing file") << "missing";
        QTest::newRow("another key") << "key";
        QTest::newRow("not a database") << "text";
        QTest::newRow("empty file") << "empty";
    }

    void aStartWithoutAUsableDatabaseEndsWithAMessage() {
        QFETCH(QString, content);
        TemporaryDirectory folder;
        const auto file = folder.path() / "data.mdb";
        if (content == "key") {
            store::Database other(file.string(), "another key", store::Database::Mode::Create);
            other.exec("create table t (a text)");
        } else if (content == "text") {
            std::ofstream(file) << "这不是数据库，只是一段文字。\n";
        } else if (content == "empty") {
            std::ofstream{file};
        }
        ScopedCurrentDirectory inside(folder.path());

        std::unique_ptr<startup::Windows> windows;
        QVERIFY(startup::start(windows) != 0);
        QVERIFY(windows == nullptr);
        QCOMPARE(scripted().messages.size(), 1);
        QVERIFY2(scripted().messages[0].text.contains(QStringLiteral("data.mdb")),
                 qPrintable(scripted().messages[0].text));
        for (QWidget* w : QApplication::topLevelWidgets()) QVERIFY(!w->isVisible());
        if (content == "missing") QVERIFY(!std::filesystem::exists(file));  // never made
    }

    void aReadOnlyDatabaseIsToldAtStart_data() {
        QTest::addColumn<bool>("folder");
        QTest::newRow("read-only file") << false;
        QTest::newRow("read-only folder") << true;
    }

    void aReadOnlyDatabaseIsToldAtStart() {
        QFETCH(bool, folder);
        TestDatabase database(TestDatabase::Content::Demo);
        const std::filesystem::path locked =
            folder ? database.directory() : std::filesystem::path(database.path());
        std::filesystem::permissions(locked, std::filesystem::perms::owner_write,
                                     std::filesystem::perm_options::remove);
        std::unique_ptr<startup::Windows> windows;
        {
            const testsupport::PermissionsHold hold;
            QCOMPARE(startup::start(windows), 0);
        }
        std::filesystem::permissions(locked, std::filesystem::perms::owner_write,
                                     std::filesystem::perm_options::add);
        QVERIFY(windows->mainForm().isVisible());
        QVERIFY(windows->mainForm().goodsQuery().recordCount() > 0);  // the data can be looked at
        QCOMPARE(scripted().messages.size(), 1);
        const QString text = scripted().messages[0].text;
        QVERIFY2(text.contains(QStringLiteral("只能查看，不能保存")), qPrintable(text));
        QVERIFY2(text.contains(QString::fromStdString(locked.string())), qPrintable(text));
    }

    void aDamagedDatabaseAtStartCanBeRepairedFromAnAutomaticCopy_data() {
        QTest::addColumn<bool>("copy");
        QTest::addColumn<bool>("accept");
        QTest::newRow("no automatic copy") << false << true;
        QTest::newRow("repair declined") << true << false;
        QTest::newRow("repair accepted") << true << true;
    }

    void aDamagedDatabaseAtStartCanBeRepairedFromAnAutomaticCopy() {
        QFETCH(bool, copy);
        QFETCH(bool, accept);
        TestDatabase database(TestDatabase::Content::Demo);
        const QString folder = QString::fromStdString(database.directory().string());
        const int rows = goodsRows(database.path());
        if (copy) {
            QDir().mkpath(folder + QStringLiteral("/自动备份"));
            QVERIFY(backup::backupDataStore(
                folder, folder + QStringLiteral("/自动备份/data-20261210-180000.bak")));
        }
        testsupport::damageTablePage(database.path(), store::schema::kGoods);
        scripted().messageAnswers.enqueue(accept ? platform::Answer::Ok : platform::Answer::Cancel);

        std::unique_ptr<startup::Windows> windows;
        const int status = startup::start(windows);
        const QString first = scripted().messages.value(0).text;
        QVERIFY2(first.contains(QStringLiteral("已损坏")), qPrintable(first));
        QVERIFY2(first.contains(QString::fromStdString(database.path())), qPrintable(first));
        QStringList kept = QDir(folder).entryList({QStringLiteral("data.mdb.damaged-*")});
        if (copy && accept) {
            QCOMPARE(status, 0);
            QCOMPARE(scripted().messages.size(), 2);
            QCOMPARE(scripted().messages[0].kind, platform::MessageKind::Confirm);
            QCOMPARE(scripted().messages[1].text, QStringLiteral("数据恢复成功！"));
            QCOMPARE(windows->mainForm().goodsQuery().recordCount(), rows);
            QCOMPARE(kept.size(), 1);
        } else {
            QVERIFY(status != 0);
            QVERIFY(windows == nullptr);
            QCOMPARE(scripted().messages.size(), 1);
            QVERIFY(kept.isEmpty());
        }
    }

    void aDamagedReadDuringACommandOffersTheRepair() {
        TestDatabase database(TestDatabase::Content::Demo);
        const QString folder = QString::fromStdString(database.directory().string());
        QDir().mkpath(folder + QStringLiteral("/自动备份"));
        QVERIFY(backup::backupDataStore(
            folder, folder + QStringLiteral("/自动备份/data-20261210-180000.bak")));
        std::unique_ptr<startup::Windows> windows;
        QCOMPARE(startup::start(windows), 0);
        TMainForm& main = windows->mainForm();
        // The sales table is first read when the sales detail window becomes active.
        testsupport::damageTablePage(database.path(), store::schema::kSales);

        scripted().messageAnswers.enqueue(platform::Answer::Ok);
        TXsmxForm& detail = windows->salesDetailWindow();
        platform::runCommand(&detail, [&detail] { detail.activateFromAnotherWindow(); });
        QCOMPARE(scripted().messages.size(), 2);
        const QString question = scripted().messages[0].text;
        QVERIFY2(question.contains(QStringLiteral("已损坏")), qPrintable(question));
        QVERIFY2(question.contains(QStringLiteral("2026年12月10日 18:00:00")),
                 qPrintable(question));
        QCOMPARE(scripted().messages[1].text, QStringLiteral("数据恢复成功！"));
        QVERIFY(!main.connection().isOpen());
        QCOMPARE(QDir(folder).entryList({QStringLiteral("data.mdb.damaged-*")}).size(), 1);
        QVERIFY(!backup::isDamagedDataStore(QString::fromStdString(database.path())));

        // Errors that are no damage still reach the default error handler.
        scripted().clear();
        platform::runCommand(&main, [] { throw std::runtime_error("别的错误"); });
        QCOMPARE(scripted().messageTexts(), QStringList{QStringLiteral("别的错误")});
    }

    void aDatabaseBesideTheProgramDoesNotCount() {
        // The database is looked for in the current directory only.
        TestDatabase database(TestDatabase::Content::Empty, false);
        TemporaryDirectory elsewhere;
        ScopedCurrentDirectory inside(elsewhere.path());
        std::unique_ptr<startup::Windows> windows;
        QVERIFY(startup::start(windows) != 0);
    }

    void aLauncherThatCannotBeWrittenDoesNotStopTheStart() {
        TestDatabase database;
        // A folder holds the launcher's name: the file cannot be written there.
        QTemporaryDir desktop;
        const QString taken = QDir(desktop.path()).filePath(launcher::fileName());
        QVERIFY(QDir().mkpath(taken));
        scripted().desktop = desktop.path();
        std::unique_ptr<startup::Windows> windows;
        QCOMPARE(startup::start(windows), 0);
        QVERIFY(windows->mainForm().isVisible());
        QVERIFY(scripted().messages.isEmpty());
        QVERIFY(QFileInfo(taken).isDir());  // the write did fail
        QVERIFY(!launcher::writeForThisProgram());
    }

    void startUpReadsTheGoodsTableOnceAndTheFirstActivationNotAgain() {
        TestDatabase database(TestDatabase::Content::Demo);
        store::TableCache::instance().clear();
        std::unique_ptr<startup::Windows> windows;
        QCOMPARE(startup::start(windows), 0);
        TMainForm& main = windows->mainForm();
        main.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&main));
        main.activateFromAnotherWindow();
        QCOMPARE(store::TableCache::instance().fileReads(store::schema::kGoods), 1);
        QCOMPARE(store::TableCache::instance().fileReads(store::schema::kSales), 0);
        QVERIFY(main.goodsQuery().recordCount() > 10);
        QCOMPARE(main.goodsQuery().currentIndex(), 0);
    }

    void aRestoreMakesTheNextStartReadTheRestoredFile() {
        TestDatabase database(TestDatabase::Content::Demo);
        TemporaryDirectory elsewhere;
        const auto chosen = elsewhere.path() / "shop.bak";
        std::filesystem::copy_file(database.path(), chosen);
        {
            store::Database restored(chosen.string(), store::kDatabasePassword);
            restored.exec(std::string("DELETE FROM \"") + store::schema::kGoods +
                          "\" WHERE rowid > 1");
        }
        std::unique_ptr<startup::Windows> windows;
        QCOMPARE(startup::start(windows), 0);
        QVERIFY(windows->mainForm().goodsQuery().recordCount() > 1);
        QVERIFY(backup::restoreDataStore(QString::fromStdString(database.directory().string()),
                                         QString::fromStdString(chosen.string())));
        windows.reset();
        QCOMPARE(startup::start(windows), 0);
        QCOMPARE(windows->mainForm().goodsQuery().recordCount(), 1);
    }

    // The [数据库] group of the settings file chooses the data: a setting that cannot be used, or
    // a server that cannot be reached, ends the start as a missing data.mdb does, and the
    // data.mdb in the folder is not opened in its place.
    void aDataStoreSettingThatCannotBeUsedEndsTheStart_data() {
        QTest::addColumn<QString>("group");
        QTest::addColumn<QStringList>("told");
        QTest::newRow("unknown kind")
            << QStringLiteral("类型=access\n")
            << QStringList{QStringLiteral("类型"), QStringLiteral("quenvar-jxc.ini")};
        // A socket folder where no server listens.
        QTest::newRow("no server")
            << QStringLiteral("类型=postgresql\nhost=%1\nport=5999\ndatabase=shop\n")
            << QStringList{QStringLiteral("PostgreSQL 服务器 %1:5999"), QStringLiteral("shop")};
    }

    void aDataStoreSettingThatCannotBeUsedEndsTheStart() {
        QFETCH(QString, group);
        QFETCH(QStringList, told);
        TestDatabase database(TestDatabase::Content::Demo);
        TemporaryDirectory noServer;
        const QString socketFolder = QString::fromStdString(noServer.path().string());
        writeSettings(QStringLiteral("[数据库]\n") +
                      group.replace(QStringLiteral("%1"), socketFolder));

        std::unique_ptr<startup::Windows> windows;
        const int status = startup::start(windows);
        store::useServer(std::nullopt);
        QVERIFY(status != 0);
        QVERIFY(windows == nullptr);
        QCOMPARE(scripted().messages.size(), 1);
        const QString text = scripted().messages[0].text;
        for (QString part : told)
            QVERIFY2(text.contains(part.replace(QStringLiteral("%1"), socketFolder)),
                     qPrintable(text));
        for (QWidget* w : QApplication::topLevelWidgets()) QVERIFY(!w->isVisible());
    }

  private:
    platform::ScriptedPlatform& scripted() { return desktop_->platform(); }
    static void writeSettings(const QString& text) {
        const QString file = autobackup::defaultSettingsFile();
        QDir().mkpath(QFileInfo(file).absolutePath());
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(text.toUtf8());
    }

    std::unique_ptr<apptest::ScriptedDesktop> desktop_;
};

QTEST_MAIN(StartupTest)
#include "StartupTest.moc"
#include "store/Schema.h"
