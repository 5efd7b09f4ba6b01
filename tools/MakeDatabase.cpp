#include "tools/MakeDatabase.h"

#include <filesystem>
#include <system_error>

#include "store/ConnectionString.h"
#include "store/DataCopy.h"
#include "store/Database.h"
#include "store/Error.h"
#include "store/Schema.h"
#include "store/SchemaUpgrade.h"
#include "tools/DemoData.h"
#include "tools/FileMoves.h"

namespace tools {

void makeDatabase(const std::string& path, bool demo) {
    namespace fs = std::filesystem;
    const auto refuse = [&path] {
        throw store::StoreError("文件“" + path + "”已存在，不会覆盖它");
    };
    std::error_code ec;
    if (fs::exists(path, ec)) refuse();
    const std::string partial = makeFreeFileBeside(path);
    try {
        {
            store::Database db(partial, store::kDatabasePassword, store::Database::Mode::Create);
            store::Transaction transaction(db);
            store::schema::createAllTables(db);
            if (demo) fillDemoData(db);
            transaction.commit();
        }
        if (!moveWithoutReplacing(partial, path, ec)) {
            if (ec == std::errc::file_exists) refuse();
            throw store::StoreError("无法写入“" + path + "”：" + ec.message());
        }
    } catch (...) {
        fs::remove(partial, ec);
        throw;
    }
}

namespace {

// The server's database, refused when it holds any of the program's tables: the maker never
// changes data that is there.
store::Database openEmptyServerDatabase(const store::ServerSettings& server) {
    store::Database db = store::Database::onServer(server);
    for (const auto* table : store::schema::everyTable())
        if (db.engine().holdsTable(table->name))
            throw store::StoreError(db.file() + "中已有本程序的表“" + table->name +
                                    "”：jxc-mkdb 只在没有本程序的表的数据库中建表，不会改动已有的"
                                    "数据。请换一个新建的空数据库。");
    return db;
}

}  // namespace

std::string makeServerDatabase(const store::ServerSettings& server, bool demo) {
    store::Database db = openEmptyServerDatabase(server);
    store::Transaction transaction(db);
    store::schema::createAllTables(db);
    if (demo) fillDemoData(db);
    transaction.commit();
    return "已在" + db.file() + "中建立本程序的全部表" + (demo ? "，并填入了示例数据。" : "。");
}

std::string copyToServer(const std::string& file, const store::ServerSettings& server) {
    store::Database source(file, store::kDatabasePassword, store::Database::Mode::ReadOnly);
    store::Database db = openEmptyServerDatabase(server);
    std::vector<store::CopiedTable> copied;
    try {
        store::Transaction transaction(db);
        store::schema::createAllTables(db);
        copied = store::copyData(source, db);
        transaction.commit();
        db.engine().learnNewContents();
    } catch (const store::StoreError& error) {
        throw store::StoreError("复制失败，" + db.file() + "中没有写入任何数据：" + error.what(),
                                error.code());
    }
    std::string report =
        "已把“" + file + "”复制到" + db.file() + "，行数和各数字列的合计都已核对：\n";
    for (const store::CopiedTable& table : copied)
        report += "  " + table.name + "：" + std::to_string(table.rows) + " 行\n";
    return report;
}

}  // namespace tools
