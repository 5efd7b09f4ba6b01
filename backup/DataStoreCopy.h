#pragma once

#include <QString>

// Copies of the data store file in the program's folder. The copies go through the database
// engine's online backup under the store's key, so a copy taken while connections are open and
// writing is still one consistent database that opens with the same password.
namespace backup {

// programFolder + "/data.mdb".
QString dataStoreFile(const QString& programFolder);

// The chosen name with ".bak" appended, whatever the name already ends with.
QString backupFileName(const QString& chosenName);

// Copies the data store into backupFile, replacing an existing file. False when the copy failed
// (no data store, target folder not writable); an existing backupFile is then left as it was.
bool backupDataStore(const QString& programFolder, const QString& backupFile);

// Whether file is a database with the program's five tables that opens with its password and
// is of no later schema version than this program knows.
bool isRestorableFile(const QString& file);

// Puts a copy of sourceFile in place of the data store. The old file stays whenever the copy
// fails; false then.
bool restoreDataStore(const QString& programFolder, const QString& sourceFile);

}  // namespace backup
