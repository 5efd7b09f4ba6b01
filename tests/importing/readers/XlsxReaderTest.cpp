#include <gtest/gtest.h>
#include <zip.h>

#include <map>

#include "importing/readers/SheetReader.h"
#include "tests/importing/readers/ReadRows.h"

namespace {

using readertest::readRows;
using readertest::TempFolder;

using Members = std::map<std::string, std::string>;

// Writes members into a zip archive at path, as a spreadsheet program saves an .xlsx.
void writeZip(const std::string& path, const Members& members) {
    int error = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    ASSERT_NE(archive, nullptr);
    for (const auto& [name, bytes] : members) {
        zip_source_t* source = zip_source_buffer(archive, bytes.data(), bytes.size(), 0);
        ASSERT_GE(zip_file_add(archive, name.c_str(), source, ZIP_FL_ENC_UTF_8), 0);
    }
    ASSERT_EQ(zip_close(archive), 0);
}

std::string xml(const std::string& body) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n" + body;
}

const char* const kMain = "xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"";
const char* const kRel =
    "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"";

// A workbook of two sheets, the first one "进货" stored as sheet2.xml so that only the
// relationships tell which member holds it.
Members purchaseWorkbook(bool date1904) {
    const std::string office =
        "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";
    Members m;
    m["[Content_Types].xml"] = xml("<Types/>");
    m["_rels/.rels"] =
        xml("<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
            "<Relationship Id=\"rId1\" Type=\"" +
            office +
            "officeDocument\" Target=\"xl/workbook.xml\"/>"
            "</Relationships>");
    m["xl/workbook.xml"] =
        xml(std::string("<workbook ") + kMain + " " + kRel + ">" +
            (date1904 ? "<workbookPr date1904=\"1\"/>" : "<workbookPr/>") +
            "<sheets><sheet name=\"进货\" sheetId=\"1\" r:id=\"rId1\"/>"
            "<sheet name=\"其他\" sheetId=\"2\" r:id=\"rId2\"/></sheets></workbook>");
    m["xl/_rels/workbook.xml.rels"] =
        xml("<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
            "<Relationship Id=\"rId1\" Type=\"" +
            office +
            "worksheet\" Target=\"worksheets/sheet2.xml\"/>"
            "<Relationship Id=\"rId2\" Type=\"" +
            office +
            "worksheet\" Target=\"/xl/worksheets/sheet1.xml\"/>"
            "<Relationship Id=\"rId3\" Type=\"" +
            office +
            "sharedStrings\" Target=\"sharedStrings.xml\"/>"
            "<Relationship Id=\"rId4\" Type=\"" +
            office +
            "styles\" Target=\"styles.xml\"/>"
            "</Relationships>");
    m["xl/sharedStrings.xml"] =
        xml(std::string("<sst ") + kMain +
            " count=\"4\" uniqueCount=\"4\">"
            "<si><t>商品编码</t></si>"
            "<si><r><rPr><b/></rPr><t>铅</t></r><r><t xml:space=\"preserve\">笔 </t></r>"
            "<rPh sb=\"0\" eb=\"1\"><t>qian</t></rPh></si>"
            "<si><t>进货日期</t></si>"
            "<si><t>06932169358293</t></si></sst>");
    m["xl/styles.xml"] =
        xml(std::string("<styleSheet ") + kMain +
            ">"
            "<numFmts count=\"2\"><numFmt numFmtId=\"164\" "
            "formatCode=\"yyyy&quot;年&quot;m&quot;月&quot;d&quot;日&quot;\"/>"
            "<numFmt numFmtId=\"165\" formatCode=\"0.00&quot;天&quot;\"/></numFmts>"
            "<cellStyleXfs count=\"1\"><xf numFmtId=\"14\"/></cellStyleXfs>"
            "<cellXfs count=\"5\"><xf numFmtId=\"0\"/><xf numFmtId=\"14\" applyNumberFormat=\"1\"/>"
            "<xf numFmtId=\"164\"/><xf numFmtId=\"165\"/><xf numFmtId=\"20\"/></cellXfs>"
            "</styleSheet>");
    m["xl/worksheets/sheet2.xml"] = xml(
        std::string("<worksheet ") + kMain +
        "><dimension ref=\"A1:E6\"/><sheetData>"
        "<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c><c r=\"B1\" "
        "t=\"inlineStr\"><is><t>商品名称</t></is></c>"
        "<c r=\"C1\" t=\"s\"><v>2</v></c><c r=\"D1\" t=\"inlineStr\"><is><t>进货单价</t></is></c>"
        "<c r=\"E1\" t=\"inlineStr\"><is><t>备注</t></is></c></row>"
        "<row r=\"2\"><c r=\"A2\" t=\"s\"><v>3</v></c><c r=\"B2\" t=\"s\"><v>1</v></c>"
        "<c r=\"C2\" s=\"1\"><v>45658</v></c><c r=\"D2\"><v>0.10000000000000001</v></c>"
        "<c r=\"E2\" t=\"b\"><v>1</v></c></row>"
        // B3 is skipped; D3 and E3 are formulas with their last values.
        "<row r=\"3\"><c r=\"A3\"><v>6.932169358293E12</v></c><c r=\"C3\" "
        "s=\"2\"><v>45658.5</v></c>"
        "<c r=\"D3\"><f>1+2</f><v>3</v></c><c r=\"E3\" "
        "t=\"str\"><f>\"合\"&amp;\"计\"</f><v>合计</v></c></row>"
        // Row 4 is not stored; cells without references follow one another.
        "<row r=\"5\"><c t=\"inlineStr\"><is><t>x</t></is></c><c t=\"e\"><v>#N/A</v></c>"
        "<c r=\"D5\" s=\"4\"><v>0.5</v></c><c r=\"E5\" s=\"3\"><v>1E+15</v></c></row>"
        "<row r=\"6\"><c r=\"A6\" t=\"inlineStr\"><is><t></t></is></c><c r=\"B6\" s=\"1\"/></row>"
        "<row><c r=\"A7\" t=\"b\"><v>0</v></c><c r=\"F7\" "
        "t=\"d\"><v>2025-03-04T00:00:00</v></c></row>"
        "</sheetData></worksheet>");
    m["xl/worksheets/sheet1.xml"] = xml(std::string("<worksheet ") + kMain +
                                        "><sheetData><row r=\"1\"><c r=\"B1\" t=\"inlineStr\">"
                                        "<is><t>其他</t></is></c></row></sheetData></worksheet>");
    return m;
}

