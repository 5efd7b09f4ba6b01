// The "【数据恢复】" command: only a database of this program replaces data.mdb, and a failed
// copy leaves the old file as it was.
#include <QSettings>
#include <fstream>

#include "app/backup/BackupCommands.h"
#include "backup/AutoBackupSession.h"
#include "backup/DataStoreCopy.h"
#include "store/ConnectionString.h"
#include "store/Database.h"
#include "store/Schema.h"
#include "store/SchemaUpgrade.h"
#include "tests/app/backup/BackupFixture.h"
#include "tests/support/DamagedDatabase.h"

using backup::RestoreResult;

namespace {

const QString kSucceeded = QStringLiteral("数据恢复成功！");
const QString kFailed = QStringLiteral("数据恢复失败，请重试！");
const std::string kCopies = "自动备份";  // the automatic copies beside data.mdb

void writeFile(const std::filesystem::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary) << bytes;
}

}  // namespace

class RestoreTest : public BackupFixture {
  protected:
    RestoreResult restore(const QString& file) {
        platform_.openFileNames.enqueue(file);
        return backup::runRestore(nullptr, programFolder(), [this] { ++closed_; });
    }
    // A good backup of the current data store.
    std::filesystem::path makeBackup(const std::string& name) {
        const auto file = userFolder() / name;
        EXPECT_TRUE(
            backup::backupDataStore(programFolder(), QString::fromStdString(file.string())));
        return file;
    }
    int closed_ = 0;
};

TEST_F(RestoreTest, RestoredBackupShowsTheOldDataWhenOpenedAgain) {
    const auto saved = makeBackup("x.bak");
    addGoods(dataStore(), "B");
    // Another window's connection is still open on the old file.
    store::Database otherWindow(dataStore(), store::kDatabasePassword);

    EXPECT_EQ(restore(QString::fromStdString(saved.string())), RestoreResult::Restored);
    EXPECT_EQ(closed_, 1);
    EXPECT_EQ(platform_.messageTexts(), QStringList{kSucceeded});
    EXPECT_EQ(platform_.messages.at(0).kind, platform::MessageKind::Plain);
    EXPECT_EQ(goodsCodes(dataStore()), std::vector<std::string>{"A"});
    EXPECT_EQ(fileNames(program_.directory()), (std::vector<std::string>{"data.mdb", kCopies}));
    EXPECT_EQ(goodsCodes(saved.string()), std::vector<std::string>{"A"});  // the backup stays
}

TEST_F(RestoreTest, LeavesACopyOfTheDataItReplaced) {
    const auto saved = makeBackup("x.bak");
    addGoods(dataStore(), "B");

    EXPECT_EQ(restore(QString::fromStdString(saved.string())), RestoreResult::Restored);
    const auto copies = fileNames(program_.directory() / kCopies);
    ASSERT_EQ(copies.size(), 1u);
    const auto replaced = (program_.directory() / kCopies / copies.front()).string();
    EXPECT_EQ(goodsCodes(replaced), (std::vector<std::string>{"A", "B"}));
    EXPECT_TRUE(backup::isRestorableFile(QString::fromStdString(replaced)));
    EXPECT_EQ(platform_.messageTexts(), QStringList{kSucceeded});
}

// The copy cannot be made: the user decides whether the data is replaced all the same.
TEST_F(RestoreTest, WithoutACopyOfTheReplacedDataTheUserDecides) {
    const auto saved = makeBackup("x.bak");
    addGoods(dataStore(), "B");
    QSettings(autobackup::session().settingsFile(), QSettings::IniFormat)
        .setValue(QStringLiteral("AutoBackup/Folder"),
                  QString::fromStdString((userFolder() / "gone").string()));

    platform_.messageAnswers.enqueue(platform::Answer::Cancel);
    EXPECT_EQ(restore(QString::fromStdString(saved.string())), RestoreResult::Cancelled);
    ASSERT_EQ(platform_.messages.size(), 1);
    EXPECT_EQ(platform_.messages.front().kind, platform::MessageKind::Confirm);
    EXPECT_TRUE(platform_.messages.front().text.contains(QStringLiteral("仍要恢复吗")));
    EXPECT_EQ(closed_, 0);
    EXPECT_EQ(goodsCodes(dataStore()), (std::vector<std::string>{"A", "B"}));

    platform_.clear();
    platform_.messageAnswers.enqueue(platform::Answer::Ok);
    EXPECT_EQ(restore(QString::fromStdString(saved.string())), RestoreResult::Restored);
    EXPECT_EQ(goodsCodes(dataStore()), std::vector<std::string>{"A"});
}

