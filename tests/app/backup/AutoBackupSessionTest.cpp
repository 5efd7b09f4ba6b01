// A run's automatic copies: the day's copy on its own thread, problems told once, the settings
// file with its defaults.
#include <QCoreApplication>
#include <QSettings>
#include <QThread>

#include "backup/AutoBackupSession.h"
#include "backup/AutoBackupSettings.h"
#include "store/ConnectionString.h"
#include "store/Database.h"
#include "store/Schema.h"
#include "tests/app/backup/AutoBackupFixture.h"
#include "tests/app/backup/DataStoreFiles.h"

namespace {

QCoreApplication& application() {
    static int argc = 1;
    static char name[] = "autobackup_tests";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    return app;
}

}  // namespace

class AutoBackupSessionTest : public AutoBackupFixture {
  protected:
    AutoBackupSessionTest() {
        application();
        session_.setSettingsFile(settingsFile());
        session_.setClock(clock());
        session_.setReporter([this](const QString& text) { reports_ << text; });
    }
    autobackup::Session session_;
    QStringList reports_;
};

TEST_F(AutoBackupSessionTest, TheDaysCopyRunsOnItsOwnThreadWhileTheCallerGoesOn) {
    // A write transaction holds the file while the day's copy starts: the caller is not held up.
    store::Database writer(dataStore(), store::kDatabasePassword);
    writer.exec("BEGIN");
    writer.exec(std::string("insert into ") + store::schema::kGoods + " (商品编码) values ('B')");
    session_.startOfRun(programFolder());
    EXPECT_TRUE(session_.isCopying());
    writer.exec("COMMIT");

    session_.waitForCopy();
    EXPECT_FALSE(session_.isCopying());
    EXPECT_TRUE(reports_.isEmpty());
    ASSERT_EQ(bakFiles(copiesFolder()).size(), 1u);
    EXPECT_TRUE(passesIntegrityCheck((copiesFolder() / bakFiles(copiesFolder()).front()).string()));
}

TEST_F(AutoBackupSessionTest, TheResultArrivesThroughTheEventLoop) {
    int finished = 0;
    QObject::connect(&session_, &autobackup::Session::copyFinished, [&] { ++finished; });
    session_.startOfRun(programFolder());
    for (int k = 0; k < 500 && finished == 0; ++k) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(10);
    }
    EXPECT_EQ(finished, 1);
    EXPECT_FALSE(session_.isCopying());
    EXPECT_EQ(bakFiles(copiesFolder()).size(), 1u);
}

TEST_F(AutoBackupSessionTest, AFolderThatFailsIsReportedOncePerRun) {
    const auto missing = config_.path() / "gone";
    set(QStringLiteral("AutoBackup/Folder"), QString::fromStdString(missing.string()));
    session_.startOfRun(programFolder());
    session_.waitForCopy();
    addGoods(dataStore(), "B");
    session_.endOfRun(programFolder());
    session_.beforeRestore(programFolder());
    ASSERT_EQ(reports_.size(), 1);
    EXPECT_TRUE(reports_.front().contains(QStringLiteral("找不到文件夹")));

    session_.resetReports();  // the next run tells it again
    now_ = now_.addDays(1);
    session_.startOfRun(programFolder());
    session_.waitForCopy();
    EXPECT_EQ(reports_.size(), 2);
}

TEST_F(AutoBackupSessionTest, TheEndOfARunWaitsForTheDaysCopy) {
    session_.startOfRun(programFolder());
    addGoods(dataStore(), "B");
    const auto result = session_.endOfRun(programFolder());
    EXPECT_FALSE(session_.isCopying());
    // The day's copy, and one at the end holding the change (unless the day's copy saw it).
    const auto copies = bakFiles(copiesFolder());
    ASSERT_GE(copies.size(), 1u);
    EXPECT_EQ(goodsCodes((copiesFolder() / copies.back()).string()),
              (std::vector<std::string>{"A", "B"}));
}

class SettingsTest : public AutoBackupFixture {};

TEST_F(SettingsTest, AMissingFileGetsEveryKeyWithItsDefault) {
    const auto settings = autobackup::readSettings(settingsFile());
    EXPECT_TRUE(settings.enabled);
    EXPECT_EQ(settings.keep, 30);
    EXPECT_TRUE(settings.folder.isEmpty());
    EXPECT_TRUE(settings.secondFolder.isEmpty());
    const QSettings ini(settingsFile(), QSettings::IniFormat);
    EXPECT_EQ(ini.allKeys().size(), 4);
    EXPECT_EQ(ini.value(QStringLiteral("AutoBackup/Keep")).toInt(), 30);
}

TEST_F(SettingsTest, AKeepThatIsNotAWholeNumberOfAtLeastOneCountsAsThirty) {
    for (const char* bad : {"0", "-3", "ten", "2.5", ""}) {
        set(QStringLiteral("AutoBackup/Keep"), QString::fromLatin1(bad));
        EXPECT_EQ(autobackup::readSettings(settingsFile()).keep, 30) << bad;
    }
    set(QStringLiteral("AutoBackup/Keep"), QStringLiteral(" 7 "));
    EXPECT_EQ(autobackup::readSettings(settingsFile()).keep, 7);
}

TEST_F(SettingsTest, ARelativeFolderIsTakenFromTheProgramFolder) {
    set(QStringLiteral("AutoBackup/Folder"), QStringLiteral("备份"));
    const auto folders = backup().folders();
    ASSERT_EQ(folders.size(), 1);
    EXPECT_EQ(folders.front(), QString::fromStdString((program_.directory() / "备份").string()));
}
