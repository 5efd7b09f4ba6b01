#include "export/ColumnWidths.h"

#include <gtest/gtest.h>

#include "tests/export/VectorTable.h"

namespace {

TEST(ColumnWidthsTest, WideCharactersCountTwo) {
    struct Case {
        const char* text;
        int width;
    } cases[] = {
        {"", 0},       {"abc", 3}, {"商品名称", 8}, {"A4纸", 4},
        {"１２３", 6}, {"😀x", 3},  {"é", 1},        {"한글", 4},
    };
    for (const auto& c : cases) EXPECT_EQ(workbook::displayWidth(c.text), c.width) << c.text;
}

TEST(ColumnWidthsTest, WidestValueHeaderIncludedCappedAtFifty) {
    const std::string longText(80, 'x');
    VectorTable table;
    table.names = {"商品编码", "详细地址", "n"};
    table.rows = {{std::string("001"), std::string("北京市海淀区中关村大街1号"), 1234.5},
                  {std::string("0000000000123"), longText, 7.0}};
    workbook::ColumnWidths widths(table);
    for (int row = 0; row < table.rowCount(); ++row)
        for (int column = 0; column < table.columnCount(); ++column)
            widths.add(column, table.cell(row, column));
    EXPECT_EQ(widths.characters(0), 13);
    EXPECT_EQ(widths.characters(1), workbook::ColumnWidths::kMaxCharacters);
    EXPECT_EQ(widths.characters(2), 6);
}

}  // namespace
