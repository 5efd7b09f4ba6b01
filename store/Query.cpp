#include "store/Query.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <exception>

#include "store/Connection.h"
#include "store/Database.h"
#include "store/Decimal.h"
#include "store/Error.h"
#include "store/RowArena.h"
#include "store/SqlText.h"
#include "store/TableCache.h"
#include "store/Values.h"

namespace store {

namespace {

using sql::quotedName;
using sql::sameName;

std::string upper(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return text;
}

std::string notFound(std::string_view name) {
    return "Field '" + std::string(name) + "' not found";
}

FieldDef fieldFromDeclaredType(std::string name, const std::string& declared, bool isRowIdAlias) {
    FieldDef field;
    field.name = std::move(name);
    std::string type = upper(declared);
    if (isRowIdAlias || type.find("COUNTER") != std::string::npos ||
        type.find("AUTOINCREMENT") != std::string::npos) {
        field.type = FieldType::Counter;
    } else if (type.find("DOUBLE") != std::string::npos || type.find("REAL") != std::string::npos ||
               type.find("FLOAT") != std::string::npos) {
        field.type = FieldType::Double;
    } else if (type.empty() || type.find("TEXT") != std::string::npos ||
               type.find("CHAR") != std::string::npos || type.find("CLOB") != std::string::npos) {
        field.type = FieldType::Text;
        auto open = type.find('(');
        if (open != std::string::npos) field.size = std::atoi(type.c_str() + open + 1);
    } else {
        field.type = FieldType::Other;
    }
    return field;
}

}  // namespace

Query::Query(Connection& connection) : connection_(connection) { connection_.attach(this); }

Query::~Query() {
    notify([this](QueryObserver& o) { o.queryDestroyed(*this); });
    observers_.clear();
    close();
    if (!connectionGone_) connection_.detach(this);
}

void Query::select(std::string table, std::string condition, std::vector<std::string> parameters) {
    close();
    table_ = std::move(table);
    condition_ = std::move(condition);
    parameters_ = std::move(parameters);
    sql_ = "select * from " + table_ + whereClause();
}

std::string Query::whereClause() const {
    return condition_.empty() ? std::string() : " where " + condition_;
}

void Query::setSql(std::string sql, std::vector<std::string> parameters) {
    close();
    sql_ = std::move(sql);
    table_.clear();
    condition_.clear();
    parameters_ = std::move(parameters);
}

void Query::clearSql() { setSql({}); }

void Query::requireOpen(const char* what) const {
    if (state_ == State::Inactive)
        throw StoreError(std::string("Cannot perform this operation on a closed dataset (") + what +
                         ")");
}

void Query::requireEditing() const {
    if (state_ != State::Edit && state_ != State::Insert)
        throw StoreError("Dataset not in edit or insert mode");
}

template <typename F>
void Query::notify(F&& f) {
    auto observers = observers_;  // an observer may remove itself while told
    for (QueryObserver* observer : observers) {
        if (std::find(observers_.begin(), observers_.end(), observer) != observers_.end())
            f(*observer);
    }
}

void Query::addObserver(QueryObserver* observer) {
    if (std::find(observers_.begin(), observers_.end(), observer) == observers_.end())
        observers_.push_back(observer);
}

void Query::removeObserver(QueryObserver* observer) noexcept {
    observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
}

// --- open and close

void Query::readFields(const Database& db, const Statement& statement) {
    fields_.clear();
    std::string rowIdAlias;
    if (!table_.empty()) {
        rowIdAlias = db.engine().counterColumn(table_);
    }
    for (int i = firstFieldColumn(); i < statement.columnCount(); ++i) {
        std::string name = statement.columnName(i);
        bool alias = !rowIdAlias.empty() && sameName(name, rowIdAlias);
        fields_.push_back(
            fieldFromDeclaredType(std::move(name), statement.columnDeclType(i), alias));
    }
}

void Query::open() {
    if (state_ != State::Inactive) return;
    if (sql_.empty()) throw StoreError("SQL 语句为空，无法打开查询");
    Database& db = connection_.database();
    const bool fromTable = !table_.empty();
    // Whole tables read outside a transaction are shared while the file stays unchanged.
    TableCache::Read shared;
    if (fromTable && condition_.empty() && parameters_.empty() && !connection_.inTransaction() &&
        db.inAutocommit())
        shared = TableCache::instance().begin(db, table_);
    if (const TableCache::Table* table = shared.found()) {
        fields_ = table->fields;
        rows_ = table->rows;
        opened();
        return;
    }
    // A table's rows are read with their row ids, which write them back.
    Statement statement(
        db, fromTable ? "select rowid, * from " + quotedName(table_) + whereClause() : sql_);
    for (std::size_t i = 0; i < parameters_.size(); ++i)
        statement.bindText(static_cast<int>(i) + 1, parameters_[i]);
    statement.expectManyRows();
    readFields(db, statement);
    rows_ = readRows(statement);
    shared.keep(fields_, rows_);
    // The pages the read went through are of no further use to the connection.
    if (fromTable) db.releaseMemory();
    opened();
}

std::shared_ptr<const Query::Rows> Query::readRows(Statement& statement) const {
    using Type = Statement::ValueType;
    auto rows = std::make_unique<Rows>();
    rows->reset(fields_.size());
    const int first = firstFieldColumn();
    const int columns = static_cast<int>(fields_.size());
    char number[40];
    std::vector<Statement::Value> cells(static_cast<std::size_t>(columns));
    while (statement.step()) {
        rows->beginRow(first > 0 ? statement.int64Value(0) : 0);
        statement.readValues(first, cells);
        for (int c = 0; c < columns; ++c) {
            const Statement::Value& value = cells[static_cast<std::size_t>(c)];
            if (value.type == Type::Null) {
                rows->addNull();
            } else if (value.type == Type::Float) {
                if (value.text.empty())
                    rows->addCell(values::formatNumber(value.real));
                else
                    rows->addCell(value.text);
            } else if (value.type == Type::Integer &&
                       fields_[static_cast<std::size_t>(c)].type == FieldType::Double) {
                rows->addCell(values::formatNumber(static_cast<double>(value.integer)));
            } else if (value.type == Type::Integer) {
                auto end = std::to_chars(number, number + sizeof number, value.integer).ptr;
                rows->addCell(std::string_view(number, static_cast<std::size_t>(end - number)));
            } else {
                rows->addCell(value.text);
            }
        }
        rows->endRow();
    }
    rows->finish();
    return rows;
}

void Query::opened() {
    state_ = State::Browse;
    current_ = rows_->count() > 0 ? 0 : -1;
    bof_ = true;
    eof_ = rows_->count() == 0;
    notify([this](QueryObserver& o) { o.queryOpened(*this); });
}

void Query::close() noexcept {
    if (state_ == State::Inactive) return;
    rows_.reset();
    state_ = State::Inactive;
    current_ = -1;
    eof_ = bof_ = true;
    editBuffer_.clear();
    editTouched_.clear();
    editNull_.clear();
    notify([this](QueryObserver& o) { o.queryClosed(*this); });
}

// --- fields and values

int Query::fieldIndex(std::string_view name) const noexcept {
    for (std::size_t i = 0; i < fields_.size(); ++i)
        if (sameName(fields_[i].name, name)) return static_cast<int>(i);
    return -1;
}

int Query::recordCount() const noexcept { return rows_ ? static_cast<int>(rows_->count()) : 0; }

int Query::rowCount() const noexcept { return recordCount() + (state_ == State::Insert ? 1 : 0); }

int Query::recNo() const noexcept { return current_ >= 0 ? current_ + 1 : 0; }

std::string_view Query::fieldTextAt(int row, int column) const noexcept {
    if (!rows_ || column < 0 || column >= static_cast<int>(fields_.size()) || row < 0) return {};
    if ((state_ == State::Edit || state_ == State::Insert) && row == current_)
        return editBuffer_[static_cast<std::size_t>(column)];
    if (row >= recordCount()) return {};
    return rows_->cell(static_cast<std::size_t>(row), static_cast<std::size_t>(column));
}

int Query::requireField(std::string_view name) const {
    int index = fieldIndex(name);
    if (index < 0) throw StoreError(notFound(name));
    return index;
}

std::string Query::fieldText(std::string_view name) const {
    requireOpen("field");
    int index = requireField(name);
    return std::string(fieldTextAt(current_, index));
}

bool Query::fieldIsNull(std::string_view name) const {
    requireOpen("field");
    int index = requireField(name);
    if (current_ < 0) return true;
    if (state_ == State::Edit || state_ == State::Insert)
        return editNull_[static_cast<std::size_t>(index)];
    return rows_->isNull(static_cast<std::size_t>(current_), static_cast<std::size_t>(index));
}

void Query::setFieldText(std::string_view name, std::string_view text) {
    requireOpen("set field");
    int index = requireField(name);
    requireEditing();
    try {
        setEditValue(index, text);
    } catch (...) {
        editRefused_ = true;
        throw;
    }
}

void Query::setEditValue(int index, std::string_view text) {
    const FieldDef& field = fields_[static_cast<std::size_t>(index)];
    std::string value;
    bool isNull = false;
    switch (field.type) {
        case FieldType::Counter:
            throw StoreError("Field '" + field.name + "' cannot be modified");
        case FieldType::Double:
            if (text.empty()) {
                isNull = true;
            } else {
                // The text's exact value rounded to 15 digits, never the digits of a double.
                const std::optional<Decimal> number = Decimal::parse(text);
                if (!number)
                    throw StoreError("'" + std::string(text) +
                                     "' is not a valid floating point value for field '" +
                                     field.name + "'");
                if (!values::isAcceptedNumber(*number)) values::refuseNumber(text, field.name);
                value = number->text();
            }
            break;
        case FieldType::Text:
        case FieldType::Other:
            if (field.size > 0) {
                auto count = values::characterCount(text);
                if (count > static_cast<std::size_t>(field.size))
                    throw StoreError("字段“" + field.name + "”最多 " + std::to_string(field.size) +
                                     " 个字符，输入的文本有 " + std::to_string(count) + " 个字符");
            }
            value = std::string(text);
            break;
    }
    auto i = static_cast<std::size_t>(index);
    editBuffer_[i] = std::move(value);
    editNull_[i] = isNull;
    editTouched_[i] = true;
}

std::int64_t Query::rowIdAt(int index) const noexcept {
    if (!rows_ || index < 0 || index >= recordCount()) return 0;
    return rows_->rowId(static_cast<std::size_t>(index));
}

// --- moving

void Query::checkBrowseMode() {
    if (state_ != State::Edit && state_ != State::Insert) return;
    bool modified = std::find(editTouched_.begin(), editTouched_.end(), true) != editTouched_.end();
    if (modified && !editRefused_)
        post();
    else
        cancel();
}

void Query::setCurrent(int index) {
    int before = current_;
    current_ = index;
    if (current_ != before) notify([this](QueryObserver& o) { o.queryScrolled(*this); });
}

void Query::first() {
    requireOpen("first");
    checkBrowseMode();
    bof_ = true;
    eof_ = recordCount() == 0;
    setCurrent(recordCount() > 0 ? 0 : -1);
}

void Query::last() {
    requireOpen("last");
    checkBrowseMode();
    eof_ = true;
    bof_ = recordCount() == 0;
    setCurrent(recordCount() - 1);
}

void Query::next() {
    requireOpen("next");
    checkBrowseMode();
    if (current_ + 1 >= recordCount()) {
        eof_ = true;
        return;
    }
    bof_ = eof_ = false;
    setCurrent(current_ + 1);
}

void Query::prior() {
    requireOpen("prior");
    checkBrowseMode();
    if (current_ <= 0) {
        bof_ = true;
        return;
    }
    bof_ = eof_ = false;
    setCurrent(current_ - 1);
}

void Query::moveTo(int index) {
    requireOpen("move");
    checkBrowseMode();
    int count = recordCount();
    if (count == 0) {
        bof_ = eof_ = true;
        setCurrent(-1);
        return;
    }
    index = std::clamp(index, 0, count - 1);
    bof_ = eof_ = false;
    setCurrent(index);
}

Query::Bookmark Query::bookmark() const {
    requireOpen("bookmark");
    return bookmarkAt(current_);
}

Query::Bookmark Query::bookmarkAt(int index) const {
    if (!rows_ || index < 0 || index >= recordCount()) return 0;
    return rows_->bookmark(static_cast<std::size_t>(index));
}

int Query::indexOf(Bookmark bookmark) const noexcept {
    if (!rows_ || bookmark == 0) return -1;
    return rows_->indexOf(bookmark);
}

void Query::gotoBookmark(Bookmark bookmark) {
    requireOpen("bookmark");
    int index = indexOf(bookmark);
    if (index < 0) throw StoreError("Record not found");
    checkBrowseMode();
    // Posting or giving up a begun row leaves the stored rows where they were.
    bof_ = eof_ = false;
    setCurrent(indexOf(bookmark));
}

// --- editing

void Query::requireWritable() const {
    if (table_.empty()) throw StoreError("无法修改此查询的结果（查询不是 select * from 表）");
}

void Query::startEditBuffer() {
    std::size_t n = fields_.size();
    editBuffer_.assign(n, std::string());
    editNull_.assign(n, true);
    editTouched_.assign(n, false);
    editRefused_ = false;
}

void Query::append() {
    requireOpen("append");
    requireWritable();
    checkBrowseMode();
    startEditBuffer();
    rowBeforeInsert_ = current_;
    state_ = State::Insert;
    current_ = recordCount();
    eof_ = bof_ = false;
    notify([this](QueryObserver& o) { o.queryRowInserted(*this, current_); });
    notify([this](QueryObserver& o) { o.queryEditStarted(*this); });
}

void Query::edit() {
    requireOpen("edit");
    if (state_ == State::Edit || state_ == State::Insert) return;
    requireWritable();
    if (current_ < 0) throw StoreError("Cannot perform this operation on an empty dataset");
    startEditBuffer();
    for (std::size_t c = 0; c < fields_.size(); ++c) {
        auto row = static_cast<std::size_t>(current_);
        editBuffer_[c] = std::string(rows_->cell(row, c));
        editNull_[c] = rows_->isNull(row, c);
    }
    state_ = State::Edit;
    notify([this](QueryObserver& o) { o.queryEditStarted(*this); });
}

void Query::bindEditValue(Statement& statement, int parameter, std::size_t column) const {
    if (editNull_[column]) {
        statement.bindNull(parameter);
    } else if (fields_[column].type == FieldType::Double) {
        statement.bindDouble(parameter, *values::parseNumber(editBuffer_[column]));
    } else {
        statement.bindText(parameter, editBuffer_[column]);
    }
}

void Query::post() {
    requireOpen("post");
    if (state_ == State::Browse) return;
    try {
        storeEdit(nullptr);
    } catch (...) {
        cancel();
        throw;
    }
    finishPost();
}

bool Query::postWhere(const std::string& condition, const std::vector<double>& numbers) {
    requireOpen("post");
    if (state_ != State::Edit) throw StoreError("只有修改中的记录才能按条件保存");
    const RowCondition where{condition, numbers};
    bool stored = false;
    try {
        stored = storeEdit(&where);
    } catch (...) {
        cancel();
        throw;
    }
    if (!stored) {
        cancel();
        return false;
    }
    finishPost();
    return true;
}

void Query::finishPost() {
    state_ = State::Browse;
    editBuffer_.clear();
    editTouched_.clear();
    editNull_.clear();
    notify([this](QueryObserver& o) { o.queryPosted(*this, current_); });
}

bool Query::storeEdit(const RowCondition* condition) {
    Database& db = connection_.database();
    connection_.noteWrite(this);
    std::vector<std::size_t> columns;
    for (std::size_t c = 0; c < fields_.size(); ++c)
        if (editTouched_[c] && fields_[c].type != FieldType::Counter) columns.push_back(c);

    if (state_ == State::Insert) {
        std::string sql = "INSERT INTO " + quotedName(table_);
        if (columns.empty()) {
            sql += " DEFAULT VALUES";
        } else {
            std::string names, marks;
            for (std::size_t c : columns) {
                names += (names.empty() ? "" : ", ") + quotedName(fields_[c].name);
                marks += marks.empty() ? "?" : ", ?";
            }
            sql += " (" + names + ") VALUES (" + marks + ")";
        }
        Statement statement(db, sql);
        int parameter = 1;
        for (std::size_t c : columns) bindEditValue(statement, parameter++, c);
        statement.step();
        std::int64_t rowId = db.lastInsertRowId();
        for (std::size_t c = 0; c < fields_.size(); ++c) {
            if (fields_[c].type == FieldType::Counter) {
                editBuffer_[c] = std::to_string(rowId);
                editNull_[c] = false;
            }
        }
        writableRows().appendRow(rowId, editBuffer_, editNull_);
    } else {
        if (!columns.empty() || condition != nullptr) {
            // Without a column to set, the row is only looked for (a condition to check).
            std::string sql = columns.empty() ? "SELECT 1 FROM " + quotedName(table_)
                                              : "UPDATE " + quotedName(table_) + " SET ";
            for (std::size_t i = 0; i < columns.size(); ++i)
                sql += (i == 0 ? "" : ", ") + quotedName(fields_[columns[i]].name) + " = ?";
            sql += " WHERE rowid = ?";
            if (condition != nullptr) sql += " AND (" + condition->sql + ")";
            Statement statement(db, sql);
            int parameter = 1;
            for (std::size_t c : columns) bindEditValue(statement, parameter++, c);
            statement.bindInt64(parameter++, rowIdAt(current_));
            if (condition != nullptr)
                for (double number : condition->numbers) statement.bindDouble(parameter++, number);
            const bool found = statement.step() || (!columns.empty() && db.changes() != 0);
            if (!found && condition != nullptr) return false;
            if (!found)
                throw RowNotFound(
                    "Row cannot be located for updating. Some values may have been changed since "
                    "it was last read.");
        }
        writableRows().replaceRow(static_cast<std::size_t>(current_), editBuffer_, editNull_);
    }
    return true;
}

void Query::cancel() {
    requireOpen("cancel");
    if (state_ == State::Browse) return;
    bool wasInsert = state_ == State::Insert;
    int index = current_;
    state_ = State::Browse;
    editBuffer_.clear();
    editTouched_.clear();
    editNull_.clear();
    if (wasInsert) {
        current_ = std::min(rowBeforeInsert_, recordCount() - 1);
        if (current_ < 0 && recordCount() > 0) current_ = 0;
        eof_ = bof_ = recordCount() == 0;
        notify([this, index](QueryObserver& o) { o.queryRowRemoved(*this, index); });
        notify([this](QueryObserver& o) { o.queryCancelled(*this); });
        notify([this](QueryObserver& o) { o.queryScrolled(*this); });
    } else {
        notify([this](QueryObserver& o) { o.queryCancelled(*this); });
    }
}

void Query::remove() {
    requireOpen("delete");
    if (state_ == State::Insert) {
        cancel();
        return;
    }
    requireWritable();
    if (current_ < 0 || recordCount() == 0)
        throw StoreError("Cannot perform this operation on an empty dataset");
    if (state_ == State::Edit) cancel();
    const int index = current_;
    Database& db = connection_.database();
    connection_.noteWrite(this);
    Statement statement(db, "DELETE FROM " + quotedName(table_) + " WHERE rowid = ?");
    statement.bindInt64(1, rowIdAt(index));
    statement.step();
    // Observers hear of the removal only once the table has let the row go, so a refused
    // DELETE leaves them with nothing half-done. A row another connection deleted already is
    // gone either way: it leaves the result set too.
    notify([this, index](QueryObserver& o) { o.queryAboutToDelete(*this, index); });
    writableRows().removeRow(static_cast<std::size_t>(index));
    int count = recordCount();
    current_ = index < count ? index : count - 1;
    bof_ = eof_ = count == 0;
    notify([this, index](QueryObserver& o) { o.queryRowRemoved(*this, index); });
    notify([this](QueryObserver& o) { o.queryScrolled(*this); });
}

void Query::removeRows(std::vector<int> indexes) {
    requireOpen("delete");
    requireWritable();
    if (state_ == State::Edit || state_ == State::Insert) cancel();
    std::sort(indexes.begin(), indexes.end());
    indexes.erase(std::unique(indexes.begin(), indexes.end()), indexes.end());
    const int count = recordCount();
    indexes.erase(std::remove_if(indexes.begin(), indexes.end(),
                                 [count](int i) { return i < 0 || i >= count; }),
                  indexes.end());
    if (indexes.empty()) return;

    Database& db = connection_.database();
    connection_.noteWrite(this);
    Statement statement(db, "DELETE FROM " + quotedName(table_) + " WHERE rowid = ?");
    std::exception_ptr refusal;
    int refusedIndex = -1;
    std::size_t firstDeleted = indexes.size();
    for (std::size_t k = indexes.size(); k-- > 0;) {
        try {
            statement.reset();
            statement.bindInt64(1, rowIdAt(indexes[k]));
            statement.step();
        } catch (...) {
            refusal = std::current_exception();
            refusedIndex = indexes[k];
            break;
        }
        firstDeleted = k;
    }

    const std::vector<int> deleted(indexes.begin() + static_cast<std::ptrdiff_t>(firstDeleted),
                                   indexes.end());
    if (!deleted.empty()) {
        notify([this, &deleted](QueryObserver& o) { o.queryAboutToDeleteRows(*this, deleted); });
        writableRows().removeRows(deleted);
        const int left = recordCount();
        // The refused row lies before every deleted one, so its index has not moved.
        current_ = refusedIndex >= 0 ? refusedIndex : std::min(deleted.front(), left - 1);
        bof_ = eof_ = left == 0;
        notify([this, &deleted](QueryObserver& o) { o.queryRowsRemoved(*this, deleted); });
        notify([this](QueryObserver& o) { o.queryScrolled(*this); });
    } else if (refusedIndex >= 0) {
        bof_ = eof_ = false;
        setCurrent(refusedIndex);
    }
    if (refusal) std::rethrow_exception(refusal);
}

void Query::reread() noexcept {
    if (state_ == State::Inactive) return;
    const std::int64_t rowId = current_ >= 0 && current_ < recordCount() ? rowIdAt(current_) : 0;
    close();
    try {
        open();
    } catch (...) {
        return;  // stays closed: better no list than a list the file does not hold
    }
    for (int i = 0; rowId != 0 && i < recordCount(); ++i) {
        if (rowIdAt(i) == rowId) {
            bof_ = eof_ = false;
            setCurrent(i);
            break;
        }
    }
}

std::size_t Query::memoryUsage() const noexcept { return rows_ ? rows_->memoryUsage() : 0; }

Query::Rows& Query::writableRows() {
    if (rows_.use_count() > 1) rows_ = std::make_shared<Rows>(*rows_);
    // Held by this query alone, and made as non-const rows by it.
    auto& rows = const_cast<Rows&>(*rows_);
    rows.columnTotals.clear();
    rows.textIndexes.clear();
    return rows;
}

}  // namespace store
