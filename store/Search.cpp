#include "store/Search.h"

#include "store/Query.h"

namespace store {

void runSearch(Query& query, const std::string& table, const std::string& column,
               const std::string& text) {
    runSearchWhere(query, table, column + " like ?", text);
}

void runSearchWhere(Query& query, const std::string& table, const std::string& condition,
                    const std::string& text) {
    query.close();
    query.select(table, condition, {"%" + text + "%"});
    query.open();
}

int filledSearchField(std::span<const std::string> texts) noexcept {
    int found = -1;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (texts[i].empty()) continue;
        if (found >= 0) return -1;
        found = static_cast<int>(i);
    }
    return found;
}

bool searchByFilledField(Query& query, const std::string& table,
                         std::span<const std::string_view> columns,
                         std::span<const std::string> texts) {
    // A list closed by a failed re-read counts as a list without rows, like an empty one.
    if (!query.isOpen() || query.isEmpty()) return false;
    const int field = filledSearchField(texts);
    if (field < 0 || static_cast<std::size_t>(field) >= columns.size()) return false;
    const auto f = static_cast<std::size_t>(field);
    runSearch(query, table, std::string(columns[f]), texts[f]);
    return true;
}

}  // namespace store
