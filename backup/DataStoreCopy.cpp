#include "backup/DataStoreCopy.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdint>
#include <exception>
#include <string>

#include "store/ConnectionString.h"
#include "store/DataCopy.h"
#include "store/Database.h"
#include "store/Schema.h"
#include "store/SchemaUpgrade.h"
#include "store/ServerSettings.h"

namespace backup {

namespace {

// Copies a database file through the engine into target, replacing it; throws on failure.
void copyDatabase(const QString& sourceFile, const QString& targetFile,
                  store::Database::CopyPermissions permissions) {
    const store::Database source(sourceFile.toStdString(), store::kDatabasePassword,
                                 store::Database::Mode::ReadOnly);
    // Written beside the target and renamed over it: the target is either the old file or the
    // complete copy.
    source.backupTo(targetFile.toStdString(), permissions);
}

// Journal files of the replaced database must not be applied to the restored one.
void removeLeftoverJournals(const QString& databaseFile) {
    for (const char* suffix : {"-journal", "-wal", "-shm"}) {
        QFile::remove(databaseFile + QLatin1String(suffix));
    }
}

}  // namespace

QString dataStoreFile(const QString& programFolder) {
    return QDir(programFolder).filePath(QString::fromUtf8(store::kDatabaseFileName));
}

QString backupFileName(const QString& chosenName) { return chosenName + QStringLiteral(".bak"); }

bool backupDataStore(const QString& programFolder, const QString& backupFile) {
    try {
        if (const store::ServerSettings* server = store::currentServer())
            store::Database::onServer(*server).backupTo(backupFile.toStdString());
        else
            copyDatabase(dataStoreFile(programFolder), backupFile,
                         store::Database::CopyPermissions::NoMoreOpenThanSource);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

bool isRestorableFile(const QString& file) {
    if (!QFileInfo(file).isFile()) return false;
    // Opening with the password is not enough: the program needs its five tables in the file.
    try {
        const store::Database db(file.toStdString(), store::kDatabasePassword,
                                 store::Database::Mode::ReadOnly);
        std::string names;
        for (const store::schema::TableDef& table : store::schema::tables())
            names += (names.empty() ? "'" : ", '") + table.name + "'";
        store::Statement count(
            db,
            "select count(*) from sqlite_master where type = 'table' and name in (" + names + ")");
        // A file of a later version would be refused at the next start.
        return count.step() &&
               count.int64Value(0) == std::int64_t(store::schema::tables().size()) &&
               store::schema::fileVersion(db) <= store::schema::kVersion;
    } catch (const std::exception&) {
        return false;
    }
}

bool restoreDataStore(const QString& programFolder, const QString& sourceFile) {
    if (!isRestorableFile(sourceFile)) return false;
    if (const store::ServerSettings* server = store::currentServer()) {
        try {
            store::Database backup(sourceFile.toStdString(), store::kDatabasePassword,
                                   store::Database::Mode::ReadOnly);
            store::Database data = store::Database::onServer(*server);
            store::replaceAllRows(backup, data);
            return true;
        } catch (const std::exception&) {
            return false;
        }
    }
    const QString dataStore = dataStoreFile(programFolder);
    try {
        // The restored data.mdb is as open as the one it replaces, not as the backup was.
        copyDatabase(sourceFile, dataStore, store::Database::CopyPermissions::KeepTarget);
    } catch (const std::exception&) {
        return false;
    }
    removeLeftoverJournals(dataStore);
    return true;
}

}  // namespace backup
