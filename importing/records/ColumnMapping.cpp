#include "importing/records/ColumnMapping.h"

#include <algorithm>

#include "purchases/records/PurchaseFields.h"
#include "store/Values.h"

namespace importing {

int ColumnMapping::columnOf(int field) const {
    const auto found = std::find(fieldOfColumn.begin(), fieldOfColumn.end(), field);
    return found == fieldOfColumn.end() ? -1 : static_cast<int>(found - fieldOfColumn.begin());
}

bool isRequired(int field) {
    return field == 0 || field == 1 || field == purchases::kPriceField ||
           field == purchases::kQuantityField;
}

bool isNumberField(int field) {
    return field == purchases::kPriceField || field == purchases::kQuantityField;
}

std::vector<HeaderAlias> columnNameAliases() {
    std::vector<HeaderAlias> aliases;
    for (int field = 0; field < purchases::kFieldCount; ++field)
        aliases.push_back({field, std::string(purchases::kFieldColumns[field])});
    return aliases;
}

std::string normalizedHeader(std::string_view header) {
    std::string_view text = store::values::trimBlanks(header);
    while (!text.empty() && text.front() == '*') text = store::values::trimBlanks(text.substr(1));
    return std::string(text);
}

ColumnMapping mapHeaders(const std::vector<std::string>& headers,
                         const std::vector<HeaderAlias>& aliases) {
    ColumnMapping mapping;
    mapping.fieldOfColumn.assign(headers.size(), kNotImported);
    for (std::size_t column = 0; column < headers.size(); ++column) {
        const std::string header = normalizedHeader(headers[column]);
        if (header.empty()) continue;
        for (const auto& alias : aliases) {
            if (normalizedHeader(alias.header) != header) continue;
            if (mapping.columnOf(alias.field) < 0) mapping.fieldOfColumn[column] = alias.field;
            break;
        }
    }
    return mapping;
}

std::string unmappedRequired(const ColumnMapping& mapping) {
    std::string names;
    for (int field = 0; field < purchases::kFieldCount; ++field) {
        if (!isRequired(field) || mapping.columnOf(field) >= 0) continue;
        if (!names.empty()) names += "、";
        names += purchases::kFieldColumns[field];
    }
    return names;
}

}  // namespace importing
