#include "store/pg/PgSession.h"

#include <charconv>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace store::pg {

namespace {

// SQLSTATEs of a prepared statement that is not on the server as it was prepared.
constexpr const char* kNoSuchStatement = "26000";
constexpr const char* kStatementExists = "42P05";
// Among others, "cached plan must not change result type": a table the statement reads was made
// again with other columns since it was prepared.
constexpr const char* kPlanChanged = "0A000";

bool hasState(const PGresult* result, const char* state) {
    const char* field = PQresultErrorField(result, PG_DIAG_SQLSTATE);
    return field != nullptr && std::strcmp(field, state) == 0;
}

bool isIdle(PGconn* connection) {
    return PQstatus(connection) == CONNECTION_OK && PQtransactionStatus(connection) == PQTRANS_IDLE;
}

}  // namespace

void Session::noteWrites(PGresult* result, bool returnsRowId) noexcept {
    const char* command = PQcmdStatus(result);
    if (std::strncmp(command, "INSERT", 6) == 0 || std::strncmp(command, "UPDATE", 6) == 0 ||
        std::strncmp(command, "DELETE", 6) == 0)
        changes = std::atoi(PQcmdTuples(result));
    if (const int rows = PQntuples(result); returnsRowId && rows > 0) {
        const char* id = PQgetvalue(result, rows - 1, 0);
        std::from_chars(id, id + PQgetlength(result, rows - 1, 0), lastInsertRowId);
    }
}

PGconn* Session::idle() noexcept {
    if (stream != nullptr) std::exchange(stream, nullptr)->holdRest();
    return connection.get();
}

PGconn* Session::ready() noexcept {
    PGconn* raw = idle();
    if (PQstatus(raw) == CONNECTION_BAD && !openTransaction) {
        PQreset(raw);
        prepared.clear();
        emptyReads.clear();
        if (PQstatus(raw) == CONNECTION_OK) prepareSession(raw);
    }
    if (PQstatus(raw) == CONNECTION_OK) openTransaction = PQtransactionStatus(raw) != PQTRANS_IDLE;
    return raw;
}

void Session::begin(const std::string& sql) {
    if (beginUnsent_) return;
    PGconn* raw = ready();
    if (isIdle(raw)) {
        begin_ = sql;
        beginUnsent_ = true;
        return;
    }
    const ResultHandle result(PQexec(raw, sql.c_str()));
    if (PQresultStatus(result.get()) != PGRES_COMMAND_OK) throw failure(result.get());
}

bool Session::inTransaction() const noexcept {
    if (beginUnsent_) return true;
    if (stream != nullptr) return false;  // rows stream only outside a transaction
    // A connection lost outside a transaction is made again for the next statement.
    if (PQstatus(connection.get()) != CONNECTION_OK) return openTransaction;
    return PQtransactionStatus(connection.get()) != PQTRANS_IDLE;
}

bool Session::endUnsentTransaction() noexcept { return std::exchange(beginUnsent_, false); }

const char* Session::takeBegin() noexcept {
    if (!beginUnsent_) return nullptr;
    beginUnsent_ = false;
    openTransaction = true;  // a connection lost now takes the transaction with it
    return begin_.c_str();
}

void Session::afterBegin(const char* begin) noexcept {
    if (begin != nullptr && isIdle(connection.get())) {
        beginUnsent_ = true;
        openTransaction = false;
    }
}

void Session::sendBegin() {
    const char* begin = takeBegin();
    if (begin == nullptr) return;
    const ResultHandle result(PQexec(idle(), begin));
    afterBegin(begin);
    if (PQresultStatus(result.get()) != PGRES_COMMAND_OK) throw failure(result.get());
}

ResultHandle Session::runStatement(const std::string& text, int count,
                                   const char* const* values) noexcept {
    try {
        PGconn* raw = idle();
        const bool changeable =
            PQstatus(raw) == CONNECTION_OK && PQtransactionStatus(raw) != PQTRANS_INERROR;
        PreparedTexts::Plan plan = prepared.plan(text, changeable);
        ResultHandle result = runPlanned(plan, text, count, values);
        if (plan.name.empty()) return result;
        if (hasState(result.get(), kPlanChanged) && !plan.prepare) {
            // Prepared again under its name, once; a failure of the statement itself stays.
            plan = {plan.name, true, plan.name};
            result = runPlanned(plan, text, count, values);
        }
        if (!hasState(result.get(), kNoSuchStatement) &&
            !hasState(result.get(), kStatementExists) &&
            !(hasState(result.get(), kPlanChanged) && !plan.prepare))
            return result;
        // Preparing never fails a statement that runs unprepared; what failed was taken back.
        prepared.forget(text);
        return runPlanned({}, text, count, values);
    } catch (...) {
        return nullptr;
    }
}

ResultHandle Session::runPlanned(const PreparedTexts::Plan& plan, const std::string& text,
                                 int count, const char* const* values) noexcept {
    const std::string deallocate =
        plan.deallocate.empty() ? std::string() : "DEALLOCATE " + plan.deallocate;
    const int commands = 1 + (plan.prepare ? 1 : 0) + (deallocate.empty() ? 0 : 1);
    return runAlone(commands, [&](PGconn* c) {
        if (!deallocate.empty() &&
            !PQsendQueryParams(c, deallocate.c_str(), 0, nullptr, nullptr, nullptr, nullptr, 0))
            return 0;
        if (plan.name.empty())
            return PQsendQueryParams(c, text.c_str(), count, nullptr, values, nullptr, nullptr, 0);
        if (plan.prepare && !PQsendPrepare(c, plan.name.c_str(), text.c_str(), count, nullptr))
            return 0;
        return PQsendQueryPrepared(c, plan.name.c_str(), count, values, nullptr, nullptr, 0);
    });
}

ResultHandle Session::runAlone(int commands, const std::function<int(PGconn*)>& send) noexcept {
    const char* begin = takeBegin();
    ResultHandle result = pg::runAlone(idle(), begin, commands, send);
    afterBegin(begin);
    return result;
}

ResultHandle Session::execAlone(std::string sql) noexcept {
    const char* begin = takeBegin();
    ResultHandle result = pg::execAlone(idle(), begin, std::move(sql));
    afterBegin(begin);
    return result;
}

ResultHandle Session::execControl(const std::string& sql) noexcept {
    const char* begin = takeBegin();
    ResultHandle result;
    try {
        result.reset(
            PQexec(idle(), begin == nullptr ? sql.c_str() : (begin_ + "; " + sql).c_str()));
    } catch (...) {
    }
    afterBegin(begin);
    return result;
}

}  // namespace store::pg
