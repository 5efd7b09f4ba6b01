#include "store/Database.h"

#include <sys/stat.h>

#include <charconv>
#include <cstdlib>

#include "store/DataCopy.h"
#include "store/Error.h"
#include "store/ServerSettings.h"
#include "store/Values.h"
#include "store/engine/SqliteEngine.h"

namespace store {

Database::Database(const std::string& file, const std::string& key, Mode mode)
    : engine_(std::make_unique<SqliteEngine>(file, key, mode)) {}

Database::Database(std::unique_ptr<Engine> engine) : engine_(std::move(engine)) {}

Database Database::onServer(const ServerSettings& server) {
    return Database(openServerEngine(server));
}

Database::~Database() = default;
Database::Database(Database&&) noexcept = default;
Database& Database::operator=(Database&&) noexcept = default;

void Database::backupTo(const std::string& targetFile, CopyPermissions permissions) const {
    if (const auto* file = dynamic_cast<const SqliteEngine*>(engine_.get())) {
        file->backupTo(targetFile, permissions);
        return;
    }
    // A server's rows are read from one snapshot, which changes nothing of them.
    copyIntoNewFile(const_cast<Database&>(*this), targetFile, permissions);
}

Database::FileIdentity fileIdentityOf(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return {};
    return {static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)};
}

bool canOpenDatabase(const std::string& file, const std::string& key, std::string* error) {
    try {
        Database db(file, key, Database::Mode::ReadOnly);
        return true;
    } catch (const StoreError& e) {
        if (error != nullptr) *error = e.what();
        return false;
    }
}

// --- Statement

namespace {
// SQLite's codes for a column out of range and a read without a row, kept for every engine.
constexpr int kRangeCode = 25;
constexpr int kMisuseCode = 21;
}  // namespace

Statement::Statement(const Database& db, std::string_view sql)
    : statement_(db.engine().prepare(sql)) {}

Statement::~Statement() = default;

bool Statement::step() {
    hasRow_ = false;
    return hasRow_ = statement_->step();
}

bool Statement::tryReset() noexcept {
    hasRow_ = false;
    return statement_->tryReset();
}

void Statement::reset() {
    if (!tryReset()) statement_->throwLastFailure();
}

sqlite3_stmt* Statement::handle() const noexcept { return sqliteStatementOf(*statement_); }

void Statement::checkColumn(int index) const {
    if (index < 0 || index >= columnCount())
        throw StoreError("读取数据失败：没有第 " + std::to_string(index + 1) + " 列", kRangeCode);
}

void Statement::checkValue(int index) const {
    if (!hasRow_) throw StoreError("读取数据失败：没有当前记录", kMisuseCode);
    checkColumn(index);
}

std::string Statement::columnName(int index) const {
    checkColumn(index);
    return statement_->columnName(index);
}

std::string Statement::columnDeclType(int index) const {
    checkColumn(index);
    return statement_->columnDeclType(index);
}

Statement::Value Statement::valueAt(int index) const {
    checkValue(index);
    Value value;
    statement_->readValue(index, value);
    return value;
}

Statement::ValueType Statement::type(int index) const { return valueAt(index).type; }

void Statement::readValues(int first, std::vector<Value>& values) const {
    if (values.empty()) return;
    checkValue(first);
    checkValue(first + static_cast<int>(values.size()) - 1);
    int index = first;
    for (Value& value : values) statement_->readValue(index++, value);
}

bool Statement::isNull(int index) const { return valueAt(index).type == ValueType::Null; }

bool Statement::isText(int index) const { return valueAt(index).type == ValueType::Text; }

// Numbers read as texts and texts read as numbers convert as SQLite converts them: a text gives
// the number its leading digits make, nothing gives 0.
std::string_view Statement::text(int index) const {
    const Value value = valueAt(index);
    switch (value.type) {
        case ValueType::Null:
            return {};
        case ValueType::Integer:
            converted_ = std::to_string(value.integer);
            return converted_;
        case ValueType::Float:
            if (!value.text.empty()) return value.text;
            converted_ = values::formatNumber(value.real);
            return converted_;
        default:
            return value.text;
    }
}

double Statement::doubleValue(int index) const {
    const Value value = valueAt(index);
    switch (value.type) {
        case ValueType::Integer:
            return static_cast<double>(value.integer);
        case ValueType::Float:
            return value.real;
        case ValueType::Null:
            return 0;
        default:
            return std::strtod(std::string(value.text).c_str(), nullptr);
    }
}

std::int64_t Statement::int64Value(int index) const {
    const Value value = valueAt(index);
    switch (value.type) {
        case ValueType::Integer:
            return value.integer;
        case ValueType::Float:
            return static_cast<std::int64_t>(value.real);
        case ValueType::Null:
            return 0;
        default: {
            std::int64_t number = 0;
            std::string_view text = value.text;
            while (!text.empty() && (text.front() == ' ' || text.front() == '+'))
                text.remove_prefix(1);
            std::from_chars(text.data(), text.data() + text.size(), number);
            return number;
        }
    }
}

// --- Transaction

Transaction::Transaction(Database& db) : db_(db) { db_.engine().begin(); }

Transaction::~Transaction() {
    if (!done_) db_.engine().tryRollback();
}

void Transaction::commit() {
    db_.engine().commit();
    done_ = true;
}

}  // namespace store
