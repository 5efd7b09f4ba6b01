#include "store/pg/PgConnection.h"

#include <cstdlib>
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

}  // namespace

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
