#include "stock/LowStockMarks.h"

#include "grid/DataGrid.h"
#include "store/Query.h"
#include "store/Schema.h"

namespace stock {

void LowStockMarks::attach(grid::TDataGrid& list, const store::Query& goods, const char* field) {
    list_ = &list;
    int marked = -1;
    const auto& columns = list.columns();
    for (std::size_t c = 0; c < columns.size(); ++c)
        if (columns[c].field == QString::fromUtf8(field)) marked = static_cast<int>(c);
    list.setCellTextColour([this, &goods, marked](int row, int column) -> std::optional<QColor> {
        if (column != marked || levels_.empty() || row >= goods.recordCount()) return {};
        const int codeField = goods.fieldIndex(store::schema::column::kGoodsCode);
        if (codeField < 0) return {};
        const std::string_view code = store::values::trimBlanks(goods.fieldTextAt(row, codeField));
        const auto level = levels_.find(code);
        if (level == levels_.end() || !isLow(stockOfCode(goods, code), level->second.level))
            return {};
        return QColor(Qt::red);
    });
}

void LowStockMarks::reload(store::Connection& connection) {
    levels_ = readLevels(connection);
    if (list_ != nullptr) list_->update();
}

}  // namespace stock
