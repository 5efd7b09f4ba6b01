#pragma once

#include <string>
#include <string_view>

// The program writes its SQL as the data file reads it. A PostgreSQL server reads another
// dialect: this turns one into the other, knowing the tables of store::schema.
namespace store::pg {

struct ServerSql {
    std::string text;
    int parameters = 0;  // the highest $n the text uses
    // An INSERT into one of the program's tables that returns the id of each row it stored
    // (its "ID", or the hidden rowid of a table without one) as the only column of its result.
    bool returnsRowId = false;
    // A statement that begins or ends a transaction (or a savepoint) rather than reads or
    // writes: it runs as it is, never under a savepoint of its own. Begin and Rollback are a
    // transaction's BEGIN (or START TRANSACTION) and ROLLBACK alone in the text; a ROLLBACK TO a
    // savepoint, or one of several statements, is Other.
    enum class Control { None, Commit, Begin, Rollback, Other };
    Control control = Control::None;
    // A statement that changes the session itself (SET, RESET, DISCARD, LISTEN, a temporary
    // table …) rather than the data.
    bool changesSession = false;
    // Whether every statement of the text only reads or writes rows, or begins, commits or sets a
    // savepoint: none of them can change which columns a table has (CREATE, ALTER, DROP, SET of
    // the search path, a ROLLBACK that takes them back can).
    bool keepsColumns = false;
    // A SELECT of one table WHERE 0 and nothing that would make a row of no rows (no function,
    // subquery, grouping or union): it gives its columns and never a row, whatever the data.
    bool readsNothing = false;
};

// The server's text of one or more statements:
// - "?" and "?NNN" become $1, $2, … ("?" after "?NNN" takes the next number, as in the file);
// - IFNULL( becomes COALESCE(; LIKE becomes ILIKE with no escape character (the file's LIKE
//   ignores ASCII case and treats "\" as itself); "a IS b" becomes IS NOT DISTINCT FROM;
// - a bare rowid becomes "ID" where its table has that counter, and stays rowid (the hidden
//   column) where it has none; the unquoted name ID is quoted so that it keeps its case;
// - a SELECT of one of the program's tables that neither orders, groups, sums nor joins gives
//   its rows in the order they were stored (ORDER BY the row id), as the file does;
// - "select *" over a table without a counter names its columns, so the hidden rowid never
//   shows; "WHERE 0" and "WHERE 1" become false and true;
// - an INSERT into one of the program's tables returns the row id; one that names "ID" or rowid
//   itself overrides the server's counter;
// - BEGIN IMMEDIATE and the like are plain BEGIN.
// Throws StoreError for a PRAGMA, which only a data file knows.
ServerSql toServerSql(std::string_view sql);

// ServerSql::keepsColumns of a text in the server's dialect.
bool keepsColumns(std::string_view serverSql);

}  // namespace store::pg
