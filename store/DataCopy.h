#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "store/Database.h"

namespace store {

// The rows of one table a copy wrote and found again in the target.
struct CopiedTable {
    std::string name;
    std::int64_t rows = 0;
};

// Copies the shop's data from source into target, whatever engine either runs on (a data file, a
// server): every table of the program the source holds, in table order, each row with its own
// "ID" (the row ids of tables without a counter are the target's own), read from one consistent
// state of the source while others may write to it. Runs inside the caller's transaction on
// target: a table the target lacks is made; one it holds must be empty (StoreError otherwise). New
// rows of a counter table then take IDs after the copied ones, and the target's schema version
// becomes the source's unless its own is higher.
//
// Before it returns it checks in the target each table's row count and each number column's sum
// (whole ten-thousandths, so the order of adding cannot matter) against what it read: a mismatch
// throws StoreError naming the table and the column, and the caller's transaction takes the rows
// back. A source of a later schema version than this program knows, or one without the five
// tables every shop's data holds, is refused.
std::vector<CopiedTable> copyData(Database& source, Database& target);

// In one transaction on target: every row of the program's tables deleted, then source's rows
// copied in their place and checked (copyData). A failure leaves target's rows as they were.
std::vector<CopiedTable> replaceAllRows(Database& source, Database& target);

// Makes a copy of a database at targetFile, replacing it: write makes the whole file under the
// scratch name it is given, beside targetFile, which is renamed over targetFile at the end, so a
// failure never leaves a half-written target (the scratch file goes, the target stays as it was).
// The copy keeps the permissions of the file it replaces when asked to and there is one, and is
// otherwise never more open than reference (the source's file; nothing when there is none). A
// failure of the file system throws StoreError naming targetFile.
void writeDatabaseCopy(const std::string& targetFile, Database::CopyPermissions permissions,
                       const std::string& reference,
                       const std::function<void(const std::string& scratchFile)>& write);

// The data of source written into a new file at targetFile (replacing it) as copyData copies it:
// an encrypted data file under the program's key at the source's schema version, the same kind
// of file as data.mdb. Made as writeDatabaseCopy makes it, from a source that has no file.
void copyIntoNewFile(Database& source, const std::string& targetFile,
                     Database::CopyPermissions permissions);

}  // namespace store
