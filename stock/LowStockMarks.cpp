#include "stock/LowStockMarks.h"

#include "grid/DataGrid.h"
#include "store/Query.h"
#include "store/Schema.h"

namespace stock {

namespace {

namespace column = store::schema::column;

bool holds(const std::vector<store::FieldDef>& fields, int index, const char* name) {
    return index >= 0 && index < static_cast<int>(fields.size()) &&
           fields[static_cast<std::size_t>(index)].name == name;
}

}  // namespace

void LowStockMarks::attach(grid::TDataGrid& list, const store::Query& goods, const char* field) {
    list_ = &list;
    int marked = -1;
    const auto& columns = list.columns();
    for (std::size_t c = 0; c < columns.size(); ++c)
        if (columns[c].field == QString::fromUtf8(field)) marked = static_cast<int>(c);
    list.setCellTextColour([this, &goods, marked](int row, int column) -> std::optional<QColor> {
        if (column != marked || levels_.empty() || row >= goods.recordCount()) return {};
        // Asked for every row painted: the columns are looked up by name only when the
        // query's columns changed.
        const auto& fields = goods.fields();
        if (!holds(fields, codeField_, column::kGoodsCode))
            codeField_ = goods.fieldIndex(column::kGoodsCode);
        if (!holds(fields, stockField_, column::kStockQuantity))
            stockField_ = goods.fieldIndex(column::kStockQuantity);
        if (codeField_ < 0 || stockField_ < 0) return {};
        const std::string_view code = store::values::trimBlanks(goods.fieldTextAt(row, codeField_));
        const auto level = levels_.find(code);
        if (level == levels_.end() ||
            !isLow(goods.sumWithText(codeField_, code, stockField_), level->second.level))
            return {};
        return QColor(Qt::red);
    });
}

void LowStockMarks::reload(store::Connection& connection) {
    levels_ = readLevels(connection);
    if (list_ != nullptr) list_->update();
}

}  // namespace stock
