// What the user is told when the data store fails: each engine code to its message, and the real
// failures of a file that is damaged, read-only, in a read-only folder or moved away.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <string>
#include <vector>

#include "store/ConnectionString.h"
#include "store/Database.h"
#include "store/Error.h"
#include "store/ErrorMessages.h"
#include "store/Schema.h"
#include "tests/support/DamagedDatabase.h"
#include "tests/support/PermissionsHold.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/TestServer.h"

namespace {

namespace fs = std::filesystem;
using testsupport::TestDatabase;

const std::string kFile = "/home/shop/进销存/data.mdb";

struct CodeCase {
    const char* name;
    int code;
    std::vector<std::string> says;  // what happened and what to do; empty: no message of ours
};

class FailureMessageTest : public ::testing::TestWithParam<CodeCase> {};

TEST_P(FailureMessageTest, SaysWhatHappenedWhichFileAndWhatToDo) {
    const CodeCase& c = GetParam();
    const std::string message = store::failureMessage(c.code, kFile);
    if (c.says.empty()) {
        EXPECT_EQ(message, "");
        return;
    }
    EXPECT_NE(message.find("“" + kFile + "”"), std::string::npos) << message;
    for (const std::string& part : c.says)
        EXPECT_NE(message.find(part), std::string::npos) << message << "\nlacks " << part;
    // Only our words: none of the engine's English.
    EXPECT_EQ(message.find("database"), std::string::npos) << message;
}

const std::string kFolder = "“/home/shop/进销存”";

INSTANTIATE_TEST_SUITE_P(
    Codes, FailureMessageTest,
    ::testing::Values(
        CodeCase{"Busy", SQLITE_BUSY, {"另一个程序占用", "请关闭占用它的程序"}},
        CodeCase{"BusyRecovery", SQLITE_BUSY_RECOVERY, {"另一个程序占用", "请关闭"}},
        CodeCase{"Locked", SQLITE_LOCKED, {"另一个程序占用", "请关闭"}},
        CodeCase{"Full", SQLITE_FULL, {"磁盘已满", "没有保存", "腾出磁盘空间"}},
        CodeCase{"ReadOnly", SQLITE_READONLY, {"只读", "只能查看，不能保存", "检查该文件的权限"}},
        CodeCase{"ReadOnlyMoved", SQLITE_READONLY_DBMOVED, {"移动、改名或替换", "放回原处"}},
        CodeCase{"ReadOnlyFolder",
                 store::kReadOnlyFolderCode,
                 {kFolder + "不允许写入", "只能查看，不能保存", "检查该文件夹的权限"}},
        CodeCase{
            "CantOpen", SQLITE_CANTOPEN, {kFolder + "不存在或不允许写入", "检查该文件夹的权限"}},
        CodeCase{"IsAFolder", SQLITE_CANTOPEN_ISDIR, {"是一个文件夹"}},
        CodeCase{"Permission", SQLITE_PERM, {"没有访问", "检查该文件的权限"}},
        CodeCase{"Corrupt", SQLITE_CORRUPT, {"已损坏", "用备份恢复数据", "【数据恢复】"}},
        CodeCase{"NotADatabase", SQLITE_NOTADB, {"已损坏", "用备份恢复数据"}},
        CodeCase{"DiskError", SQLITE_IOERR, {"磁盘错误", "检查磁盘", "用备份恢复数据"}},
        CodeCase{"WriteError", SQLITE_IOERR_WRITE, {"磁盘错误", "检查磁盘"}},
        CodeCase{"ShortRead", SQLITE_IOERR_SHORT_READ, {"磁盘错误"}},
        CodeCase{"OutOfMemory", SQLITE_NOMEM, {"内存不足", "关闭其他程序"}},
        CodeCase{"OutOfMemoryInIo", SQLITE_IOERR_NOMEM, {"内存不足", "关闭其他程序"}},
        // The statement's own faults keep the engine's text, which names the column or table.
        CodeCase{"StatementError", SQLITE_ERROR, {}}, CodeCase{"Constraint", SQLITE_CONSTRAINT, {}},
        CodeCase{"ConstraintUnique", SQLITE_CONSTRAINT_UNIQUE, {}},
        CodeCase{"Mismatch", SQLITE_MISMATCH, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FailureMessage, DamageIsToldByCodeNotByText) {
    for (int code : {SQLITE_CORRUPT, SQLITE_NOTADB, SQLITE_CORRUPT_VTAB})
        EXPECT_TRUE(store::isDamageCode(code)) << code;
    for (int code : {SQLITE_OK, SQLITE_ERROR, SQLITE_IOERR, SQLITE_READONLY, SQLITE_FULL})
        EXPECT_FALSE(store::isDamageCode(code)) << code;
}

// The failure of sql on the file, as the store reports it.
store::StoreError failureOf(store::Database& db, const std::string& sql) {
    try {
        db.exec(sql);
    } catch (const store::StoreError& e) {
        return e;
    }
    return store::StoreError("no failure", SQLITE_OK);
}

const std::string kWrite =
    std::string("insert into ") + store::schema::kCompany + " (公司名称) values ('新公司')";

TEST(StoreFailures, ADamagedPageIsToldAsDamageNamingTheFile) {
    if (testsupport::onServer()) GTEST_SKIP() << "a damaged file";
    TestDatabase database(TestDatabase::Content::Demo, false);
    testsupport::damageTablePage(database.path(), store::schema::kGoods);
    store::Database db(database.path(), store::kDatabasePassword);  // still opens
    const store::StoreError error =
        failureOf(db, std::string("select * from ") + store::schema::kGoods);
    EXPECT_EQ(error.code(), SQLITE_CORRUPT);
    EXPECT_TRUE(store::isDamageCode(error.code()));
    EXPECT_EQ(std::string(error.what()), store::failureMessage(SQLITE_CORRUPT, database.path()));
    // The other tables still read.
    EXPECT_NO_THROW(db.exec(std::string("select * from ") + store::schema::kSales));
}

TEST(StoreFailures, AReadOnlyFileIsToldAtOnceAndAtTheWrite) {
    if (testsupport::onServer()) GTEST_SKIP() << "a file's permissions";
    TestDatabase database(TestDatabase::Content::Empty, false);
    EXPECT_EQ(store::readOnlyNotice(database.path()), "");
    fs::permissions(database.path(), fs::perms::owner_read);
    const testsupport::PermissionsHold hold;
    const std::string notice = store::readOnlyNotice(database.path());
    EXPECT_NE(notice.find("只能查看，不能保存"), std::string::npos) << notice;
    EXPECT_NE(notice.find(database.path()), std::string::npos) << notice;

    store::Database db(database.path(), store::kDatabasePassword);
    const store::StoreError error = failureOf(db, kWrite);
    EXPECT_EQ(error.code(), SQLITE_READONLY);
    EXPECT_EQ(std::string(error.what()), store::failureMessage(SQLITE_READONLY, database.path()));
}

TEST(StoreFailures, AReadOnlyFolderIsToldAtOnceAndAtTheWrite) {
    if (testsupport::onServer()) GTEST_SKIP() << "a folder's permissions";
    TestDatabase database(TestDatabase::Content::Empty, false);
    fs::permissions(database.directory(), fs::perms::owner_write, fs::perm_options::remove);
    std::string notice;
    store::StoreError error("none");
    {
        const testsupport::PermissionsHold hold;
        notice = store::readOnlyNotice(database.path());
        store::Database db(database.path(), store::kDatabasePassword);
        error = failureOf(db, kWrite);
    }
    fs::permissions(database.directory(), fs::perms::owner_write, fs::perm_options::add);
    EXPECT_NE(notice.find("只能查看，不能保存"), std::string::npos) << notice;
    EXPECT_NE(notice.find("“" + database.directory().string() + "”"), std::string::npos) << notice;
    // The engine cannot make its journal beside the file.
    EXPECT_EQ(error.code(), SQLITE_CANTOPEN) << error.what();
    EXPECT_EQ(std::string(error.what()), store::failureMessage(SQLITE_CANTOPEN, database.path()));
}

TEST(StoreFailures, AFileMovedAwayWhileOpenIsToldAsMoved) {
    if (testsupport::onServer()) GTEST_SKIP() << "a file moved away";
    TestDatabase database(TestDatabase::Content::Empty, false);
    store::Database db(database.path(), store::kDatabasePassword);
    db.exec(std::string("select * from ") + store::schema::kCompany);
    fs::rename(database.path(), database.directory() / "elsewhere.mdb");
    const store::StoreError error = failureOf(db, kWrite);
    EXPECT_EQ(error.code(), SQLITE_READONLY);
    EXPECT_EQ(std::string(error.what()),
              store::failureMessage(SQLITE_READONLY_DBMOVED, database.path()));
}

}  // namespace
