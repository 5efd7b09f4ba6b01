#pragma once

#include <string>
#include <vector>

#include "store/Schema.h"

// The program's tables as a PostgreSQL server holds them: the same quoted names; the counter an
// identity column, a hidden identity rowid where a table has no counter; each table's changes
// counted in the change-count table by a trigger when a transaction that changed it commits.
namespace store::pg {

// The statements that create the table, its indexes and its change trigger.
std::vector<std::string> serverTableSql(const schema::TableDef& table);

// The pieces every table relies on, made once per database: the change-count table, the
// trigger function that moves it, and decimal_round(x, n).
std::vector<std::string> sharedPiecesSql();

}  // namespace store::pg
