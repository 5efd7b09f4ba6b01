#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "export/Workbook.h"
#include "importing/readers/SheetReader.h"
#include "tests/export/VectorTable.h"
#include "tests/importing/readers/ReadRows.h"

namespace {

using readertest::readRows;
using readertest::TempFolder;

// A small purchase table as our export writes it: codes as text (leading zeros, 14 digits),
// CJK names, numbers that a careless reader turns into exponents or long fractions.
VectorTable purchaseTable() {
    VectorTable table;
    table.names = {"商品编码", "商品名称", "进货单价", "进货数量"};
    table.rows = {
        {std::string("001"), std::string("铅笔（红）"), 0.1, 12.0},
        {std::string("06932169358293"), std::string("笔记本"), 1e15, -3.0},
        {std::string("A-7"), std::monostate{}, -2.5, 6932169358293.0},
        {std::monostate{}, std::monostate{}, std::monostate{}, std::monostate{}},
        {std::string("=1+1"), std::string("\"引号\",逗号"), 0.3, 1.0},
    };
    return table;
}

TEST(XlsReading, OurExportReadsBackExactly) {
    TempFolder folder;
    const std::string file = folder.file("进货.xls");
    workbook::writeWorkbook(file, purchaseTable());
    const auto read = readRows(file);
    EXPECT_EQ(read.facts.format, "xls");
    EXPECT_EQ(read.facts.sheetsRead, 1);
    EXPECT_EQ(read.facts.sheetNames.size(), 1u);
    const std::vector<std::string> expected = {
        "1:商品编码|商品名称|进货单价|进货数量",
        "2:001|铅笔（红）|0.1|12",
        "3:06932169358293|笔记本|1000000000000000|-3",
        "4:A-7||-2.5|6932169358293",
        "6:=1+1|\"引号\",逗号|0.3|1",  // row 5 holds nothing and is not handed on
    };
    EXPECT_EQ(read.rows, expected);
    EXPECT_EQ(read.facts.rows, 5);
}

// More than 65,535 table rows: the export continues on a second sheet under the same header.
class SpreadTable : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        folder_ = new TempFolder;
        VectorTable table;
        table.names = {"进货数量"};
        for (int r = 1; r <= workbook::kRowsPerSheet + 2; ++r)
            table.rows.push_back({static_cast<double>(r)});
        workbook::writeWorkbook(file(), table);
    }
    static void TearDownTestSuite() { delete folder_; }
    static std::string file() { return folder_->file("全部.xls"); }
    static TempFolder* folder_;
};
TempFolder* SpreadTable::folder_ = nullptr;

TEST_F(SpreadTable, IsReadAsOneTableWithItsHeaderOnce) {
    const auto read = readRows(file());
    EXPECT_EQ(read.facts.sheetNames.size(), 2u);
    EXPECT_EQ(read.facts.sheetsRead, 2);
    ASSERT_EQ(read.rows.size(), 65538u);
    EXPECT_EQ(read.rows[0], "1:进货数量");
    EXPECT_EQ(read.rows[65535], "65536:65535");
    EXPECT_EQ(read.rows[65536], "65537:65536");  // the first row of the second sheet
    EXPECT_EQ(read.rows[65537], "65538:65537");
}

TEST_F(SpreadTable, AChosenLaterSheetIsReadAlone) {
    const auto read = readRows(file(), {1});
    EXPECT_EQ(read.facts.sheetsRead, 1);
    EXPECT_EQ(read.rows, (std::vector<std::string>{"1:进货数量", "2:65536", "3:65537"}));
}

// Shop and web systems often save tab-separated text under the name .xls.
TEST(XlsReading, TextNamedXlsIsReadAsCsv) {
    TempFolder folder;
    const auto read = readRows(folder.write("导出.xls", "商品编码\t商品名称\r\n001\t铅笔\r\n"));
    EXPECT_EQ(read.facts.format, "csv");
    EXPECT_EQ(read.facts.separator, '\t');
    EXPECT_EQ(read.rows, (std::vector<std::string>{"1:商品编码|商品名称", "2:001|铅笔"}));
}

TEST(XlsReadingErrors, BadWorkbooksAreToldInChinese) {
    TempFolder folder;
    const std::string good = folder.file("good.xls");
    workbook::writeWorkbook(good, purchaseTable());
    std::ifstream in(good, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), {});

    const struct {
        const char* name;
        std::string bytes;
        importing::ReadOptions options;
        const char* message;
    } cases[] = {
        {"page.xls",
         "\xEF\xBB\xBF <html><table><tr><td>商品编码</td></tr></table></html>",
         {},
         "不是 Excel 工作簿"},
        {"cut.xls", bytes.substr(0, bytes.size() / 2), {}, "工作簿已损坏"},
        {"header.xls", bytes.substr(0, 600), {}, "无法读取文件“header.xls”"},
        {"sheet.xls", bytes, {3}, "没有第 4 个工作表（共 1 个）"},
        {"empty.xlsx", "", {}, "不是 Excel 工作簿"},
    };
    for (const auto& c : cases) {
        const std::string message = readertest::readError(folder.write(c.name, c.bytes), c.options);
        EXPECT_NE(message.find(c.message), std::string::npos) << c.name << ": " << message;
    }
}

}  // namespace
