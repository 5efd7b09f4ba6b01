// Workbooks written by our BIFF8 writer, read back by FreeXL.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <limits>
#include <map>
#include <tuple>

#include "export/Workbook.h"
#include "store/Error.h"
#include "tests/export/ExportFolder.h"
#include "tests/export/VectorTable.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/WorkbookReader.h"

using testsupport::numberCell;
using testsupport::readWorkbook;
using testsupport::readWorkbookWithXlrd;
using testsupport::textCell;
namespace fs = std::filesystem;

namespace {

class WorkbookTest : public ExportFolderTest {
  protected:
    WorkbookTest() : ExportFolderTest("out.xls") {}
};

VectorTable oneColumn(int rows) {
    VectorTable table;
    table.names = {"商品编码"};
    for (int r = 0; r < rows; ++r) table.rows.push_back({std::to_string(r)});
    return table;
}

TEST_F(WorkbookTest, HeaderTextsNumbersAndEmptyValuesReadBack) {
    VectorTable table;
    table.names = {"商品编码", "商品名称", "进货单价", "备注"};
    table.rows = {
        {std::string("001"), std::string("中性笔🖊️"), 12.5, std::string("=SUM(A1:A2)")},
        {std::string("002"), std::string("Café ß"), 0.1, {}},
        {{}, std::string("笔记本"), 1e15, std::string("")},
        {std::string("A-9"), {}, -3.25, std::string("😀")},
        {std::string("0"), std::string("x"), 0.0, std::string("'quoted")},
    };
    ASSERT_EQ(workbook::writeWorkbook(file(), table), workbook::Outcome::Written);

    const auto book = readWorkbook(file());
    ASSERT_TRUE(book.opened) << book.error;
    EXPECT_EQ(book.codePage, 1200u);
    ASSERT_EQ(book.sheets.size(), 1u);
    const auto& sheet = book.sheets[0];
    EXPECT_EQ(sheet.name, "Sheet1");
    EXPECT_EQ(sheet.rows, 6u);
    EXPECT_EQ(sheet.columns, 4u);
    for (unsigned c = 0; c < 4; ++c) EXPECT_EQ(sheet.at(0, c), textCell(table.names[c]));
    EXPECT_EQ(sheet.at(1, 0), textCell("001"));  // a code stays text, leading zeros and all
    EXPECT_EQ(sheet.at(1, 1), textCell("中性笔🖊️"));
    EXPECT_EQ(sheet.at(1, 2), numberCell(12.5));
    EXPECT_EQ(sheet.at(1, 3), textCell("=SUM(A1:A2)"));  // no formula
    EXPECT_EQ(sheet.at(2, 1), textCell("Café ß"));
    EXPECT_EQ(sheet.at(2, 2), numberCell(0.1));
    EXPECT_EQ(sheet.at(2, 3), "");  // empty value: no cell
    EXPECT_EQ(sheet.at(3, 0), "");
    EXPECT_EQ(sheet.at(3, 2), numberCell(1e15));
    EXPECT_EQ(sheet.at(3, 3), "");  // an empty text is no cell either
    EXPECT_EQ(sheet.at(4, 1), "");
    EXPECT_EQ(sheet.at(4, 2), numberCell(-3.25));
    EXPECT_EQ(sheet.at(4, 3), textCell("😀"));
    EXPECT_EQ(sheet.at(5, 2), numberCell(0));
    EXPECT_EQ(sheet.at(5, 3), textCell("'quoted"));
}

TEST_F(WorkbookTest, AnEmptyTableGivesTheHeaderOnly) {
    VectorTable table;
    table.names = {"ID", "销售日期"};
    ASSERT_EQ(workbook::writeWorkbook(file(), table), workbook::Outcome::Written);
    const auto book = readWorkbook(file());
    ASSERT_TRUE(book.opened) << book.error;
    ASSERT_EQ(book.sheets.size(), 1u);
    EXPECT_EQ(book.sheets[0].rows, 1u);
    EXPECT_EQ(book.sheets[0].at(0, 1), textCell("销售日期"));
    EXPECT_EQ(book.sheets[0].cells.size(), 2u);
}

// Values no cell can hold: numbers beyond the sheet's range are left out, long texts cut, and
// both counted in the result.
TEST_F(WorkbookTest, ValuesBeyondACellsLimitsAreLeftOutOrCutAndCounted) {
    const double infinity = std::numeric_limits<double>::infinity();
    const std::string longText = std::string(32766, 'x') + "😀进";  // the emoji would be cut in two
    VectorTable table;
    table.names = {"数值", "文本"};
    table.rows = {
        {1.7976931348623157e308, longText},   {infinity, std::string("短")},
        {-infinity, std::string(32767, 'y')}, {std::numeric_limits<double>::quiet_NaN(), {}},
        {9.99999999999999e307, {}},           {-1e15, {}}};
    const workbook::WriteResult result = workbook::writeWorkbook(file(), table);
    ASSERT_EQ(result, workbook::Outcome::Written);
    EXPECT_EQ(result.adjusted.numbersLeftEmpty, 4);
    EXPECT_EQ(result.adjusted.textsCut, 1);

    // The long texts run over many CONTINUE records: xlrd reads them.
    const auto book = testsupport::readWorkbookWithXlrd(file());
    ASSERT_TRUE(book.opened) << book.error;
    const auto& sheet = book.sheets.at(0);
    for (unsigned row = 1; row <= 4; ++row) EXPECT_EQ(sheet.at(row, 0), "") << row;
    EXPECT_EQ(sheet.at(5, 0), numberCell(9.99999999999999e307));
    EXPECT_EQ(sheet.at(6, 0), numberCell(-1e15));
    EXPECT_TRUE(sheet.at(1, 1) == textCell(std::string(32766, 'x'))) << sheet.at(1, 1).size();
    EXPECT_EQ(sheet.at(2, 1), textCell("短"));
    EXPECT_TRUE(sheet.at(3, 1) == textCell(std::string(32767, 'y'))) << sheet.at(3, 1).size();
}

// Strings of every width, so that the string table runs over many CONTINUE records and strings
// are cut at their boundaries in every way: Latin-1, CJK and emoji (surrogate pairs), with the
// cut falling before, inside and after a pair.
TEST_F(WorkbookTest, LongTextsSpanningContinueRecordsReadBack) {
    VectorTable table;
    table.names = {"文本"};
    std::vector<std::string> texts;
    for (int k = 0; k < 60; ++k) {
        std::string text;
        const int length = 37 + k * 61;
        for (int i = 0; i < length; ++i) {
            switch ((k + i) % 5) {
                case 0:
                    text += "a";
                    break;
                case 1:
                    text += k % 2 ? "进" : "b";
                    break;
                case 2:
                    text += k % 3 ? "😀" : "c";
                    break;
                case 3:
                    text += "é";
                    break;
                default:
                    text += k % 4 ? "货" : "d";
                    break;
            }
        }
        if (k % 7 == 0) text = std::string(static_cast<std::size_t>(length * 2), 'L');
        texts.push_back(text);
        table.rows.push_back({text});
    }
    ASSERT_EQ(workbook::writeWorkbook(file(), table), workbook::Outcome::Written);
    const auto book = readWorkbook(file());
    ASSERT_TRUE(book.opened) << book.error;
    ASSERT_EQ(book.sheets.size(), 1u);
    for (std::size_t k = 0; k < texts.size(); ++k)
        EXPECT_EQ(book.sheets[0].at(static_cast<unsigned>(k + 1), 0), textCell(texts[k]))
            << "row " << k;
}

// The boundary of the first SST record (8,224 bytes) falls at each possible place relative to a
// following string's header and first character.
TEST_F(WorkbookTest, StringHeadersNeverSplitAcrossRecords) {
    for (int filler = 8190; filler <= 8215; ++filler) {
        VectorTable table;
        table.names = {"a"};
        table.rows = {{std::string(static_cast<std::size_t>(filler), 'x')},
                      {std::string("😀进货单价")},
                      {std::string("yz")}};
        ASSERT_EQ(workbook::writeWorkbook(file(), table), workbook::Outcome::Written);
        const auto book = readWorkbook(file());
        ASSERT_TRUE(book.opened) << "filler " << filler << ": " << book.error;
        EXPECT_EQ(book.sheets[0].at(2, 0), textCell("😀进货单价")) << filler;
        EXPECT_EQ(book.sheets[0].at(3, 0), textCell("yz")) << filler;
    }
}

// Texts of every length up to a cell's limit: the longer ones run through three and more
// CONTINUE records of the string table, which only xlrd among our readers reassembles.
TEST_F(WorkbookTest, LongTextsCjkEmojiAndNumbersRoundTripThroughXlrd) {
    std::string cjk, mixed;
    for (int k = 0; k < 9000; ++k) cjk += k % 3 ? "进" : "货";
    for (int k = 0; k < 6000; ++k) mixed += k % 2 ? "😀" : "a\t";
    VectorTable table;
    table.names = {"商品编码", "商品名称", "进货单价"};
    table.rows = {
        {std::string("001"), std::string("中性笔🖊️"), 0.1},
        {std::string("000123"), std::string(20000, 'L'), 1e15},
        {std::string("A\n9"), cjk, -3.25},
        {std::string("0"), mixed, -1e15},
        {std::string(32767, 'x'), std::string("末行"), -0.1},
    };
    ASSERT_EQ(workbook::writeWorkbook(file(), table), workbook::Outcome::Written);
    const auto book = readWorkbookWithXlrd(file());
    ASSERT_TRUE(book.opened) << book.error;
    EXPECT_EQ(book.notes, std::vector<std::string>{});
    ASSERT_EQ(book.sheets.size(), 1u);
    const auto& sheet = book.sheets[0];
    EXPECT_EQ(sheet.rows, 6u);
    EXPECT_EQ(sheet.columns, 3u);
    for (unsigned c = 0; c < 3; ++c) EXPECT_EQ(sheet.at(0, c), textCell(table.names[c]));
    for (unsigned r = 0; r < table.rows.size(); ++r) {
        const auto& row = table.rows[r];
        for (unsigned c = 0; c < 3; ++c) {
            const auto* text = std::get_if<std::string>(&row[c]);
            EXPECT_EQ(sheet.at(r + 1, c),
                      text ? textCell(*text) : numberCell(std::get<double>(row[c])))
                << "row " << r + 1 << " column " << c;
        }
    }
}

// Every cell in 宋体 with the GB2312 character set at 11 points; the header row bold.
TEST_F(WorkbookTest, CellsReadBackInSongTiWithABoldHeader) {
    VectorTable table;
    table.names = {"商品名称", "数量"};
    table.rows = {{std::string("笔记本"), 2.0}};
    for (int r = 0; r < 70000; r += 7) table.rows.push_back({"SP" + std::to_string(r), 1.0});
    // Two sheets, each with its own header row.
    table.rows.resize(70000, table.rows.back());
    ASSERT_EQ(workbook::writeWorkbook(file(), table), workbook::Outcome::Written);
    const auto book = readWorkbookWithXlrd(file());
    ASSERT_TRUE(book.opened) << book.error;
    ASSERT_EQ(book.sheets.size(), 2u);
    for (unsigned s = 0; s < 2; ++s) {
        for (auto [row, column, weight] : {std::tuple{0u, 0u, 700u},
                                           {0u, 1u, 700u},
                                           {1u, 0u, 400u},
                                           {1u, 1u, 400u},
                                           {4464u, 1u, 400u}}) {
            const auto& font = book.fontOf(s, row, column);
            EXPECT_EQ(font.name, "宋体") << s << ": " << row << "," << column;
            EXPECT_EQ(font.characterSet, 134u);
            EXPECT_EQ(font.height, 220u);
            EXPECT_EQ(font.weight, weight) << s << ": " << row << "," << column;
        }
    }
}

// Each column as wide as its widest value or name, a wide character counting two, plus one for
// the cell's margins; at most 50 characters of text.
TEST_F(WorkbookTest, ColumnsAreAsWideAsTheirWidestValue) {
    VectorTable table;
    table.names = {"商品名称", "数量", "详细地址", "", "code"};
    table.rows = {
        {std::string("笔"), 12.5, std::string(80, 'x'), {}, std::string("A")},
        {std::string("中性笔黑色款"), -3.25, std::string("北京"), {}, std::string("")},
    };
    ASSERT_EQ(workbook::writeWorkbook(file(), table), workbook::Outcome::Written);
    const auto book = readWorkbookWithXlrd(file());
    ASSERT_TRUE(book.opened) << book.error;
    const std::map<unsigned, unsigned> expected{
        {0, 13 * 256},  // 中性笔黑色款: 12
        {1, 6 * 256},   // -3.25: 5
        {2, 51 * 256},  // 80 characters, capped at 50
        {3, 8 * 256},   // nothing at all: the default width
        {4, 5 * 256},   // the name: 4
    };
    EXPECT_EQ(book.sheets[0].columnWidths, expected);
}

struct SheetCase {
    int rows;
    std::vector<unsigned> sheetRows;  // rows of each worksheet, header included
};

class SheetSplitTest : public WorkbookTest, public ::testing::WithParamInterface<SheetCase> {};

TEST_P(SheetSplitTest, RowsBeyondOneWorksheetContinueOnTheNext) {
    const SheetCase& c = GetParam();
    const VectorTable table = oneColumn(c.rows);
    ASSERT_EQ(workbook::writeWorkbook(file(), table), workbook::Outcome::Written);
    const auto book = readWorkbook(file());
    ASSERT_TRUE(book.opened) << book.error;
    ASSERT_EQ(book.sheets.size(), c.sheetRows.size());
    int tableRow = 0;
    for (std::size_t s = 0; s < book.sheets.size(); ++s) {
        const auto& sheet = book.sheets[s];
        EXPECT_EQ(sheet.name, "Sheet" + std::to_string(s + 1));
        EXPECT_EQ(sheet.rows, c.sheetRows[s]);
        EXPECT_EQ(sheet.at(0, 0), textCell("商品编码"));
        if (sheet.rows > 1) {
            EXPECT_EQ(sheet.at(1, 0), textCell(std::to_string(tableRow)));
            tableRow += static_cast<int>(sheet.rows) - 1;
            EXPECT_EQ(sheet.at(sheet.rows - 1, 0), textCell(std::to_string(tableRow - 1)));
        }
    }
    EXPECT_EQ(tableRow, c.rows);
}

INSTANTIATE_TEST_SUITE_P(Sizes, SheetSplitTest,
                         ::testing::Values(SheetCase{65535, {65536}}, SheetCase{65536, {65536, 2}},
                                           SheetCase{70000, {65536, 4466}}));

TEST_F(WorkbookTest, SeventyThousandRowsOfNumbersAndTexts) {
    VectorTable table;
    table.names = {"商品编码", "进货数量"};
    for (int r = 0; r < 70000; ++r)
        table.rows.push_back({"SP" + std::to_string(r % 5000), static_cast<double>(r) / 4});
    ASSERT_EQ(workbook::writeWorkbook(file(), table), workbook::Outcome::Written);
    const auto book = readWorkbook(file());
    ASSERT_TRUE(book.opened) << book.error;
    ASSERT_EQ(book.sheets.size(), 2u);
    EXPECT_EQ(book.sheets[1].at(0, 1), textCell("进货数量"));
    EXPECT_EQ(book.sheets[1].at(1, 0), textCell("SP" + std::to_string(65535 % 5000)));
    EXPECT_EQ(book.sheets[1].at(4465, 1), numberCell(69999.0 / 4));
}

TEST_F(WorkbookTest, AnExistingFileIsReplacedByTheCompleteWorkbook) {
    { std::ofstream(file()) << "old contents"; }
    ASSERT_EQ(workbook::writeWorkbook(file(), oneColumn(3)), workbook::Outcome::Written);
    EXPECT_TRUE(readWorkbook(file()).opened);
    EXPECT_EQ(filesInFolder(), std::vector<std::string>{"out.xls"});
}

TEST_F(WorkbookTest, AFileThatHoldsTheScratchNameIsLeftAlone) {
    { std::ofstream(file("out.xls.partial")) << "someone's file"; }
    { std::ofstream(file("out.xls.quenvar-partial")) << "another export's"; }
    ASSERT_EQ(workbook::writeWorkbook(file(), oneColumn(3)), workbook::Outcome::Written);
    EXPECT_EQ(filesInFolder(),
              (std::vector<std::string>{"out.xls", "out.xls.partial", "out.xls.quenvar-partial"}));
    std::ifstream kept(file("out.xls.partial"));
    std::string text;
    std::getline(kept, text);
    EXPECT_EQ(text, "someone's file");
}

// Cancelling at any point leaves no file and an existing target as it was.
TEST_F(WorkbookTest, CancellingLeavesNoFileAndTheOldOneUntouched) {
    const VectorTable table = oneColumn(5000);
    for (std::int64_t stopAt : {0, 1024, 5000, 9000, 10001}) {
        { std::ofstream(file()) << "old contents"; }
        std::int64_t reports = 0;
        const auto outcome =
            workbook::writeWorkbook(file(), table, [&](std::int64_t done, std::int64_t total) {
                ++reports;
                EXPECT_LE(done, total);
                return done < stopAt;
            });
        EXPECT_EQ(outcome, workbook::Outcome::Cancelled) << stopAt;
        EXPECT_GT(reports, 0);
        EXPECT_EQ(filesInFolder(), std::vector<std::string>{"out.xls"}) << stopAt;
        std::ifstream old(file());
        std::string text;
        std::getline(old, text);
        EXPECT_EQ(text, "old contents");
    }
}

TEST_F(WorkbookTest, AnUnwritableTargetIsAnErrorAndLeavesNothing) {
    const std::string missingFolder = (dir_.path() / "no such folder" / "out.xls").string();
    try {
        workbook::writeWorkbook(missingFolder, oneColumn(2));
        FAIL() << "no error";
    } catch (const store::StoreError& e) {
        EXPECT_NE(std::string(e.what()).find("no such folder"), std::string::npos) << e.what();
    }
    // A folder in the target's place: the workbook cannot be renamed over it.
    fs::create_directory(file("taken.xls"));
    EXPECT_THROW(workbook::writeWorkbook(file("taken.xls"), oneColumn(2)), store::StoreError);
    EXPECT_EQ(filesInFolder(), std::vector<std::string>{"taken.xls"});
}

TEST_F(WorkbookTest, MoreColumnsThanAWorksheetHoldsAreRefused) {
    VectorTable table;
    for (int c = 0; c < 257; ++c) table.names.push_back("c" + std::to_string(c));
    EXPECT_THROW(workbook::writeWorkbook(file(), table), store::StoreError);
    EXPECT_TRUE(filesInFolder().empty());
    table.names.pop_back();
    table.rows.push_back(std::vector<VectorTable::Value>(256, 1.5));
    ASSERT_EQ(workbook::writeWorkbook(file(), table), workbook::Outcome::Written);
    const auto book = readWorkbook(file());
    ASSERT_TRUE(book.opened) << book.error;
    EXPECT_EQ(book.sheets[0].columns, 256u);
    EXPECT_EQ(book.sheets[0].at(1, 255), numberCell(1.5));
}

}  // namespace
