#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <fstream>

#include "app/MainForm.h"
#include "app/Startup.h"
#include "platform/ScriptedPlatform.h"
#include "profile/JbzlForm.h"
#include "reports/Dy1Form.h"
#include "reports/Dy2Form.h"
#include "reports/DyForm.h"
#include "sales/XsmxForm.h"
#include "sales/XsxxForm.h"
#include "store/Database.h"
#include "tests/support/TestDatabase.h"

using testsupport::ScopedCurrentDirectory;
using testsupport::TemporaryDirectory;
using testsupport::TestDatabase;

class StartupTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        // Launchers and icons of the tests go to folders of their own.
        scripted_ = std::make_unique<platform::ScriptedPlatform>();
        scripted_->desktop = desktop_.path();
        qputenv("XDG_DATA_HOME", data_.path().toUtf8());
    }
    void cleanup() { scripted_.reset(); }

    void sevenWindowsAreCreatedInOrderEachWithItsTableOpen() {
        TestDatabase database;
        QStringList order;
        startup::Windows windows([&](QWidget& window) {
            order << QString::fromLatin1(window.metaObject()->className());
        });
        QCOMPARE(order, QStringList({"TMainForm", "TXsxxForm", "TDy1Form", "TJbzlForm", "TDyForm",
                                     "TXsmxForm", "TDy2Form"}));

        Forms& forms = windows.forms();
        QVERIFY(forms.mainForm->ADOQuery1.isOpen());
        QCOMPARE(forms.mainForm->ADOQuery1.tableName(), std::string("表1"));
        QVERIFY(forms.xsxxForm->ADOQuery1.isOpen());
        QVERIFY(forms.xsxxForm->ADOQuery2.isOpen());
        QVERIFY(forms.xsxxForm->ADOQuery3.isOpen());
        QCOMPARE(forms.xsxxForm->ADOQuery3.tableName(), std::string("表5"));
        QVERIFY(forms.jbzlForm->companyQuery().isOpen());
        QVERIFY(forms.dyForm->reportRows().isOpen());
        QVERIFY(forms.dy1Form->reportRows().isOpen());
        QCOMPARE(forms.dy2Form->reportRows().tableName(), std::string("表3"));
        QVERIFY(forms.xsmxForm->ADOQuery1.isOpen());
        QCOMPARE(forms.xsxxForm->windowTitle(), QStringLiteral("销售信息"));
        QCOMPARE(forms.xsmxForm->windowTitle(), QStringLiteral("销售明细"));

        // Nothing is shown but the main window, and only its closing ends the program.
        for (QWidget* w : QApplication::topLevelWidgets()) QVERIFY(!w->isVisible());
        QVERIFY(forms.mainForm->testAttribute(Qt::WA_QuitOnClose));
        QVERIFY(!forms.xsxxForm->testAttribute(Qt::WA_QuitOnClose));
        QVERIFY(!forms.jbzlForm->testAttribute(Qt::WA_QuitOnClose));
    }

    void startShowsTheMainWindow() {
        TestDatabase database;
        std::unique_ptr<startup::Windows> windows;
        QCOMPARE(startup::start(windows), 0);
        QVERIFY(windows != nullptr);
        QVERIFY(windows->mainForm().isVisible());
        QVERIFY(scripted_->messages.isEmpty());
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
        QCOMPARE(scripted_->messages.size(), 1);
        QVERIFY2(scripted_->messages[0].text.contains(QStringLiteral("data.mdb")),
                 qPrintable(scripted_->messages[0].text));
        for (QWidget* w : QApplication::topLevelWidgets()) QVERIFY(!w->isVisible());
        if (content == "missing") QVERIFY(!std::filesystem::exists(file));  // never made
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
        scripted_->desktop = desktop_.path() + QStringLiteral("/no such folder");
        std::unique_ptr<startup::Windows> windows;
        QCOMPARE(startup::start(windows), 0);
        QVERIFY(windows->mainForm().isVisible());
        QVERIFY(scripted_->messages.isEmpty());
    }

  private:
    QTemporaryDir desktop_;
    QTemporaryDir data_;
    std::unique_ptr<platform::ScriptedPlatform> scripted_;
};

QTEST_MAIN(StartupTest)
#include "StartupTest.moc"
