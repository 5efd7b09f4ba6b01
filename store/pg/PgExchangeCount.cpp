#include "store/pg/PgExchangeCount.h"

#include <cstdio>
#include <string>
#include <string_view>

#include "store/Error.h"
#include "store/pg/PgEngine.h"

namespace store::pg {

struct ExchangeCounter::Trace {
    PGconn* connection = nullptr;
    FILE* file = nullptr;
    std::string line;
    long exchanges = 0;

    // libpq writes one line per message; the server's "ready for query" ends an exchange.
    static ssize_t write(void* cookie, const char* data, std::size_t size) {
        auto* trace = static_cast<Trace*>(cookie);
        for (const char c : std::string_view(data, size)) {
            if (c != '\n') {
                trace->line += c;
                continue;
            }
            if (trace->line.starts_with("B\t") &&
                trace->line.find("\tReadyForQuery") != std::string::npos)
                ++trace->exchanges;
            trace->line.clear();
        }
        return static_cast<ssize_t>(size);
    }
};

ExchangeCounter::ExchangeCounter(Engine& engine) : trace_(std::make_unique<Trace>()) {
    auto* server = dynamic_cast<PgEngine*>(&engine);
    if (server == nullptr) throw StoreError("只有数据库服务器上的连接可以统计往返次数");
    trace_->connection = server->connectionForTracing();
    cookie_io_functions_t functions{};
    functions.write = &Trace::write;
    trace_->file = fopencookie(trace_.get(), "w", functions);
    if (trace_->file == nullptr) throw StoreError("无法统计往返次数：内存不足");
    PQtrace(trace_->connection, trace_->file);
    PQsetTraceFlags(trace_->connection, PQTRACE_SUPPRESS_TIMESTAMPS);
}

ExchangeCounter::~ExchangeCounter() {
    PQuntrace(trace_->connection);
    std::fclose(trace_->file);
}

long ExchangeCounter::count() const noexcept {
    std::fflush(trace_->file);
    return trace_->exchanges;
}

}  // namespace store::pg
