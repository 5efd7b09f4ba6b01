#include "export/QueryTable.h"

#include "export/CellLimits.h"
#include "store/Query.h"

namespace workbook {

int QueryTable::columnCount() const { return static_cast<int>(query_.fields().size()); }

std::string_view QueryTable::columnName(int column) const {
    return query_.fields()[static_cast<std::size_t>(column)].name;
}

int QueryTable::rowCount() const { return query_.recordCount(); }

Cell QueryTable::cell(int row, int column) const {
    const std::string_view text = query_.fieldTextAt(row, column);
    if (text.empty()) return Cell::empty();
    const store::FieldType type = query_.fields()[static_cast<std::size_t>(column)].type;
    if (type == store::FieldType::Double || type == store::FieldType::Counter) {
        if (const auto number = storedNumber(text)) return Cell::ofNumber(*number);
    }
    return Cell::ofText(text);
}

}  // namespace workbook
