#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "importing/records/PurchaseImport.h"

namespace importtest {

using Sheet = std::vector<std::vector<std::string>>;

// A source handing on rows the test wrote down, row 1 the header, as a reader hands on a file's.
inline importing::RowSource rowsSource(Sheet rows) {
    return [rows = std::move(rows)](const importing::RowSink& sink) {
        importing::SheetFacts facts;
        facts.format = "csv";
        std::vector<std::string_view> cells;
        for (const auto& row : rows) {
            cells.assign(row.begin(), row.end());
            ++facts.rows;
            if (!sink(facts.rows, cells)) break;
        }
        return facts;
    };
}

inline const std::vector<std::string> kRequiredHeaders = {"商品编码", "商品名称", "进货单价",
                                                          "进货数量"};

}  // namespace importtest
