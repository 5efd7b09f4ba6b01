#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "store/Connection.h"
#include "store/ConnectionString.h"
#include "store/Database.h"
#include "store/Error.h"
#include "store/KeyCache.h"
#include "store/Query.h"
#include "store/Schema.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/TestServer.h"

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
    if (testsupport::onServer()) GTEST_SKIP() << "files and their key";
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

TEST(Database, APlainSqliteFileNamedDataMdbIsRefused) {
    if (testsupport::onServer()) GTEST_SKIP() << "an unencrypted file";
    TemporaryDirectory dir;
    const std::string plain = (dir.path() / "data.mdb").string();
    {
        sqlite3* unencrypted = nullptr;
        ASSERT_EQ(sqlite3_open(plain.c_str(), &unencrypted), SQLITE_OK);
        EXPECT_EQ(sqlite3_exec(unencrypted,
                               (std::string("CREATE TABLE ") + store::schema::kGoods +
                                " (ID INTEGER PRIMARY KEY, 商品编码 TEXT(255))")
                                   .c_str(),
                               nullptr, nullptr, nullptr),
                  SQLITE_OK);
        sqlite3_close(unencrypted);
    }
    EXPECT_EQ(openError(plain, store::kDatabasePassword),
              "无法打开数据库文件“" + plain + "”：密码错误或不是数据库文件");

    testsupport::ScopedCurrentDirectory cwd(dir.path());
    store::Connection connection;
    store::Query query(connection);
    query.select(store::schema::kGoods);
    try {
        query.open();
        ADD_FAILURE() << "a plain file was opened";
    } catch (const store::StoreError& e) {
        EXPECT_NE(std::string(e.what()).find("密码错误或不是数据库文件"), std::string::npos);
    }
}

struct CipherCase {
    const char* version;
    bool supported;
    std::vector<std::string> pragmas;
};

TEST(Database, TheFileFormatIsPinnedWhateverTheSqlcipherVersion) {
    if (testsupport::onServer()) GTEST_SKIP() << "the file's encryption";
    const std::vector<std::string> v3 = {"PRAGMA cipher_page_size = 1024",
                                         "PRAGMA kdf_iter = 64000", "PRAGMA fast_kdf_iter = 2",
                                         "PRAGMA cipher_use_hmac = ON"};
    const std::vector<std::string> v4 = {"PRAGMA cipher_compatibility = 3"};
    for (const CipherCase& c :
         {CipherCase{"3.4.1", true, v3}, CipherCase{"3.4.2 community", true, v3},
          CipherCase{"4.5.6 community", true, v4}, CipherCase{"4.0.0", true, v4},
          CipherCase{"10.1.0", true, v4}, CipherCase{"", false, {}}, CipherCase{"2.2.1", false, {}},
          CipherCase{"community", false, {}}}) {
        const store::CipherSettings settings = store::cipherSettingsFor(c.version);
        EXPECT_EQ(settings.supported, c.supported) << c.version;
        EXPECT_EQ(settings.rawKeyFits, c.supported) << c.version;
        EXPECT_EQ(settings.pragmas, c.pragmas) << c.version;
    }

    // The settings are in force on a connection of this machine's library.
    TestDatabase db(TestDatabase::Content::Empty, false);
    store::Database opened(db.path(), store::kDatabasePassword);
    store::Statement pageSize(opened, "PRAGMA cipher_page_size");
    ASSERT_TRUE(pageSize.step());
    EXPECT_EQ(pageSize.text(0), "1024");
    store::Statement rounds(opened, "PRAGMA kdf_iter");
    ASSERT_TRUE(rounds.step());
    EXPECT_EQ(rounds.text(0), "64000");
}

TEST(Database, ConnectionToMissingFileFailsWithoutCreatingIt) {
    if (testsupport::onServer()) GTEST_SKIP() << "a missing file";
    TemporaryDirectory dir;
    testsupport::ScopedCurrentDirectory cwd(dir.path());
    store::Connection connection;  // the initial string: data.mdb in the current directory
    store::Query query(connection);
    query.select(store::schema::kGoods);
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
    if (testsupport::onServer()) GTEST_SKIP() << "the copy of a file";
    TestDatabase source(TestDatabase::Content::Demo, false);
    const std::string target = (source.directory() / "copy.bak").string();
    writeFile(target, "an older backup");
    writeFile(target + ".partial", "a file of the user's");  // kept as it is
    // A scratch file of a copy still running elsewhere: its name is taken, the file left alone.
    writeFile(target + ".quenvar-partial", "another copy's");

    store::Database db(source.path(), store::kDatabasePassword);
    store::Database writer(source.path(), store::kDatabasePassword);
    writer.exec("BEGIN");
    writer.exec(std::string("DELETE FROM ") +
                store::schema::kSales);  // not committed: the copy must not see it
    db.backupTo(target);
    writer.exec("ROLLBACK");

    ASSERT_TRUE(store::canOpenDatabase(target, store::kDatabasePassword));
    store::Database copy(target, store::kDatabasePassword);
    for (const char* table : {store::schema::kGoods, store::schema::kCompany, store::schema::kSales,
                              store::schema::kPurchaseExport, store::schema::kGoodsExport})
        EXPECT_EQ(countRows(copy, table), countRows(db, table)) << table;
    EXPECT_GT(countRows(copy, store::schema::kSales), 0);
    std::ifstream kept(target + ".partial");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "a file of the user's");
    EXPECT_FALSE(fs::exists(target + ".partial1"));
    EXPECT_TRUE(fs::exists(target + ".quenvar-partial"));
    EXPECT_FALSE(fs::exists(target + ".quenvar-partial2"));  // the copy's own, renamed
}

