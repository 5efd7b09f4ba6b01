#include "tests/app/backup/DataStoreFiles.h"

#include <algorithm>
#include <fstream>
#include <iterator>

#include "store/ConnectionString.h"
#include "store/Database.h"
#include "store/Schema.h"

void addGoods(const std::string& databaseFile, const std::string& code, int count) {
    store::Database db(databaseFile, store::kDatabasePassword);
    store::Transaction transaction(db);
    store::Statement insert(
        db, std::string("insert into ") + store::schema::kGoods + " (商品编码) values (?)");
    for (int i = 0; i < count; ++i) {
        insert.reset();
        insert.bindText(1, code);
        insert.step();
    }
    transaction.commit();
}

std::vector<std::string> goodsCodes(const std::string& databaseFile) {
    store::Database db(databaseFile, store::kDatabasePassword, store::Database::Mode::ReadOnly);
    store::Statement select(
        db, std::string("select 商品编码 from ") + store::schema::kGoods + " order by ID");
    std::vector<std::string> codes;
    while (select.step()) codes.emplace_back(select.text(0));
    return codes;
}

bool opensWithPassword(const std::string& file) {
    return store::canOpenDatabase(file, store::kDatabasePassword);
}

bool passesIntegrityCheck(const std::string& databaseFile) {
    store::Database db(databaseFile, store::kDatabasePassword, store::Database::Mode::ReadOnly);
    store::Statement check(db, "pragma integrity_check");
    return check.step() && check.text(0) == "ok";
}

std::string fileBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> fileNames(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}
