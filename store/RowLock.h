#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace store {

class Connection;

// A write that reads a row and then writes it back from what it read (a stock figure moved by a
// sale, the returns counted against a sale) must not let another counter change the row in
// between. A data file's write transaction holds the whole file; on a server only the rows the
// transaction locked are held, until it ends, and a second writer of them waits.

// Appended to a SELECT of the row inside such a transaction (" FOR UPDATE" on a server, nothing
// for a file).
std::string rowLockClause(Connection& connection);

// Locks these rows of table for the rest of the transaction on a server, before what hangs on
// them (the returns of a sale, the sales of a goods row) is looked at; rows gone are left out.
// Nothing to do for a file.
void lockRows(Connection& connection, const std::string& table,
              const std::vector<std::int64_t>& rowIds);

}  // namespace store
