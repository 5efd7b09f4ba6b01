// The program started on a database of the tests' PostgreSQL cluster, chosen by the settings file:
// the windows read the server's data; a database without the program's tables, or of an earlier
// version, is dealt with before any window opens. Runs on the cluster only.
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <memory>
#include <optional>
#include <string>

#include "app/MainForm.h"
#include "app/Startup.h"
#include "backup/AutoBackupSettings.h"
#include "store/Connection.h"
#include "store/Database.h"
#include "store/Schema.h"
#include "store/SchemaUpgrade.h"
#include "store/ServerSettings.h"
#include "tests/app/StartedProgram.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/TestServer.h"

using testsupport::TestDatabase;

class ServerStartTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        if (!testsupport::onServer()) QSKIP("needs the tests' PostgreSQL cluster");
        desktop_ = std::make_unique<apptest::ScriptedDesktop>();
    }
    void cleanup() { desktop_.reset(); }

    void theWindowsReadTheServerTheSettingsName() {
        TestDatabase database(TestDatabase::Content::Demo);
        writeSettings(database.server());
        store::useServer(std::nullopt);  // the settings file alone chooses it
        std::unique_ptr<startup::Windows> windows;
        QCOMPARE(startup::start(windows), 0);
        QVERIFY(windows->mainForm().connection().database().isServer());
        QVERIFY(windows->mainForm().goodsQuery().recordCount() > 10);
        // No notice of a read-only file: there is none.
        QVERIFY2(scripted().messages.isEmpty(), qPrintable(scripted().messageTexts().join("\n")));
        windows.reset();
    }

    void aDatabaseWithoutTheProgramsTablesEndsTheStart() {
        const std::string name = "jxc_start_" + std::to_string(::getpid());
        testsupport::createServerDatabase(name, "template0");
        const store::ServerSettings server = testsupport::serverSettings(name);
        writeSettings(server);
        std::unique_ptr<startup::Windows> windows;
        const int status = startup::start(windows);
        store::useServer(std::nullopt);
        testsupport::dropServerDatabase(name);
        QVERIFY(status != 0);
        QVERIFY(windows == nullptr);
        QCOMPARE(scripted().messages.size(), 1);
        const QString text = scripted().messages[0].text;
        QVERIFY2(text.contains(QString::fromStdString(server.describe())), qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("jxc-mkdb --server")), qPrintable(text));
        for (QWidget* w : QApplication::topLevelWidgets()) QVERIFY(!w->isVisible());
    }

    void aDatabaseOfAnEarlierVersionGetsTheNewTablesAtStart() {
        TestDatabase database;
        const auto& returns = store::schema::table(store::schema::kReturns);
        database.execDirectly("DROP TABLE \"" + returns.name + "\"; UPDATE \"" +
                              store::schema::kSchemaVersionTable +
                              "\" SET \"版本\" = " + std::to_string(returns.version - 1));
        writeSettings(database.server());
        std::unique_ptr<startup::Windows> windows;
        QCOMPARE(startup::start(windows), 0);
        windows.reset();
        const store::Database db = database.open();
        QVERIFY(store::schema::holdsTable(db, returns.name));
        QCOMPARE(store::schema::fileVersion(db), store::schema::kVersion);
    }

  private:
    platform::ScriptedPlatform& scripted() { return desktop_->platform(); }
    static void writeSettings(const store::ServerSettings& server) {
        const QString file = autobackup::defaultSettingsFile();
        QDir().mkpath(QFileInfo(file).absolutePath());
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(("[数据库]\n类型=postgresql\nhost=" + server.host + "\nport=" + server.port +
                   "\ndatabase=" + server.database + "\nuser=" + server.user + "\n")
                      .c_str());
    }

    std::unique_ptr<apptest::ScriptedDesktop> desktop_;
};

QTEST_MAIN(ServerStartTest)
#include "ServerStartTest.moc"
