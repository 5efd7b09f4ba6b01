#pragma once

#include <vector>

namespace reports::layouts {

// One column of a report's table, in design units (1/96 inch): its cell (the same x and width in
// the heading's lower row, in every detail row and in the summary's first row), its heading
// caption and the field its detail rows print.
struct Column {
    int cellX = 0;
    int cellW = 0;
    const char* caption = "";
    int captionX = 0;
    const char* field = "";
    int fieldX = 0;
    // The heading cell and caption; the remark column spans both heading rows.
    int headingY = 103;
    int headingH = 25;
    int captionY = 108;
    bool captionTransparent = false;
};

// A group cell of the heading's upper row, over several columns.
struct Group {
    int cellX = 0;
    int cellW = 0;
    const char* caption = "";
    int captionX = 0;
};

// A total of the summary band: the field summed and the label that shows it.
struct Sum {
    const char* field = "";
    const char* label = "";
    int x = 0;
};

// What a band draws, in its drawing order; later parts paint over earlier ones. `number` is the
// 1-based column, group or sum it refers to.
enum class Part {
    Cell,          // the column's cell of this band
    Text,          // title band: the heading caption; detail band: the field text
    Group,         // title band: a group cell and its caption
    ReportTitle,   // title band: the report's title
    CompanyLines,  // title band: "公司地址：", company name, address, web address
    PhoneLine,     // title band: "联系电话：" and the telephone
    Totals,        // summary band: the total of sum `number`
    SignOff,  // summary band: "合计", "制表人：", the contact, "打印日期：", the date
};

struct Step {
    Part part;
    int number = 0;
};

// A report described as data; one builder turns it into bands.
struct ReportLayout {
    const char* title = "";
    const char* table = "";          // the table whose every row is printed
    bool twoDecimalNumbers = false;  // number columns print as "#0.##"
    std::vector<Column> columns;
    std::vector<Group> groups;
    std::vector<Sum> sums;
    std::vector<Step> titleOrder;
    std::vector<Step> detailOrder;
    std::vector<Step> summaryOrder;
};

const ReportLayout& purchaseReport();     // 进货明细表 over 表1
const ReportLayout& goodsReport();        // 销售统计表 over 表1
const ReportLayout& salesDetailReport();  // 销售明细表 over 表3
const ReportLayout& returnsReport();      // 退货明细表 over 退货

const ReportLayout& lowStockReport();  // 库存预警表 over 库存预警

// Band sizes and fixed places shared by the reports, in design units.
inline constexpr int kBandWidth = 1025;
inline constexpr int kTitleHeight = 127;
inline constexpr int kDetailHeight = 23;
inline constexpr int kSummaryHeight = 81;

}  // namespace reports::layouts
