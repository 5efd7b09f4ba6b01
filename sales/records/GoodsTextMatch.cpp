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
    bool first = true;
    for (const auto column : kGoodsTextColumns) {
        const std::string left = qualified(a, column);
        const std::string right = b.empty() ? "?" : qualified(b, column);
        if (first)
            condition = left + " IS " + right;
        else
            condition += " AND IFNULL(" + left + ", '') = IFNULL(" + right + ", '')";
        first = false;
    }
    return condition;
}

}  // namespace sales
