// Backups, restores and the automatic copies of a shop whose data is on a server: run on the
// tests' cluster (JXC_TEST_SERVER=1 with the PG* variables), skipped without one.
#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QString>
#include <filesystem>
#include <optional>
#include <string>

#include "backup/AutoBackup.h"
#include "backup/AutoBackupFiles.h"
#include "backup/DataStoreCopy.h"
#include "store/ConnectionString.h"
#include "store/Database.h"
#include "store/ServerSettings.h"
#include "tests/support/DemoFile.h"
#include "tests/support/EveryRow.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/TestServer.h"

namespace {

namespace fs = std::filesystem;
using store::Database;
using testsupport::TemporaryDirectory;

QString qs(const fs::path& path) { return QString::fromStdString(path.string()); }

std::vector<std::string> rowsOf(const fs::path& file) {
    return testsupport::everyRow(
        Database(file.string(), store::kDatabasePassword, Database::Mode::ReadOnly));
}

// The demo shop on a fresh server database that the process uses; a program folder without any
// data.mdb, so that nothing can be taken from a file.
class ServerBackup : public testing::Test {
  protected:
    void SetUp() override {
        if (!testsupport::onServer()) GTEST_SKIP() << "copies of a server's data";
        shop_.emplace(testsupport::TestDatabase::Content::Demo);
        ASSERT_NE(store::currentServer(), nullptr);
    }

    Database server() const { return shop_->open(); }
    QString programFolder() const { return qs(program_.path()); }
    fs::path user(const std::string& name) const { return user_.path() / name; }

    // A .bak of a file shop: the demo with rows of every kind.
    fs::path shopBackup(const std::string& name) const {
        const testsupport::DemoFile shop;
        {
            Database db(shop.path(), store::kDatabasePassword);
            testsupport::addUnusualRows(db);
        }
        fs::copy_file(shop.path(), user(name));
        return user(name);
    }

    std::optional<testsupport::TestDatabase> shop_;
    TemporaryDirectory program_;
    TemporaryDirectory user_;
};

TEST_F(ServerBackup, ABackupIsAnOrdinaryDataFileOfTheServersRows) {
    const fs::path bak = user("店.bak");
    ASSERT_TRUE(backup::backupDataStore(programFolder(), qs(bak)));
    EXPECT_EQ(rowsOf(bak), testsupport::everyRow(server()));
    EXPECT_TRUE(backup::isRestorableFile(qs(bak)));
    EXPECT_TRUE(autobackup::verifyCopy(qs(bak)).isEmpty());
    EXPECT_TRUE(fs::is_empty(program_.path()));
    // Nothing but the copy beside it: the scratch file was renamed.
    EXPECT_EQ(std::distance(fs::directory_iterator(user_.path()), fs::directory_iterator()), 1);
}

TEST_F(ServerBackup, ARestoreReplacesTheServersRowsOrLeavesThemAsTheyWere) {
    server().exec(R"(INSERT INTO "表1" ("商品编码") VALUES ('只在服务器上'))");
    const auto before = testsupport::everyRow(server());

    // A backup the server cannot take (a text in a number column, which a file keeps).
    const fs::path odd = shopBackup("odd.bak");
    Database(odd.string(), store::kDatabasePassword)
        .exec(R"(UPDATE "表3" SET "销售数量" = '三' WHERE "ID" = 4)");
    ASSERT_TRUE(backup::isRestorableFile(qs(odd)));
    EXPECT_FALSE(backup::restoreDataStore(programFolder(), qs(odd)));
    EXPECT_EQ(testsupport::everyRow(server()), before);

    const fs::path good = shopBackup("good.bak");
    EXPECT_TRUE(backup::restoreDataStore(programFolder(), qs(good)));
    EXPECT_EQ(testsupport::everyRow(server()), rowsOf(good));
    EXPECT_TRUE(fs::is_empty(program_.path()));
}

TEST_F(ServerBackup, TheDaysCopyIsMadeOnceAndTheEndsCopyOnlyAfterAChange) {
    TemporaryDirectory config;
    const QString settings = qs(config.path() / "quenvar-jxc.ini");
    QDateTime now(QDate(2026, 3, 1), QTime(9, 30, 0));
    const auto backup = [&] {
        return autobackup::AutoBackup(programFolder(), settings, [&now] { return now; });
    };

    const autobackup::Result day = backup().run(autobackup::Occasion::Start);
    ASSERT_EQ(day.copies.size(), 1)
        << (day.problems.isEmpty() ? "" : day.problems[0].text.toStdString());
    EXPECT_EQ(rowsOf(day.copies[0].toStdString()), testsupport::everyRow(server()));
    now = now.addSecs(3600);
    EXPECT_FALSE(backup().isDue(autobackup::Occasion::Start));
    EXPECT_FALSE(backup().isDue(autobackup::Occasion::End));

    server().exec(R"(UPDATE "表1" SET "备注" = '改过' WHERE "ID" = 1)");
    ASSERT_TRUE(backup().isDue(autobackup::Occasion::End));
    const autobackup::Result end = backup().run(autobackup::Occasion::End);
    ASSERT_EQ(end.copies.size(), 1);
    EXPECT_EQ(rowsOf(end.copies[0].toStdString()), testsupport::everyRow(server()));
    EXPECT_FALSE(backup().isDue(autobackup::Occasion::End));

    // The next day's first start copies again.
    now = now.addDays(1);
    EXPECT_TRUE(backup().isDue(autobackup::Occasion::Start));
}

}  // namespace
