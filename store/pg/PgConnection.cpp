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

// The statement's result among the results of what went ahead of it (the BEGIN, the savepoint),
// its own commands and the savepoint's release: the first failure is what kept the rest from
// running. A failed statement is taken back to its savepoint.
ResultHandle statementAmong(PGconn* connection, std::vector<ResultHandle>& results,
                            std::size_t ahead, std::size_t statement, bool savepoint) {
    for (std::size_t i = 0; i < results.size() && i <= statement; ++i) {
        if (succeeded(results[i].get())) continue;
        if (savepoint && i >= ahead) ResultHandle takenBack(PQexec(connection, kTakeBack));
        return std::move(results[i]);
    }
    if (results.size() <= statement) return nullptr;
    return std::move(results[statement]);
}

bool sendCommand(PGconn* connection, const char* sql) {
    return PQsendQueryParams(connection, sql, 0, nullptr, nullptr, nullptr, nullptr, 0) != 0;
}

}  // namespace

ResultHandle runAlone(PGconn* connection, const char* begin, int commands,
                      const std::function<int(PGconn*)>& send) noexcept {
    try {
        const bool transaction =
            begin != nullptr || PQtransactionStatus(connection) == PQTRANS_INTRANS;
        if (!transaction && commands == 1) {
            if (!send(connection)) return nullptr;
            auto results = resultsOf(connection, false);
            return results.empty() ? nullptr : std::move(results.back());
        }
        if (!PQenterPipelineMode(connection)) return nullptr;
        const bool sent = (begin == nullptr || sendCommand(connection, begin)) &&
                          (!transaction || sendCommand(connection, kSavepoint)) &&
                          send(connection) && (!transaction || sendCommand(connection, kRelease)) &&
                          PQpipelineSync(connection);
        auto results = sent ? resultsOf(connection, true) : std::vector<ResultHandle>();
        PQexitPipelineMode(connection);
        const std::size_t ahead = (begin != nullptr ? 1 : 0) + (transaction ? 1 : 0);
        return statementAmong(connection, results, ahead,
                              ahead + static_cast<std::size_t>(commands) - 1, transaction);
    } catch (...) {
        return nullptr;
    }
}

ResultHandle execAlone(PGconn* connection, const char* begin, std::string sql) noexcept {
    try {
        if (begin == nullptr && PQtransactionStatus(connection) != PQTRANS_INTRANS)
            return ResultHandle(PQexec(connection, sql.c_str()));
        while (!sql.empty() && (sql.back() == ';' || sql.back() == ' ' || sql.back() == '\n'))
            sql.pop_back();
        const std::string wrapped = (begin != nullptr ? std::string(begin) + "; " : std::string()) +
                                    kSavepoint + "; " + sql + "; " + kRelease;
        if (!PQsendQuery(connection, wrapped.c_str())) return nullptr;
        auto results = resultsOf(connection, false);
        // The statements' results stand between the savepoint's and the release's; the first
        // that failed is the last there is.
        const std::size_t ahead = begin != nullptr ? 2 : 1;
        const bool released = results.size() > ahead && succeeded(results.back().get());
        return statementAmong(connection, results, ahead, results.size() - (released ? 2 : 1),
                              true);
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

namespace {

// Numbers read back as the shortest text that gives the same double.
ResultHandle setUpSession(PGconn* connection) noexcept {
    return ResultHandle(PQexec(connection, "SET extra_float_digits = 1"));
}

}  // namespace

bool prepareSession(PGconn* connection) noexcept {
    return PQresultStatus(setUpSession(connection).get()) == PGRES_COMMAND_OK;
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
    const ResultHandle set = setUpSession(connection.get());
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
