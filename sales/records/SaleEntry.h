#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "store/Schema.h"

namespace sales {

namespace column = store::schema::column;

// The goods texts of the sale entry panel, Edit1 to Edit5, and the columns of 表1 and 表3 they
// come from and go to.
inline constexpr int kGoodsTextCount = 5;
inline constexpr std::array<std::string_view, kGoodsTextCount> kGoodsTextColumns = {
    column::kGoodsCode, column::kGoodsName, column::kModel, column::kGoodsSize, column::kUnit};
using GoodsTexts = std::array<std::string, kGoodsTextCount>;

// What the panel shows of a goods row when it opens for it: the row's ID (the row the sale goes
// to), its texts, and purchase price and stock reduced to two decimals.
struct GoodsForSale {
    std::int64_t goodsId = 0;
    GoodsTexts goods;
    std::string purchasePrice;  // Edit6
    std::string stock;          // Edit7
};

// The three customer fields filled from an earlier sale: telephone, address, note.
using CustomerDetails = std::array<std::string, 3>;

// Everything "确定" writes, as the panel holds it.
struct SaleEntry {
    std::int64_t goodsId = 0;
    std::string date;  // 销售日期, already formatted
    GoodsTexts goods;
    std::string purchasePrice;  // Edit6, the cost the profit and stock value use
    std::string stock;          // Edit7, the stock the quantity is checked against
    std::string price;          // Edit8
    std::string quantity;       // Edit9
    std::string customer;       // ComboBox1's text
    CustomerDetails details;    // Edit11 to Edit13
};

}  // namespace sales
