#pragma once

#include <string>
#include <string_view>
#include <vector>

// Which column of a file goes into which purchase column of 表1. The purchase columns are the
// twelve of the purchase entry (purchases::kFieldColumns); 进货金额 and the stock figures are
// always worked out, never read.
namespace importing {

inline constexpr int kNotImported = -1;

// A header by which a file column is known to go into a purchase field (an index into
// purchases::kFieldColumns).
struct HeaderAlias {
    int field;
    std::string header;
};

// Per file column, in the file's order: the purchase field it goes into, or kNotImported.
struct ColumnMapping {
    std::vector<int> fieldOfColumn;

    int fieldOf(std::size_t column) const {
        return column < fieldOfColumn.size() ? fieldOfColumn[column] : kNotImported;
    }
    // The file column of a field; -1 when none goes into it.
    int columnOf(int field) const;
    bool operator==(const ColumnMapping&) const = default;
};

// The fields without which a row cannot be stored: 商品编码, 商品名称, 进货单价, 进货数量.
bool isRequired(int field);
// Whether the field holds a number (进货单价, 进货数量).
bool isNumberField(int field);

// The headers every file is mapped by: the column names of 表1, which are also the headers our
// own purchase export writes.
std::vector<HeaderAlias> columnNameAliases();

// A header as it is compared: without blanks at its ends, and without a leading "*" that marks a
// required column in many templates.
std::string normalizedHeader(std::string_view header);

// Maps each header to the field whose alias it equals (normalized); aliases are tried in order,
// so earlier ones win. A field goes into at most one column: a second column with its header is
// not imported. An empty header is not imported, so an empty column shifts nothing.
ColumnMapping mapHeaders(const std::vector<std::string>& headers,
                         const std::vector<HeaderAlias>& aliases);

// The names of the required fields no column goes into, joined by "、"; empty when none.
std::string unmappedRequired(const ColumnMapping& mapping);

}  // namespace importing
