#include "store/SchemaUpgrade.h"

#include "store/Database.h"
#include "store/Error.h"
#include "store/Schema.h"

namespace store::schema {

bool holdsTable(const Database& db, const std::string& name) {
    return db.engine().holdsTable(name);
}

namespace {

bool holdsTheFiveTables(const Database& db) {
    for (const auto& table : tables())
        if (!holdsTable(db, table.name)) return false;
    return true;
}

}  // namespace

int fileVersion(const Database& db) { return db.engine().schemaVersion(); }

UpgradeNeed upgradeNeed(const Database& db) {
    const int version = fileVersion(db);
    if (version > kVersion) return UpgradeNeed::Refused;
    if (version == kVersion || !holdsTheFiveTables(db)) return UpgradeNeed::None;
    return UpgradeNeed::Tables;
}

std::string laterVersionRefusal(const Database& db, int version) {
    const std::string data =
        db.isServer() ? db.file() + "中的数据" : "数据库文件“" + db.file() + "”";
    return data + "是新版本的本程序保存的（数据版本 " + std::to_string(version) +
           "，本程序只认识到版本 " + std::to_string(kVersion) +
           "），本程序不能打开它，以免损坏其中的数据。请使用新版本的程序。";
}

void addTablesSince(Database& db, int version) {
    for (const auto& table : tables())
        for (const auto& sql : createIndexSql(table)) db.exec(sql);
    for (const auto& table : addedTables()) {
        if (table.version <= version) continue;
        if (!holdsTable(db, table.name))
            db.engine().createTable(table);
        else
            for (const auto& sql : createIndexSql(table)) db.exec(sql);
    }
    db.engine().setSchemaVersion(kVersion);
}

void createAllTables(Database& db) {
    for (const auto& table : tables()) db.engine().createTable(table);
    addTablesSince(db, 0);
}

void upgrade(Database& db) {
    Transaction transaction(db);
    // Read inside the transaction: another copy of the program may have upgraded it meanwhile.
    switch (upgradeNeed(db)) {
        case UpgradeNeed::None:
            return;
        case UpgradeNeed::Refused:
            throw StoreError(laterVersionRefusal(db, fileVersion(db)));
        case UpgradeNeed::Tables:
            break;
    }
    try {
        addTablesSince(db, fileVersion(db));
        transaction.commit();
    } catch (const StoreError& error) {
        // The transaction's end takes back whatever was made.
        throw StoreError("数据库文件“" + db.file() +
                             "”无法升级到本程序的数据版本，没有做任何改动：" + error.what(),
                         error.code());
    }
}

}  // namespace store::schema
