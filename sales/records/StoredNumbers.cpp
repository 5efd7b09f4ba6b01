#include "sales/records/StoredNumbers.h"

#include "store/Connection.h"
#include "store/Database.h"
#include "store/Error.h"
#include "store/RowLock.h"
#include "store/Values.h"

namespace sales {

std::optional<std::vector<store::Decimal>> storedNumbers(store::Connection& connection,
                                                         const std::string& table,
                                                         std::int64_t rowId,
                                                         const std::vector<std::string>& columns) {
    std::string sql = "SELECT ";
    for (std::size_t i = 0; i < columns.size(); ++i)
        sql += std::string(i == 0 ? "" : ", ") + "\"" + columns[i] + "\"";
    sql += " FROM \"" + table + "\" WHERE rowid = ?" + store::rowLockClause(connection);
    store::Statement select(connection.database(), sql);
    select.bindInt64(1, rowId);
    if (!select.step()) return std::nullopt;
    std::vector<store::Decimal> numbers;
    numbers.reserve(columns.size());
    for (int i = 0; i < static_cast<int>(columns.size()); ++i)
        numbers.push_back(storedNumber(select, i, columns[static_cast<std::size_t>(i)]));
    return numbers;
}

store::Decimal storedNumber(const store::Statement& row, int index, const std::string& name) {
    std::string text;
    if (row.isText(index))
        text = std::string(row.text(index));
    else if (!row.isNull(index))
        text = store::values::formatNumber(row.doubleValue(index));
    const auto number = store::Decimal::parse(text);
    if (!number)
        throw store::StoreError("'" + text + "' is not a valid floating point value for field '" +
                                name + "'");
    return *number;
}

}  // namespace sales
