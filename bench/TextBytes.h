#pragma once

#include <cstddef>

#include "store/Query.h"

namespace benchsupport {

// The bytes of every field of every row of query as text: what any copy of the rows must hold.
inline std::size_t textBytes(const store::Query& query) {
    std::size_t bytes = 0;
    for (int row = 0; row < query.recordCount(); ++row)
        for (int column = 0; column < static_cast<int>(query.fields().size()); ++column)
            bytes += query.fieldTextAt(row, column).size();
    return bytes;
}

}  // namespace benchsupport
