#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

#include "app/DesktopLauncher.h"
#include "tests/support/widgets/ScriptedPlatform.h"

namespace {

QString readAll(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return QString();
    return QString::fromUtf8(file.readAll());
}

QString keyOf(const QString& text, const QString& key) {
    for (const QString& line : text.split(u'\n'))
        if (line.startsWith(key + u'=')) return line.mid(key.size() + 1);
    return QString();
}

}  // namespace

class LauncherTest : public QObject {
    Q_OBJECT

  private slots:
    void entryNamesProgramFolderAndIcon_data() {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("exec");
        QTest::addColumn<QString>("path");
        QTest::newRow("plain") << "/opt/jxc/quenvar-jxc"
                               << "\"/opt/jxc/quenvar-jxc\""
                               << "/opt/jxc";
        QTest::newRow("blanks and Chinese") << "/home/王/我的 程序/quenvar-jxc"
                                            << "\"/home/王/我的 程序/quenvar-jxc\""
                                            << "/home/王/我的 程序";
        // Inside quotes ", `, $ and \ take a backslash; the value's own escaping then doubles
        // every backslash. "%" is doubled so it is no field code.
        QTest::newRow("special characters")
            << "/tmp/a\"b`c$d\\e%f/quenvar-jxc"
            << "\"/tmp/a\\\\\"b\\\\`c\\\\$d\\\\\\\\e%%f/quenvar-jxc\""
            << "/tmp/a\"b`c$d\\\\e%f";
    }

    void entryNamesProgramFolderAndIcon() {
        QFETCH(QString, program);
        QFETCH(QString, exec);
        QFETCH(QString, path);
        const QString text = launcher::entryText(program, QStringLiteral("/icons/jxc.png"));
        QVERIFY(text.startsWith(QStringLiteral("[Desktop Entry]\n")));
        QCOMPARE(keyOf(text, "Type"), QStringLiteral("Application"));
        QCOMPARE(keyOf(text, "Name"), QStringLiteral("Quenvar进销存管理软件（旗舰版）"));
        QCOMPARE(keyOf(text, "Exec"), exec);
        QCOMPARE(keyOf(text, "Path"), path);
        QCOMPARE(keyOf(text, "Icon"), QStringLiteral("/icons/jxc.png"));
    }

    void entryWithoutIconLeavesTheKeyOut() {
        QVERIFY(!launcher::entryText("/opt/x", QString()).contains(QStringLiteral("Icon=")));
    }

    void writeReplacesAnExistingLauncher() {
        QTemporaryDir desktop;
        const QString file = QDir(desktop.path()).filePath(launcher::fileName());
        QCOMPARE(launcher::fileName(), QStringLiteral("Quenvar进销存管理软件（旗舰版）.desktop"));
        QVERIFY(launcher::write(desktop.path(), "/old/place/quenvar-jxc", "/i.png"));
        QVERIFY(launcher::write(desktop.path(), "/new/place/quenvar-jxc", "/i.png"));

        const QString text = readAll(file);
        QCOMPARE(keyOf(text, "Exec"), QStringLiteral("\"/new/place/quenvar-jxc\""));
        QCOMPARE(keyOf(text, "Path"), QStringLiteral("/new/place"));
        QVERIFY(QFileInfo(file).isExecutable());
        QCOMPARE(QDir(desktop.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
    }

    void writeFailsQuietlyWhereItCannotWrite() {
        QTemporaryDir desktop;
        QVERIFY(!launcher::write(desktop.path() + "/missing", "/opt/x", QString()));
        QVERIFY(!launcher::write(QString(), "/opt/x", QString()));
        // A folder standing where the launcher goes is left alone.
        QVERIFY(QDir(desktop.path()).mkdir(launcher::fileName()));
        QVERIFY(!launcher::write(desktop.path(), "/opt/x", QString()));
        QVERIFY(QFileInfo(QDir(desktop.path()).filePath(launcher::fileName())).isDir());
    }

    void thisProgramsLauncherGoesToThePlatformsDesktop() {
        QTemporaryDir desktop;
        QTemporaryDir data;
        qputenv("XDG_DATA_HOME", data.path().toUtf8());
        platform::ScriptedPlatform scripted;
        scripted.desktop = desktop.path();

        QVERIFY(launcher::writeForThisProgram());
        const QString text = readAll(QDir(desktop.path()).filePath(launcher::fileName()));
        QCOMPARE(keyOf(text, "Exec"), u'"' + QCoreApplication::applicationFilePath() + u'"');
        QCOMPARE(keyOf(text, "Path"), QCoreApplication::applicationDirPath());
        const QString icon = keyOf(text, "Icon");
        QCOMPARE(icon, data.path() + QStringLiteral("/icons/quenvar-jxc.png"));
        QImage picture(icon);
        QVERIFY(!picture.isNull());
        QCOMPARE(picture.size(), QSize(256, 256));
    }

    void aMissingDesktopFolderIsMadeFirst() {
        QTemporaryDir home;
        QTemporaryDir data;
        qputenv("XDG_DATA_HOME", data.path().toUtf8());
        platform::ScriptedPlatform scripted;
        scripted.desktop = QDir(home.path()).filePath(QStringLiteral("桌面"));

        QVERIFY(launcher::writeForThisProgram());
        QVERIFY(QFileInfo::exists(QDir(scripted.desktop).filePath(launcher::fileName())));
    }
};

QTEST_MAIN(LauncherTest)
#include "LauncherTest.moc"
