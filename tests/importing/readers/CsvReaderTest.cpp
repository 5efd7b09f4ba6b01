#include <gtest/gtest.h>

#include "importing/readers/CsvReader.h"
#include "importing/readers/SheetReader.h"
#include "tests/importing/readers/ReadRows.h"

namespace {

using readertest::readRows;
using readertest::TempFolder;

struct CsvCase {
    const char* name;
    std::string bytes;
    std::string encoding;
    char separator;
    std::vector<std::string> rows;
};

// 商品编码 and 铅笔 as GB18030 (GBK) bytes, as Chinese Excel saves a CSV.
const std::string kGbHeader = "\xC9\xCC\xC6\xB7\xB1\xE0\xC2\xEB";
const std::string kGbPencil = "\xC7\xA6\xB1\xCA";

const std::vector<CsvCase>& csvCases() {
    static const std::vector<CsvCase> cases = {
        {"Utf8CommaCrlf",
         "商品编码,商品名称\r\n001,铅笔\r\n",
         "UTF-8",
         ',',
         {"1:商品编码|商品名称", "2:001|铅笔"}},
        {"BomSemicolonNoLastBreak",
         "\xEF\xBB\xBF商品编码;进货单价\n06932169358293;0.1",
         "UTF-8 (BOM)",
         ';',
         {"1:商品编码|进货单价", "2:06932169358293|0.1"}},
        {"Tab", "a\tb,c\n1\t2,3\n", "UTF-8", '\t', {"1:a|b,c", "2:1|2,3"}},
        {"Gb18030",
         kGbHeader + ",x\r\n001," + kGbPencil + "\r\n",
         "GB18030",
         ',',
         {"1:商品编码|x", "2:001|铅笔"}},
        // A four-byte GB18030 sequence (ä) and a trail byte that is a separator in ASCII (\x40).
        {"Gb18030FourBytes", "n\n\x81\x30\x8A\x31\xC7\x40\n", "GB18030", ',', {"1:n", "2:ä茾"}},
        // Quotes: "" inside, separators and line breaks inside, which do not start a new row.
        {"Quoted",
         "a,b\n\"x \"\"y\"\"\",\"l1\nl2,\r\nl3\"\n3,\"\"\n",
         "UTF-8",
         ',',
         {"1:a|b", "2:x \"y\"|l1\nl2,\r\nl3", "3:3|"}},
        // Text after a closing quote stays, as spreadsheet programs keep it.
        {"TextAfterQuote", "a,b\n\"x\"y,z\n", "UTF-8", ',', {"1:a|b", "2:xy|z"}},
        // Blank lines are counted but not handed on; a lone CR ends a line too.
        {"BlankLinesAndCr", "a,b\n\n,\r1,2\r\n", "UTF-8", ',', {"1:a|b", "4:1|2"}},
        {"EmptyCellsKeepTheirColumns",
         "a,b,c\n,,3\n1,,\n",
         "UTF-8",
         ',',
         {"1:a|b|c", "2:||3", "3:1||"}},
        // A separator inside quotes of the header does not count.
        {"SeparatorInsideQuotes", "\"a,b,c\";d\n1;2\n", "UTF-8", ';', {"1:a,b,c|d", "2:1|2"}},
        // The one that every line holds as often wins over the one most frequent in the header.
        {"SteadySeparatorWins",
         "a,b,c;d;x\n1,2;3;y\n4;5,6;z\n",
         "UTF-8",
         ';',
         {"1:a,b,c|d|x", "2:1,2|3|y", "3:4|5,6|z"}},
        {"OneColumn", "商品编码\n001\n", "UTF-8", ',', {"1:商品编码", "2:001"}},
        {"Empty", "", "UTF-8", ',', {}},
    };
    return cases;
}

class CsvReading : public testing::TestWithParam<CsvCase> {};

TEST_P(CsvReading, HandsOnEveryRowAsText) {
    const CsvCase& c = GetParam();
    TempFolder folder;
    const auto read = readRows(folder.write("goods.CSV", c.bytes));
    EXPECT_EQ(read.facts.format, "csv");
    EXPECT_EQ(read.facts.encoding, c.encoding);
    EXPECT_EQ(read.facts.separator, c.separator);
    EXPECT_EQ(read.rows, c.rows);
    EXPECT_EQ(read.facts.rows, static_cast<std::int64_t>(c.rows.size()));
}

INSTANTIATE_TEST_SUITE_P(Csv, CsvReading, testing::ValuesIn(csvCases()),
                         [](const auto& info) { return std::string(info.param.name); });

struct BadCsv {
    const char* name;
    std::string bytes;
    std::string message;  // a part of the message
};

class BadCsvReading : public testing::TestWithParam<BadCsv> {};

TEST_P(BadCsvReading, StopsWithAMessageNamingFileAndRow) {
    TempFolder folder;
    const std::string message = readertest::readError(folder.write("进货.csv", GetParam().bytes));
    EXPECT_NE(message.find("进货.csv"), std::string::npos) << message;
    EXPECT_NE(message.find(GetParam().message), std::string::npos) << message;
}

INSTANTIATE_TEST_SUITE_P(
    Csv, BadCsvReading,
    testing::Values(
        // Not UTF-8, so read as GB18030, where \x80 alone is no character either.
        BadCsv{"InvalidByte", "a,b\n1,2\n3,\x80\n", "第 3 行含有不是 GB18030 编码的字节"},
        // One broken byte in UTF-8 text: its row is told, the text is not read as GB18030.
        BadCsv{"BrokenByteInUtf8", "商品编码,商品名称\n001,铅笔\n002,橡\xFF皮\n003,尺子\n",
               "第 3 行含有不是 UTF-8 编码的字节"},
        BadCsv{"GbLeadByteAtTheEnd", "a\n" + kGbPencil + "\xC7", "第 2 行含有不是 GB18030"},
        BadCsv{"InvalidByteAfterBom",
               "\xEF\xBB\xBF"
               "a\n\xE9\x93\n",
               "第 2 行含有不是 UTF-8"},
        BadCsv{"OpenQuote", "a,b\n1,2\n\"3,4\n5,6\n", "第 3 行的引号没有结束"},
        BadCsv{"Utf16",
               "\xFF\xFE"
               "a\0,\0b\0",
               "UTF-16"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CsvReadingErrors, MissingFileAndUnknownTypeAreTold) {
    TempFolder folder;
    EXPECT_THROW(readRows(folder.file("none.csv")), importing::ReadError);
    EXPECT_THROW(readRows(folder.write("goods.txt", "a,b\n")), importing::ReadError);
}

TEST(CsvReadingStop, AFalseFromTheSinkStopsTheReading) {
    TempFolder folder;
    const std::string path = folder.write("a.csv", "h\n1\n2\n3\n");
    std::vector<std::int64_t> seen;
    const auto facts = importing::readSheet(path, [&](std::int64_t row, const auto&) {
        seen.push_back(row);
        return row < 2;
    });
    EXPECT_EQ(seen, (std::vector<std::int64_t>{1, 2}));
    EXPECT_EQ(facts.rows, 2);
}

}  // namespace
