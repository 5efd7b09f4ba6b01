// A damaged data.mdb: told as damaged rather than blamed on a folder, and repaired on request
// from the newest automatic copy that passes its check, the damaged file kept beside it.
#include <QDir>
#include <filesystem>
#include <fstream>

#include "app/backup/DamageRepair.h"
#include "backup/AutoBackup.h"
#include "backup/AutoBackupSession.h"
#include "backup/DamagedDataStore.h"
#include "backup/DataStoreCopy.h"
#include "store/Schema.h"
#include "tests/app/backup/BackupFixture.h"
#include "tests/support/DamagedDatabase.h"

using backup::RepairOutcome;

namespace {

namespace fs = std::filesystem;

const QDateTime kNow(QDate(2026, 12, 11), QTime(1, 40, 5));

class DamagedDataStoreTest : public BackupFixture {
  protected:
    fs::path copies() const { return program_.directory() / "自动备份"; }
    // An automatic copy of the data store as it is now, taken at stamp ("20260202-090000").
    std::string copyNow(const std::string& stamp) {
        fs::create_directories(copies());
        const auto file = copies() / ("data-" + stamp + ".bak");
        EXPECT_TRUE(backup::backupDataStore(programFolder(), QString::fromStdString(file)));
        return file.string();
    }
    RepairOutcome repair(platform::Answer answer) {
        platform_.messageAnswers.enqueue(answer);
        return backup::offerRepair(
            nullptr, programFolder(), QStringLiteral("数据文件已损坏。"), [this] { ++closed_; },
            kNow);
    }
    int closed_ = 0;
};

TEST_F(DamagedDataStoreTest, TheCheckTellsDamageFromOtherTrouble) {
    EXPECT_FALSE(backup::isDamagedDataStore(QString::fromStdString(dataStore())));
    EXPECT_FALSE(backup::isDamagedDataStore(chosen("missing.mdb")));
    testsupport::damageTablePage(dataStore(), store::schema::kGoods);
    EXPECT_TRUE(backup::isDamagedDataStore(QString::fromStdString(dataStore())));
}

TEST_F(DamagedDataStoreTest, TheDaysCopyOfADamagedFileSaysSoAndBlamesNoFolder) {
    copyNow("20261210-090000");
    testsupport::damageTablePage(dataStore(), store::schema::kGoods);
    autobackup::AutoBackup rules(programFolder(), autobackup::session().settingsFile(),
                                 [] { return kNow; });
    const autobackup::Result result = rules.run(autobackup::Occasion::Start);
    EXPECT_TRUE(result.copies.isEmpty());
    ASSERT_EQ(result.problems.size(), 1);
    EXPECT_TRUE(result.problems[0].damagedSource);
    const QString text = result.problems[0].text;
    EXPECT_TRUE(text.contains(QStringLiteral("已损坏"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QString::fromStdString(dataStore()))) << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("无法在文件夹"))) << text.toStdString();
    EXPECT_EQ(fileNames(copies()), std::vector<std::string>{"data-20261210-090000.bak"});
}

TEST_F(DamagedDataStoreTest, RepairRestoresTheNewestGoodCopyAndKeepsTheDamagedFile) {
    copyNow("20261201-090000");  // "A"
    addGoods(dataStore(), "B");
    const std::string newestGood = copyNow("20261209-180000");  // "A", "B"
    addGoods(dataStore(), "C");
    const std::string newest = copyNow("20261210-180000");
    testsupport::damageTablePage(newest, store::schema::kGoods);  // fails its check: passed over
    testsupport::damageTablePage(dataStore(), store::schema::kGoods);
    const std::string damagedBytes = fileBytes(dataStore());

    EXPECT_EQ(repair(platform::Answer::Ok), RepairOutcome::Restored);
    ASSERT_EQ(platform_.messages.size(), 2);
    const platform::MessageRecord& question = platform_.messages[0];
    EXPECT_EQ(question.kind, platform::MessageKind::Confirm);
    for (const QString& part :
         {QStringLiteral("数据文件已损坏。"), QStringLiteral("2026年12月9日 18:00:00"),
          QDir::toNativeSeparators(QString::fromStdString(newestGood)),
          QStringLiteral("data.mdb.damaged-20261211-014005")})
        EXPECT_TRUE(question.text.contains(part)) << question.text.toStdString();
    EXPECT_EQ(platform_.messages[1].text, QStringLiteral("数据恢复成功！"));
    EXPECT_EQ(closed_, 1);
    EXPECT_EQ(goodsCodes(dataStore()), (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(fileBytes(program_.directory() / "data.mdb.damaged-20261211-014005"), damagedBytes);
}

TEST_F(DamagedDataStoreTest, WithoutAGoodCopyNothingIsAsked) {
    testsupport::damageTablePage(dataStore(), store::schema::kGoods);
    EXPECT_EQ(repair(platform::Answer::Ok), RepairOutcome::NoGoodCopy);  // no copy at all
    fs::create_directories(copies());
    fs::copy_file(dataStore(), copies() / "data-20261201-090000.bak");   // as damaged as the data
    EXPECT_EQ(repair(platform::Answer::Ok), RepairOutcome::NoGoodCopy);  // none passes its check
    EXPECT_TRUE(platform_.messages.isEmpty());
    EXPECT_EQ(closed_, 0);
}

TEST_F(DamagedDataStoreTest, ADeclinedRepairChangesNothing) {
    copyNow("20261202-090000");
    testsupport::damageTablePage(dataStore(), store::schema::kGoods);
    const std::string damagedBytes = fileBytes(dataStore());

    EXPECT_EQ(repair(platform::Answer::Cancel), RepairOutcome::Declined);
    EXPECT_EQ(platform_.messages.size(), 1);
    EXPECT_EQ(closed_, 0);
    EXPECT_EQ(fileBytes(dataStore()), damagedBytes);
    EXPECT_EQ(fileNames(program_.directory()), (std::vector<std::string>{"data.mdb", "自动备份"}));
}

}  // namespace
