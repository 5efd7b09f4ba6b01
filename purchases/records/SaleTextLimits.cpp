#include "purchases/records/SaleTextLimits.h"

#include "store/Schema.h"
#include "store/Values.h"

namespace purchases {

namespace {

int salesLimit(std::string_view column) {
    for (const auto& def : store::schema::table(store::schema::kSales).columns)
        if (def.name == column) return def.size;
    return 0;
}

// Each text's limit, "“商品型号”<verb> 50 个字符，“商品规格”<verb> 50 个字符".
std::string limits(const std::vector<OverLongText>& texts, const char* verb) {
    std::string out;
    for (const OverLongText& t : texts)
        out += (out.empty() ? "“" : "，“") + std::string(t.column) + "”" + verb + " " +
               std::to_string(t.limit) + " 个字符";
    return out;
}

// "把“商品型号”改到 50 个字符以内，把“商品规格”改到 50 个字符以内".
std::string shortening(const std::vector<OverLongText>& texts) {
    std::string out;
    for (const OverLongText& t : texts)
        out += (out.empty() ? "把“" : "，把“") + std::string(t.column) + "”改到 " +
               std::to_string(t.limit) + " 个字符以内";
    return out;
}

}  // namespace

std::vector<OverLongText> textsTooLongForSale(const SoldTexts& texts) {
    std::vector<OverLongText> over;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const std::string_view column = kFieldColumns[i];
        const int limit = salesLimit(column);
        if (limit > 0 && store::values::characterCount(texts[i]) > static_cast<std::size_t>(limit))
            over.push_back({column, limit});
    }
    return over;
}

std::string saleRefusal(const std::vector<OverLongText>& texts) {
    if (texts.empty()) return {};
    return limits(texts, "最多") + "，这条销售记录无法保存。请先在进货信息中" + shortening(texts) +
           "。";
}

std::string saleWarning(const PurchaseFields& fields) {
    SoldTexts sold;
    for (std::size_t i = 0; i < sold.size(); ++i) sold[i] = fields.texts[i];
    const std::vector<OverLongText> over = textsTooLongForSale(sold);
    if (over.empty()) return {};
    return "进货信息已保存，但" + limits(over, "超过") +
           "，销售信息中存不下，这件商品无法销售。请" + shortening(over) + "。";
}

}  // namespace purchases
