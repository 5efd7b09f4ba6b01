#include "store/engine/SqliteEngine.h"

#include <sqlite3.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <system_error>

#include "store/DataCopy.h"
#include "store/Decimal.h"
#include "store/Error.h"
#include "store/ErrorMessages.h"
#include "store/FilePermissions.h"
#include "store/KeyCache.h"
#include "store/Schema.h"
#include "store/ScratchFiles.h"
#include "store/SqlText.h"
#include "store/Values.h"

namespace store {

namespace {

std::string openFailure(const std::string& file, const std::string& reason) {
    return "无法打开数据库文件“" + file + "”：" + reason;
}

// A failure SQLite reported on db (which may be null) for file, as the user is told of it: our
// own message where the code has one (judged by the extended code, which SQLite keeps even with
// extended result codes off), engineText otherwise.
StoreError failure(sqlite3* db, int rc, const std::string& file, const std::string& engineText) {
    int code = rc;
    if (db != nullptr)
        if (const int extended = sqlite3_extended_errcode(db);
            primaryCode(extended) == primaryCode(rc))
            code = extended;
    const std::string message = failureMessage(code, file);
    return StoreError(message.empty() ? engineText : message, primaryCode(rc));
}

// The file a handle holds, as SQLite names it (a full path).
std::string fileOf(sqlite3* db) {
    const char* name = sqlite3_db_filename(db, "main");
    return name != nullptr ? name : "";
}

StoreError failure(sqlite3* db, int rc) { return failure(db, rc, fileOf(db), sqlite3_errmsg(db)); }

// A failure while opening file.
StoreError openFailure(sqlite3* db, int rc, const std::string& file) {
    return failure(db, rc, file,
                   openFailure(file, db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(rc)));
}

constexpr int kBusyTimeoutMs = 5000;
constexpr const char* kNotADatabase = "密码错误或不是数据库文件";

// A plain SQLite file starts with this header; an encrypted one starts with its salt.
bool isPlainSqliteFile(const std::string& file) {
    static const char header[16] = "SQLite format 3";  // with its terminating zero
    char head[16];
    std::ifstream in(file, std::ios::binary);
    return in.read(head, sizeof head) && std::memcmp(head, header, sizeof head) == 0;
}

std::string cipherVersion(sqlite3* db) {
    std::string version;
    sqlite3_exec(
        db, "PRAGMA cipher_version",
        [](void* out, int columns, char** texts, char**) {
            if (columns > 0 && texts[0] != nullptr) *static_cast<std::string*>(out) = texts[0];
            return 0;
        },
        &version, nullptr);
    return version;
}

// decimal_round(x, n): x rounded half away from zero to n decimals as the entry panels round what
// they show, the value of x's stored text (SQLite's own round() works on the binary digits and
// gives 2.67 for 2.675). NULL, or a text that is not a number, gives NULL.
void decimalRound(sqlite3_context* context, int, sqlite3_value** arguments) {
    std::optional<Decimal> value;
    switch (sqlite3_value_type(arguments[0])) {
        case SQLITE_INTEGER:
        case SQLITE_FLOAT:
            // "INF" is no number: nothing may be thrown through SQLite.
            value = Decimal::parse(values::formatNumber(sqlite3_value_double(arguments[0])));
            break;
        case SQLITE_TEXT:
            value = Decimal::parse(reinterpret_cast<const char*>(sqlite3_value_text(arguments[0])));
            break;
        default:
            break;
    }
    if (!value) {
        sqlite3_result_null(context);
        return;
    }
    const int decimals = sqlite3_value_int(arguments[1]);
    sqlite3_result_double(context, value->roundedToDecimals(decimals).toDouble());
}

}  // namespace

void SqliteEngine::Closer::operator()(sqlite3* db) const noexcept { sqlite3_close_v2(db); }

SqliteEngine::SqliteEngine(const std::string& file, const std::string& key, Database::Mode mode)
    : file_(file), key_(key) {
    std::error_code ec;
    if (mode != Database::Mode::Create) {
        if (!std::filesystem::exists(file, ec)) throw StoreError(openFailure(file, "文件不存在"));
        if (!std::filesystem::is_regular_file(file, ec) ||
            std::filesystem::file_size(file, ec) == 0)
            throw StoreError(openFailure(file, kNotADatabase));
    }
    int flags = SQLITE_OPEN_NOMUTEX;
    switch (mode) {
        case Database::Mode::ReadWrite:
            flags |= SQLITE_OPEN_READWRITE;
            break;
        case Database::Mode::ReadOnly:
            flags |= SQLITE_OPEN_READONLY;
            break;
        case Database::Mode::Create:
            flags |= SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
            break;
    }
    sqlite3* raw = nullptr;
    const DataIdentity before = fileIdentityOf(file);
    int rc = sqlite3_open_v2(file.c_str(), &raw, flags, nullptr);
    db_.reset(raw);
    // Told only when the name held the same file before and after the handle opened it.
    if (const DataIdentity after = fileIdentityOf(file); after == before) identity_ = after;
    if (rc != SQLITE_OK) throw openFailure(raw, rc, file);
    sqlite3_extended_result_codes(raw, 0);
    if (mode != Database::Mode::Create && isPlainSqliteFile(file))
        throw StoreError(openFailure(file, kNotADatabase), SQLITE_NOTADB);
    const CipherSettings settings = cipherSettingsFor(cipherVersion(raw));
    if (!settings.supported)
        throw StoreError(openFailure(file, "此 SQLite 库不支持加密的数据库文件"));
    std::optional<std::string> rawKey;
    if (settings.rawKeyFits && mode != Database::Mode::Create && key.rfind("x'", 0) != 0)
        rawKey = rawKeyFor(file, key);
    const std::string& keyText = rawKey ? *rawKey : key;
    rc = sqlite3_key(raw, keyText.data(), static_cast<int>(keyText.size()));
    if (rc != SQLITE_OK) throw openFailure(raw, rc, file);
    for (const std::string& pragma : settings.pragmas) {
        rc = sqlite3_exec(raw, pragma.c_str(), nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK) throw openFailure(raw, rc, file);
    }
    sqlite3_busy_timeout(raw, kBusyTimeoutMs);
    sqlite3_create_function_v2(raw, "decimal_round", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                               decimalRound, nullptr, nullptr, nullptr);
    // The key is only tried on the first read: a wrong key or a foreign file fails here.
    rc = sqlite3_exec(raw, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
    // A wrong key and a file that is no database look the same to SQLite here.
    if (rc == SQLITE_NOTADB) throw StoreError(openFailure(file, kNotADatabase), rc);
    if (rc != SQLITE_OK) throw openFailure(raw, rc, file);
}

SqliteEngine::~SqliteEngine() = default;

void SqliteEngine::exec(const std::string& sql) {
    char* message = nullptr;
    int rc = sqlite3_exec(db_.get(), sql.c_str(), nullptr, nullptr, &message);
    if (rc != SQLITE_OK) {
        std::string text = message != nullptr ? message : sqlite3_errstr(rc);
        sqlite3_free(message);
        throw failure(db_.get(), rc, file_, text);
    }
}

bool SqliteEngine::tryExec(const char* sql) noexcept {
    return sqlite3_exec(db_.get(), sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

std::int64_t SqliteEngine::lastInsertRowId() const noexcept {
    return sqlite3_last_insert_rowid(db_.get());
}

int SqliteEngine::changes() const noexcept { return sqlite3_changes(db_.get()); }

bool SqliteEngine::inAutocommit() const noexcept { return sqlite3_get_autocommit(db_.get()) != 0; }

void SqliteEngine::releaseMemory() noexcept { sqlite3_db_release_memory(db_.get()); }

void SqliteEngine::begin() { exec("BEGIN"); }

void SqliteEngine::commit() { exec("COMMIT"); }

bool SqliteEngine::tryRollback() noexcept { return tryExec("ROLLBACK"); }

// A deferred transaction holds the file's state of its first read until it ends.
void SqliteEngine::beginReadSnapshot() { exec("BEGIN"); }

void SqliteEngine::backupTo(const std::string& targetFile,
                            Database::CopyPermissions permissions) const {
    writeDatabaseCopy(targetFile, permissions, file_, [&](const std::string& partial) {
        SqliteEngine target(partial, key_, Database::Mode::Create);
        sqlite3_backup* backup = sqlite3_backup_init(target.handle(), "main", db_.get(), "main");
        if (backup == nullptr) throw StoreError(sqlite3_errmsg(target.handle()));
        int rc = SQLITE_OK;
        for (int attempt = 0; attempt < 200; ++attempt) {
            rc = sqlite3_backup_step(backup, -1);
            if (rc != SQLITE_BUSY && rc != SQLITE_LOCKED) break;
            sqlite3_sleep(25);
        }
        const int finish = sqlite3_backup_finish(backup);
        if (rc != SQLITE_DONE) {
            // A damaged page is the source's; being full, read-only or locked the target's.
            if (isDamageCode(rc)) throw failure(db_.get(), rc, file_, sqlite3_errstr(rc));
            throw failure(target.handle(), rc, targetFile,
                          "备份数据库失败：" + std::string(sqlite3_errstr(rc)));
        }
        if (finish != SQLITE_OK)
            throw failure(target.handle(), finish, targetFile,
                          "备份数据库失败：" + std::string(sqlite3_errmsg(target.handle())));
    });
}

// --- statements

namespace {

class SqliteStatement final : public EngineStatement {
  public:
    SqliteStatement(sqlite3* db, std::string_view sql) : db_(db) {
        sqlite3_stmt* raw = nullptr;
        int rc = sqlite3_prepare_v2(db_, sql.data(), static_cast<int>(sql.size()), &raw, nullptr);
        stmt_.reset(raw);
        if (rc != SQLITE_OK) throw failure(db_, rc);
        if (raw == nullptr) throw StoreError("empty statement", SQLITE_MISUSE);
    }

    bool step() override {
        int rc = sqlite3_step(stmt_.get());
        if (rc == SQLITE_ROW) return true;
        if (rc == SQLITE_DONE) return false;
        throw failure(db_, rc);
    }

    bool tryReset() noexcept override {
        const int rc = sqlite3_reset(stmt_.get());
        sqlite3_clear_bindings(stmt_.get());
        return rc == SQLITE_OK;
    }

    void throwLastFailure() const override { throw failure(db_, sqlite3_errcode(db_)); }

    void bindNull(int index) override { check(sqlite3_bind_null(stmt_.get(), index)); }

    void bindText(int index, std::string_view text) override {
        // SQLite stores a text without a pointer as NULL; an empty view is the empty text.
        const char* data = text.data() != nullptr ? text.data() : "";
        check(sqlite3_bind_text(stmt_.get(), index, data, static_cast<int>(text.size()),
                                SQLITE_TRANSIENT));
    }

    void bindDouble(int index, double value) override {
        check(sqlite3_bind_double(stmt_.get(), index, value));
    }

    void bindInt64(int index, std::int64_t value) override {
        check(sqlite3_bind_int64(stmt_.get(), index, value));
    }

    int columnCount() const noexcept override { return sqlite3_column_count(stmt_.get()); }

    std::string columnName(int index) const override {
        const char* name = sqlite3_column_name(stmt_.get(), index);
        return name != nullptr ? name : "";
    }

    std::string columnDeclType(int index) const override {
        const char* type = sqlite3_column_decltype(stmt_.get(), index);
        return type != nullptr ? type : "";
    }

    void readValue(int index, StoredValue& value) const override {
        sqlite3_stmt* stmt = stmt_.get();
        value.type = typeOf(sqlite3_column_type(stmt, index));
        switch (value.type) {
            case ValueType::Null:
                break;
            case ValueType::Integer:
                value.integer = sqlite3_column_int64(stmt, index);
                break;
            case ValueType::Float:
                value.real = sqlite3_column_double(stmt, index);
                value.text = {};
                break;
            default:
                const unsigned char* text = sqlite3_column_text(stmt, index);
                value.text = text == nullptr
                                 ? std::string_view()
                                 : std::string_view(
                                       reinterpret_cast<const char*>(text),
                                       static_cast<std::size_t>(sqlite3_column_bytes(stmt, index)));
        }
    }

    sqlite3_stmt* handle() const noexcept { return stmt_.get(); }

  private:
    static ValueType typeOf(int stored) {
        switch (stored) {
            case SQLITE_NULL:
                return ValueType::Null;
            case SQLITE_INTEGER:
                return ValueType::Integer;
            case SQLITE_FLOAT:
                return ValueType::Float;
            case SQLITE_TEXT:
                return ValueType::Text;
            default:
                return ValueType::Blob;
        }
    }

    void check(int rc) const {
        if (rc != SQLITE_OK) throw StoreError(sqlite3_errmsg(db_), rc);
    }

    struct Finalizer {
        void operator()(sqlite3_stmt* stmt) const noexcept { sqlite3_finalize(stmt); }
    };
    std::unique_ptr<sqlite3_stmt, Finalizer> stmt_;
    sqlite3* db_;
};

// The file's own version of its data: "PRAGMA data_version" on a connection of the watch's own,
// which changes with every commit of any other connection, of this process or of another one.
// The same for every table.
class FileChangeWatch final : public ChangeWatch {
  public:
    explicit FileChangeWatch(std::unique_ptr<SqliteEngine> watcher)
        : watcher_(std::move(watcher)) {}
    std::optional<std::int64_t> version(std::string_view) override {
        try {
            // Finished at once: the watcher never keeps a read open that would hold up writers.
            auto statement = watcher_->prepare("PRAGMA data_version");
            if (statement->step()) {
                StoredValue value;
                statement->readValue(0, value);
                return value.integer;
            }
        } catch (const std::exception&) {
        }
        return std::nullopt;
    }

    bool oneVersionForAllTables() const noexcept override { return true; }

  private:
    std::unique_ptr<SqliteEngine> watcher_;
};

}  // namespace

std::unique_ptr<EngineStatement> SqliteEngine::prepare(std::string_view sql) const {
    return std::make_unique<SqliteStatement>(db_.get(), sql);
}

sqlite3_stmt* sqliteStatementOf(const EngineStatement& statement) noexcept {
    const auto* sqlite = dynamic_cast<const SqliteStatement*>(&statement);
    return sqlite != nullptr ? sqlite->handle() : nullptr;
}

// --- schema facts

namespace {

std::int64_t firstInteger(const SqliteEngine& engine, const std::string& sql,
                          const std::string* parameter = nullptr) {
    auto statement = engine.prepare(sql);
    if (parameter != nullptr) statement->bindText(1, *parameter);
    if (!statement->step()) return 0;
    StoredValue value;
    statement->readValue(0, value);
    return value.integer;
}

}  // namespace

int SqliteEngine::schemaVersion() const {
    return static_cast<int>(firstInteger(*this, "PRAGMA user_version"));
}

void SqliteEngine::setSchemaVersion(int version) {
    exec("PRAGMA user_version = " + std::to_string(version));
}

bool SqliteEngine::holdsTable(const std::string& table) const {
    return firstInteger(*this,
                        "SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = ?",
                        &table) == 1;
}

// The table's only INTEGER PRIMARY KEY column, which is its row id.
std::string SqliteEngine::counterColumn(const std::string& table) const {
    auto info = prepare("PRAGMA table_info(" + sql::quotedName(table) + ")");
    int primaryKeys = 0;
    std::string candidate;
    StoredValue key, type, name;
    while (info->step()) {
        info->readValue(5, key);
        if (key.type != ValueType::Integer || key.integer <= 0) continue;
        ++primaryKeys;
        info->readValue(2, type);
        info->readValue(1, name);
        if (sql::sameName(type.text, "INTEGER")) candidate = std::string(name.text);
    }
    return primaryKeys == 1 ? candidate : std::string();
}

void SqliteEngine::createTable(const schema::TableDef& table) {
    exec(schema::createTableSql(table));
    for (const auto& sql : schema::createIndexSql(table)) exec(sql);
}

std::unique_ptr<ChangeWatch> SqliteEngine::watchChanges() const {
    std::error_code ec;
    const std::string path = std::filesystem::absolute(file_, ec).string();
    if (ec) return nullptr;
    std::unique_ptr<SqliteEngine> watcher;
    try {
        watcher = std::make_unique<SqliteEngine>(path, key_, Database::Mode::ReadOnly);
    } catch (const std::exception&) {
        return nullptr;
    }
    // The name may have been given to another file since this handle opened it.
    if (watcher->identity() != identity_) return nullptr;
    return std::make_unique<FileChangeWatch>(std::move(watcher));
}

}  // namespace store
