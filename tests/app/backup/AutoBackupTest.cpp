// Automatic copies: when one is due, where it goes, how it is checked and which old ones go.
#include <sys/resource.h>
#include <unistd.h>

#include <QDir>
#include <chrono>
#include <csignal>
#include <fstream>

#include "backup/AutoBackupFiles.h"
#include "store/ConnectionString.h"
#include "store/Database.h"
#include "store/Schema.h"
#include "tests/app/backup/AutoBackupFixture.h"
#include "tests/app/backup/DataStoreFiles.h"
#include "tests/support/PermissionsHold.h"

using autobackup::Occasion;
using testsupport::PermissionsHold;

namespace {

QString q(const std::filesystem::path& path) { return QString::fromStdString(path.string()); }

bool takesFiles(const std::filesystem::path& folder) {
    const auto probe = folder / "probe";
    const bool written = std::ofstream(probe).good();
    std::filesystem::remove(probe);
    return written;
}

}  // namespace

class AutoBackupTest : public AutoBackupFixture {};

TEST_F(AutoBackupTest, FortyDaysOfStartsLeaveTheThirtyNewestCopies) {
    const QDateTime first = now_;
    for (int day = 0; day < 40; ++day) {
        now_ = first.addDays(day);
        const auto result = run(Occasion::Start);
        ASSERT_EQ(result.copies.size(), 1) << "day " << day;
        EXPECT_TRUE(result.problems.isEmpty());
    }
    std::vector<std::string> expected;
    for (int day = 10; day < 40; ++day)
        expected.push_back(autobackup::copyFileName({first.addDays(day), 1}).toStdString());
    EXPECT_EQ(bakFiles(copiesFolder()), expected);
    // Each is a backup that the restore command takes.
    const auto newest = copiesFolder() / expected.back();
    EXPECT_TRUE(passesIntegrityCheck(newest.string()));
    EXPECT_EQ(goodsCodes(newest.string()), std::vector<std::string>{"A"});
}

TEST_F(AutoBackupTest, OnlyTheFirstStartOfADayMakesACopy) {
    EXPECT_TRUE(run(Occasion::Start).wasDue);
    now_ = now_.addSecs(5 * 3600);  // the afternoon
    addGoods(dataStore(), "B");     // even after a change
    const auto second = run(Occasion::Start);
    EXPECT_FALSE(second.wasDue);
    EXPECT_EQ(bakFiles(copiesFolder()).size(), 1u);

    now_ = now_.addDays(1);
    EXPECT_EQ(run(Occasion::Start).copies.size(), 1);
    EXPECT_EQ(bakFiles(copiesFolder()).size(), 2u);
}

TEST_F(AutoBackupTest, EndingTheProgramCopiesOnlyAfterAChange) {
    ASSERT_EQ(run(Occasion::Start).copies.size(), 1);
    now_ = now_.addSecs(60);
    EXPECT_FALSE(run(Occasion::End).wasDue);  // nothing changed since the morning's copy
    EXPECT_EQ(bakFiles(copiesFolder()).size(), 1u);

    addGoods(dataStore(), "B");
    const auto afterChange = run(Occasion::End);
    ASSERT_EQ(afterChange.copies.size(), 1);
    EXPECT_EQ(goodsCodes(afterChange.copies.front().toStdString()),
              (std::vector<std::string>{"A", "B"}));

    // A later run of the same day that changes nothing ends without a copy.
    now_ = now_.addSecs(3600);
    EXPECT_FALSE(run(Occasion::Start).wasDue);
    EXPECT_FALSE(run(Occasion::End).wasDue);
    EXPECT_EQ(bakFiles(copiesFolder()).size(), 2u);
}

TEST_F(AutoBackupTest, CopyTakenDuringAnOpenWriteTransactionIsConsistent) {
    store::Database writer(dataStore(), store::kDatabasePassword);
    store::Transaction open(writer);
    writer.exec(std::string("insert into ") + store::schema::kGoods +
                " (商品编码) values ('uncommitted')");
    writer.exec(std::string("update ") + store::schema::kGoods + " set 商品名称 = 'half-done'");

    const auto result = run(Occasion::Start);
    ASSERT_EQ(result.copies.size(), 1);
    const std::string copy = result.copies.front().toStdString();
    EXPECT_TRUE(opensWithPassword(copy));
    EXPECT_TRUE(passesIntegrityCheck(copy));
    EXPECT_EQ(goodsCodes(copy), std::vector<std::string>{"A"});  // what was committed
}

