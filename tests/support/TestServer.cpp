#include "tests/support/TestServer.h"

#include <libpq-fe.h>
#include <stdlib.h>

#include <memory>
#include <stdexcept>

namespace testsupport {

namespace {

std::string environment(const char* name) {
    const char* value = getenv(name);
    return value ? value : "";
}

struct ConnectionCloser {
    void operator()(PGconn* connection) const noexcept { PQfinish(connection); }
};
struct ResultClearer {
    void operator()(PGresult* result) const noexcept { PQclear(result); }
};

// Every statement goes through a connection of its own: a test may drop a database at the very
// end of the process, when nothing kept for the process can be relied on.
std::string run(const std::string& database, const std::string& sql) {
    const char* keywords[] = {"dbname", "client_encoding", nullptr};
    const char* values[] = {database.c_str(), "UTF8", nullptr};
    std::unique_ptr<PGconn, ConnectionCloser> connection(PQconnectdbParams(keywords, values, 0));
    if (!connection || PQstatus(connection.get()) != CONNECTION_OK)
        throw std::runtime_error(
            "cannot reach the test cluster (PGHOST=" + environment("PGHOST") +
            "): " + (connection ? PQerrorMessage(connection.get()) : "no memory"));
    std::unique_ptr<PGresult, ResultClearer> result(PQexec(connection.get(), sql.c_str()));
    const ExecStatusType status = result ? PQresultStatus(result.get()) : PGRES_FATAL_ERROR;
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK)
        throw std::runtime_error(sql + ": " + PQerrorMessage(connection.get()));
    if (status != PGRES_TUPLES_OK || PQntuples(result.get()) == 0 || PQnfields(result.get()) == 0)
        return {};
    return PQgetvalue(result.get(), 0, 0);
}

// Databases are made and dropped from the cluster's maintenance database.
void runOnCluster(const std::string& sql) { run("postgres", sql); }

std::string quoted(const std::string& name) { return "\"" + name + "\""; }

}  // namespace

bool onServer() { return environment("JXC_TEST_SERVER") == "1"; }

store::ServerSettings serverSettings(const std::string& database) {
    store::ServerSettings settings;
    settings.host = environment("PGHOST");
    settings.port = environment("PGPORT");
    settings.user = environment("PGUSER");
    settings.database = database;
    return settings;
}

void createServerDatabase(const std::string& name, const std::string& templateName) {
    store::closeKeptServerSessions();  // the template must have no one connected
    runOnCluster("CREATE DATABASE " + quoted(name) + " TEMPLATE " + quoted(templateName) +
                 (templateName == "template0" ? " ENCODING 'UTF8'" : ""));
}

void dropServerDatabase(const std::string& name) noexcept {
    try {
        runOnCluster("DROP DATABASE IF EXISTS " + quoted(name) + " WITH (FORCE)");
    } catch (...) {
        // Left to the cluster, which is made afresh for every run.
    }
}

void execOnServer(const std::string& database, const std::string& sql) { run(database, sql); }

std::string queryOnServer(const std::string& database, const std::string& sql) {
    return run(database, sql);
}

}  // namespace testsupport
