#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace store {

class Query;

// Deletes the rows at these indexes of the query from its table, together in one transaction, and
// drops them from the result set in one pass (Query::removeRows). A row the table refuses stops
// the deletion there: the rows deleted before it stay deleted, it and the rows not reached stay in
// the result set, and its error is thrown. Inside a transaction already begun on the query's
// connection, that transaction's owner stores the deletions. A deletion that meets another
// counter's concurrent change on a server is rolled back and run again (retryOnConflict), on the
// same rows found again by their IDs in the list the rollback read afresh.
void deleteRowsTogether(Query& query, const std::vector<int>& rows);

// The same, after allowed(rows) has looked at the file inside that transaction, under its write
// lock, so that no other connection can change what it saw before the rows are gone; rows are
// the indexes the deletion goes on (on a retry, those the rows have in the list then). When it
// says no, nothing is deleted and the result is false.
bool deleteRowsTogether(Query& query, const std::vector<int>& rows,
                        const std::function<bool(const std::vector<int>& rows)>& allowed);

// The row IDs of these rows of the query, and back: the indexes the rows with these IDs have in
// the query now, in ascending order, rows gone left out. A write run again after a rollback, which
// read the list afresh, finds its rows by them.
std::vector<std::int64_t> idsOfRows(const Query& query, const std::vector<int>& rows);
std::vector<int> rowsWithIds(const Query& query, const std::vector<std::int64_t>& ids);

}  // namespace store
