#include "sales/records/SaleRecords.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "purchases/records/SaleTextLimits.h"
#include "sales/records/SaleMessages.h"
#include "sales/records/StoredNumbers.h"
#include "store/Connection.h"
#include "store/Database.h"
#include "store/Decimal.h"
#include "store/Error.h"
#include "store/Query.h"
#include "store/Retry.h"
#include "store/RowDeletion.h"
#include "store/Schema.h"
#include "store/Search.h"
#include "store/Values.h"

namespace sales {

namespace column = store::schema::column;

namespace {

using store::Decimal;

// A typed price or quantity as a number; none, with the refusal naming the field, when the text
// is empty, not a number or negative.
std::optional<Decimal> readTyped(const std::string& text, const char* field, std::string& refusal) {
    std::optional<Decimal> number;
    if (text.empty())
        refusal = std::string("请输入") + field + "！";
    else if (number = Decimal::parse(text); !number)
        refusal = std::string(field) + "“" + text + "”不是有效的数字，请重新输入！";
    else if (number->isNegative())
        refusal = std::string(field) + "不能为负数，请重新输入！";
    return refusal.empty() ? number : std::nullopt;
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

// The refusal of a text longer than its 表3 column, empty when every text fits.
std::string textRefusal(const SaleEntry& entry) {
    if (auto refusal = lengthRefusal(entry.date, column::kSaleDate); !refusal.empty())
        return refusal;
    // Goods texts come from the goods row: the way out is to shorten them there.
    if (auto refusal = purchases::saleRefusal(purchases::textsTooLongForSale(entry.goods));
        !refusal.empty())
        return refusal;
    const std::array<std::pair<const std::string*, std::string>, 3> texts = {{
        {&entry.customer, column::kCustomer},
        {&entry.details[0], column::kPhone},
        {&entry.details[1], column::kAddress},
    }};
    for (const auto& [text, name] : texts)
        if (auto refusal = lengthRefusal(*text, name); !refusal.empty()) return refusal;
    return lengthRefusal(entry.details[2], column::kRemark);
}

// The numbers of a sale, each read once from the entry's texts.
struct SaleNumbers {
    Decimal quantity;
    std::string amount;   // price × quantity as the amount field shows it and 表3 stores it
    Decimal amountValue;  // that amount as stored
    Decimal cost;         // quantity × the purchase price shown
};

// Reads the entry into out; the refusal of an entry that must not be stored, empty when it may
// be: a price or quantity that is empty, not a number or negative, a quantity above the stock, a
// purchase price that is not a number, a text longer than its 表3 column.
std::string readEntry(const SaleEntry& entry, SaleNumbers& out) {
    std::string refusal;
    const std::optional<Decimal> price = readTyped(entry.price, column::kSalePrice, refusal);
    if (!price) return refusal;
    const std::optional<Decimal> quantity =
        readTyped(entry.quantity, column::kSaleQuantity, refusal);
    if (!quantity) return refusal;
    const std::optional<Decimal> stock = Decimal::parse(entry.stock);
    if (!stock || *quantity > *stock) return kAboveStockAtConfirm;
    const std::optional<Decimal> purchasePrice = Decimal::parse(entry.purchasePrice);
    if (!purchasePrice) return "进货单价“" + entry.purchasePrice + "”不是有效的数字。";
    if (refusal = textRefusal(entry); !refusal.empty()) return refusal;

    out.quantity = *quantity;
    out.amount = (*price * *quantity).text();
    // Read back from the text 表3 stores; a product beyond what a number holds stops here with
    // the store's message.
    out.amountValue = Decimal::read(out.amount);
    out.cost = *quantity * *purchasePrice;
    return {};
}

// The stored figures of the goods row as the file holds them now; none when the row is gone.
std::optional<std::array<Decimal, kMovedColumns.size()>> storedFigures(
    store::Connection& connection, std::int64_t goodsId) {
    const auto numbers = storedNumbers(connection, store::schema::kGoods, goodsId,
                                       {kMovedColumns.begin(), kMovedColumns.end()});
    if (!numbers) return std::nullopt;
    std::array<Decimal, kMovedColumns.size()> figures{};
    std::copy(numbers->begin(), numbers->end(), figures.begin());
    return figures;
}

// Notes which goods row the sale was made from, so that a return of it goes back to that row.
void linkSaleToGoods(store::Connection& connection, std::int64_t saleId, std::int64_t goodsId) {
    store::Statement link(
        connection.database(),
        store::schema::insertSql(store::schema::table(store::schema::kSaleGoods)));
    link.bindInt64(1, saleId);
    link.bindInt64(2, goodsId);
    link.step();
}

void fillSaleRow(store::Query& sales, const SaleEntry& entry, const std::string& amount) {
    sales.setFieldText(column::kSaleDate, entry.date);
    for (int i = 0; i < kGoodsTextCount; ++i)
        sales.setFieldText(kGoodsTextColumns[static_cast<std::size_t>(i)],
                           entry.goods[static_cast<std::size_t>(i)]);
    sales.setFieldText(column::kSalePrice, entry.price);
    sales.setFieldText(column::kSaleQuantity, entry.quantity);
    sales.setFieldText(column::kSaleAmount, amount);
    sales.setFieldText(column::kCustomer, entry.customer);
    sales.setFieldText(column::kPhone, entry.details[0]);
    sales.setFieldText(column::kAddress, entry.details[1]);
    sales.setFieldText(column::kRemark, entry.details[2]);
}

// The stock the goods row must still hold, compared as the panel compares it, for the sale of
// this quantity to be stored.
const std::string kStockCovers =
    std::string("decimal_round(\"") + column::kStockQuantity + "\", 2) >= ?";

// Sets the moved figures on a goods row and posts them, provided the row holds the sold quantity
// in stock as the file has it now; false, nothing written, when it does not.
bool moveFigures(store::Query& goods, const std::string& price,
                 const std::array<std::string, kMovedColumns.size()>& figures,
                 const Decimal& quantity) {
    goods.edit();
    try {
        goods.setFieldText(column::kSalePrice, price);
        for (std::size_t i = 0; i < kMovedColumns.size(); ++i)
            goods.setFieldText(kMovedColumns[i], figures[i]);
        return goods.postWhere(kStockCovers, {quantity.toDouble()});
    } catch (...) {
        goods.cancel();  // no half-set row stays in the list
        throw;
    }
}

// Where the list holds the goods row, -1 when it does not: most often the row its cursor stands
// on, which the panel was filled from; a list of 100,000 rows is looked through only otherwise.
int listIndexOf(const store::Query& goods, std::int64_t goodsId) {
    if (!goods.isOpen()) return -1;
    if (const int current = goods.currentIndex(); current >= 0 && goods.rowIdAt(current) == goodsId)
        return current;
    for (int i = 0; i < goods.recordCount(); ++i)
        if (goods.rowIdAt(i) == goodsId) return i;
    return -1;
}

}  // namespace

void SaleRecords::reloadGoods() {
    store::reconnectAndRequery(connection_, {{&goods_, store::schema::kGoods}});
}

bool SaleRecords::search(const std::string& code, const std::string& name) {
    // A list closed by a failed search counts as a list without rows, like an empty one.
    if (!goods_.isOpen() || goods_.isEmpty()) return false;
    if (!code.empty() && name.empty()) {
        store::runSearch(goods_, store::schema::kGoods, column::kGoodsCode, code);
        return true;
    }
    if (code.empty() && !name.empty()) {
        store::runSearch(goods_, store::schema::kGoods, column::kGoodsName, name);
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
    row.purchasePrice = store::values::roundTo2Text(goods_.fieldText(column::kPurchasePrice));
    row.stock = store::values::roundTo2Text(goods_.fieldText(column::kStockQuantity));
    return row;
}

namespace {

const std::string kCustomerNamesSql =
    std::string("Select Distinct ") + column::kCustomer + " From " + store::schema::kSales;
// The telephone, address and note of the first earlier sale whose customer name is like "?".
const std::string kCustomerDetailsSql =
    std::string("select ") + column::kPhone + ", " + column::kAddress + ", " + column::kRemark +
    " from " + store::schema::kSales + " where " + column::kCustomer + " like ? limit 1";

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
    CustomerDetails details;
    // While the query holds the names listed, a name none of them contains needs no look
    // through the whole table.
    const bool unlisted = sales_.sql() == kCustomerNamesSql && noListedNameContains(sales_, name);
    if (!unlisted) {
        store::Query match(connection_);
        match.setSql(kCustomerDetailsSql, {"%" + name + "%"});
        match.open();
        if (!match.isEmpty()) {
            for (std::size_t i = 0; i < details.size(); ++i)
                details[i] = match.fieldTextAt(0, static_cast<int>(i));
            return details;
        }
    }
    // No earlier sale: the list is used up until it is read again.
    sales_.close();
    sales_.select(store::schema::kSales, "0");
    sales_.open();
    return details;
}

SaleResult SaleRecords::confirm(const SaleEntry& entry) {
    return store::retryOnConflict(connection_, [&] { return confirmOnce(entry); });
}

SaleResult SaleRecords::confirmOnce(const SaleEntry& entry) {
    SaleNumbers n;
    if (std::string refusal = readEntry(entry, n); !refusal.empty())
        return {SaleResult::Outcome::Refused, refusal, {}};

    store::WriteTransaction transaction(connection_);
    const auto stored = storedFigures(connection_, entry.goodsId);
    if (!stored) return {SaleResult::Outcome::GoodsGone, {}, {}};
    const auto& s = *stored;
    const std::array<std::string, kMovedColumns.size()> figures = {
        (s[0] + n.quantity).text(), (s[1] + n.amountValue).text(),
        (s[2] + (n.amountValue - n.cost)).text(), (s[3] - n.quantity).text(),
        (s[4] - n.cost).text()};
    // Another copy of the program may have sold from the row since the panel was filled: the
    // sale is refused by the file's stock, rolled back with its 表3 row.
    const SaleResult stockShort{
        SaleResult::Outcome::StockShort, {}, s[3].roundedToDecimals(2).text()};

    // The sale row goes in through a query of its own that reads no rows for it.
    store::Query sale(connection_);
    sale.select(store::schema::kSales, "0");
    sale.open();
    sale.append();
    try {
        fillSaleRow(sale, entry, n.amount);
        sale.post();
    } catch (...) {
        sale.cancel();
        throw;
    }
    linkSaleToGoods(connection_, sale.rowIdAt(sale.currentIndex()), entry.goodsId);

    if (const int index = listIndexOf(goods_, entry.goodsId); index >= 0) {
        // The list shows the moved row in place and keeps its cursor where it was.
        const int current = goods_.currentIndex();
        goods_.moveTo(index);
        const bool moved = moveFigures(goods_, entry.price, figures, n.quantity);
        goods_.moveTo(current);
        if (!moved) return stockShort;
    } else {
        // The list does not hold the row (a search left it out): it is written on its own.
        store::Query row(connection_);
        row.select(store::schema::kGoods, "rowid = ?", {std::to_string(entry.goodsId)});
        row.open();
        if (row.isEmpty()) return {SaleResult::Outcome::GoodsGone, {}, {}};
        if (!moveFigures(row, entry.price, figures, n.quantity)) return stockShort;
    }
    transaction.commit();
    return {SaleResult::Outcome::Sold, {}, {}};
}

void SaleRecords::deleteRows(const std::vector<int>& rows) {
    store::deleteRowsTogether(goods_, rows);
}

std::string amountText(const std::string& price, const std::string& quantity) {
    return store::values::productText(price, quantity);
}

bool exceedsStock(const std::string& quantity, const std::string& stock) {
    return Decimal::read(quantity) > Decimal::read(stock);
}

}  // namespace sales
