#pragma once

namespace sales {

// The sales window's texts.
inline constexpr const char* kNothingToSell = "当前销售商品信息为空!";
inline constexpr const char* kStockShort = "库存数量不足，请重新输入！";
inline constexpr const char* kSold = "销售商品成功！";
inline constexpr const char* kAboveStockAtConfirm = "销售数量超过了库存数量，请重新输入！";
inline constexpr const char* kGoodsGone = "要销售的商品信息已不存在，请重新选择！";
// A sale the file's stock no longer covers; %1 is that stock.
inline constexpr const char* kStockShortNow = "库存数量不足，当前库存为 %1，请重新输入！";

}  // namespace sales