TEST(Database, BackupIntoMissingFolderFailsAndLeavesNothing) {
    if (testsupport::onServer()) GTEST_SKIP() << "the copy of a file";
    TestDatabase source(TestDatabase::Content::Empty, false);
    store::Database db(source.path(), store::kDatabasePassword);
    const fs::path target = source.directory() / "no-such-folder" / "copy.bak";
    EXPECT_THROW(db.backupTo(target.string()), store::StoreError);
    EXPECT_FALSE(fs::exists(target.parent_path()));
}

TEST(Database, TransactionRollsBackUnlessCommitted) {
    TestDatabase source(TestDatabase::Content::Empty, false);
    store::Database db = source.open();
    {
        store::Transaction transaction(db);
        db.exec(std::string("INSERT INTO ") + store::schema::kCompany +
                " (公司名称) VALUES ('甲')");
    }
    EXPECT_EQ(countRows(db, store::schema::kCompany), 0);
    {
        store::Transaction transaction(db);
        db.exec(std::string("INSERT INTO ") + store::schema::kCompany +
                " (公司名称) VALUES ('乙')");
        transaction.commit();
    }
    EXPECT_EQ(countRows(db, store::schema::kCompany), 1);
}

// A value is read only from the row step() has just returned, and only from a column the
// statement has; anything else is refused instead of reading SQLite's undefined results.
TEST(Statement, ReadersCheckTheRowAndTheColumn) {
    TestDatabase source(TestDatabase::Content::Empty, false);
    store::Database db = source.open();
    db.exec(std::string("INSERT INTO ") + store::schema::kCompany + " (公司名称) VALUES ('甲')");
    store::Statement select(db, std::string("SELECT 公司名称 FROM ") + store::schema::kCompany);

    EXPECT_THROW(select.text(0), store::StoreError);  // before the first step
    ASSERT_TRUE(select.step());
    EXPECT_EQ(select.text(0), "甲");
    EXPECT_EQ(select.columnName(0), "公司名称");
    for (int column : {-1, 1}) {
        EXPECT_THROW(select.text(column), store::StoreError) << column;
        EXPECT_THROW(select.isNull(column), store::StoreError) << column;
        EXPECT_THROW(select.columnName(column), store::StoreError) << column;
    }
    EXPECT_FALSE(select.step());
    EXPECT_THROW(select.int64Value(0), store::StoreError);  // after the last row
    select.reset();
    EXPECT_THROW(select.doubleValue(0), store::StoreError);  // reset leaves no row
}

TEST(Statement, AnEmptyTextIsBoundAsTextWhereverItPoints) {
    TestDatabase source(TestDatabase::Content::Empty, false);
    store::Database db = source.open();
    store::Statement select(db, "SELECT ?, ?, ?");
    select.bindText(1, std::string_view());  // no pointer at all
    select.bindText(2, std::string_view("x", 0));
    ASSERT_TRUE(select.step());
    for (int column : {0, 1}) {
        EXPECT_EQ(select.type(column), store::Statement::ValueType::Text) << column;
        EXPECT_FALSE(select.isNull(column)) << column;
        EXPECT_EQ(select.text(column), "") << column;
    }
    EXPECT_TRUE(select.isNull(2));  // an unbound parameter stays NULL
}

TEST(Statement, ResetReportsTheFailedStep) {
    TestDatabase source(TestDatabase::Content::Empty, false);
    store::Database db = source.open();
    store::Statement insert(
        db, std::string("INSERT INTO ") + store::schema::kGoods + " (\"ID\") VALUES (?)");
    insert.bindInt64(1, 7);
    EXPECT_FALSE(insert.step());
    insert.reset();
    insert.bindInt64(1, 7);
    EXPECT_THROW(insert.step(), store::StoreError);  // the same ID again
    EXPECT_THROW(insert.reset(), store::StoreError);
    EXPECT_TRUE(insert.tryReset());  // the failure was reported once
    insert.bindInt64(1, 7);
    EXPECT_THROW(insert.step(), store::StoreError);
    EXPECT_FALSE(insert.tryReset());
}

TEST(StoreError, ACodeIsNeverSqlitesNoError) {
    EXPECT_NE(store::StoreError("x").code(), SQLITE_OK);
    EXPECT_EQ(store::StoreError("x", SQLITE_BUSY).code(), SQLITE_BUSY);
}

}  // namespace
