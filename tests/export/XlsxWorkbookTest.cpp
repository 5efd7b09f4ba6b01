// Workbooks written as .xlsx, unzipped and parsed back.
#include "export/XlsxWorkbook.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <limits>

#include "export/CellLimits.h"
#include "export/ColumnWidths.h"
#include "export/WorkbookFormat.h"
#include "store/Error.h"
#include "tests/export/ExportFolder.h"
#include "tests/export/VectorTable.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/XlsxReader.h"

using testsupport::numberCell;
using testsupport::readXlsxWorkbook;
using testsupport::textCell;
namespace fs = std::filesystem;

namespace {

class XlsxWorkbookTest : public ExportFolderTest {
  protected:
    XlsxWorkbookTest() : ExportFolderTest("out.xlsx") {}
};

// A table of any size whose cells cost nothing to hold.
struct CountingTable : workbook::TableSource {
    int rows = 0;
    int columnCount() const override { return 1; }
    std::string_view columnName(int) const override { return "序号"; }
    int rowCount() const override { return rows; }
    workbook::Cell cell(int row, int) const override { return workbook::Cell::ofNumber(row); }
};

std::string repeated(std::string_view piece, std::size_t times) {
    std::string text;
    for (std::size_t k = 0; k < times; ++k) text += piece;
    return text;
}

TEST_F(XlsxWorkbookTest, EveryKindOfValueReadsBackAsWhatItIs) {
    const double infinity = std::numeric_limits<double>::infinity();
    const std::string longText = repeated("进货😀", 20000);  // 60,000 UTF-16 units
    VectorTable table;
    table.names = {"商品编码", "商品名称", "进货单价", "备注"};
    table.rows = {
        {std::string("001"), std::string("中性笔🖊️"), 0.1, std::string("=SUM(A1:A2)")},
        {std::string("0000123"), std::string("Café ß"), 1e15, longText},
        {std::string("A-9"), {}, -3.25, std::string("_x0041_ 与 _x005F_ 照原样")},
        {{}, std::string("制表\t与\x01控制"), 1.7976931348623157e308, std::string("")},
        {std::string("0"), std::string("'quoted"), infinity, std::string("<&>\"")},
        {std::string("1e5"), std::string(" 前后空格 "), -infinity, {}},
        {std::string("x"), {}, 9.99999999999999e307, {}},
    };
    const workbook::WriteResult result = workbook::writeXlsxWorkbook(file(), table);
    ASSERT_EQ(result, workbook::Outcome::Written);
    EXPECT_EQ(result.adjusted.numbersLeftEmpty, 3);
    EXPECT_EQ(result.adjusted.textsCut, 1);

    const auto xlsx = readXlsxWorkbook(file());
    ASSERT_TRUE(xlsx.book.opened) << xlsx.book.error;
    ASSERT_EQ(xlsx.book.sheets.size(), 1u);
    const auto& sheet = xlsx.book.sheets[0];
    EXPECT_EQ(sheet.name, "Sheet1");
    EXPECT_EQ(sheet.rows, 8u);
    EXPECT_EQ(sheet.columns, 4u);
    for (unsigned c = 0; c < 4; ++c) EXPECT_EQ(sheet.at(0, c), textCell(table.names[c]));
    const struct {
        unsigned row, column;
        std::string expected;
    } cells[] = {
        {1, 0, textCell("001")},  // codes stay texts, leading zeros and all
        {2, 0, textCell("0000123")},
        {6, 0, textCell("1e5")},
        {1, 1, textCell("中性笔🖊️")},
        {1, 2, numberCell(0.1)},
        {1, 3, textCell("=SUM(A1:A2)")},  // no formula
        {2, 1, textCell("Café ß")},
        {2, 2, numberCell(1e15)},
        // 8,191 times "进货😀" and "进货": 32,766 units, as the next emoji would not fit whole
        {2, 3, textCell(longText.substr(0, 8191 * 10 + 6))},
        {3, 1, ""},
        {3, 2, numberCell(-3.25)},
        {3, 3, textCell("_x0041_ 与 _x005F_ 照原样")},
        {4, 0, ""},
        {4, 1, textCell("制表\t与\x01控制")},
        {4, 2, ""},  // beyond Excel's range: left out
        {4, 3, ""},  // an empty text is no cell
        {5, 1, textCell("'quoted")},
        {5, 2, ""},
        {5, 3, textCell("<&>\"")},
        {6, 1, textCell(" 前后空格 ")},
        {6, 2, ""},
        {7, 2, numberCell(9.99999999999999e307)},
    };
    for (const auto& c : cells) {
        const std::string read = sheet.at(c.row, c.column);
        // Compared as a whole, shown only in part: the long text would fill the screen.
        EXPECT_TRUE(read == c.expected) << c.row << "," << c.column << ": " << read.substr(0, 80)
                                        << " (" << read.size() << " bytes)";
    }
    EXPECT_EQ(xlsx.cellTypes.at({1, 0}), "inlineStr");
    EXPECT_EQ(xlsx.cellTypes.at({1, 2}), "");  // a number cell
}

TEST_F(XlsxWorkbookTest, CellsInSongTiHeaderBoldColumnsAsWideAsTheirValues) {
    VectorTable table;
    table.names = {"商品编码", "详细地址", "n", ""};
    table.rows = {{std::string("001"), std::string("北京市海淀区中关村大街1号"), 1234.5, {}},
                  {std::string("0000000000123"), std::string(80, 'x'), 7.0, {}}};
    ASSERT_EQ(workbook::writeXlsxWorkbook(file(), table), workbook::Outcome::Written);
    const auto xlsx = readXlsxWorkbook(file());
    ASSERT_TRUE(xlsx.book.opened) << xlsx.book.error;

    for (unsigned c = 0; c < 3; ++c) {
        const auto& header = xlsx.fontAt(0, c);
        EXPECT_EQ(header.name, "宋体");
        EXPECT_EQ(header.points, 11);
        EXPECT_TRUE(header.bold);
        const auto& body = xlsx.fontAt(1, c);
        EXPECT_EQ(body.name, "宋体");
        EXPECT_EQ(body.points, 11);
        EXPECT_FALSE(body.bold);
    }
    EXPECT_EQ(xlsx.fonts.at(0).name, "宋体");  // the Normal style: empty cells too

    workbook::ColumnWidths widths(table);
    for (int r = 0; r < table.rowCount(); ++r)
        for (int c = 0; c < table.columnCount(); ++c) widths.add(c, table.cell(r, c));
    const int expected[] = {13, workbook::ColumnWidths::kMaxCharacters, 6};
    for (unsigned c = 0; c < 3; ++c) {
        ASSERT_EQ(widths.characters(static_cast<int>(c)), expected[c]);
        // The sheet's width holds the characters and the cell's margins.
        EXPECT_GE(xlsx.columnWidths.at(c), expected[c]) << c;
        EXPECT_LT(xlsx.columnWidths.at(c), expected[c] + 1) << c;
    }
    EXPECT_EQ(xlsx.columnWidths.count(3), 0u);  // nothing in it: the default width
}

TEST_F(XlsxWorkbookTest, SeventyThousandRowsStayOnOneSheet) {
    VectorTable table;
    table.names = {"商品编码", "进货数量"};
    for (int r = 0; r < 70000; ++r)
        table.rows.push_back({"SP" + std::to_string(r % 5000), static_cast<double>(r) / 4});
    ASSERT_EQ(workbook::writeXlsxWorkbook(file(), table), workbook::Outcome::Written);
    const auto xlsx = readXlsxWorkbook(file());
    ASSERT_TRUE(xlsx.book.opened) << xlsx.book.error;
    ASSERT_EQ(xlsx.book.sheets.size(), 1u);
    const auto& sheet = xlsx.book.sheets[0];
    EXPECT_EQ(sheet.rows, 70001u);
    EXPECT_EQ(sheet.at(65536, 0), textCell("SP" + std::to_string(65535 % 5000)));
    EXPECT_EQ(sheet.at(70000, 1), numberCell(69999.0 / 4));
}

TEST_F(XlsxWorkbookTest, MoreRowsOrColumnsThanASheetHoldsAreRefusedBeforeWriting) {
    writeOldContents();
    CountingTable rows;
    rows.rows = workbook::kXlsxRowsPerSheet + 1;
    try {
        workbook::writeXlsxWorkbook(file(), rows);
        FAIL() << "no error";
    } catch (const store::StoreError& e) {
        EXPECT_NE(std::string(e.what()).find("1048575"), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("*.xls)"), std::string::npos) << e.what();
    }
    VectorTable columns;
    for (int c = 0; c <= workbook::kXlsxMaxColumns; ++c) columns.names.push_back("c");
    EXPECT_THROW(workbook::writeXlsxWorkbook(file(), columns), store::StoreError);
    EXPECT_EQ(filesInFolder(), std::vector<std::string>{"out.xlsx"});
    EXPECT_EQ(firstLine(), "old contents");
}

// Cancelling at any point leaves no file and an existing target as it was.
TEST_F(XlsxWorkbookTest, CancellingLeavesNoFileAndTheOldOneUntouched) {
    CountingTable table;
    table.rows = 3000;
    for (std::int64_t stopAt : {0, 1024, 2999, 3000}) {
        writeOldContents();
        std::int64_t reports = 0;
        const auto outcome =
            workbook::writeXlsxWorkbook(file(), table, [&](std::int64_t done, std::int64_t total) {
                ++reports;
                EXPECT_LE(done, total);
                return done < stopAt;
            });
        EXPECT_EQ(outcome, workbook::Outcome::Cancelled) << stopAt;
        EXPECT_GT(reports, 0);
        EXPECT_EQ(filesInFolder(), std::vector<std::string>{"out.xlsx"}) << stopAt;
        EXPECT_EQ(firstLine(), "old contents");
    }
    ASSERT_EQ(
        workbook::writeXlsxWorkbook(file(), table, [](std::int64_t, std::int64_t) { return true; }),
        workbook::Outcome::Written);
    EXPECT_EQ(filesInFolder(), std::vector<std::string>{"out.xlsx"});
    EXPECT_EQ(readXlsxWorkbook(file()).book.sheets.at(0).at(3000, 0), numberCell(2999));
}

TEST_F(XlsxWorkbookTest, AnUnwritableTargetIsAnErrorAndLeavesNothing) {
    const std::string missingFolder = (dir_.path() / "no such folder" / "out.xlsx").string();
    try {
        workbook::writeXlsxWorkbook(missingFolder, CountingTable{});
        FAIL() << "no error";
    } catch (const store::StoreError& e) {
        EXPECT_NE(std::string(e.what()).find("no such folder"), std::string::npos) << e.what();
    }
    fs::create_directory(file("taken.xlsx"));
    EXPECT_THROW(workbook::writeXlsxWorkbook(file("taken.xlsx"), CountingTable{}),
                 store::StoreError);
    EXPECT_EQ(filesInFolder(), std::vector<std::string>{"taken.xlsx"});
}

TEST(XlsxFileName, XlsxIsAppendedUnlessTheNameEndsWithIt) {
    using exporting::WorkbookFormat;
    const std::tuple<const char*, WorkbookFormat, const char*> cases[] = {
        {"x", WorkbookFormat::Xlsx, "x.xlsx"},
        {"x.xlsx", WorkbookFormat::Xlsx, "x.xlsx"},
        {"x.XLSX", WorkbookFormat::Xlsx, "x.XLSX"},
        {"x.xls", WorkbookFormat::Xlsx, "x.xls.xlsx"},
        {"/home/u/进货 2026", WorkbookFormat::Xlsx, "/home/u/进货 2026.xlsx"},
        {"x.xls", WorkbookFormat::Xls, "x.xls.xls"},
        {"x.xlsx", WorkbookFormat::Xls, "x.xlsx.xls"},
    };
    for (const auto& [chosen, format, expected] : cases)
        EXPECT_EQ(exporting::workbookFileName(chosen, format), expected) << chosen;
}

}  // namespace
