#include "store/pg/PgEngine.h"

#include <vector>

#include "store/Schema.h"
#include "store/SqlText.h"
#include "store/pg/PgChangeWatch.h"
#include "store/pg/PgSchema.h"
#include "store/pg/PgSessionPool.h"

namespace store::pg {

namespace {

// A number for the server's database that is never 0: FNV-1a of where it is and who reads it.
DataIdentity identityOf(const ServerSettings& server) {
    std::uint64_t hash = 14695981039346656037ULL;
    for (const std::string* part : {&server.host, &server.port, &server.database, &server.user}) {
        for (unsigned char c : *part + "|") {
            hash ^= c;
            hash *= 1099511628211ULL;
        }
    }
    return {0xFFFFFFFFFFFFFFFFULL, hash == 0 ? 1 : hash};
}

}  // namespace

PgEngine::PgEngine(const ServerSettings& settings) : settings_(settings) {
    if (auto kept = takeKeptSession(settings)) {
        session_ = std::move(*kept);
        identity_ = identityOf(reachedServer(session_.connection.get(), settings));
        return;
    }
    session_.connection = connect(settings);
    const ServerSettings reached = reachedServer(session_.connection.get(), settings);
    session_.name = reached.describe();
    identity_ = identityOf(reached);
}

PgEngine::~PgEngine() { keepSession(settings_, std::move(session_)); }

std::unique_ptr<EngineStatement> PgEngine::prepare(std::string_view sql) const {
    return std::make_unique<PgStatement>(session_, sql);
}

ResultHandle PgEngine::run(const std::string& sql,
                           std::initializer_list<std::string> parameters) const {
    std::vector<const char*> values;
    for (const auto& parameter : parameters) values.push_back(parameter.c_str());
    PGconn* connection = session_.ready();
    if (!keepsColumns(sql)) session_.emptyReads.clear();
    session_.sendBegin();
    ResultHandle result(PQexecParams(connection, sql.c_str(), static_cast<int>(values.size()),
                                     nullptr, values.data(), nullptr, nullptr, 0));
    const ExecStatusType status = PQresultStatus(result.get());
    if (status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK)
        throw session_.failure(result.get());
    return result;
}

void PgEngine::exec(const std::string& sql) {
    const ServerSql server = toServerSql(sql);
    if (server.changesSession) session_.changedSettings = true;
    // A commit is told when the server took it as a rollback.
    if (server.control == ServerSql::Control::Commit) return commit();
    if (server.control == ServerSql::Control::Begin) return session_.begin(server.text);
    if (server.control == ServerSql::Control::Rollback && session_.endUnsentTransaction()) return;
    session_.ready();
    if (!server.keepsColumns) session_.emptyReads.clear();
    ResultHandle result = server.control == ServerSql::Control::None
                              ? session_.execAlone(server.text)
                              : session_.execControl(server.text);
    const ExecStatusType status = PQresultStatus(result.get());
    if (status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK)
        throw session_.failure(result.get());
    session_.noteWrites(result.get(), server.returnsRowId);
}

bool PgEngine::tryExec(const char* sql) noexcept {
    try {
        exec(sql);
        return true;
    } catch (...) {
        return false;
    }
}

bool PgEngine::inAutocommit() const noexcept { return !session_.inTransaction(); }

void PgEngine::begin() { session_.begin("BEGIN ISOLATION LEVEL READ COMMITTED"); }

void PgEngine::beginReadSnapshot() {
    session_.begin("BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY");
}

void PgEngine::commit() {
    // After a failed statement the server takes COMMIT as ROLLBACK: nothing may look stored.
    const auto abandoned = [this] {
        tryRollback();
        return StoreError("这一事务中有操作失败，整个事务已撤销，没有保存任何改动。");
    };
    if (session_.endUnsentTransaction()) return;  // nothing ran in it
    if (PQtransactionStatus(session_.idle()) == PQTRANS_INERROR) throw abandoned();
    const ResultHandle result = run("COMMIT");
    if (std::string_view(PQcmdStatus(result.get())) == "ROLLBACK") throw abandoned();
}

bool PgEngine::tryRollback() noexcept {
    session_.openTransaction = false;  // a lost connection's transaction is gone already
    counters_.clear();                 // it may have made tables that are gone again
    if (session_.endUnsentTransaction()) return true;
    session_.emptyReads.clear();  // it may have taken back a change of columns
    ResultHandle result(PQexec(session_.idle(), "ROLLBACK"));
    return PQresultStatus(result.get()) == PGRES_COMMAND_OK;
}

bool PgEngine::inCatalogue(const std::string& table) const {
    return PQntuples(run("SELECT 1 FROM pg_catalog.pg_tables WHERE schemaname = current_schema() "
                         "AND tablename = $1",
                         {table})
                         .get()) > 0;
}

bool PgEngine::holdsTable(const std::string& table) const {
    if (counters_.count(table) != 0) return true;
    if (!inCatalogue(table)) return false;
    counterColumn(table);
    return true;
}

std::string PgEngine::identityColumn(const std::string& table) const {
    const ResultHandle result =
        run("SELECT a.attname FROM pg_catalog.pg_attribute a JOIN pg_catalog.pg_class c ON c.oid = "
            "a.attrelid JOIN pg_catalog.pg_namespace n ON n.oid = c.relnamespace WHERE n.nspname = "
            "current_schema() AND c.relname = $1 AND a.attidentity IN ('a', 'd') AND NOT "
            "a.attisdropped ORDER BY a.attname = 'rowid', a.attnum",
            {table});
    return PQntuples(result.get()) > 0 ? PQgetvalue(result.get(), 0, 0) : std::string();
}

std::string PgEngine::counterColumn(const std::string& table) const {
    if (const auto known = counters_.find(table); known != counters_.end()) return known->second;
    std::string column = identityColumn(table);  // rowid for a table without a counter
    const bool there = !column.empty() || inCatalogue(table);
    if (column == "rowid") column.clear();
    if (there) counters_.emplace(table, column);
    return column;
}

int PgEngine::schemaVersion() const {
    if (!holdsTable(schema::kSchemaVersionTable)) return 0;
    const ResultHandle result =
        run("SELECT \"版本\" FROM " + sql::quotedName(schema::kSchemaVersionTable) + " LIMIT 1");
    return PQntuples(result.get()) > 0 ? std::atoi(PQgetvalue(result.get(), 0, 0)) : 0;
}

void PgEngine::setSchemaVersion(int version) {
    const std::string table = sql::quotedName(schema::kSchemaVersionTable);
    run("CREATE TABLE IF NOT EXISTS " + table + " (\"版本\" integer NOT NULL)");
    run("DELETE FROM " + table);
    run("INSERT INTO " + table + " (\"版本\") VALUES ($1)", {std::to_string(version)});
}

void PgEngine::createTable(const schema::TableDef& table) {
    if (!holdsTable(schema::kChangeCounts))
        for (const auto& sql : sharedPiecesSql()) run(sql);
    for (const auto& sql : serverTableSql(table)) run(sql);
}

void PgEngine::counterFollowsRows(const std::string& table) {
    const std::string column = identityColumn(table);
    if (column.empty()) return;
    const std::string highest =
        "(SELECT max(" + sql::quotedName(column) + ") FROM " + sql::quotedName(table) + ")";
    run("SELECT setval(pg_get_serial_sequence($1, $2), COALESCE(" + highest + ", 1), " + highest +
            " IS NOT NULL)",
        {sql::quotedName(table), column});
}

void PgEngine::learnNewContents() noexcept {
    // Without its statistics, the server may read a table of 100,000 rows in the order they
    // were stored by sorting it rather than along its key, until its own analysis comes round.
    tryExec("ANALYZE");
}

std::unique_ptr<ChangeWatch> PgEngine::watchChanges() const {
    return std::make_unique<PgChangeWatch>(settings_);
}

}  // namespace store::pg

namespace store {

std::unique_ptr<Engine> openServerEngine(const ServerSettings& server) {
    return std::make_unique<pg::PgEngine>(server);
}

}  // namespace store