TEST_F(AutoBackupTest, FailedCheckRemovesTheNewCopyAndKeepsEveryOlderOne) {
    set(QStringLiteral("AutoBackup/Keep"), 3);
    for (const char* old :
         {"data-20260201-090000.bak", "data-20260202-090000.bak", "data-20260203-090000.bak"})
        plant(copiesFolder(), old);
    const auto before = bakFiles(copiesFolder());

    auto backup = this->backup();
    backup.setVerifier([](const QString&) { return QStringLiteral("完整性检查未通过"); });
    const auto result = backup.run(Occasion::Start);
    EXPECT_TRUE(result.wasDue);
    EXPECT_TRUE(result.copies.isEmpty());
    ASSERT_EQ(result.problems.size(), 1);
    EXPECT_TRUE(result.problems.front().text.contains(QStringLiteral("未通过检查")));
    EXPECT_EQ(bakFiles(copiesFolder()), before);  // nothing new, nothing removed
    // Not counted as made: the next start tries again, the end of the run too.
    EXPECT_TRUE(this->backup().isDue(Occasion::Start));
    EXPECT_TRUE(this->backup().isDue(Occasion::End));
}

// A folder that takes no file: written nothing, deleted nothing, said why.
enum class Unwritable { ReadOnlyFolder, FullDisk, FolderIsAFile };

class UnwritableFolderTest : public AutoBackupFixture,
                             public ::testing::WithParamInterface<Unwritable> {};

TEST_P(UnwritableFolderTest, ReportsAndDeletesNothing) {
    set(QStringLiteral("AutoBackup/Keep"), 2);
    for (const char* old :
         {"data-20260201-090000.bak", "data-20260202-090000.bak", "data-20260203-090000.bak"})
        plant(copiesFolder(), old);
    const auto before = bakFiles(copiesFolder());
    auto backup = this->backup();

    autobackup::Result result;
    switch (GetParam()) {
        case Unwritable::ReadOnlyFolder: {
            std::filesystem::permissions(copiesFolder(), std::filesystem::perms::owner_write,
                                         std::filesystem::perm_options::remove);
            {
                const PermissionsHold hold;  // the superuser too, as CI runs
                EXPECT_FALSE(takesFiles(copiesFolder())) << "the folder still takes files";
                result = backup.run(Occasion::Start);
            }
            std::filesystem::permissions(copiesFolder(), std::filesystem::perms::owner_write,
                                         std::filesystem::perm_options::add);
            break;
        }
        case Unwritable::FullDisk: {
            // Files of this process cannot grow beyond 4 KiB, as on a full disk.
            auto* previousHandler = std::signal(SIGXFSZ, SIG_IGN);
            rlimit previous{};
            ::getrlimit(RLIMIT_FSIZE, &previous);
            rlimit small = previous;
            small.rlim_cur = 4096;
            ::setrlimit(RLIMIT_FSIZE, &small);
            result = backup.run(Occasion::Start);
            ::setrlimit(RLIMIT_FSIZE, &previous);
            std::signal(SIGXFSZ, previousHandler);
            break;
        }
        case Unwritable::FolderIsAFile: {
            const auto file = config_.path() / "not-a-folder";
            plant(config_.path(), "not-a-folder");
            set(QStringLiteral("AutoBackup/SecondFolder"), q(file));
            // The first folder works; only the second is reported.
            result = this->backup().run(Occasion::Start);
            EXPECT_EQ(result.copies.size(), 1);
            EXPECT_TRUE(std::filesystem::is_regular_file(file));
            ASSERT_EQ(result.problems.size(), 1);
            EXPECT_EQ(result.problems.front().folder, q(file));
            return;
        }
    }
    EXPECT_TRUE(result.copies.isEmpty());
    ASSERT_EQ(result.problems.size(), 1);
    EXPECT_EQ(result.problems.front().folder, q(copiesFolder()));
    EXPECT_EQ(bakFiles(copiesFolder()), before);
    EXPECT_TRUE(this->backup().isDue(Occasion::Start));
}

