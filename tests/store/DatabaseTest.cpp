#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "store/Connection.h"
#include "store/ConnectionString.h"
#include "store/Database.h"
#include "store/Error.h"
#include "store/Query.h"
#include "tests/support/TestDatabase.h"

namespace {

namespace fs = std::filesystem;
using testsupport::TemporaryDirectory;
using testsupport::TestDatabase;

std::string openError(const std::string& file, const std::string& key) {
    try {
        store::Database db(file, key);
    } catch (const store::StoreError& e) {
        return e.what();
    }
    return {};
}

void writeFile(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

TEST(Database, OpeningFailsClearlyAndCreatesNothing) {
    TestDatabase db(TestDatabase::Content::Empty, false);
    const fs::path dir = db.directory();
    writeFile(dir / "notes.mdb", std::string(4096, 'x'));
    writeFile(dir / "empty.mdb", "");

    struct Case {
        std::string file, key, reason;
    };
    for (const Case& c :
         {Case{(dir / "missing.mdb").string(), store::kDatabasePassword, "文件不存在"},
          Case{db.path(), "wrong", "密码错误或不是数据库文件"},
          Case{(dir / "notes.mdb").string(), store::kDatabasePassword, "密码错误或不是数据库文件"},
          Case{(dir / "empty.mdb").string(), store::kDatabasePassword,
               "密码错误或不是数据库文件"}}) {
        EXPECT_EQ(openError(c.file, c.key), "无法打开数据库文件“" + c.file + "”：" + c.reason);
        std::string error;
        EXPECT_FALSE(store::canOpenDatabase(c.file, c.key, &error));
        EXPECT_FALSE(error.empty());
    }
    EXPECT_FALSE(fs::exists(dir / "missing.mdb"));
    EXPECT_EQ(fs::file_size(dir / "empty.mdb"), 0u);
    EXPECT_TRUE(store::canOpenDatabase(db.path(), store::kDatabasePassword));
}

TEST(Database, ConnectionToMissingFileFailsWithoutCreatingIt) {
    TemporaryDirectory dir;
    testsupport::ScopedCurrentDirectory cwd(dir.path());
    store::Connection connection;  // the initial string: data.mdb in the current directory
    store::Query query(connection);
    query.setSql("select * from 表1");
    EXPECT_THROW(query.open(), store::StoreError);
    EXPECT_FALSE(connection.isOpen());
    EXPECT_FALSE(fs::exists(dir.path() / "data.mdb"));
}

int countRows(store::Database& db, const std::string& table) {
    store::Statement count(db, "select count(*) from " + table);
    count.step();
    return static_cast<int>(count.int64Value(0));
}

TEST(Database, BackupIsAConsistentCopyUnderTheSameKey) {
    TestDatabase source(TestDatabase::Content::Demo, false);
    const std::string target = (source.directory() / "copy.bak").string();
    writeFile(target, "an older backup");
    writeFile(target + ".partial", "a file of the user's");  // kept as it is

    store::Database db(source.path(), store::kDatabasePassword);
    store::Database writer(source.path(), store::kDatabasePassword);
    writer.exec("BEGIN");
    writer.exec("DELETE FROM 表3");  // not committed: the copy must not see it
    db.backupTo(target);
    writer.exec("ROLLBACK");

    ASSERT_TRUE(store::canOpenDatabase(target, store::kDatabasePassword));
    store::Database copy(target, store::kDatabasePassword);
    for (const char* table : {"表1", "表2", "表3", "表4", "表5"})
        EXPECT_EQ(countRows(copy, table), countRows(db, table)) << table;
    EXPECT_GT(countRows(copy, "表3"), 0);
    std::ifstream kept(target + ".partial");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "a file of the user's");
    EXPECT_FALSE(fs::exists(target + ".partial1"));
}

TEST(Database, BackupIntoMissingFolderFailsAndLeavesNothing) {
    TestDatabase source(TestDatabase::Content::Empty, false);
    store::Database db(source.path(), store::kDatabasePassword);
    const fs::path target = source.directory() / "no-such-folder" / "copy.bak";
    EXPECT_THROW(db.backupTo(target.string()), store::StoreError);
    EXPECT_FALSE(fs::exists(target.parent_path()));
}

TEST(Database, TransactionRollsBackUnlessCommitted) {
    TestDatabase source(TestDatabase::Content::Empty, false);
    store::Database db(source.path(), store::kDatabasePassword);
    {
        store::Transaction transaction(db);
        db.exec("INSERT INTO 表2 (公司名称) VALUES ('甲')");
    }
    EXPECT_EQ(countRows(db, "表2"), 0);
    {
        store::Transaction transaction(db);
        db.exec("INSERT INTO 表2 (公司名称) VALUES ('乙')");
        transaction.commit();
    }
    EXPECT_EQ(countRows(db, "表2"), 1);
}

}  // namespace
