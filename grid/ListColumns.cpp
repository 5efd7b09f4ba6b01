#include "grid/ListColumns.h"

#include <initializer_list>
#include <optional>
#include <span>

#include "store/Schema.h"

namespace grid {

namespace {

using namespace store::schema::column;

enum class Look {
    Text,     // flush left
    Centred,  // centred text
    Number,   // centred, shown as "#0.##"
};

struct ColumnData {
    const char* field;
    const char* caption;  // "上|下" for a two-level title, "" for the field name
    int width;            // pixels
    Look look;
};

// The footer row of a list: "合计" under one column, the sums under others.
struct FooterData {
    const char* totalLabelUnder;
    std::optional<bool> totalLabelBold;  // unset: the grid's footer weight
    std::initializer_list<const char*> summed;
    const char* sumFormat;  // "" for the total's own shortest form
    std::optional<bool> sumBold;
};

constexpr const char* kCodeCaption = "①商品信息|商品编码";
constexpr ColumnData kCentredCode[] = {{kGoodsCode, kCodeCaption, 65, Look::Centred}};

// The goods after their code, alike in every list.
constexpr ColumnData kGoodsDetails[] = {
    {kGoodsName, "①商品信息|商品名称", 65, Look::Text},
    {kModel, "①商品信息|商品型号", 65, Look::Text},
    {kGoodsSize, "①商品信息|商品规格", 65, Look::Text},
    {kUnit, "①商品信息|单位", 45, Look::Centred},
};

constexpr ColumnData kPurchaseFigures[] = {
    {kPurchasePrice, "②进货信息|单价", 50, Look::Number},
    {kPurchaseQuantity, "②进货信息|数量", 50, Look::Number},
    {kPurchaseAmount, "②进货信息|金额", 65, Look::Number},
};

constexpr ColumnData kSupplierColumns[] = {
    {kSupplier, "③供货商信息|供货单位", 65, Look::Text},
    {kContact, "③供货商信息|联系人", 65, Look::Centred},
    {kPhone, "③供货商信息|联系电话", 80, Look::Text},
    {kAddress, "③供货商信息|详细地址", 120, Look::Text},
    {kRemark, "备注", 90, Look::Text},
};

constexpr ColumnData kSalesAndStock[] = {
    {kSalePrice, "③销售信息|单价", 50, Look::Number},
    {kSaleQuantity, "③销售信息|数量", 50, Look::Number},
    {kSaleAmount, "③销售信息|金额", 65, Look::Number},
    {kSaleProfit, "③销售信息|利润", 65, Look::Number},
    {kStockQuantity, "④库存信息|数量", 50, Look::Number},
    {kStockAmount, "④库存信息|金额", 65, Look::Number},
    {kRemark, "", 75, Look::Text},
};

constexpr ColumnData kSaleDateAndCode[] = {
    {kSaleDate, "", 65, Look::Text},
    {kGoodsCode, kCodeCaption, 65, Look::Text},
};

constexpr ColumnData kSaleColumns[] = {
    {kSalePrice, "②销售信息|单价", 50, Look::Number},
    {kSaleQuantity, "②销售信息|数量", 50, Look::Number},
    {kSaleAmount, "②销售信息|金额", 65, Look::Number},
    {kCustomer, "③客户信息|客户姓名", 65, Look::Text},
    {kPhone, "③客户信息|联系电话", 80, Look::Text},
    {kAddress, "③客户信息|详细地址", 135, Look::Text},
    {kRemark, "", 75, Look::Text},
};

constexpr ColumnData kReturnDateAndCode[] = {
    {kReturnDate, "", 128, Look::Text},
    {kGoodsCode, kCodeCaption, 65, Look::Text},
};

constexpr ColumnData kReturnColumns[] = {
    {kReturnQuantity, "②退货信息|数量", 50, Look::Number},
    {kRefundAmount, "②退货信息|退款金额", 65, Look::Number},
    {kPurchasePrice, "②退货信息|进货单价", 65, Look::Number},
    {kCustomer, "③客户信息|客户姓名", 80, Look::Text},
    {kReason, "", 160, Look::Text},
};

// The 库存预警 list: the goods, their stock, level and shortfall.
constexpr ColumnData kLowStockFigures[] = {
    {kStockQuantity, "②库存信息|库存数量", 65, Look::Number},
    {kStockLevel, "②库存信息|最低库存", 65, Look::Number},
    {kShortfall, "②库存信息|缺货数量", 65, Look::Number},
};

QString text(const char* utf8) { return *utf8 ? QString::fromUtf8(utf8) : QString(); }

GridColumn column(const ColumnData& data) {
    GridColumn c;
    c.field = QString::fromUtf8(data.field);
    c.caption = QString::fromUtf8(data.caption);
    c.width = data.width;
    c.alignment = data.look == Look::Text ? Qt::AlignLeft : Qt::AlignHCenter;
    if (data.look == Look::Number) c.displayFormat = QStringLiteral("#0.##");
    return c;
}

void addFooter(GridColumn& c, const FooterData& footer) {
    if (c.field == QString::fromUtf8(footer.totalLabelUnder)) {
        c.footer = FooterKind::StaticText;
        c.footerText = QStringLiteral("合计");
        c.footerBold = footer.totalLabelBold;
    }
    for (const char* summed : footer.summed) {
        if (c.field != QString::fromUtf8(summed)) continue;
        c.footer = FooterKind::Sum;
        c.footerFormat = text(footer.sumFormat);
        c.footerBold = footer.sumBold;
    }
    if (c.footer != FooterKind::None) c.footerAlignment = Qt::AlignHCenter;
}

std::vector<GridColumn> build(std::initializer_list<std::span<const ColumnData>> parts,
                              const FooterData& footer) {
    std::vector<GridColumn> columns;
    for (const auto& part : parts)
        for (const ColumnData& data : part) {
            columns.push_back(column(data));
            addFooter(columns.back(), footer);
        }
    return columns;
}

}  // namespace

std::vector<GridColumn> purchaseListColumns() {
    return build({kCentredCode, kGoodsDetails, kPurchaseFigures, kSupplierColumns},
                 {kGoodsCode, true, {kPurchaseAmount}, "#0.##", std::nullopt});
}

std::vector<GridColumn> goodsListColumns() {
    return build({kCentredCode, kGoodsDetails, kPurchaseFigures, kSalesAndStock},
                 {kGoodsCode,
                  std::nullopt,
                  {kPurchaseAmount, kSaleAmount, kSaleProfit, kStockAmount},
                  "#0.##",
                  false});
}

std::vector<GridColumn> saleListColumns() {
    // The sum has no display format of its own: the total shows up to four decimals.
    return build({kSaleDateAndCode, kGoodsDetails, kSaleColumns},
                 {kSaleDate, std::nullopt, {kSaleAmount}, "", false});
}

std::vector<GridColumn> returnListColumns() {
    return build({kReturnDateAndCode, kGoodsDetails, kReturnColumns},
                 {kReturnDate, std::nullopt, {kReturnQuantity, kRefundAmount}, "", false});
}

std::vector<GridColumn> lowStockListColumns() {
    return build({kCentredCode, kGoodsDetails, kLowStockFigures},
                 {kGoodsCode, std::nullopt, {kShortfall}, "#0.##", false});
}

}  // namespace grid
