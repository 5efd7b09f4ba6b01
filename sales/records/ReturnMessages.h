#pragma once

namespace salereturn {

// The return panel's texts for its outcomes.
inline constexpr const char* kReturned = "销售退货成功！";
inline constexpr const char* kSaleGone = "要退货的销售信息已不存在，请重新选择！";
inline constexpr const char* kNoGoodsRow =
    "这笔销售的商品在进货信息中已不存在（进货记录已删除），无法退货！";
inline constexpr const char* kChooseGoodsRow =
    "进货信息中有多条相同的商品，请选择退货退回到哪一条进货记录！";
inline constexpr const char* kNothingToReturn = "当前退货销售信息为空！";
inline constexpr const char* kAllReturned = "这笔销售已全部退货，没有可退的数量！";
// %1: the most the refund may be, quantity × the sale price.
inline constexpr const char* kRefundAboveMost = "退款金额不能超过退货数量乘销售单价 %1！";
inline constexpr const char* kReturnGone = "要删除的退货记录已不存在！";
inline constexpr const char* kReturnGoodsRowGone =
    "这条退货退回的进货记录已不存在，无法撤回它的库存，退货记录没有删除！";

// A data.mdb of an earlier version opened read-only holds no returns; %1 is the file.
inline constexpr const char* kReturnsNotUpgraded =
    "数据文件 %1 是旧版本的，且当前为只读，无法添加退货所需的数据表。请取消该文件的只读属性"
    "（或把它复制到可写的文件夹），重新启动本软件后再使用退货功能。";

}  // namespace salereturn
