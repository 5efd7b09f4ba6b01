#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "store/Error.h"
#include "store/Values.h"

namespace store {

class Connection;
class Database;
class Query;
class Statement;
struct TableRows;

// A row to be updated is no longer in its table: another connection deleted it since it was read.
class RowNotFound : public StoreError {
  public:
    using StoreError::StoreError;
};

enum class FieldType { Counter, Text, Double, Other };

struct FieldDef {
    std::string name;
    FieldType type = FieldType::Text;
    int size = 0;  // declared maximum number of characters of a text column, 0 when not limited
};

// Told of every change of a query's rows and position; the data grid follows a result set this
// way. Indexes are 0-based row positions in the result set.
class QueryObserver {
  public:
    virtual ~QueryObserver() = default;
    virtual void queryOpened(Query&) {}
    virtual void queryClosed(Query&) {}
    virtual void queryScrolled(Query&) {}  // the current row moved
    // The current row entered edit state, or a new row was begun (insert state); the new row
    // stands at index currentIndex() and is counted by rowCount() but not by recordCount().
    virtual void queryEditStarted(Query&) {}
    virtual void queryRowInserted(Query&, int /*index*/) {}  // a begun row entered the list
    virtual void queryPosted(Query&, int /*index*/) {}       // the row at index was stored
    virtual void queryCancelled(Query&) {}                   // edit or insert given up
    // The row at index was deleted from its table and is about to leave the result set.
    virtual void queryAboutToDelete(Query&, int /*index*/) {}
    virtual void queryRowRemoved(Query&, int /*index*/) {}  // a deleted or cancelled new row left
    // Several rows, at these ascending indexes, were deleted from their table together and are
    // about to leave the result set; then they left it. Told once for the whole set.
    virtual void queryAboutToDeleteRows(Query&, const std::vector<int>& /*indexes*/) {}
    virtual void queryRowsRemoved(Query&, const std::vector<int>& /*indexes*/) {}
    virtual void queryDestroyed(Query&) {}  // the query is going away: forget it
};

// A query with a static (snapshot) result set: opening it runs the statement and copies every
// row; the rows do not change when other connections write, until the query is run again.
// Row operations store each row at once when it is posted.
class Query {
  public:
    enum class State { Inactive, Browse, Edit, Insert };
    using Bookmark = std::uint64_t;  // stable for a row while the result set stays open

    explicit Query(Connection& connection);
    ~Query();
    Query(const Query&) = delete;
    Query& operator=(const Query&) = delete;

    Connection& connection() const noexcept { return connection_; }

    // Every row of a table, or the rows meeting condition (an SQL expression whose "?" take the
    // parameters in order): the statement "select * from <table>", followed by " where
    // <condition>" when there is one. These rows can be appended, edited and deleted.
    void select(std::string table, std::string condition = {},
                std::vector<std::string> parameters = {});
    // Any other reading statement, with parameters for its "?"; its rows are read-only.
    void setSql(std::string sql, std::vector<std::string> parameters = {});
    void clearSql();
    const std::string& sql() const noexcept { return sql_; }
    const std::string& tableName() const noexcept { return table_; }  // empty unless select()ed

    void open();            // opens the connection if needed, runs the statement
    void close() noexcept;  // drops the rows; an unposted row is discarded
    bool isOpen() const noexcept { return state_ != State::Inactive; }
    // Whether rows can be appended, edited and deleted: an open query made by select().
    bool canModify() const noexcept { return isOpen() && !table_.empty(); }
    State state() const noexcept { return state_; }

    const std::vector<FieldDef>& fields() const noexcept { return fields_; }
    int fieldIndex(std::string_view name) const noexcept;  // -1 when missing
    bool hasField(std::string_view name) const noexcept { return fieldIndex(name) >= 0; }

    int recordCount() const noexcept;  // stored rows
    int rowCount() const noexcept;     // rows in the list, a begun new row included
    bool isEmpty() const noexcept { return recordCount() == 0; }
    int currentIndex() const noexcept { return current_; }  // -1 when there is no row
    int recNo() const noexcept;  // 1-based position of the current row, 0 when none
    bool eof() const noexcept { return eof_; }
    bool bof() const noexcept { return bof_; }

    // Moving the current row posts an edit in progress first (like a data set does), so a
    // move never loses typed values silently; a row that had a value refused is given up
    // instead. Throws when the query is closed.
    void first();
    void next();
    void prior();
    void last();
    void moveTo(int index);  // 0-based

    Bookmark bookmark() const;  // of the current row
    Bookmark bookmarkAt(int index) const;
    int indexOf(Bookmark bookmark) const noexcept;  // -1 when gone
    void gotoBookmark(Bookmark bookmark);           // throws when the row is gone

    // Values of the current row (the edit buffer while editing), as text. Throw
    // "Field '%s' not found" for a missing column.
    std::string fieldText(std::string_view name) const;
    std::string_view fieldTextAt(int row, int column) const noexcept;  // fast access for lists
    bool fieldIsNull(std::string_view name) const;
    // Writes a value as text into the current row's column; the row must be in edit or insert
    // state. Double columns: empty stores NULL, a number is kept in its shortest form, anything
    // else throws "'%s' is not a valid floating point value for field '%s'", and a number beyond
    // values::kLargestNumber is refused naming the column. Text columns longer than their
    // declared size are refused with an error naming the column. After a refused value the row
    // is only stored by an explicit post(): a move gives it up.
    void setFieldText(std::string_view name, std::string_view text);
    // The database row id of a row (the counter ID where the table has one).
    std::int64_t rowIdAt(int index) const noexcept;

