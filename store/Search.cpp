#include "store/Search.h"

#include "store/Query.h"

namespace store {

void runSearch(Query& query, const std::string& table, const std::string& column,
               const std::string& text) {
    query.close();
    query.select(table, column + " like ?", {"%" + text + "%"});
    query.open();
}

}  // namespace store
