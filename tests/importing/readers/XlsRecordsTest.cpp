// Workbooks assembled record by record, for the forms of cells that Excel and other programs write
// but our own export does not: RK numbers, MULRK runs, shared strings continued over records,
// formulas with their results (a long text result continued), booleans and errors, dates.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "export/CompoundFile.h"
#include "tests/importing/readers/ReadRows.h"

namespace {

using readertest::readRows;
using readertest::TempFolder;

std::string u16(unsigned v) {
    return {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8 & 0xFF)};
}
std::string u32(std::uint32_t v) { return u16(v & 0xFFFF) + u16(v >> 16); }
std::string f64(double v) {
    std::string bytes(8, '\0');
    std::memcpy(bytes.data(), &v, 8);
    return bytes;
}
std::string record(unsigned id, const std::string& data) {
    return u16(id) + u16(static_cast<unsigned>(data.size())) + data;
}

// A text's characters as UTF-16LE.
std::string utf16(const std::u16string& text) {
    std::string bytes;
    for (const char16_t c : text) bytes += u16(c);
    return bytes;
}
// A text with a 16-bit count and its flags byte, as cells and shared strings hold it.
std::string text(const std::string& ascii) {
    return u16(static_cast<unsigned>(ascii.size())) + '\0' + ascii;
}
std::string text(const std::u16string& wide) {
    return u16(static_cast<unsigned>(wide.size())) + '\1' + utf16(wide);
}

std::string cellHead(unsigned row, unsigned column, unsigned xf = 15) {
    return u16(row) + u16(column) + u16(xf);
}
std::string number(unsigned row, unsigned column, double value, unsigned xf = 15) {
    return record(0x0203, cellHead(row, column, xf) + f64(value));
}
std::string rk(unsigned row, unsigned column, std::uint32_t value, unsigned xf = 15) {
    return record(0x027E, cellHead(row, column, xf) + u32(value));
}
std::string labelSst(unsigned row, unsigned column, std::uint32_t index) {
    return record(0x00FD, cellHead(row, column) + u32(index));
}
std::string label(unsigned row, unsigned column, const std::u16string& value) {
    return record(0x0204, cellHead(row, column) + text(value));
}
std::string dimensions(unsigned rows, unsigned columns) {
    return record(0x0200, u32(0) + u32(rows) + u16(0) + u16(columns) + u16(0));
}
// A formula's cached result: a number, or a text (0), boolean (1), error (2) or empty text (3).
std::string formula(unsigned row, unsigned column, const std::string& result) {
    return record(0x0006, cellHead(row, column) + result + u16(0) + u32(0) + u16(3) +
                              std::string("\x1E\x01\x00", 3));
}
std::string special(unsigned type, unsigned value) {
    return std::string(1, static_cast<char>(type)) + '\0' + static_cast<char>(value) +
           std::string(3, '\0') + u16(0xFFFF);
}
// The upper 32 bits of a double, as an RK number holds one.
std::uint32_t rkDouble(double value) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, 8);
    return static_cast<std::uint32_t>(bits >> 32);
}
std::uint32_t rkInteger(int value) { return static_cast<std::uint32_t>(value) << 2 | 0x02; }

std::string bof(unsigned type) {
    return record(0x0809, u16(0x0600) + u16(type) + std::string(12, '\0'));
}
std::string eof() { return record(0x000A, ""); }

// A workbook of one sheet named 表 holding sheetRecords, with globals added before its sheet.
std::string workbookStream(const std::string& globals, const std::string& sheetRecords) {
    const std::string name = std::string("\x01\x01") + utf16(u"表");  // an 8-bit count
    const std::string front = bof(0x0005) + globals;
    // The sheet begins after the globals' one BOUNDSHEET record and their EOF.
    const auto offset = static_cast<std::uint32_t>(front.size() + 4 + 6 + name.size() + 4);
    return front + record(0x0085, u32(offset) + u16(0) + name) + eof() + bof(0x0010) +
           sheetRecords + eof();
}

