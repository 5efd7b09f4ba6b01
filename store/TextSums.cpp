// The per-text sums kept with a result set's rows.
#include <optional>

#include "store/Query.h"
#include "store/TableCache.h"
#include "store/Values.h"

namespace store {

namespace {

values::Total numberOf(std::string_view text) {
    if (text.empty()) return 0;
    const std::optional<double> number = values::parseNumber(text);
    return number ? values::toTenThousandths(*number) : 0;
}

}  // namespace

const TableRows::TextSums& TableRows::textSumsOf(int textColumn, int numberColumn) const {
    for (const TextSums& made : textSums)
        if (made.textColumn == textColumn && made.numberColumn == numberColumn) return made;
    TextSums made{textColumn, numberColumn, {}};
    const auto text = static_cast<std::size_t>(textColumn);
    const auto number = static_cast<std::size_t>(numberColumn);
    for (std::size_t row = 0; row < count(); ++row) {
        if (isNull(row, text)) continue;
        const std::string_view key = values::trimBlanks(cell(row, text));
        auto found = made.sums.find(key);
        if (found == made.sums.end()) found = made.sums.emplace(std::string(key), 0).first;
        found->second += numberOf(cell(row, number));
    }
    textSums.push_back(std::move(made));
    return textSums.back();
}

void TableRows::addToSums(std::size_t row, bool add) {
    for (TextSums& made : textSums) {
        const auto text = static_cast<std::size_t>(made.textColumn);
        if (isNull(row, text)) continue;
        const std::string_view key = values::trimBlanks(cell(row, text));
        auto found = made.sums.find(key);
        if (found == made.sums.end()) found = made.sums.emplace(std::string(key), 0).first;
        const values::Total value =
            numberOf(cell(row, static_cast<std::size_t>(made.numberColumn)));
        found->second += add ? value : -value;
    }
}

void TableRows::appendRow(std::int64_t rowId, const std::vector<std::string>& cells,
                          const std::vector<bool>& nulls) {
    RowArena::appendRow(rowId, cells, nulls);
    addToSums(count() - 1, true);
}

void TableRows::replaceRow(std::size_t row, const std::vector<std::string>& cells,
                           const std::vector<bool>& nulls) {
    addToSums(row, false);
    RowArena::replaceRow(row, cells, nulls);
    addToSums(row, true);
}

void TableRows::removeRow(std::size_t row) {
    addToSums(row, false);
    RowArena::removeRow(row);
}

void TableRows::removeRows(const std::vector<int>& ascendingRows) {
    for (const int row : ascendingRows) addToSums(static_cast<std::size_t>(row), false);
    RowArena::removeRows(ascendingRows);
}

values::Total Query::sumWithText(int textColumn, std::string_view text, int numberColumn) const {
    const auto columns = static_cast<int>(fields_.size());
    if (!rows_ || textColumn < 0 || textColumn >= columns || numberColumn < 0 ||
        numberColumn >= columns)
        return 0;
    const TableRows::Sums& sums = rows_->textSumsOf(textColumn, numberColumn).sums;
    const auto found = sums.find(values::trimBlanks(text));
    return found == sums.end() ? 0 : found->second;
}

}  // namespace store
