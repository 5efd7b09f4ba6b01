#include "store/pg/PgSessionPool.h"

#include <cstdlib>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace store::pg {

namespace {

constexpr std::size_t kKeptSessions = 4;

// What libpq reads from the environment when a setting is left empty: a session made under other
// values may reach another server or user.
std::string environmentOfConnections() {
    std::string values;
    for (const char* name :
         {"PGHOST", "PGHOSTADDR", "PGPORT", "PGDATABASE", "PGUSER", "PGPASSWORD", "PGPASSFILE",
          "PGSERVICE", "PGSERVICEFILE", "PGSSLMODE", "PGOPTIONS", "PGAPPNAME", "PGCONNECT_TIMEOUT",
          "PGSSLCERT", "PGSSLKEY", "PGSSLROOTCERT"}) {
        const char* value = std::getenv(name);
        values += value != nullptr ? std::string("=") + value : "-";
        values += '\0';
    }
    return values;
}

// A server that ended the session while it was kept may not have closed its end yet: the session
// is asked for an answer (an empty statement, one exchange), which a session ended never gives.
bool stillSound(PGconn* connection) {
    if (PQstatus(connection) != CONNECTION_OK) return false;
    const ResultHandle answer(PQexec(connection, ""));
    return PQresultStatus(answer.get()) == PGRES_EMPTY_QUERY &&
           PQtransactionStatus(connection) == PQTRANS_IDLE;
}

struct Kept {
    ServerSettings settings;
    std::string environment;
    Session session;
};

class Pool {
  public:
    void close(bool forGood) {
        const std::lock_guard lock(mutex_);
        gone_ = gone_ || forGood;
        kept_.clear();
    }
    std::optional<Session> take(const ServerSettings& settings) {
        const std::string environment = environmentOfConnections();
        const std::lock_guard lock(mutex_);
        for (auto it = kept_.rbegin(); it != kept_.rend(); ++it) {
            if (!(it->settings == settings) || it->environment != environment) continue;
            Session session = std::move(it->session);
            kept_.erase(std::next(it).base());
            if (stillSound(session.connection.get())) return session;
            return std::nullopt;
        }
        return std::nullopt;
    }
    void keep(const ServerSettings& settings, Session session) {
        std::string environment = environmentOfConnections();
        const std::lock_guard lock(mutex_);
        if (gone_) return;
        if (kept_.size() == kKeptSessions) kept_.erase(kept_.begin());
        kept_.push_back({settings, std::move(environment), std::move(session)});
    }

  private:
    std::mutex mutex_;
    std::vector<Kept> kept_;
    bool gone_ = false;
};

// Never destroyed, so that an engine closed late in the program's exit still finds it; its kept
// sessions are closed at exit.
Pool& pool() {
    static Pool* const instance = [] {
        auto* made = new Pool;
        std::atexit([] { pool().close(true); });
        return made;
    }();
    return *instance;
}

}  // namespace

std::optional<Session> takeKeptSession(const ServerSettings& settings) noexcept {
    try {
        return pool().take(settings);
    } catch (...) {
        return std::nullopt;
    }
}

void keepSession(const ServerSettings& settings, Session session) noexcept {
    PGconn* connection = session.idle();
    session.endUnsentTransaction();
    if (connection == nullptr || PQstatus(connection) != CONNECTION_OK || session.changedSettings)
        return;
    if (PQtransactionStatus(connection) != PQTRANS_IDLE) {
        ResultHandle rolledBack(PQexec(connection, "ROLLBACK"));
        if (PQtransactionStatus(connection) != PQTRANS_IDLE) return;
    }
    session.openTransaction = false;
    try {
        pool().keep(settings, std::move(session));
    } catch (...) {
    }
}

}  // namespace store::pg

namespace store {

void closeKeptServerSessions() noexcept {
    try {
        pg::pool().close(false);
    } catch (...) {
    }
}

}  // namespace store
