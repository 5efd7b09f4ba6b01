#pragma once

namespace sales {

// What the sales window says of a scanned code; %1 is the code.
inline constexpr const char* kScanNoStock = "商品 %1 库存不足";
inline constexpr const char* kScanUnknown = "未找到商品编码为 %1 的商品";
// Which of several goods rows with the scanned code the sale panel opened for: the oldest one
// with stock. %1 is its supplier, %2 its purchase price.
inline constexpr const char* kScanChosenRow = "同编码多批：供货单位 %1，进价 %2";
// The same in the sale panel, beside its purchase price; %1 is the supplier.
inline constexpr const char* kScanBatch = "货源：%1";

}  // namespace sales
