#include "store/pg/PgConnection.h"

#include <cstdlib>
#include <utility>
#include <vector>

#include "store/Error.h"
#include "store/pg/PgErrors.h"

namespace store::pg {

namespace {

void ignoreNotice(void*, const char*) {}

ConnectionHandle open(const ServerSettings& settings) {
    std::vector<const char*> keys;
    std::vector<const char*> values;
    const auto add = [&](const char* key, const std::string& value) {
        if (value.empty()) return;  // left to libpq's defaults and the PG* environment
        keys.push_back(key);
        values.push_back(value.c_str());
    };
    add("host", settings.host);
    add("port", settings.port);
    add("dbname", settings.database);
    add("user", settings.user);
    add("sslmode", settings.sslmode);
    const std::string encoding = "UTF8";
    const std::string application = "quenvar-jxc";
    add("client_encoding", encoding);
    add("application_name", application);
    // A server that does not answer must not hold the program for ever.
    const std::string timeout = "10";
    if (std::getenv("PGCONNECT_TIMEOUT") == nullptr) add("connect_timeout", timeout);
    keys.push_back(nullptr);
    values.push_back(nullptr);
    ConnectionHandle connection(PQconnectdbParams(keys.data(), values.data(), 0));
    if (connection) PQsetNoticeProcessor(connection.get(), ignoreNotice, nullptr);
    return connection;
}

bool succeeded(const PGresult* result) {
    const ExecStatusType status = PQresultStatus(result);
    return status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK;
}

// Every result of what was sent, up to the pipeline's end when in one: each command's result
// is followed by a null; two nulls in a row mean nothing more comes.
std::vector<ResultHandle> resultsOf(PGconn* connection, bool pipeline) {
    std::vector<ResultHandle> results;
    int nulls = 0;
    while (nulls < (pipeline ? 2 : 1)) {
        ResultHandle result(PQgetResult(connection));
        if (!result) {
            ++nulls;
            continue;
        }
        nulls = 0;
        if (PQresultStatus(result.get()) == PGRES_PIPELINE_SYNC) break;
        results.push_back(std::move(result));
    }
    return results;
}

constexpr const char* kSavepoint = "SAVEPOINT jxc_statement";
constexpr const char* kRelease = "RELEASE SAVEPOINT jxc_statement";
constexpr const char* kTakeBack =
    "ROLLBACK TO SAVEPOINT jxc_statement; RELEASE SAVEPOINT jxc_statement";

// The statement's result among the savepoint's around it: the savepoint's own failure when it
// could not be set. A failed statement is taken back.
ResultHandle statementAmong(PGconn* connection, std::vector<ResultHandle>& results,
                            std::size_t statement) {
    if (results.empty()) return nullptr;
    if (!succeeded(results.front().get())) return std::move(results.front());
    if (results.size() <= statement) return nullptr;
    ResultHandle result = std::move(results[statement]);
    if (!succeeded(result.get())) ResultHandle takenBack(PQexec(connection, kTakeBack));
    return result;
}

}  // namespace

ResultHandle runAlone(PGconn* connection, const std::function<int(PGconn*)>& send) noexcept {
    try {
        if (PQtransactionStatus(connection) != PQTRANS_INTRANS) {
            if (!send(connection)) return nullptr;
            auto results = resultsOf(connection, false);
            return results.empty() ? nullptr : std::move(results.back());
        }
        if (!PQenterPipelineMode(connection)) return nullptr;
        const bool sent =
            PQsendQueryParams(connection, kSavepoint, 0, nullptr, nullptr, nullptr, nullptr, 0) &&
            send(connection) &&
            PQsendQueryParams(connection, kRelease, 0, nullptr, nullptr, nullptr, nullptr, 0) &&
            PQpipelineSync(connection);
        auto results = sent ? resultsOf(connection, true) : std::vector<ResultHandle>();
        PQexitPipelineMode(connection);
        return statementAmong(connection, results, 1);
    } catch (...) {
        return nullptr;
    }
}

ResultHandle execAlone(PGconn* connection, std::string sql) noexcept {
    try {
        if (PQtransactionStatus(connection) != PQTRANS_INTRANS)
            return ResultHandle(PQexec(connection, sql.c_str()));
        while (!sql.empty() && (sql.back() == ';' || sql.back() == ' ' || sql.back() == '\n'))
            sql.pop_back();
        const std::string wrapped = std::string(kSavepoint) + "; " + sql + "; " + kRelease;
        if (!PQsendQuery(connection, wrapped.c_str())) return nullptr;
        auto results = resultsOf(connection, false);
        // The statements' results stand between the savepoint's and the release's; the first
        // that failed is the last there is.
        if (results.size() >= 2 && succeeded(results.back().get()))
            return statementAmong(connection, results, results.size() - 2);
        return statementAmong(connection, results, results.size() - 1);
    } catch (...) {
        return nullptr;
    }
}

ResultHandle describe(PGconn* connection, const std::string& sql) noexcept {
    try {
        if (!PQenterPipelineMode(connection)) return nullptr;
        const bool sent = PQsendPrepare(connection, "", sql.c_str(), 0, nullptr) &&
                          PQsendDescribePrepared(connection, "") && PQpipelineSync(connection);
        auto results = sent ? resultsOf(connection, true) : std::vector<ResultHandle>();
        PQexitPipelineMode(connection);
        if (results.empty()) return nullptr;
        if (!succeeded(results.front().get()) || results.size() < 2)
            return std::move(results.front());
        return std::move(results[1]);
    } catch (...) {
        return nullptr;
    }
}

bool prepareSession(PGconn* connection) noexcept {
    // Numbers read back as the shortest text that gives the same double.
    ResultHandle set(PQexec(connection, "SET extra_float_digits = 1"));
    return PQresultStatus(set.get()) == PGRES_COMMAND_OK;
}

ConnectionHandle tryConnect(const ServerSettings& settings) noexcept {
    try {
        ConnectionHandle connection = open(settings);
        if (!connection || PQstatus(connection.get()) != CONNECTION_OK ||
            !prepareSession(connection.get()))
            return nullptr;
        return connection;
    } catch (...) {
        return nullptr;
    }
}

ConnectionHandle connect(const ServerSettings& settings) {
    ConnectionHandle connection = open(settings);
    if (!connection)
        throw StoreError("无法连接 " + settings.describe() + "：内存不足",
                         StoreError::kServerUnreachable);
    if (PQstatus(connection.get()) != CONNECTION_OK)
        throw connectFailure(PQerrorMessage(connection.get()),
                             reachedServer(connection.get(), settings));
    ResultHandle set(PQexec(connection.get(), "SET extra_float_digits = 1"));
    if (PQresultStatus(set.get()) != PGRES_COMMAND_OK)
        throw statementFailure(set.get(), connection.get(),
                               reachedServer(connection.get(), settings).describe());
    return connection;
}

ServerSettings reachedServer(const PGconn* connection, const ServerSettings& settings) {
    ServerSettings reached = settings;
    const auto fill = [](std::string& value, const char* used) {
        if (value.empty() && used != nullptr) value = used;
    };
    fill(reached.host, PQhost(connection));
    fill(reached.port, PQport(connection));
    fill(reached.database, PQdb(connection));
    fill(reached.user, PQuser(connection));
    return reached;
}

}  // namespace store::pg
