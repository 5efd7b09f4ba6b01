#pragma once

#include <QString>

// Copies of the data store: the file in the program's folder, or the database on the server the
// process keeps its data on (store::currentServer()). The copies go through the database engine
// under the store's key, so a copy taken while connections are open and writing is still one
// consistent database that opens with the same password; a server's copy is the same kind of file.
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
// fails; false then. On a server the rows of every table are replaced by the file's in one
// transaction, checked before it commits; a failure leaves the server's rows as they were.
bool restoreDataStore(const QString& programFolder, const QString& sourceFile);

}  // namespace backup
