#include "store/pg/PgSession.h"

#include <utility>

namespace store::pg {

namespace {

bool idle(PGconn* connection) {
    return PQstatus(connection) == CONNECTION_OK && PQtransactionStatus(connection) == PQTRANS_IDLE;
}

}  // namespace

PGconn* Session::ready() noexcept {
    PGconn* raw = connection.get();
    if (PQstatus(raw) == CONNECTION_BAD && !openTransaction) {
        PQreset(raw);
        ++connections;
        if (PQstatus(raw) == CONNECTION_OK) prepareSession(raw);
    }
    if (PQstatus(raw) == CONNECTION_OK) openTransaction = PQtransactionStatus(raw) != PQTRANS_IDLE;
    return raw;
}

void Session::begin(const std::string& sql) {
    if (beginUnsent_) return;
    PGconn* raw = ready();
    if (idle(raw)) {
        begin_ = sql;
        beginUnsent_ = true;
        return;
    }
    const ResultHandle result(PQexec(raw, sql.c_str()));
    if (PQresultStatus(result.get()) != PGRES_COMMAND_OK) throw failure(result.get());
}

bool Session::inTransaction() const noexcept {
    // A connection lost outside a transaction is made again for the next statement.
    if (PQstatus(connection.get()) != CONNECTION_OK) return beginUnsent_ || openTransaction;
    return beginUnsent_ || PQtransactionStatus(connection.get()) != PQTRANS_IDLE;
}

bool Session::endUnsentTransaction() noexcept { return std::exchange(beginUnsent_, false); }

const char* Session::takeBegin() noexcept {
    if (!beginUnsent_) return nullptr;
    beginUnsent_ = false;
    openTransaction = true;  // a connection lost now takes the transaction with it
    return begin_.c_str();
}

void Session::afterBegin(const char* begin) noexcept {
    if (begin != nullptr && idle(connection.get())) {
        beginUnsent_ = true;
        openTransaction = false;
    }
}

void Session::sendBegin() {
    const char* begin = takeBegin();
    if (begin == nullptr) return;
    const ResultHandle result(PQexec(connection.get(), begin));
    afterBegin(begin);
    if (PQresultStatus(result.get()) != PGRES_COMMAND_OK) throw failure(result.get());
}

ResultHandle Session::runAlone(int commands, const std::function<int(PGconn*)>& send) noexcept {
    const char* begin = takeBegin();
    ResultHandle result = pg::runAlone(connection.get(), begin, commands, send);
    afterBegin(begin);
    return result;
}

ResultHandle Session::execAlone(std::string sql) noexcept {
    const char* begin = takeBegin();
    ResultHandle result = pg::execAlone(connection.get(), begin, std::move(sql));
    afterBegin(begin);
    return result;
}

ResultHandle Session::execControl(const std::string& sql) noexcept {
    const char* begin = takeBegin();
    ResultHandle result;
    try {
        result.reset(PQexec(connection.get(),
                            begin == nullptr ? sql.c_str() : (begin_ + "; " + sql).c_str()));
    } catch (...) {
    }
    afterBegin(begin);
    return result;
}

}  // namespace store::pg