std::string writeWorkbook(const TempFolder& folder, const std::string& name,
                          const std::string& stream) {
    const std::string path = folder.file(name);
    workbook::CompoundFile file(path, "Workbook");
    file.write(reinterpret_cast<const std::uint8_t*>(stream.data()), stream.size());
    file.commit();
    return path;
}

// The formats of the cells: XF 0–14 general, 15 a date (built-in 14), 16 a time of day (built-in
// 20), 17 the custom date format 176.
std::string formats() {
    std::string xfs;
    for (const unsigned format :
         {0u, 0u, 0u, 0u, 0u, 0u, 0u, 0u, 0u, 0u, 0u, 0u, 0u, 0u, 0u, 14u, 20u, 176u})
        xfs += record(0x00E0, u16(0) + u16(format) + std::string(16, '\0'));
    return record(0x041E, u16(176) + text(u"yyyy\"年\"m\"月\"d\"日\"")) + xfs;
}

struct RecordCase {
    const char* name;
    std::string globals;
    std::string sheet;
    std::vector<std::string> rows;
};

std::vector<RecordCase> recordCases() {
    const std::u16string longText(9000, u'长');  // more than two records of UTF-16
    std::string longUtf8;
    for (std::size_t i = 0; i < longText.size(); ++i) longUtf8 += "长";
    return {
        {"RkForms",
         {},
         dimensions(1, 5) + rk(0, 0, rkInteger(12)) + rk(0, 1, rkInteger(-7)) +
             rk(0, 2, rkInteger(1234) | 0x01) + rk(0, 3, rkDouble(1.5)) +
             rk(0, 4, rkDouble(123.0) | 0x01),
         {"1:12|-7|12.34|1.5|1.23"}},
        {"MulRkRun",
         {},
         dimensions(1, 4) +
             record(0x00BD, u16(0) + u16(1) + u16(15) + u32(rkInteger(1)) + u16(15) +
                                u32(rkDouble(2.5)) + u16(15) + u32(rkInteger(-3)) + u16(3)),
         {"1:|1|2.5|-3"}},
        {"SharedStringsAcrossContinueRecords",
         // "abcdef" begins one byte wide and goes on two bytes wide; "中文xy" the other way; "ok"
         // begins a CONTINUE record of its own, with no flags byte before it; a rich text's runs
         // are cut by a record's end; a long text spans three records.
         record(0x00FC, u32(6) + u32(6) + text("ok") + u16(6) + '\0' + "abc") +
             record(0x003C, std::string(1, '\1') + utf16(u"def") + u16(4) + '\1' + utf16(u"中文")) +
             record(0x003C, std::string(1, '\0') + "xy") + record(0x003C, text("go")) +
             record(0x003C, u16(2) + '\x08' + u16(2) + "ri" + u32(0) + u16(0)) +
             record(0x003C, u16(0) + u16(static_cast<unsigned>(longText.size())) + '\1' +
                                utf16(longText.substr(0, 4000))) +
             record(0x003C, std::string(1, '\1') + utf16(longText.substr(4000, 4000))) +
             record(0x003C, std::string(1, '\1') + utf16(longText.substr(8000))),
         dimensions(2, 6) + labelSst(0, 0, 0) + labelSst(0, 1, 1) + labelSst(0, 2, 2) +
             labelSst(0, 3, 3) + labelSst(0, 4, 4) + labelSst(1, 0, 5),
         {"1:ok|abcdef|中文xy|go|ri|", "2:" + longUtf8 + "|||||"}},
        {"FormulaResults",
         {},
         dimensions(1, 6) + formula(0, 0, special(0, 0)) + record(0x04BC, std::string(10, '\0')) +
             record(0x0207, u16(4) + '\1' + utf16(u"公式")) +
             record(0x003C, std::string(1, '\0') + "ab") + formula(0, 1, f64(0.1 + 0.2)) +
             formula(0, 2, special(1, 1)) + formula(0, 3, special(2, 0x07)) +
             formula(0, 4, special(3, 0)) + formula(0, 5, f64(6932169358293.0)),
         {"1:公式ab|0.30000000000000004|TRUE|#DIV/0!||6932169358293"}},
        {"BooleansErrorsInlineTextsAndBlanks",
         {},
         dimensions(4, 4) + record(0x0205, cellHead(0, 0) + std::string(2, '\0')) +
             record(0x0205, cellHead(0, 1) + "\x2A\x01") + label(0, 3, u"内联") +
             record(0x0201, cellHead(1, 0)) +
             record(0x00BE, u16(2) + u16(0) + u16(15) + u16(15) + u16(1)) + label(3, 2, u"后"),
         {"1:FALSE|#N/A||内联", "4:||后|"}},
        {"DatesTimesAndTheirFormats",
         formats(),
         dimensions(1, 4) + number(0, 0, 45000, 15) + rk(0, 1, rkDouble(0.5), 16) +
             number(0, 2, 45000.75, 17) + number(0, 3, 45000, 14),
         {"1:2023-03-15|12:00:00|2023-03-15|45000"}},
        {"The1904Calendar",
         record(0x0022, u16(1)) + formats(),
         dimensions(1, 1) + number(0, 0, 0, 15),
         {"1:1904-01-01"}},
        {"CellsOutOfColumnOrderAndEmbeddedChart",
         {},
         dimensions(2, 3) + number(0, 2, 3) + number(0, 0, 1) + bof(0x0020) + number(0, 1, 99) +
             eof() + number(1, 1, 2),
         {"1:1||3", "2:|2|"}},
        {"CellsStoredColumnByColumn",
         {},
         number(0, 0, 1) + number(1, 0, 2) + number(2, 0, 3) + label(0, 1, u"甲") +
             formula(1, 1, special(0, 0)) + record(0x0207, text(u"乙")) + label(2, 1, u"丙") +
             label(1, 1, u"后写的"),
         {"1:1|甲", "2:2|后写的", "3:3|丙"}},
    };
}

