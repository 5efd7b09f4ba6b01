#include "tests/support/QueryRows.h"

#include "store/Query.h"

namespace testsupport {

std::vector<std::string> codes(const store::Query& query) {
    std::vector<std::string> result;
    const int field = query.fieldIndex("商品编码");
    for (int row = 0; row < query.recordCount(); ++row)
        result.emplace_back(query.fieldTextAt(row, field));
    return result;
}

}  // namespace testsupport
