#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "purchases/records/PurchaseFields.h"

namespace purchases {

// The goods texts a sale copies from a goods row of 表1 into 表3, whose columns take fewer
// characters: 商品编码, 商品名称, 商品型号, 商品规格 and 单位, in that order.
inline constexpr int kSoldTextCount = 5;
using SoldTexts = std::array<std::string, kSoldTextCount>;

struct OverLongText {
    std::string_view column;
    int limit;  // characters the sales table takes
};

// The texts longer than the sales table takes, in column order.
std::vector<OverLongText> textsTooLongForSale(const SoldTexts& texts);

// A sale of such goods is refused with the way out, for each text: "“商品规格”最多 50 个字符，
// 这条销售记录无法保存。请先在进货信息中把“商品规格”改到 50 个字符以内。" Empty when none.
std::string saleRefusal(const std::vector<OverLongText>& texts);

// The warning after a purchase with such texts was stored (it may be): its goods cannot be sold
// until they are shortened. Empty when every text fits.
std::string saleWarning(const PurchaseFields& fields);

}  // namespace purchases