    void append();  // begins a new row at the end (insert state)
    void edit();    // current row into edit state
    // Stores the row. On failure the row is given up (as by cancel()) before the error is thrown:
    // the list keeps what the file holds, and no later move can store the failed row. An edited
    // row that another connection deleted meanwhile throws RowNotFound.
    void post();
    // Stores the row in edit state like post(), but only where the row the table holds now also
    // meets condition: an SQL expression over the table's columns whose "?" take numbers, in
    // order. When it does not (or the row is gone), nothing is written, the edit is given up and
    // the result is false. Inside a WriteTransaction the check and the write are one step for
    // every other connection.
    bool postWhere(const std::string& condition, const std::vector<double>& numbers);
    void cancel();  // gives up an edit or a begun row
    void remove();  // deletes the current row from the table and the result set
    // Deletes the rows at these indexes from the table, the last first, and then drops them from
    // the result set in one pass, telling the observers once. A row the table refuses stops the
    // deletion there: the rows deleted before it leave the result set, it and the rows not
    // reached stay, it becomes the current row, and its error is thrown. Otherwise the current
    // row is the one that followed the first row deleted (the last row when none followed). Run
    // it inside a WriteTransaction, so that the deletions are stored together.
    void removeRows(std::vector<int> indexes);

    void addObserver(QueryObserver* observer);
    void removeObserver(QueryObserver* observer) noexcept;

    // Bytes held by the rows of the result set (for measurements).
    std::size_t memoryUsage() const noexcept;
    // Whether the rows are shared with the table cache or another query (for checks).
    bool sharesRows() const noexcept { return rows_.use_count() > 1; }

    // The sum of a column over the stored rows (the edit buffer of a row being edited included),
    // as ten-thousandths; empty cells and texts that are not numbers add nothing. Rows shared
    // by several queries are summed once.
    values::Total columnTotal(int column) const;
    // The stored rows whose text in column, without leading and trailing blanks (full-width
    // ones too), is text exactly, in ascending order. Looked up in an index of the column made
    // once for the rows, shared like them; the row in edit state counts with its stored text.
    std::vector<int> rowsWithText(int column, std::string_view text) const;
    // The sum of numberColumn over the stored rows whose trimmed text in textColumn is text
    // (trimmed too), as ten-thousandths; empty cells and texts that are not numbers add nothing.
    // Kept per text with the rows and moved by every row this query stores or deletes, so a
    // look-up after a change costs no pass over the rows.
    values::Total sumWithText(int textColumn, std::string_view text, int numberColumn) const;

  private:
    friend class Connection;
    friend class WriteTransaction;
    // Runs the statement again and stands on the row it stood on where that row is still there;
    // errors close the query. Used after a rollback.
    void reread() noexcept;
    using Rows = TableRows;
    // The rows to change: copied first while they are shared, so no other list sees the change.
    Rows& writableRows();
    void opened();  // the rows are in place: first row current, observers told
    void requireOpen(const char* what) const;
    void requireEditing() const;
    void requireWritable() const;
    int requireField(std::string_view name) const;
    void readFields(const Database& db, const Statement& statement);
    std::shared_ptr<const Rows> readRows(Statement& statement) const;
    std::string whereClause() const;  // " where <condition>", or nothing
    // The statement's column of the first field: a table's rows are read after their row id.
    int firstFieldColumn() const noexcept { return table_.empty() ? 0 : 1; }
    void checkBrowseMode();  // posts a modified row, gives up an untouched or refused one
    struct RowCondition {
        const std::string& sql;
        const std::vector<double>& numbers;
    };
    // The writing part of post(); false when the row did not meet the condition. An update that
    // finds no row without a condition throws RowNotFound.
    bool storeEdit(const RowCondition* condition);
    void finishPost();  // the row stored: back to browsing, observers told
    void startEditBuffer();
    void bindEditValue(Statement& statement, int parameter, std::size_t column) const;
    void setCurrent(int index);
    void setEditValue(int index, std::string_view text);
    template <typename F>
    void notify(F&& f);

    Connection& connection_;
    std::string sql_;
    std::vector<std::string> parameters_;
    std::string table_;      // the table select() reads; empty for other statements
    std::string condition_;  // of select(), without "where"
    std::vector<FieldDef> fields_;
    std::shared_ptr<const Rows> rows_;
    State state_ = State::Inactive;
    int current_ = -1;
    bool eof_ = true;
    bool bof_ = true;
    std::vector<std::string> editBuffer_;
    std::vector<bool> editTouched_;
    std::vector<bool> editNull_;
    bool editRefused_ = false;  // a value of the row in edit was refused
    int rowBeforeInsert_ = -1;
    bool connectionGone_ = false;  // the connection was destroyed first
    std::vector<QueryObserver*> observers_;
};

}  // namespace store