INSTANTIATE_TEST_SUITE_P(Folders, UnwritableFolderTest,
                         ::testing::Values(Unwritable::ReadOnlyFolder, Unwritable::FullDisk,
                                           Unwritable::FolderIsAFile));

TEST_F(AutoBackupTest, CopiesInTheSameSecondGetDistinctNames) {
    const auto first = run(Occasion::BeforeRestore);
    const auto second = run(Occasion::BeforeRestore);
    const auto third = run(Occasion::BeforeRestore);
    EXPECT_EQ(bakFiles(copiesFolder()),
              (std::vector<std::string>{"data-20260301-093000.bak", "data-20260301-093000-2.bak",
                                        "data-20260301-093000-3.bak"}));
    for (const auto* result : {&first, &second, &third})
        EXPECT_TRUE(passesIntegrityCheck(result->copies.front().toStdString()));
}

TEST_F(AutoBackupTest, TheSecondFolderReceivesTheSameCopies) {
    testsupport::TemporaryDirectory stick;
    set(QStringLiteral("AutoBackup/SecondFolder"), q(stick.path()));
    set(QStringLiteral("AutoBackup/Keep"), 2);
    for (int day = 0; day < 3; ++day) {
        now_ = now_.addDays(1);
        EXPECT_EQ(run(Occasion::Start).copies.size(), 2);
    }
    const auto names = bakFiles(copiesFolder());
    ASSERT_EQ(names.size(), 2u);
    EXPECT_EQ(bakFiles(stick.path()), names);
    for (const auto& name : names)
        EXPECT_EQ(fileBytes(stick.path() / name), fileBytes(copiesFolder() / name));
}

TEST_F(AutoBackupTest, TheFirstFolderNamedAgainAsTheSecondGetsOneCopy) {
    set(QStringLiteral("AutoBackup/SecondFolder"), q(copiesFolder()) + QStringLiteral("/"));
    const auto result = run(Occasion::Start);
    EXPECT_EQ(result.copies.size(), 1);
    EXPECT_TRUE(result.problems.isEmpty());
    EXPECT_EQ(bakFiles(copiesFolder()).size(), 1u);
}

TEST_F(AutoBackupTest, AnUnpluggedSecondFolderDoesNotStopTheFirst) {
    testsupport::TemporaryDirectory media;
    const auto unplugged = media.path() / "U盘" / "备份";
    set(QStringLiteral("AutoBackup/SecondFolder"), q(unplugged));
    const auto result = run(Occasion::Start);
    ASSERT_EQ(result.copies.size(), 1);
    EXPECT_EQ(bakFiles(copiesFolder()).size(), 1u);
    ASSERT_EQ(result.problems.size(), 1);
    EXPECT_TRUE(result.problems.front().text.contains(QStringLiteral("找不到文件夹")));
    EXPECT_FALSE(std::filesystem::exists(media.path() / "U盘"));  // never made on the mount point
}

TEST_F(AutoBackupTest, AMissingFirstFolderDoesNotStopTheSecond) {
    testsupport::TemporaryDirectory stick;
    set(QStringLiteral("AutoBackup/Folder"), q(stick.path() / "gone"));
    set(QStringLiteral("AutoBackup/SecondFolder"), q(stick.path()));
    const auto result = run(Occasion::Start);
    ASSERT_EQ(result.copies.size(), 1);
    EXPECT_EQ(bakFiles(stick.path()).size(), 1u);
    EXPECT_EQ(result.problems.size(), 1);
    EXPECT_TRUE(passesIntegrityCheck(result.copies.front().toStdString()));
    // Made today: a second start does not copy again.
    EXPECT_FALSE(run(Occasion::Start).wasDue);
}

TEST_F(AutoBackupTest, TurnedOffOnlyTheCopyBeforeARestoreIsMade) {
    set(QStringLiteral("AutoBackup/Enabled"), false);
    EXPECT_FALSE(run(Occasion::Start).wasDue);
    addGoods(dataStore(), "B");
    EXPECT_FALSE(run(Occasion::End).wasDue);
    EXPECT_EQ(run(Occasion::BeforeRestore).copies.size(), 1);
}

