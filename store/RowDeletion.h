#pragma once

#include <functional>
#include <vector>

namespace store {

class Query;

// Deletes the rows at these indexes of the query from its table, together in one transaction, and
// drops them from the result set in one pass (Query::removeRows). A row the table refuses stops
// the deletion there: the rows deleted before it stay deleted, it and the rows not reached stay in
// the result set, and its error is thrown. Inside a transaction already begun on the query's
// connection, that transaction's owner stores the deletions.
void deleteRowsTogether(Query& query, const std::vector<int>& rows);

// The same, after allowed() has looked at the file inside that transaction, under its write lock,
// so that no other connection can change what it saw before the rows are gone. When it says no,
// nothing is deleted and the result is false.
bool deleteRowsTogether(Query& query, const std::vector<int>& rows,
                        const std::function<bool()>& allowed);

}  // namespace store
