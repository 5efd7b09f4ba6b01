#pragma once

#include <string>

namespace store {
class Database;
}

// Brings a data.mdb made by an earlier version of the program up to the tables this one uses.
// The file's schema version is its PRAGMA user_version.
namespace store::schema {

int fileVersion(const Database& db);

// Whether the file holds a table of that name: an added table is missing from a file of an
// earlier version that could not be upgraded (opened read-only).
bool holdsTable(const Database& db, const std::string& name);

enum class UpgradeNeed {
    None,     // the file holds this version's tables, or is not the program's data at all
    Tables,   // tables or indexes of later versions are missing: upgrade() adds them
    Refused,  // written by a later version of the program: it must not be opened
};
// A file that lacks one of the five tables needs nothing: opening it tells what is wrong.
UpgradeNeed upgradeNeed(const Database& db);

// The message for data of a later version, naming the file or the server's database.
std::string laterVersionRefusal(const Database& db, int version);

// Inside the caller's transaction: creates the added tables of the versions above version that
// the file does not hold yet, and the indexes of every table that it lacks, and sets the file's
// version to kVersion.
void addTablesSince(Database& db, int version);

// Inside the caller's transaction: creates every table of this version in an empty database, with
// their indexes, and sets its version to kVersion.
void createAllTables(Database& db);
// In one transaction: creates the added tables of the versions above the file's that it does
// not hold yet, with their indexes, and sets its version to kVersion. The five tables and every
// row are left as they are. Does nothing when upgradeNeed() says None. Throws StoreError naming
// the file for a file of a later version, and for a failure, after which the file is as it was.
void upgrade(Database& db);

}  // namespace store::schema
