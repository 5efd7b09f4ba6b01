// The three reports as printed: every element of the title band, one detail row and the summary
// band, found on the produced page images at the places the layouts give in design units.
#include <gtest/gtest.h>

#include <QStringList>
#include <cmath>
#include <utility>
#include <vector>

#include "FakeCursor.h"
#include "reports/engine/Report.h"
#include "reports/engine/ReportPages.h"
#include "reports/engine/Units.h"
#include "reports/layouts/LayoutBuilder.h"
#include "reports/layouts/ReportLayout.h"

using namespace reports;
namespace L = reports::layouts;

namespace {

// An element as the page shows it, in design units from its band's top-left corner. Shapes give
// their rectangle; texts their left and top, the least height of their white box, font and text.
struct Element {
    char kind;  // 'S' cell, 'T' opaque text, 't' transparent text
    double x, y, w, h;
    QString text;
    double points = 0;
    bool bold = false;
};

Element cell(double x, double y, double w, double h) { return {'S', x, y, w, h, {}}; }
Element text(double x, double y, double h, const char* t, double points, bool bold) {
    return {'T', x, y, 0, h, QString::fromUtf8(t), points, bold};
}
Element bold11(double x, double y, const char* t) { return text(x, y, 17, t, 11, true); }
Element bold12(double x, double y, const char* t) { return text(x, y, 17, t, 12, true); }
Element regular10(double x, double y, const char* t) { return text(x, y, 17, t, 10, false); }

const QStringList kCompanyFields = {"公司名称", "公司地址", "联系人", "联系电话", "网址"};
const QStringList kCompany = {"千帆商行", "杭州市文三路1号", "王五", "0571-88886666",
                              "www.qianfan.example"};

std::vector<Element> companyHeading(const char* title) {
    return {
        text(8, 0, 25, "千帆商行", 18, true), text(13, 28, 20, "www.qianfan.example", 11, false),
        bold12(8, 58, "公司地址："),          bold12(88, 58, "杭州市文三路1号"),
        bold12(776, 58, "联系电话："),        bold12(864, 58, "0571-88886666"),
        text(432, 16, 36, title, 26, true)};
}

std::vector<Element> signOff(const char* date) {
    return {bold12(16, 5, "合计"), bold12(16, 40, "制表人："), bold12(88, 40, "王五"),
            bold12(384, 40, "打印日期："), bold12(472, 40, date)};
}

// The heading cells of the purchase grid, which the sales detail report shares.
const std::vector<Element> kPurchaseHeadingCells = {
    cell(0, 103, 73, 25),   cell(72, 103, 97, 25),  cell(168, 103, 81, 25),  cell(248, 103, 73, 25),
    cell(320, 103, 41, 25), cell(360, 103, 57, 25), cell(416, 103, 57, 25),  cell(472, 103, 73, 25),
    cell(544, 103, 65, 25), cell(608, 103, 89, 25), cell(696, 104, 241, 25), cell(936, 80, 89, 48),
    cell(0, 80, 361, 25),   cell(360, 80, 185, 25), cell(544, 80, 393, 25)};

struct Expected {
    const L::ReportLayout* layout;
    QStringList fields;  // the data set's columns
    QStringList row;     // its one row
    std::vector<Element> title, detail, summary;
};

// Purchase report (进货明细表).
Expected purchase() {
    Expected e{&L::purchaseReport(),
               {"商品编码", "商品名称", "商品型号", "商品规格", "单位", "进货单价", "进货数量",
                "进货金额", "联系人", "联系电话", "详细地址", "备注"},
               {"A1", "茶杯", "X1", "大", "个", "2.5", "2", "5", "李四", "139", "北京", "无"},
               companyHeading("进货明细表"),
               {},
               {}};
    const std::vector<Element> heading = {
        bold11(4, 108, "商品编码"),   bold11(85, 108, "商品名称"),  bold11(177, 108, "商品型号"),
        bold11(251, 108, "商品规格"), bold11(324, 108, "单位"),     bold11(368, 108, "单价"),
        bold11(429, 108, "数量"),     bold11(491, 108, "金额"),     bold11(553, 108, "联系人"),
        bold11(620, 108, "联系电话"), bold11(792, 108, "详细地址"), bold11(966, 96, "备注"),
        bold11(160, 85, "商品信息"),  bold11(424, 85, "进货信息"),  bold11(704, 85, "供货商信息")};
    e.title.insert(e.title.end(), kPurchaseHeadingCells.begin(), kPurchaseHeadingCells.end());
    e.title.insert(e.title.end(), heading.begin(), heading.end());
    e.detail = {cell(0, 0, 73, 25),       cell(72, 0, 97, 25),       cell(168, 0, 81, 25),
                cell(248, 0, 73, 25),     cell(320, 0, 41, 25),      cell(360, 0, 57, 25),
                cell(416, 0, 57, 25),     cell(472, 0, 73, 25),      cell(544, 0, 65, 25),
                cell(608, 0, 89, 25),     cell(696, 0, 241, 25),     cell(936, 0, 89, 25),
                regular10(5, 4, "A1"),    regular10(76, 4, "茶杯"),  regular10(173, 4, "X1"),
                regular10(254, 4, "大"),  regular10(324, 4, "个"),   regular10(365, 4, "2.5"),
                regular10(422, 4, "2"),   regular10(478, 4, "5"),    regular10(547, 4, "李四"),
                regular10(611, 4, "139"), regular10(700, 4, "北京"), regular10(940, 4, "无")};
    e.summary = signOff("2026/12/10");
    for (int i = 0; i < 12; ++i) e.summary.push_back(e.detail[std::size_t(i)]);
    e.summary.push_back(regular10(478, 5, "5"));
    return e;
}

// Sales detail report (销售明细表): the purchase grid with sales captions and fields.
Expected salesDetail() {
    Expected e = purchase();
    e.layout = &L::salesDetailReport();
    e.fields = {"商品编码", "商品名称", "商品型号", "商品规格", "单位",     "销售单价",
                "销售数量", "销售金额", "客户姓名", "联系电话", "详细地址", "备注"};
    e.title = companyHeading("销售明细表");
    e.title.insert(e.title.end(), kPurchaseHeadingCells.begin(), kPurchaseHeadingCells.end());
    const std::vector<Element> heading = {
        bold11(4, 108, "商品编码"),   bold11(85, 108, "商品名称"), bold11(177, 108, "商品型号"),
        bold11(251, 108, "商品规格"), bold11(324, 108, "单位"),    bold11(371, 108, "单价"),
        bold11(429, 108, "数量"),     bold11(491, 108, "金额"),    bold11(620, 108, "联系电话"),
        bold11(792, 108, "详细地址"), bold11(966, 96, "备注"),     bold11(160, 85, "商品信息"),
        bold11(424, 85, "销售信息"),  bold11(704, 85, "客户信息")};
    e.title.insert(e.title.end(), heading.begin(), heading.end());
    Element customer = bold11(545, 108, "客户姓名");
    customer.kind = 't';
    e.title.push_back(customer);
    return e;
}

// Returns report (退货明细表): the sales detail grid with the returns' fields and two sums.
Expected returns() {
    Expected e = salesDetail();
    e.layout = &L::returnsReport();
    e.fields = {"商品编码", "商品名称", "商品型号", "商品规格", "单位",     "退货数量",
                "进货单价", "退款金额", "客户姓名", "退货日期", "退货原因", "销售ID"};
    e.row = {"A1", "茶杯", "X1", "大", "个", "2", "2.5", "9", "李四", "2026-12-01", "坏了", "7"};
    e.title = companyHeading("退货明细表");
    e.title.insert(e.title.end(), kPurchaseHeadingCells.begin(), kPurchaseHeadingCells.end());
    // The date's cell is wider, the reason's narrower than the telephone's and the address's.
    e.title[7 + 9] = cell(608, 103, 129, 25);
    e.title[7 + 10] = cell(736, 103, 201, 25);
    e.detail[9] = cell(608, 0, 129, 25);
    e.detail[10] = cell(736, 0, 201, 25);
    const std::vector<Element> heading = {
        bold11(4, 108, "商品编码"),   bold11(85, 108, "商品名称"),  bold11(177, 108, "商品型号"),
        bold11(251, 108, "商品规格"), bold11(324, 108, "单位"),     bold11(373, 108, "数量"),
        bold11(429, 108, "进价"),     bold11(477, 108, "退款金额"), bold11(640, 108, "退货日期"),
        bold11(808, 108, "退货原因"), bold11(952, 96, "销售单号"),  bold11(160, 85, "商品信息"),
        bold11(424, 85, "退货信息"),  bold11(704, 85, "退货说明")};
    e.title.insert(e.title.end(), heading.begin(), heading.end());
    Element customer = bold11(545, 108, "客户姓名");
    customer.kind = 't';
    e.title.push_back(customer);
    const int fieldX[] = {5, 76, 173, 254, 324, 365, 422, 478, 547, 611, 740, 940};
    for (int i = 0; i < 12; ++i)
        e.detail[std::size_t(12 + i)] = regular10(fieldX[i], 4, e.row.at(i).toUtf8().constData());
    e.summary = signOff("2026/12/10");
    for (int i = 0; i < 12; ++i) e.summary.push_back(e.detail[std::size_t(i)]);
    e.summary.push_back(regular10(365, 5, "2"));
    e.summary.push_back(regular10(478, 5, "9"));
    return e;
}

// Goods report (销售统计表).
Expected goods() {
    Expected e{&L::goodsReport(),
               {"商品编码", "商品名称", "商品型号", "商品规格", "单位", "销售单价", "销售数量",
                "销售金额", "销售利润", "库存数量", "库存金额", "备注"},
               {"A1", "茶杯", "X1", "大", "个", "3", "2", "6", "1", "8", "20", "无"},
               companyHeading("销售统计表"),
               {},
               {}};
    const std::vector<Element> heading = {
        cell(0, 103, 73, 25),         cell(72, 103, 105, 25),      cell(176, 103, 89, 25),
        cell(264, 103, 89, 25),       cell(352, 103, 49, 25),      cell(400, 103, 73, 25),
        cell(472, 103, 73, 25),       cell(544, 103, 89, 25),      cell(632, 103, 89, 25),
        cell(720, 103, 73, 25),       cell(792, 103, 89, 25),      cell(880, 80, 145, 48),
        cell(0, 80, 401, 25),         cell(400, 80, 321, 25),      cell(720, 80, 161, 25),
        bold11(4, 108, "商品编码"),   bold11(93, 108, "商品名称"), bold11(188, 108, "商品型号"),
        bold11(275, 108, "商品规格"), bold11(360, 108, "单位"),    bold11(416, 108, "单价"),
        bold11(493, 108, "数量"),     bold11(571, 108, "金额"),    bold11(656, 108, "利润"),
        bold11(739, 108, "数量"),     bold11(818, 108, "金额"),    bold11(936, 96, "备注"),
        bold11(168, 85, "商品信息"),  bold11(528, 85, "销售信息"), bold11(768, 85, "库存信息")};
    e.title.insert(e.title.end(), heading.begin(), heading.end());
    e.detail = {cell(0, 0, 73, 25),      cell(72, 0, 105, 25),     cell(176, 0, 89, 25),
                cell(264, 0, 89, 25),    cell(352, 0, 49, 25),     cell(400, 0, 73, 25),
                cell(472, 0, 73, 25),    cell(544, 0, 89, 25),     cell(632, 0, 89, 25),
                cell(720, 0, 73, 25),    cell(792, 0, 89, 25),     cell(880, 0, 145, 25),
                regular10(5, 4, "A1"),   regular10(76, 4, "茶杯"), regular10(181, 4, "X1"),
                regular10(270, 4, "大"), regular10(356, 4, "个"),  regular10(403, 4, "3"),
                regular10(478, 4, "2"),  regular10(548, 4, "6"),   regular10(636, 4, "1"),
                regular10(723, 4, "8"),  regular10(797, 4, "20"),  regular10(886, 4, "无")};
    e.summary = signOff("2026/12/10");
    for (int i = 0; i < 12; ++i) e.summary.push_back(e.detail[std::size_t(i)]);
    e.summary.push_back(regular10(548, 5, "6"));
    e.summary.push_back(regular10(635, 5, "1"));
    e.summary.push_back(regular10(796, 5, "20"));
    return e;
}

// Produces layout over rows and the company row, none when companyRow is empty, with the given
// captions set as the report window sets them.
::testing::AssertionResult produce(ReportPages& pages, const L::ReportLayout& layout,
                                   FakeCursor& rows,
                                   const std::vector<std::pair<QString, QString>>& captions = {},
                                   const QStringList& companyRow = kCompany) {
    FakeCursor company(kCompanyFields, companyRow.isEmpty() ? std::vector<QStringList>{}
                                                            : std::vector<QStringList>{companyRow});
    company.first();
    TReport report;
    L::buildReport(report, layout, &rows, &company);
    for (const auto& [label, text] : captions) report.setCaption(label, text);
    if (report.produce(pages)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "the report was not produced";
}

bool near(double a, double b) { return std::fabs(a - b) < 0.01; }

// Looks for element on page with its band's top at bandTop (tenths from the paper's top).
::testing::AssertionResult shows(const ReportPages& pages, const PageImage& page, const Element& e,
                                 double bandTop) {
    const double x = 130 + designToTenths(e.x);
    const double y = bandTop + designToTenths(e.y);
    const auto& ops = page.ops();
    for (std::size_t i = 0; i < ops.size(); ++i) {
        const PageOp& op = ops[i];
        if (e.kind == 'S') {
            if (op.kind == PageOp::Kind::Shape && near(op.x, x) && near(op.y, y) &&
                near(op.w, designToTenths(e.w)) && near(op.h, designToTenths(e.h)))
                return ::testing::AssertionSuccess();
            continue;
        }
        if (op.kind != PageOp::Kind::Text || page.textOf(op) != e.text || !near(op.x, x) ||
            !near(op.y, y))
            continue;
        const ReportFont& font = pages.fonts().at(op.font);
        if (font.points != e.points || font.bold != e.bold || font.name != QStringLiteral("宋体"))
            return ::testing::AssertionFailure() << "wrong font for " << e.text.toStdString();
        const bool boxed = i > 0 && ops[i - 1].kind == PageOp::Kind::Fill &&
                           near(ops[i - 1].x, x) && near(ops[i - 1].y, y) &&
                           ops[i - 1].h >= designToTenths(e.h) - 0.01 && ops[i - 1].w > 0;
        if (boxed == (e.kind == 'T')) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure()
               << e.text.toStdString() << (boxed ? " has a white box" : " has no white box");
    }
    return ::testing::AssertionFailure() << "no " << (e.kind == 'S' ? "cell" : "text") << " at "
                                         << e.x << "," << e.y << " " << e.text.toStdString();
}

class ReportLayouts : public ::testing::TestWithParam<Expected (*)()> {};

TEST_P(ReportLayouts, TitleDetailAndSummaryStandWhereTheLayoutPutsThem) {
    const Expected e = GetParam()();
    FakeCursor rows(e.fields, {e.row});
    std::vector<std::pair<QString, QString>> captions = {
        {QStringLiteral("RepLabel17"), QStringLiteral("2026/12/10")}};
    for (const L::Sum& sum : e.layout->sums) {
        const int column = e.fields.indexOf(QString::fromUtf8(sum.field));
        captions.push_back({QString::fromUtf8(sum.label), e.row.at(column)});
    }
    ReportPages pages;
    ASSERT_TRUE(produce(pages, *e.layout, rows, captions));
    ASSERT_EQ(pages.pageCount(), 1);
    const PageImage& page = pages.page(1);

    // Bands follow each other from the top margin: title 336 tenths, one row 61.
    for (const Element& element : e.title) EXPECT_TRUE(shows(pages, page, element, 150));
    for (const Element& element : e.detail) EXPECT_TRUE(shows(pages, page, element, 486));
    for (const Element& element : e.summary) EXPECT_TRUE(shows(pages, page, element, 547));

    // Nothing else is printed: every cell and text of the page is one the tables list.
    std::size_t listed = e.title.size() + e.detail.size() + e.summary.size();
    std::size_t printed = 0;
    for (const PageOp& op : page.ops()) printed += op.kind == PageOp::Kind::Fill ? 0 : 1;
    EXPECT_EQ(printed, listed);
}

INSTANTIATE_TEST_SUITE_P(EachReport, ReportLayouts,
                         ::testing::Values(&purchase, &goods, &salesDetail, &returns));

// The x of each cell and text of one band, in the order the page draws them (fills left out).
std::vector<std::pair<char, int>> drawingOrder(const PageImage& page, double top, double bottom) {
    std::vector<std::pair<char, int>> order;
    for (const PageOp& op : page.ops()) {
        if (op.kind == PageOp::Kind::Fill || op.y < top - 0.01 || op.y >= bottom) continue;
        const int x = int(std::lround((op.x - 130) * 96 / 254));
        order.push_back({op.kind == PageOp::Kind::Shape ? 'S' : 'T', x});
    }
    return order;
}

struct OrderCase {
    const L::ReportLayout& (*layout)();
    std::vector<std::pair<char, int>> detail;
    std::vector<std::pair<char, int>> summary;
};

class DrawingOrder : public ::testing::TestWithParam<OrderCase> {};

TEST_P(DrawingOrder, LaterElementsPaintOverEarlierOnes) {
    const OrderCase& c = GetParam();
    const L::ReportLayout& layout = c.layout();
    QStringList fields;
    QStringList row;
    for (const L::Column& column : layout.columns) {
        fields << QString::fromUtf8(column.field);
        row << QStringLiteral("x");
    }
    FakeCursor rows(fields, {row});
    ReportPages pages;
    ASSERT_TRUE(produce(pages, layout, rows));
    EXPECT_EQ(drawingOrder(pages.page(1), 486, 547), c.detail);
    const auto summary = drawingOrder(pages.page(1), 547, 2100);
    // The sign-off line at y 40 sits between cell 1 and the remaining cells.
    EXPECT_EQ(summary, c.summary);
}

// Cell and text x positions (design units) in drawing order.
OrderCase purchaseOrder() {
    return {&L::purchaseReport,
            {{'S', 0},   {'S', 72},  {'S', 168}, {'S', 248}, {'S', 320}, {'S', 360},
             {'S', 416}, {'S', 472}, {'T', 5},   {'T', 76},  {'T', 173}, {'T', 254},
             {'T', 324}, {'T', 365}, {'T', 422}, {'T', 478}, {'S', 544}, {'S', 608},
             {'S', 936}, {'T', 547}, {'T', 611}, {'T', 940}, {'S', 696}, {'T', 700}},
            {{'S', 0},
             {'T', 16},
             {'T', 16},
             {'T', 88},
             {'T', 384},
             {'T', 472},
             {'S', 72},
             {'S', 472},
             {'S', 544},
             {'S', 608},
             {'S', 696},
             {'T', 478},
             {'S', 168},
             {'S', 248},
             {'S', 320},
             {'S', 360},
             {'S', 416},
             {'S', 936}}};
}

OrderCase goodsOrder() {
    return {&L::goodsReport,
            {{'S', 0},   {'S', 72},  {'S', 176}, {'S', 264}, {'S', 352}, {'S', 400},
             {'S', 472}, {'S', 544}, {'S', 632}, {'T', 5},   {'T', 76},  {'T', 181},
             {'T', 270}, {'T', 356}, {'T', 403}, {'T', 478}, {'T', 548}, {'T', 636},
             {'S', 720}, {'S', 792}, {'S', 880}, {'T', 723}, {'T', 797}, {'T', 886}},
            {{'S', 0},   {'T', 16},  {'T', 16},  {'T', 88},  {'T', 384}, {'T', 472}, {'S', 72},
             {'S', 544}, {'S', 632}, {'S', 720}, {'S', 792}, {'S', 880}, {'T', 548}, {'T', 635},
             {'T', 796}, {'S', 176}, {'S', 264}, {'S', 352}, {'S', 400}, {'S', 472}}};
}

INSTANTIATE_TEST_SUITE_P(PurchaseAndGoods, DrawingOrder,
                         ::testing::Values(purchaseOrder(), goodsOrder()));

// A cell paints white inside: in the summary band no cell may come after a total inside it.
TEST(DrawingOrder, NoSummaryCellPaintsOverATotal) {
    for (const L::ReportLayout* layout :
         {&L::purchaseReport(), &L::goodsReport(), &L::salesDetailReport(), &L::returnsReport()}) {
        SCOPED_TRACE(layout->title);
        QStringList fields;
        QStringList row;
        for (const L::Column& column : layout->columns) {
            fields << QString::fromUtf8(column.field);
            row << QStringLiteral("x");
        }
        FakeCursor rows(fields, {row});
        std::vector<std::pair<QString, QString>> totals;
        for (const L::Sum& sum : layout->sums)
            totals.push_back({QString::fromUtf8(sum.label), QStringLiteral("9")});
        ReportPages pages;
        ASSERT_TRUE(produce(pages, *layout, rows, totals));
        const auto& ops = pages.page(1).ops();
        for (std::size_t t = 0; t < ops.size(); ++t) {
            if (ops[t].kind != PageOp::Kind::Text || ops[t].y < 547) continue;
            for (std::size_t s = t + 1; s < ops.size(); ++s) {
                const PageOp& cell = ops[s];
                const bool covers = cell.kind == PageOp::Kind::Shape && ops[t].x >= cell.x &&
                                    ops[t].x < cell.x + cell.w && ops[t].y >= cell.y &&
                                    ops[t].y < cell.y + cell.h;
                EXPECT_FALSE(covers) << pages.page(1).textOf(ops[t]).toString().toStdString();
            }
        }
    }
}

TEST(DrawingOrder, TitleBandOfThePurchaseReport) {
    FakeCursor rows({}, {});
    ReportPages pages;
    ASSERT_TRUE(produce(pages, L::purchaseReport(), rows));
    std::vector<QString> order;
    for (const PageOp& op : pages.page(1).ops()) {
        if (op.y >= 486 - 0.01) break;
        if (op.kind == PageOp::Kind::Text) order.push_back(pages.page(1).textOf(op).toString());
        if (op.kind == PageOp::Kind::Shape)
            order.push_back(QStringLiteral("S%1").arg(std::lround((op.x - 130) * 96 / 254)));
    }
    const QStringList expected = {"S416",
                                  "S472",
                                  "S360",
                                  "S320",
                                  "S248",
                                  "S168",
                                  "S72",
                                  "S0",
                                  "进货明细表",
                                  "商品规格",
                                  "商品型号",
                                  "商品名称",
                                  "商品编码",
                                  "数量",
                                  "单价",
                                  "单位",
                                  "金额",
                                  "S0",
                                  "商品信息",
                                  "公司地址：",
                                  "千帆商行",
                                  "杭州市文三路1号",
                                  "www.qianfan.example",
                                  "S544",
                                  "S608",
                                  "S936",
                                  "S360",
                                  "进货信息",
                                  "S544",
                                  "供货商信息",
                                  "联系人",
                                  "联系电话",
                                  "备注",
                                  "联系电话：",
                                  "0571-88886666",
                                  "S696",
                                  "详细地址"};
    EXPECT_EQ(order, std::vector<QString>(expected.begin(), expected.end()));
}

// Page capacity: 24 rows under the heading on page 1, the 25th with the summary on page 2.
TEST(ReportPaging, TwentyFiveRowsBreakAfterTheTwentyFourth) {
    std::vector<QStringList> data;
    for (int i = 1; i <= 25; ++i) data.push_back({QStringLiteral("R%1").arg(i)});
    FakeCursor rows({QStringLiteral("商品编码")}, data);
    ReportPages pages;
    ASSERT_TRUE(produce(pages, L::purchaseReport(), rows));
    ASSERT_EQ(pages.pageCount(), 2);
    EXPECT_TRUE(pages.page(1).containsText(u"R24"));
    EXPECT_TRUE(pages.page(1).containsText(u"商品编码"));
    EXPECT_FALSE(pages.page(1).containsText(u"合计"));
    EXPECT_TRUE(pages.page(2).containsText(u"R25"));
    EXPECT_TRUE(pages.page(2).containsText(u"合计"));
    EXPECT_FALSE(pages.page(2).containsText(u"商品编码")) << "no headings on page 2";
    EXPECT_FALSE(pages.page(2).containsText(u"千帆商行"));
    EXPECT_TRUE(pages.page(2).containsText(u"王五")) << "the sign-off names the contact";
}

// An empty table: the heading, one empty row and the summary, on one page.
TEST(ReportPaging, AnEmptyTablePrintsOneEmptyRow) {
    FakeCursor rows({QStringLiteral("商品编码")}, {});
    ReportPages pages;
    ASSERT_TRUE(produce(pages, L::goodsReport(), rows,
                        {{QStringLiteral("RepLabel15"), QStringLiteral("0")}},
                        {}));  // and no company row either
    ASSERT_EQ(pages.pageCount(), 1);
    int cellsOfTheEmptyRow = 0;
    for (const PageOp& op : pages.page(1).ops())
        if (op.kind == PageOp::Kind::Shape && near(op.y, 486)) ++cellsOfTheEmptyRow;
    EXPECT_EQ(cellsOfTheEmptyRow, 12);
    EXPECT_TRUE(pages.page(1).containsText(u"销售统计表"));
    EXPECT_TRUE(pages.page(1).containsText(u"合计"));
    EXPECT_TRUE(pages.page(1).containsText(u"0"));
}

}  // namespace