TEST_F(AutoBackupTest, NothingIsCopiedWithoutADataStore) {
    std::filesystem::remove(dataStore());
    EXPECT_FALSE(run(Occasion::Start).wasDue);
    EXPECT_FALSE(run(Occasion::BeforeRestore).wasDue);
    EXPECT_FALSE(std::filesystem::exists(copiesFolder()));
}

TEST_F(AutoBackupTest, OtherFilesInTheFolderAreNeitherCountedNorDeleted) {
    set(QStringLiteral("AutoBackup/Keep"), 1);
    for (const char* other : {"data-20260101-090000.bak.txt", "notes.bak", "data-2026-01-01.bak",
                              "data-20260101-090000-1.bak", "x.bak"})
        plant(copiesFolder(), other);
    plant(copiesFolder(), "data-20260102-090000.bak");
    ASSERT_EQ(run(Occasion::Start).copies.size(), 1);
    const auto names = fileNames(copiesFolder());
    EXPECT_EQ(names.size(), 6u);  // the five others and the new copy
    EXPECT_TRUE(std::find(names.begin(), names.end(), "data-20260102-090000.bak") == names.end());
}

TEST_F(AutoBackupTest, WhatAnInterruptedCopyLeftIsRemovedOnceItIsOld) {
    const std::string stale = "data-20260201-090000.bak.new";
    const std::string stalePartial = "data-20260201-090000.bak.new.partial";
    const std::string fresh = "data-20260301-092959.bak.new";
    const std::string foreign = "notes.bak.new";
    for (const auto& name : {stale, stalePartial, fresh, foreign}) plant(copiesFolder(), name);
    for (const auto& name : {stale, stalePartial, foreign})
        std::filesystem::last_write_time(
            copiesFolder() / name,
            std::filesystem::file_time_type::clock::now() - std::chrono::hours(2));

    ASSERT_EQ(run(Occasion::Start).copies.size(), 1);
    EXPECT_EQ(fileNames(copiesFolder()),
              (std::vector<std::string>{"data-20260301-092959.bak.new", "data-20260301-093000.bak",
                                        "notes.bak.new"}));
}

struct NameCase {
    const char* fileName;
    bool ours;
};

class CopyNameTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(CopyNameTest, ParsesOnlyTheProgramsNames) {
    const auto parsed = autobackup::parseCopyFileName(QString::fromUtf8(GetParam().fileName));
    ASSERT_EQ(parsed.has_value(), GetParam().ours);
    if (parsed) {
        EXPECT_EQ(autobackup::copyFileName(*parsed), QString::fromUtf8(GetParam().fileName));
    }
}

INSTANTIATE_TEST_SUITE_P(Names, CopyNameTest,
                         ::testing::Values(NameCase{"data-20261210-131500.bak", true},
                                           NameCase{"data-20261210-131500-2.bak", true},
                                           NameCase{"data-20261210-131500-12.bak", true},
                                           NameCase{"data-20261210-131500-1.bak", false},
                                           NameCase{"data-20261210-131500-0.bak", false},
                                           NameCase{"data-20261310-131500.bak", false},
                                           NameCase{"data-20261210-131500.bak.new", false},
                                           NameCase{"Data-20261210-131500.bak", false},
                                           NameCase{"data-20261210-1315.bak", false}));

TEST(CopyOrder, LaterCopiesOfOneSecondSortAfterTheFirst) {
    std::vector<QString> names{"data-20261210-131500-10.bak", "data-20261210-131501.bak",
                               "data-20261210-131500-2.bak", "data-20261210-131500.bak",
                               "data-20261209-235959-3.bak"};
    std::vector<autobackup::CopyName> parsed;
    for (const auto& n : names) parsed.push_back(*autobackup::parseCopyFileName(n));
    std::sort(parsed.begin(), parsed.end());
    QStringList sorted;
    for (const auto& p : parsed) sorted << autobackup::copyFileName(p);
    EXPECT_EQ(sorted, (QStringList{"data-20261209-235959-3.bak", "data-20261210-131500.bak",
                                   "data-20261210-131500-2.bak", "data-20261210-131500-10.bak",
                                   "data-20261210-131501.bak"}));
}
