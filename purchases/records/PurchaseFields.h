#pragma once

#include <array>
#include <string>
#include <string_view>

#include "store/Schema.h"

namespace purchases {

namespace column = store::schema::column;

// The twelve fields of the main window's entry panel, Edit1 to Edit12, in that order.
inline constexpr int kFieldCount = 12;
inline constexpr int kPriceField = 5;     // Edit6
inline constexpr int kQuantityField = 6;  // Edit7

// The column of 表1 behind each field.
inline constexpr std::array<std::string_view, kFieldCount> kFieldColumns = {
    column::kGoodsCode,
    column::kGoodsName,
    column::kModel,
    column::kGoodsSize,
    column::kUnit,
    column::kPurchasePrice,
    column::kPurchaseQuantity,
    column::kSupplier,
    column::kContact,
    column::kPhone,
    column::kAddress,
    column::kRemark};

// What the panel holds: each field's text and whether the user changed it since the program
// last set it.
struct PurchaseFields {
    std::array<std::string, kFieldCount> texts;
    std::array<bool, kFieldCount> changed{};

    bool allEmpty() const noexcept;
};

// The texts a panel shown for adding starts with: all empty but price and quantity "0".
std::array<std::string, kFieldCount> blankEntryTexts();

}  // namespace purchases
