#pragma once

#include <string>
#include <string_view>

namespace sales {

// The condition by which a sale made before sales noted their goods row is matched to goods rows:
// the same 商品编码 (NULL equal to NULL), and the same 商品名称, 商品型号, 商品规格 and 单位
// (kGoodsTextColumns), an empty text equal to none, as entries store a field left out either way.
// Columns are qualified by the tables' names or aliases a and b ("a"."商品编码" IS
// "b"."商品编码" AND IFNULL("a"."商品名称", '') = IFNULL("b"."商品名称", '') ...); with b empty
// they are compared with parameters bound in that order, and with a empty they are not qualified.
std::string sameGoodsTexts(std::string_view a, std::string_view b = {});

}  // namespace sales
