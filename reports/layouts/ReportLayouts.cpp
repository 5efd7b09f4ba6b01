// The reports, element by element: where each cell, caption and field stands, and in which
// order the bands draw them.
#include "reports/layouts/ReportLayout.h"

#include <initializer_list>

#include "store/Schema.h"

namespace reports::layouts {

namespace {

namespace column = store::schema::column;

std::vector<Step> join(std::initializer_list<std::vector<Step>> runs) {
    std::vector<Step> all;
    for (const auto& run : runs) all.insert(all.end(), run.begin(), run.end());
    return all;
}

std::vector<Step> many(Part part, std::initializer_list<int> numbers) {
    std::vector<Step> run;
    for (int n : numbers) run.push_back({part, n});
    return run;
}

std::vector<Step> one(Part part, int number = 0) { return {{part, number}}; }

std::vector<Step> cells(std::initializer_list<int> n) { return many(Part::Cell, n); }
std::vector<Step> texts(std::initializer_list<int> n) { return many(Part::Text, n); }

// The remark column spans both heading rows; the address column of the purchase and sales detail
// reports sits one unit lower than its neighbours.
Column remark(int cellX, int cellW, int captionX, int fieldX) {
    return {cellX, cellW, "备注", captionX, column::kRemark, fieldX, 80, 48, 96};
}
Column address() { return {696, 241, "详细地址", 792, column::kAddress, 700, 104}; }

// Purchase and sales detail reports share their grid and their drawing order.
std::vector<Step> listTitleOrder() {
    return join({cells({7, 8, 6, 5, 4, 3, 2, 1}), one(Part::ReportTitle),
                 texts({4, 3, 2, 1, 7, 6, 5, 8}), one(Part::Group, 1), one(Part::CompanyLines),
                 cells({9, 10}), cells({12}), one(Part::Group, 2), one(Part::Group, 3),
                 texts({9, 10, 12}), one(Part::PhoneLine), cells({11}), texts({11})});
}

std::vector<Step> listDetailOrder() {
    return join({cells({1, 2, 3, 4, 5, 6, 7, 8}), texts({1, 2, 3, 4, 5, 6, 7, 8}),
                 cells({9, 10, 12}), texts({9, 10, 12}), cells({11}), texts({11})});
}

std::vector<Step> listSummaryOrder() {
    return join({cells({1}), one(Part::SignOff), cells({2, 8, 9, 10, 11}), one(Part::Totals, 1),
                 cells({3, 4, 5, 6, 7, 12})});
}

ReportLayout makePurchaseReport() {
    ReportLayout r;
    r.title = "进货明细表";
    r.table = store::schema::kGoods;
    r.twoDecimalNumbers = true;
    r.columns = {{0, 73, "商品编码", 4, column::kGoodsCode, 5},
                 {72, 97, "商品名称", 85, column::kGoodsName, 76},
                 {168, 81, "商品型号", 177, column::kModel, 173},
                 {248, 73, "商品规格", 251, column::kGoodsSize, 254},
                 {320, 41, "单位", 324, column::kUnit, 324},
                 {360, 57, "单价", 368, column::kPurchasePrice, 365},
                 {416, 57, "数量", 429, column::kPurchaseQuantity, 422},
                 {472, 73, "金额", 491, column::kPurchaseAmount, 478},
                 {544, 65, "联系人", 553, column::kContact, 547},
                 {608, 89, "联系电话", 620, column::kPhone, 611},
                 address(),
                 remark(936, 89, 966, 940)};
    r.groups = {
        {0, 361, "商品信息", 160}, {360, 185, "进货信息", 424}, {544, 393, "供货商信息", 704}};
    r.sums = {{column::kPurchaseAmount, "RepLabel15", 478}};
    r.titleOrder = listTitleOrder();
    r.detailOrder = listDetailOrder();
    r.summaryOrder = listSummaryOrder();
    return r;
}

ReportLayout makeSalesDetailReport() {
    ReportLayout r = makePurchaseReport();
    r.title = "销售明细表";
    r.table = store::schema::kSales;
    r.twoDecimalNumbers = false;  // numbers print in their general form
    r.columns[5] = {360, 57, "单价", 371, column::kSalePrice, 365};
    r.columns[6].field = column::kSaleQuantity;
    r.columns[7].field = column::kSaleAmount;
    r.columns[8] = {544, 65, "客户姓名", 545, column::kCustomer, 547};
    r.columns[8].captionTransparent = true;
    r.groups[1].caption = "销售信息";
    r.groups[2].caption = "客户信息";
    r.sums = {{column::kSaleAmount, "RepLabel15", 478}};
    return r;
}

// The returns print on the sales detail grid: what came back and its refund under "退货信息",
// who returned it, when and why under "退货说明", and the sale it came from in the last column.
ReportLayout makeReturnsReport() {
    ReportLayout r = makeSalesDetailReport();
    r.title = "退货明细表";
    r.table = store::schema::kReturns;
    r.columns[5] = {360, 57, "数量", 373, column::kReturnQuantity, 365};
    r.columns[6] = {416, 57, "进价", 429, column::kPurchasePrice, 422};
    r.columns[7] = {472, 73, "退款金额", 477, column::kRefundAmount, 478};
    // The date and time of a return want more room than a telephone number, the reason less than
    // an address.
    r.columns[9] = {608, 129, "退货日期", 640, column::kReturnDate, 611};
    r.columns[10] = {736, 201, "退货原因", 808, column::kReason, 740};
    r.columns[11] = {936, 89, "销售单号", 952, column::kSaleId, 940, 80, 48, 96};
    r.groups[1].caption = "退货信息";
    r.groups[2].caption = "退货说明";
    r.sums = {{column::kReturnQuantity, "RepLabel14", 365},
              {column::kRefundAmount, "RepLabel15", 478}};
    // Both totals stand in cells drawn before them: a cell painted later would hide its total.
    r.summaryOrder = join({cells({1}), one(Part::SignOff), cells({2, 6, 8, 9, 10, 11}),
                           one(Part::Totals, 1), one(Part::Totals, 2), cells({3, 4, 5, 7, 12})});
    return r;
}

ReportLayout makeGoodsReport() {
    ReportLayout r;
    r.title = "销售统计表";
    r.table = store::schema::kGoods;
    r.twoDecimalNumbers = true;
    r.columns = {{0, 73, "商品编码", 4, column::kGoodsCode, 5},
                 {72, 105, "商品名称", 93, column::kGoodsName, 76},
                 {176, 89, "商品型号", 188, column::kModel, 181},
                 {264, 89, "商品规格", 275, column::kGoodsSize, 270},
                 {352, 49, "单位", 360, column::kUnit, 356},
                 {400, 73, "单价", 416, column::kSalePrice, 403},
                 {472, 73, "数量", 493, column::kSaleQuantity, 478},
                 {544, 89, "金额", 571, column::kSaleAmount, 548},
                 {632, 89, "利润", 656, column::kSaleProfit, 636},
                 {720, 73, "数量", 739, column::kStockQuantity, 723},
                 {792, 89, "金额", 818, column::kStockAmount, 797},
                 remark(880, 145, 936, 886)};
    r.groups = {
        {0, 401, "商品信息", 168}, {400, 321, "销售信息", 528}, {720, 161, "库存信息", 768}};
    r.sums = {{column::kSaleAmount, "RepLabel15", 548},
              {column::kSaleProfit, "RepLabel19", 635},
              {column::kStockAmount, "RepLabel23", 796}};
    r.titleOrder =
        join({cells({7, 8, 6, 5, 4, 3, 2, 1}), one(Part::ReportTitle),
              texts({4, 3, 2, 1, 7, 6, 5, 8}), one(Part::Group, 1), cells({9}), texts({9}),
              one(Part::CompanyLines), cells({10, 11}), cells({12}), one(Part::Group, 2),
              one(Part::Group, 3), texts({10, 11, 12}), one(Part::PhoneLine)});
    r.detailOrder = join({cells({1, 2, 3, 4, 5, 6, 7, 8, 9}), texts({1, 2, 3, 4, 5, 6, 7, 8, 9}),
                          cells({10, 11, 12}), texts({10, 11, 12})});
    r.summaryOrder =
        join({cells({1}), one(Part::SignOff), cells({2, 8, 9, 10, 11, 12}), one(Part::Totals, 1),
              one(Part::Totals, 2), one(Part::Totals, 3), cells({3, 4, 5, 6, 7})});
    return r;
}

// The low codes: the goods, their stock, level and shortfall, and the shortfall's sum.
ReportLayout makeLowStockReport() {
    ReportLayout r;
    r.title = "库存预警表";
    r.table = store::schema::kLowStockList;
    r.twoDecimalNumbers = true;
    r.columns = {{0, 105, "商品编码", 20, column::kGoodsCode, 5},
                 {104, 153, "商品名称", 149, column::kGoodsName, 108},
                 {256, 121, "商品型号", 284, column::kModel, 260},
                 {376, 121, "商品规格", 404, column::kGoodsSize, 380},
                 {496, 65, "单位", 512, column::kUnit, 500},
                 {560, 153, "库存数量", 604, column::kStockQuantity, 564},
                 {712, 153, "最低库存", 756, column::kStockLevel, 716},
                 {864, 161, "缺货数量", 912, column::kShortfall, 868}};
    r.groups = {{0, 561, "商品信息", 248}, {560, 465, "库存信息", 760}};
    r.sums = {{column::kShortfall, "RepLabel15", 868}};
    r.titleOrder = join({cells({1, 2, 3, 4, 5, 6, 7, 8}), one(Part::ReportTitle),
                         texts({1, 2, 3, 4, 5, 6, 7, 8}), one(Part::Group, 1), one(Part::Group, 2),
                         one(Part::CompanyLines), one(Part::PhoneLine)});
    r.detailOrder = join({cells({1, 2, 3, 4, 5, 6, 7, 8}), texts({1, 2, 3, 4, 5, 6, 7, 8})});
    r.summaryOrder =
        join({cells({1}), one(Part::SignOff), cells({2, 3, 4, 5, 6, 7, 8}), one(Part::Totals, 1)});
    return r;
}

}  // namespace

const ReportLayout& lowStockReport() {
    static const ReportLayout layout = makeLowStockReport();
    return layout;
}

const ReportLayout& purchaseReport() {
    static const ReportLayout layout = makePurchaseReport();
    return layout;
}

const ReportLayout& goodsReport() {
    static const ReportLayout layout = makeGoodsReport();
    return layout;
}

const ReportLayout& salesDetailReport() {
    static const ReportLayout layout = makeSalesDetailReport();
    return layout;
}

const ReportLayout& returnsReport() {
    static const ReportLayout layout = makeReturnsReport();
    return layout;
}

}  // namespace reports::layouts
