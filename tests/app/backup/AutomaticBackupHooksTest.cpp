// The automatic copies in a running program: the day's copy once the main window is shown, the
// end of a run that changed nothing, and a failing folder told once over the main window.
#include <QDir>
#include <QSettings>
#include <QSignalSpy>
#include <QTest>
#include <filesystem>

#include "app/MainForm.h"
#include "app/Startup.h"
#include "app/backup/AutomaticBackupHooks.h"
#include "backup/AutoBackupFiles.h"
#include "backup/AutoBackupSession.h"
#include "backup/DataStoreCopy.h"
#include "store/ConnectionString.h"
#include "store/Database.h"
#include "store/Schema.h"
#include "store/SchemaUpgrade.h"
#include "tests/app/StartedProgram.h"
#include "tests/support/DamagedDatabase.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/widgets/ScriptedPlatform.h"

using testsupport::TemporaryDirectory;
using testsupport::TestDatabase;

class AutomaticBackupHooksTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        desktop_ = std::make_unique<apptest::ScriptedDesktop>();
        config_ = std::make_unique<TemporaryDirectory>();
        settings_ = QString::fromStdString((config_->path() / "quenvar-jxc.ini").string());
        autobackup::session().setSettingsFile(settings_);
        autobackup::session().setClock([] { return QDateTime(QDate(2026, 5, 4), QTime(8, 0)); });
        autobackup::session().resetReports();
    }
    void cleanup() {
        autobackup::session().waitForCopy();
        desktop_.reset();
    }

    void theDaysCopyIsMadeAfterTheWindowIsShownAndAnUnchangedRunEndsWithoutOne() {
        TestDatabase database;  // the program folder and the current directory
        const QString folder = QString::fromStdString(database.directory().string());
        startup::Windows windows;
        windows.mainForm().show();
        QSignalSpy finished(&autobackup::session(), &autobackup::Session::copyFinished);
        backup::startAutomaticBackups(windows.mainForm(), folder);
        QVERIFY(!autobackup::session().isCopying());  // not before the event loop runs
        QVERIFY(finished.wait(10000));

        const QString copies = folder + QStringLiteral("/自动备份");
        QCOMPARE(autobackup::copiesIn(copies).size(), std::size_t(1));
        // Opening and re-reading every window's table writes nothing: no copy at the end.
        windows.mainForm().activateFromAnotherWindow();
        backup::finishAutomaticBackups(folder);
        QCOMPARE(autobackup::copiesIn(copies).size(), std::size_t(1));
        QVERIFY(scripted().messages.isEmpty());
    }

    // An older data.mdb is upgraded at start, after the day's copy kept it as it was; a file of a
    // later version is refused with its name.
    void theDataStoreIsUpgradedAfterTheDaysCopy_data() {
        QTest::addColumn<int>("version");
        QTest::newRow("older") << 0;
        QTest::newRow("later") << store::schema::kVersion + 1;
    }

    void theDataStoreIsUpgradedAfterTheDaysCopy() {
        QFETCH(int, version);
        TestDatabase database(TestDatabase::Content::Demo);
        const QString folder = QString::fromStdString(database.directory().string());
        setVersion(database.path(), version);
        std::unique_ptr<startup::Windows> windows;
        const int status = startup::start(windows);

        if (version > store::schema::kVersion) {
            QVERIFY(status != 0);
            QCOMPARE(scripted().messages.size(), 1);
            const QString text = scripted().messages.front().text;
            QVERIFY2(text.contains(QString::fromStdString(database.path())), qPrintable(text));
            QVERIFY2(text.contains(QStringLiteral("新版本")), qPrintable(text));
            QCOMPARE(versionOf(database.path()), version);
            return;
        }
        QCOMPARE(status, 0);
        QVERIFY(scripted().messages.isEmpty());
        QCOMPARE(versionOf(database.path()), store::schema::kVersion);
        const auto copies = autobackup::copiesIn(folder + QStringLiteral("/自动备份"));
        QCOMPARE(copies.size(), std::size_t(1));
        const QString copy =
            folder + QStringLiteral("/自动备份/") + autobackup::copyFileName(copies[0]);
        QCOMPARE(versionOf(copy.toStdString()), 0);
        // The day's copy at the first event finds today's copy made.
        QSignalSpy finished(&autobackup::session(), &autobackup::Session::copyFinished);
        backup::startAutomaticBackups(windows->mainForm(), folder);
        QVERIFY(finished.wait(10000));
        QCOMPARE(autobackup::copiesIn(folder + QStringLiteral("/自动备份")).size(), std::size_t(1));
    }

    void aFolderThatFailsIsToldOnceOverTheMainWindow() {
        TestDatabase database;
        const QString folder = QString::fromStdString(database.directory().string());
        QSettings(settings_, QSettings::IniFormat)
            .setValue(QStringLiteral("AutoBackup/Folder"), folder + QStringLiteral("/gone"));
        startup::Windows windows;
        windows.mainForm().show();
        QSignalSpy finished(&autobackup::session(), &autobackup::Session::copyFinished);
        backup::startAutomaticBackups(windows.mainForm(), folder);
        QVERIFY(finished.wait(10000));
        QCOMPARE(scripted().messages.size(), 1);
        QCOMPARE(scripted().messages.front().kind, platform::MessageKind::Plain);
        QVERIFY(scripted().messages.front().text.contains(QStringLiteral("找不到文件夹")));

        backup::finishAutomaticBackups(folder);  // still failing: not told again
        QCOMPARE(scripted().messages.size(), 1);
    }

    void aDamagedDataStoreFoundByTheDaysCopyOffersItsRepair() {
        TestDatabase database(TestDatabase::Content::Demo);
        const QString folder = QString::fromStdString(database.directory().string());
        const QString copies = folder + QStringLiteral("/自动备份");
        QDir().mkpath(copies);
        QVERIFY(
            backup::backupDataStore(folder, copies + QStringLiteral("/data-20260503-080000.bak")));
        // The sales table is not read at start: the program starts, the day's copy finds it.
        testsupport::damageTablePage(database.path(), store::schema::kSales);
        startup::Windows windows;
        windows.mainForm().show();
        int closed = 0;
        scripted().messageAnswers.enqueue(platform::Answer::Cancel);
        QSignalSpy finished(&autobackup::session(), &autobackup::Session::copyFinished);
        backup::startAutomaticBackups(windows.mainForm(), folder, [&closed] { ++closed; });
        QVERIFY(finished.wait(10000));

        QCOMPARE(scripted().messages.size(), 1);
        const platform::MessageRecord& question = scripted().messages.front();
        QCOMPARE(question.kind, platform::MessageKind::Confirm);
        for (const QString& part :
             {QStringLiteral("已损坏"), QStringLiteral("2026年5月3日 08:00:00"),
              QStringLiteral("data.mdb.damaged-")})
            QVERIFY2(question.text.contains(part), qPrintable(question.text));
        QVERIFY2(!question.text.contains(QStringLiteral("无法在文件夹")),
                 qPrintable(question.text));
        QCOMPARE(closed, 0);  // declined
        QCOMPARE(autobackup::copiesIn(copies).size(), std::size_t(1));
        backup::finishAutomaticBackups(folder);
    }

  private:
    platform::ScriptedPlatform& scripted() { return desktop_->platform(); }
    // As an older program left it (version 0: without the added tables) or a later one.
    static void setVersion(const std::string& file, int version) {
        store::Database db(file, store::kDatabasePassword);
        if (version == 0)
            for (const auto& table : store::schema::addedTables())
                db.exec("DROP TABLE \"" + table.name + "\"");
        db.exec("PRAGMA user_version = " + std::to_string(version));
    }
    static int versionOf(const std::string& file) {
        return store::schema::fileVersion(
            store::Database(file, store::kDatabasePassword, store::Database::Mode::ReadOnly));
    }

    std::unique_ptr<TemporaryDirectory> config_;
    QString settings_;
    std::unique_ptr<apptest::ScriptedDesktop> desktop_;
};

QTEST_MAIN(AutomaticBackupHooksTest)
#include "AutomaticBackupHooksTest.moc"
