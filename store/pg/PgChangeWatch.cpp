#include "store/pg/PgChangeWatch.h"

#include <charconv>

#include "store/Schema.h"

namespace store::pg {

namespace {
// A server that could not be reached is tried again after this long, not on every read.
constexpr auto kRetryAfter = std::chrono::seconds(5);
}  // namespace

PgChangeWatch::PgChangeWatch(const ServerSettings& settings)
    : settings_(settings),
      connection_(tryConnect(settings)),
      lastAttempt_(std::chrono::steady_clock::now()) {}

bool PgChangeWatch::reachable() {
    if (connection_ && PQstatus(connection_.get()) == CONNECTION_OK) return true;
    const auto now = std::chrono::steady_clock::now();
    if (now - lastAttempt_ < kRetryAfter) return false;
    lastAttempt_ = now;
    connection_ = tryConnect(settings_);
    return connection_ != nullptr;
}

std::optional<std::int64_t> PgChangeWatch::version(std::string_view table) {
    if (!reachable()) return std::nullopt;
    static const std::string sql =
        std::string("SELECT \"版本\" FROM \"") + schema::kChangeCounts + "\" WHERE \"表名\" = $1";
    const std::string name(table);
    const char* values[] = {name.c_str()};
    const ResultHandle result(
        PQexecParams(connection_.get(), sql.c_str(), 1, nullptr, values, nullptr, nullptr, 0));
    if (PQresultStatus(result.get()) != PGRES_TUPLES_OK) return std::nullopt;
    if (PQntuples(result.get()) == 0) return 0;
    std::int64_t count = 0;
    const char* text = PQgetvalue(result.get(), 0, 0);
    std::from_chars(text, text + PQgetlength(result.get(), 0, 0), count);
    return count;
}

}  // namespace store::pg
