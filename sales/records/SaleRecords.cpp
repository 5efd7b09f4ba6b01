#include "sales/records/SaleRecords.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "purchases/records/SaleTextLimits.h"
#include "sales/records/SaleMessages.h"
#include "store/Connection.h"
#include "store/Database.h"
#include "store/Decimal.h"
#include "store/Error.h"
#include "store/Query.h"
#include "store/Schema.h"
#include "store/Search.h"
#include "store/Values.h"

namespace sales {

namespace {

using store::Decimal;
using store::values::parseNumber;

// The goods row's running figures that a sale moves, in the order they are read.
constexpr std::array<const char*, 5> kMovedColumns = {"销售数量", "销售金额", "销售利润",
                                                      "库存数量", "库存金额"};

std::string numberRefusal(const std::string& text, const char* field) {
    if (text.empty()) return std::string("请输入") + field + "！";
    const auto number = parseNumber(text);
    if (!number) return std::string(field) + "“" + text + "”不是有效的数字，请重新输入！";
    if (*number < 0) return std::string(field) + "不能为负数，请重新输入！";
    return {};
}

std::string lengthRefusal(const std::string& text, const std::string& column) {
    const auto& table = store::schema::table(store::schema::kSales);
    for (const auto& def : table.columns) {
        if (def.name != column || def.size <= 0) continue;
        if (store::values::characterCount(text) > static_cast<std::size_t>(def.size))
            return "“" + column + "”最多 " + std::to_string(def.size) +
                   " 个字符，这条销售记录无法保存。";
    }
    return {};
}

// The stored figures of the goods row as the file holds them now; none when the row is gone.
std::optional<std::array<Decimal, kMovedColumns.size()>> storedFigures(
    store::Connection& connection, std::int64_t goodsId) {
    std::string sql = "SELECT ";
    for (std::size_t i = 0; i < kMovedColumns.size(); ++i)
        sql += std::string(i == 0 ? "" : ", ") + "\"" + kMovedColumns[i] + "\"";
    sql += std::string(" FROM \"") + store::schema::kGoods + "\" WHERE rowid = ?";
    store::Statement select(connection.database(), sql);
    select.bindInt64(1, goodsId);
    if (!select.step()) return std::nullopt;
    std::array<Decimal, kMovedColumns.size()> figures{};
    for (int i = 0; i < static_cast<int>(kMovedColumns.size()); ++i) {
        // Read as the lists read it: the value of the stored number's shortest text.
        std::string text;
        if (select.isText(i))
            text = std::string(select.text(i));
        else if (!select.isNull(i))
            text = store::values::formatNumber(select.doubleValue(i));
        const auto number = Decimal::parse(text);
        if (!number)
            throw store::StoreError("'" + text +
                                    "' is not a valid floating point value for field '" +
                                    kMovedColumns[static_cast<std::size_t>(i)] + "'");
        figures[static_cast<std::size_t>(i)] = *number;
    }
    return figures;
}

void fillSaleRow(store::Query& sales, const SaleEntry& entry, const std::string& amount) {
    sales.setFieldText("销售日期", entry.date);
    for (int i = 0; i < kGoodsTextCount; ++i)
        sales.setFieldText(kGoodsTextColumns[static_cast<std::size_t>(i)],
                           entry.goods[static_cast<std::size_t>(i)]);
    sales.setFieldText("销售单价", entry.price);
    sales.setFieldText("销售数量", entry.quantity);
    sales.setFieldText("销售金额", amount);
    sales.setFieldText("客户姓名", entry.customer);
    sales.setFieldText("联系电话", entry.details[0]);
    sales.setFieldText("详细地址", entry.details[1]);
    sales.setFieldText("备注", entry.details[2]);
}

// The stock the goods row must still hold, compared as the panel compares it, for the sale of
// this quantity to be stored.
const std::string kStockCovers = std::string("decimal_round(\"库存数量\", 2) >= ?");

// Sets the moved figures on a goods row and posts them, provided the row holds the sold quantity
// in stock as the file has it now; false, nothing written, when it does not.
bool moveFigures(store::Query& goods, const std::string& price,
                 const std::array<std::string, kMovedColumns.size()>& figures,
                 const Decimal& quantity) {
    goods.edit();
    try {
        goods.setFieldText("销售单价", price);
        for (std::size_t i = 0; i < kMovedColumns.size(); ++i)
            goods.setFieldText(kMovedColumns[i], figures[i]);
        return goods.postWhere(kStockCovers, {quantity.toDouble()});
    } catch (...) {
        goods.cancel();  // no half-set row stays in the list
        throw;
    }
}

}  // namespace

void SaleRecords::reloadGoods() {
    store::reconnectAndRequery(connection_, {{&goods_, store::schema::kGoods}});
}

bool SaleRecords::search(const std::string& code, const std::string& name) {
    // A list closed by a failed search counts as a list without rows, like an empty one.
    if (!goods_.isOpen() || goods_.isEmpty()) return false;
    if (!code.empty() && name.empty()) {
        store::runSearch(goods_, store::schema::kGoods, "商品编码", code);
        return true;
    }
    if (code.empty() && !name.empty()) {
        store::runSearch(goods_, store::schema::kGoods, "商品名称", name);
        return true;
    }
    return false;
}

std::optional<GoodsForSale> SaleRecords::goodsForSale() const {
    if (!goods_.isOpen() || goods_.isEmpty()) return std::nullopt;
    GoodsForSale row;
    row.goodsId = goods_.rowIdAt(goods_.currentIndex());
    for (std::size_t i = 0; i < kGoodsTextColumns.size(); ++i)
        row.goods[i] = goods_.fieldText(kGoodsTextColumns[i]);
    row.purchasePrice = store::values::roundTo2Text(goods_.fieldText("进货单价"));
    row.stock = store::values::roundTo2Text(goods_.fieldText("库存数量"));
    return row;
}

namespace {

const std::string kCustomerNamesSql =
    std::string("Select Distinct 客户姓名 From ") + store::schema::kSales;

char asciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Whether the query holding the distinct customer names shows that no name contains name the
// way "like" compares (ASCII letters in any case). Only for a name without wildcards.
bool noListedNameContains(const store::Query& names, const std::string& name) {
    if (name.find_first_of("%_") != std::string::npos) return false;
    const auto equal = [](char a, char b) { return asciiLower(a) == asciiLower(b); };
    for (int i = 0; i < names.recordCount(); ++i) {
        const std::string_view listed = names.fieldTextAt(i, 0);
        if (std::search(listed.begin(), listed.end(), name.begin(), name.end(), equal) !=
            listed.end())
            return false;
    }
    return true;
}

}  // namespace

std::vector<std::string> SaleRecords::customerNames() {
    sales_.close();
    sales_.setSql(kCustomerNamesSql);
    sales_.open();
    std::vector<std::string> names;
    names.reserve(static_cast<std::size_t>(sales_.recordCount()));
    for (int i = 0; i < sales_.recordCount(); ++i) names.emplace_back(sales_.fieldTextAt(i, 0));
    return names;
}

std::optional<CustomerDetails> SaleRecords::customerDetails(const std::string& name) {
    if (!sales_.isOpen() || sales_.isEmpty() || name.empty()) return std::nullopt;
    // While the query still holds the names just listed, a name none of them contains needs no
    // look through the whole table: the query ends up as empty as that look would leave it.
    const bool noMatch = sales_.sql() == kCustomerNamesSql && noListedNameContains(sales_, name);
    sales_.close();
    if (noMatch)
        sales_.select(store::schema::kSales, "0");
    else
        sales_.select(store::schema::kSales, "客户姓名 like ? limit 1", {"%" + name + "%"});
    sales_.open();
    CustomerDetails details;
    if (!sales_.isEmpty()) {
        details[0] = sales_.fieldText("联系电话");
        details[1] = sales_.fieldText("详细地址");
        details[2] = sales_.fieldText("备注");
    }
    return details;
}

SaleResult SaleRecords::confirm(const SaleEntry& entry) {
    if (std::string refusal = refusalOf(entry); !refusal.empty())
        return {SaleResult::Outcome::Refused, refusal, {}};

    const Decimal quantity = Decimal::read(entry.quantity);
    const std::string amount = amountText(entry.price, entry.quantity);
    const Decimal amountValue = Decimal::read(amount);
    const Decimal cost = quantity * Decimal::read(entry.purchasePrice);

    store::WriteTransaction transaction(connection_);
    const auto stored = storedFigures(connection_, entry.goodsId);
    if (!stored) return {SaleResult::Outcome::GoodsGone, kGoodsGone, {}};
    const auto& s = *stored;
    const std::array<std::string, kMovedColumns.size()> figures = {
        (s[0] + quantity).text(), (s[1] + amountValue).text(), (s[2] + (amountValue - cost)).text(),
        (s[3] - quantity).text(), (s[4] - cost).text()};
    // Another copy of the program may have sold from the row since the panel was filled: the
    // sale is refused by the file's stock, rolled back with its 表3 row.
    const std::string stockNow = s[3].roundedToDecimals(2).text();
    const SaleResult stockShort{SaleResult::Outcome::StockShort, stockShortMessage(stockNow),
                                stockNow};

    // Only a row is appended: the sales query reads no rows for it.
    sales_.close();
    sales_.select(store::schema::kSales, "0");
    sales_.open();
    sales_.append();
    try {
        fillSaleRow(sales_, entry, amount);
        sales_.post();
    } catch (...) {
        sales_.cancel();
        throw;
    }

    int index = -1;
    for (int i = 0; goods_.isOpen() && i < goods_.recordCount(); ++i)
        if (goods_.rowIdAt(i) == entry.goodsId) index = i;
    if (index >= 0) {
        // The list shows the moved row in place and keeps its cursor where it was.
        const int current = goods_.currentIndex();
        goods_.moveTo(index);
        const bool moved = moveFigures(goods_, entry.price, figures, quantity);
        goods_.moveTo(current);
        if (!moved) return stockShort;
    } else {
        // The list does not hold the row (a search left it out): it is written on its own.
        store::Query row(connection_);
        row.select(store::schema::kGoods, "rowid = ?", {std::to_string(entry.goodsId)});
        row.open();
        if (row.isEmpty()) return {SaleResult::Outcome::GoodsGone, kGoodsGone, {}};
        if (!moveFigures(row, entry.price, figures, quantity)) return stockShort;
    }
    transaction.commit();
    return {SaleResult::Outcome::Sold, kSold, {}};
}

std::string amountText(const std::string& price, const std::string& quantity) {
    return store::values::productText(price, quantity);
}

bool exceedsStock(const std::string& quantity, const std::string& stock) {
    return Decimal::read(quantity) > Decimal::read(stock);
}

std::string stockShortMessage(const std::string& stock) {
    return "库存数量不足，当前库存为 " + stock + "，请重新输入！";
}

std::string refusalOf(const SaleEntry& entry) {
    if (auto refusal = numberRefusal(entry.price, "销售单价"); !refusal.empty()) return refusal;
    if (auto refusal = numberRefusal(entry.quantity, "销售数量"); !refusal.empty()) return refusal;
    const auto stock = Decimal::parse(entry.stock);
    if (!stock || Decimal::read(entry.quantity) > *stock) return kAboveStockAtConfirm;
    if (!parseNumber(entry.purchasePrice))
        return "进货单价“" + entry.purchasePrice + "”不是有效的数字。";
    if (auto refusal = lengthRefusal(entry.date, "销售日期"); !refusal.empty()) return refusal;
    // Goods texts come from the goods row: the way out is to shorten them there.
    if (auto refusal = purchases::saleRefusal(purchases::textsTooLongForSale(entry.goods));
        !refusal.empty())
        return refusal;
    const std::array<std::pair<const std::string*, std::string>, 3> texts = {{
        {&entry.customer, "客户姓名"},
        {&entry.details[0], "联系电话"},
        {&entry.details[1], "详细地址"},
    }};
    for (const auto& [text, column] : texts)
        if (auto refusal = lengthRefusal(*text, column); !refusal.empty()) return refusal;
    return lengthRefusal(entry.details[2], "备注");
}

}  // namespace sales
