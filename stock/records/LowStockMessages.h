#pragma once

// The texts the low-stock commands show.
namespace stock {

inline constexpr const char* kLevelNotANumber = "最低库存必须是数字（留空表示不设最低库存）。";
inline constexpr const char* kLevelBelowZero = "最低库存不能小于 0。";
inline constexpr const char* kNoGoodsChosen = "请先选择要设置最低库存的商品。";
inline constexpr const char* kNoCode = "这条商品没有商品编码，不能设置最低库存。";
inline constexpr const char* kNothingLow = "没有库存低于最低库存的商品。";

}  // namespace stock