TEST(XlsxReading, CellsOfEveryKindAsTexts) {
    TempFolder folder;
    const std::string file = folder.file("进货.XLSX");
    writeZip(file, purchaseWorkbook(false));
    const auto read = readRows(file);
    EXPECT_EQ(read.facts.format, "xlsx");
    EXPECT_EQ(read.facts.sheetNames, (std::vector<std::string>{"进货", "其他"}));
    const std::vector<std::string> expected = {
        "1:商品编码|商品名称|进货日期|进货单价|备注",
        "2:06932169358293|铅笔 |2025-01-01|0.1|TRUE",
        "3:6932169358293||2025-01-01|3|合计",
        "5:x|#N/A||12:00:00|1000000000000000",
        "7:FALSE|||||2025-03-04",
    };
    EXPECT_EQ(read.rows, expected);
    EXPECT_EQ(read.facts.rows, 5);
}

TEST(XlsxReading, TheChosenSheetAndThe1904Calendar) {
    TempFolder folder;
    const std::string file = folder.file("b.xlsx");
    writeZip(file, purchaseWorkbook(true));
    EXPECT_EQ(readRows(file, {1}).rows, (std::vector<std::string>{"1:|其他"}));
    EXPECT_EQ(readRows(file).rows.at(1), "2:06932169358293|铅笔 |2029-01-02|0.1|TRUE");
}

TEST(XlsxReadingErrors, DamagedWorkbooksAreTold) {
    Members brokenSheet = purchaseWorkbook(false);
    brokenSheet["xl/worksheets/sheet2.xml"] = xml("<worksheet><sheetData><row r=\"1\"><c>");
    Members badString = purchaseWorkbook(false);
    badString["xl/sharedStrings.xml"] = xml("<sst><si><t>a</t></si></sst>");
    Members noWorkbook = purchaseWorkbook(false);
    noWorkbook.erase("xl/workbook.xml");
    Members noSheetPart = purchaseWorkbook(false);
    noSheetPart.erase("xl/worksheets/sheet2.xml");

    const struct {
        const char* name;
        Members members;
        const char* message;
    } cases[] = {
        {"broken.xlsx", brokenSheet, "工作簿已损坏（xl/worksheets/sheet2.xml 第"},
        {"strings.xlsx", badString, "第 1 行第 3 列引用了不存在的共享文本"},
        {"noworkbook.xlsx", noWorkbook, "不是完整的 .xlsx 工作簿"},
        {"nosheet.xlsx", noSheetPart, "缺少工作表 xl/worksheets/sheet2.xml"},
    };
    TempFolder folder;
    for (const auto& c : cases) {
        writeZip(folder.file(c.name), c.members);
        const std::string message = readertest::readError(folder.file(c.name));
        EXPECT_NE(message.find(c.message), std::string::npos) << c.name << ": " << message;
    }
    // An archive cut short.
    writeZip(folder.file("whole.xlsx"), purchaseWorkbook(false));
    std::ifstream in(folder.file("whole.xlsx"), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), {});
    EXPECT_NE(readertest::readError(folder.write("cut.xlsx", bytes.substr(0, bytes.size() - 40)))
                  .find("不是完整的 .xlsx 工作簿"),
              std::string::npos);
}

}  // namespace