TEST(XlsRecords, EveryCellFormReadsAsItsText) {
    TempFolder folder;
    for (const auto& c : recordCases()) {
        const std::string path =
            writeWorkbook(folder, std::string(c.name) + ".xls", workbookStream(c.globals, c.sheet));
        try {
            EXPECT_EQ(readRows(path).rows, c.rows) << c.name;
        } catch (const importing::ReadError& e) {
            ADD_FAILURE() << c.name << ": " << e.what();
        }
    }
}

TEST(XlsRecords, UnreadableWorkbooksAreToldInChinese) {
    TempFolder folder;
    const struct {
        const char* name;
        std::string stream;
        const char* message;
    } cases[] = {
        {"password.xls", bof(0x0005) + record(0x002F, std::string(54, '\0')) + eof(), "密码保护"},
        {"excel95.xls", record(0x0809, u16(0x0500) + u16(0x0005) + u32(0)) + eof(),
         "Excel 97 以前"},
        {"missing-string.xls", workbookStream({}, dimensions(3, 2) + labelSst(2, 1, 0)),
         "第 3 行第 2 列引用了不存在的共享文本"},
        {"cut-record.xls", workbookStream({}, {}).substr(0, 30), "工作簿已损坏"},
        {"no-eof.xls", bof(0x0005), "工作簿已损坏"},
    };
    for (const auto& c : cases) {
        const std::string message = readertest::readError(writeWorkbook(folder, c.name, c.stream));
        EXPECT_NE(message.find(c.message), std::string::npos) << c.name << ": " << message;
        EXPECT_NE(message.find(c.name), std::string::npos) << message;
    }
}

}  // namespace