TEST_F(RestoreTest, ADamagedDataStoreIsKeptBesideItWithoutAsking) {
    const auto saved = makeBackup("x.bak");
    testsupport::damageTablePage(dataStore(), store::schema::kGoods);
    const std::string damaged = fileBytes(dataStore());

    EXPECT_EQ(restore(QString::fromStdString(saved.string())), RestoreResult::Restored);
    EXPECT_EQ(platform_.messageTexts(), QStringList{kSucceeded});
    EXPECT_EQ(goodsCodes(dataStore()), std::vector<std::string>{"A"});
    std::vector<std::string> kept;
    for (const std::string& name : fileNames(program_.directory()))
        if (name.starts_with("data.mdb.damaged-")) kept.push_back(name);
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(fileBytes(program_.directory() / kept.front()), damaged);
}

TEST_F(RestoreTest, CancelledDialogDoesNothing) {
    const std::string before = fileBytes(dataStore());
    EXPECT_EQ(restore(QString()), RestoreResult::Cancelled);
    EXPECT_EQ(closed_, 0);
    EXPECT_TRUE(platform_.messages.isEmpty());
    EXPECT_EQ(fileBytes(dataStore()), before);
}

TEST_F(RestoreTest, RestoresIntoTheProgramFolderWhateverTheCurrentDirectory) {
    const auto saved = makeBackup("x.bak");
    addGoods(dataStore(), "B");
    testsupport::TestDatabase elsewhere;  // entered: now the current directory
    const std::string elsewhereBefore = fileBytes(elsewhere.path());

    EXPECT_EQ(restore(QString::fromStdString(saved.string())), RestoreResult::Restored);
    EXPECT_EQ(goodsCodes(dataStore()), std::vector<std::string>{"A"});
    EXPECT_EQ(fileBytes(elsewhere.path()), elsewhereBefore);
}

// Each of these is refused with the failure message, and data.mdb keeps every byte.
enum class Bad {
    TextFile,
    EmptyFile,
    MissingFile,
    Folder,
    OtherPassword,
    NoTables,
    Truncated,
    LaterVersion
};

class RestoreRefusalTest : public RestoreTest, public ::testing::WithParamInterface<Bad> {
  protected:
    std::filesystem::path makeBadFile() {
        const auto file = userFolder() / "bad.bak";
        switch (GetParam()) {
            case Bad::TextFile:
                writeFile(file, "这不是数据库\n");
                break;
            case Bad::EmptyFile:
                writeFile(file, "");
                break;
            case Bad::MissingFile:
                break;
            case Bad::Folder:
                std::filesystem::create_directory(file);
                break;
            case Bad::OtherPassword: {
                store::Database db(file.string(), "another password",
                                   store::Database::Mode::Create);
                for (const auto& table : store::schema::tables())
                    db.exec(store::schema::createTableSql(table));
                break;
            }
            case Bad::NoTables: {
                store::Database db(file.string(), store::kDatabasePassword,
                                   store::Database::Mode::Create);
                db.exec("create table t (x)");
                break;
            }
            case Bad::LaterVersion: {
                // Saved by a later version of the program, which this one would refuse to open.
                store::Database db(makeBackup("later.bak").string(), store::kDatabasePassword);
                db.exec("PRAGMA user_version = " + std::to_string(store::schema::kVersion + 1));
                return db.file();
            }
            case Bad::Truncated: {
                addGoods(dataStore(), std::string(300, 'g'), 200);
                const std::string whole = fileBytes(makeBackup("whole.bak"));
                writeFile(file, whole.substr(0, whole.size() / 2));
                break;
            }
        }
        return file;
    }
};

TEST_P(RestoreRefusalTest, LeavesTheDataStoreUntouched) {
    const auto bad = makeBadFile();
    const std::string before = fileBytes(dataStore());

    EXPECT_EQ(restore(QString::fromStdString(bad.string())), RestoreResult::Failed);
    EXPECT_EQ(platform_.messageTexts(), QStringList{kFailed});
    EXPECT_EQ(fileBytes(dataStore()), before);
    if (GetParam() != Bad::Truncated) {
        EXPECT_EQ(fileNames(program_.directory()), std::vector<std::string>{"data.mdb"});
        EXPECT_EQ(closed_, 0);  // refused before anything was closed
    }
}

INSTANTIATE_TEST_SUITE_P(Files, RestoreRefusalTest,
                         ::testing::Values(Bad::TextFile, Bad::EmptyFile, Bad::MissingFile,
                                           Bad::Folder, Bad::OtherPassword, Bad::NoTables,
                                           Bad::Truncated, Bad::LaterVersion));
