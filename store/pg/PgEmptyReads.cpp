#include "store/pg/PgEmptyReads.h"

namespace store::pg {

namespace {

// More than the program's tables ever need: texts past it are not kept.
constexpr std::size_t kMostKept = 64;

}  // namespace

ResultHandle EmptyReads::find(const std::string& text) const noexcept {
    const auto known = results_.find(text);
    if (known == results_.end()) return nullptr;
    return ResultHandle(PQcopyResult(known->second.get(), PG_COPYRES_ATTRS));
}

void EmptyReads::keep(const std::string& text, const PGresult* result) noexcept {
    if (results_.size() >= kMostKept || PQresultStatus(result) != PGRES_TUPLES_OK ||
        PQntuples(result) != 0)
        return;
    try {
        ResultHandle columns(PQcopyResult(result, PG_COPYRES_ATTRS));
        if (columns) results_.insert_or_assign(text, std::move(columns));
    } catch (...) {
        // Not kept: the server is asked again.
    }
}

}  // namespace store::pg
