#include "sales/records/GoodsTextMatch.h"

#include "sales/records/SaleEntry.h"

namespace sales {

namespace {

std::string qualified(std::string_view table, std::string_view column) {
    const std::string name = "\"" + std::string(column) + "\"";
    return table.empty() ? name : "\"" + std::string(table) + "\"." + name;
}

}  // namespace

std::string sameGoodsTexts(std::string_view a, std::string_view b) {
    std::string condition;
    for (const auto column : kGoodsTextColumns) {
        if (!condition.empty()) condition += " AND ";
        condition += qualified(a, column) + " IS " + (b.empty() ? "?" : qualified(b, column));
    }
    return condition;
}

}  // namespace sales
