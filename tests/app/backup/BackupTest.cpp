// The "【数据备份】" command: the shared save dialog, the ".bak" name and a consistent copy.
#include <atomic>
#include <chrono>
#include <thread>

#include "app/backup/BackupCommands.h"
#include "platform/FileFilters.h"
#include "platform/SharedSaveName.h"
#include "store/ConnectionString.h"
#include "store/Database.h"
#include "store/Schema.h"
#include "tests/app/backup/BackupFixture.h"

namespace {

const QString kSucceeded = QStringLiteral("数据备份成功！");
const QString kFailed = QStringLiteral("数据备份失败，请重试！");

}  // namespace

class BackupTest : public BackupFixture {
  protected:
    // Runs the command with the save dialog answering name.
    void backUp(const QString& name) {
        platform_.saveFileNames.enqueue(name);
        backup::runBackup(nullptr, names_, programFolder());
    }
    SharedSaveName names_;
};

struct NameCase {
    const char* chosen;
    const char* written;
};

class BackupNameTest : public BackupTest, public ::testing::WithParamInterface<NameCase> {};

TEST_P(BackupNameTest, AppendsBakToWhateverNameWasChosen) {
    backUp(chosen(GetParam().chosen));

    EXPECT_EQ(platform_.messageTexts(), QStringList{kSucceeded});
    EXPECT_EQ(platform_.messages.at(0).kind, platform::MessageKind::Plain);
    EXPECT_EQ(fileNames(userFolder()), std::vector<std::string>{GetParam().written});
    const std::string backupFile = (userFolder() / GetParam().written).string();
    EXPECT_TRUE(opensWithPassword(backupFile));
    EXPECT_EQ(goodsCodes(backupFile), std::vector<std::string>{"A"});
}

INSTANTIATE_TEST_SUITE_P(Names, BackupNameTest,
                         ::testing::Values(NameCase{"x", "x.bak"}, NameCase{"x.bak", "x.bak.bak"},
                                           NameCase{"备份 一月", "备份 一月.bak"}));

TEST_F(BackupTest, ASecondBackupUnderTheSameNameReplacesTheFirst) {
    backUp(chosen("x"));
    addGoods(dataStore(), "B");
    backUp(chosen("x"));

    EXPECT_EQ(platform_.messageTexts(), (QStringList{kSucceeded, kSucceeded}));
    EXPECT_EQ(fileNames(userFolder()), std::vector<std::string>{"x.bak"});
    EXPECT_EQ(goodsCodes((userFolder() / "x.bak").string()), (std::vector<std::string>{"A", "B"}));
}

TEST_F(BackupTest, CancelledDialogDoesNothing) {
    backUp(QString());

    EXPECT_TRUE(platform_.messages.isEmpty());
    EXPECT_TRUE(fileNames(userFolder()).empty());
}

TEST_F(BackupTest, ACopyThatCannotBeMadeIsReported) {
    backUp(chosen("no such folder/x"));
    EXPECT_EQ(platform_.messageTexts(), QStringList{kFailed});
    EXPECT_TRUE(fileNames(userFolder()).empty());
}

TEST_F(BackupTest, AMissingDataStoreIsReportedAndNotCreated) {
    std::filesystem::remove(dataStore());
    backUp(chosen("x"));

    EXPECT_EQ(platform_.messageTexts(), QStringList{kFailed});
    EXPECT_TRUE(fileNames(userFolder()).empty());
    EXPECT_TRUE(fileNames(program_.directory()).empty());
}

// The windows' connections stay open during a backup; a transaction in progress must neither
// appear half in the copy nor make the copy unreadable.
TEST_F(BackupTest, CopyTakenDuringAnOpenWriteHoldsOnlyCommittedRows) {
    store::Database writer(dataStore(), store::kDatabasePassword);
    {
        store::Transaction transaction(writer);
        writer.exec(std::string("insert into ") + store::schema::kGoods +
                    " (商品编码) values ('uncommitted')");
        writer.exec(std::string("update ") + store::schema::kGoods + " set 商品名称 = 'changed'");
        backUp(chosen("x"));
        transaction.commit();
    }

    EXPECT_EQ(platform_.messageTexts(), QStringList{kSucceeded});
    const std::string backupFile = (userFolder() / "x.bak").string();
    EXPECT_TRUE(passesIntegrityCheck(backupFile));
    EXPECT_EQ(goodsCodes(backupFile), std::vector<std::string>{"A"});
    EXPECT_EQ(goodsCodes(dataStore()), (std::vector<std::string>{"A", "uncommitted"}));
}

TEST_F(BackupTest, CopiesTakenWhileAnotherThreadKeepsWritingAreConsistent) {
    std::atomic<bool> stop = false;
    std::thread writer([&] {
        store::Database db(dataStore(), store::kDatabasePassword);
        for (int i = 0; !stop && i < 2000; ++i) {
            store::Transaction transaction(db);
            db.exec(std::string("insert into ") + store::schema::kGoods +
                    " (商品编码, 备注) values ('w', '" + std::string(200, 'x') + "')");
            db.exec(std::string("insert into ") + store::schema::kSales +
                    " (商品编码) values ('w')");
            transaction.commit();
            std::this_thread::sleep_for(std::chrono::milliseconds(5));  // let the copies in
        }
    });
    for (int i = 0; i < 2; ++i) backUp(chosen("copy" + std::to_string(i)));
    stop = true;
    writer.join();

    EXPECT_EQ(platform_.messageTexts(), (QStringList{kSucceeded, kSucceeded}));
    for (int i = 0; i < 2; ++i) {
        const std::string file = (userFolder() / ("copy" + std::to_string(i) + ".bak")).string();
        ASSERT_TRUE(opensWithPassword(file));
        EXPECT_TRUE(passesIntegrityCheck(file));
        // Each pair of rows was written in one transaction: a consistent copy has both or none.
        store::Database db(file, store::kDatabasePassword, store::Database::Mode::ReadOnly);
        store::Statement counts(db, std::string("select (select count(*) from ") +
                                        store::schema::kGoods + ") - 1, (select count(*) from " +
                                        store::schema::kSales + ")");
        ASSERT_TRUE(counts.step());
        EXPECT_EQ(counts.int64Value(0), counts.int64Value(1));
    }
}

TEST_F(BackupTest, BacksUpTheProgramFolderWhateverTheCurrentDirectory) {
    testsupport::TestDatabase elsewhere;  // entered: now the current directory
    addGoods(elsewhere.path(), "elsewhere");
    backUp(chosen("x"));

    EXPECT_EQ(goodsCodes((userFolder() / "x.bak").string()), std::vector<std::string>{"A"});
}

// The purchase export asks through the same object: each command starts with the name last
// chosen in either of them.
TEST_F(BackupTest, SaveDialogIsSharedWithTheExport) {
    backUp(chosen("x"));
    platform_.saveFileNames.enqueue(chosen("export"));
    EXPECT_EQ(names_.ask(nullptr, platform::excelFilter()),
              chosen("export"));  // as the export asks
    backUp(QString());            // cancelled: the name stays
    platform_.saveFileNames.enqueue(QString());
    names_.ask(nullptr, platform::excelFilter());

    EXPECT_EQ(platform_.saveInitialNames,
              (QStringList{QString(), chosen("x"), chosen("export"), chosen("export")}));
    const QString backup = platform::backupFilter();
    const QString excel = platform::excelFilter();
    EXPECT_EQ(platform_.dialogFilters, (QStringList{backup, excel, backup, excel}));
}
