#pragma once

namespace saledetail {

// The sales detail window's texts for its commands.
inline constexpr const char* kNothingToEdit = "当前修改销售信息为空！";
// The success text is the one the shop's people know from the purchase list.
inline constexpr const char* kEdited = "修改进货信息成功！";
inline constexpr const char* kEditedRowGone = "要修改的销售信息已不存在，请重新选择！";
inline constexpr const char* kQuantityBelowReturned =
    "这笔销售已有退货，销售数量不能改得少于已退回的数量！";
inline constexpr const char* kSaleHasReturns =
    "选中的销售中有已退货的销售，不能删除：它的退货记录要用到它！";
inline constexpr const char* kConfirmDelete = "确定要删除选中的记录？";
inline constexpr const char* kSelectToDelete =
    "请单击左边的序号选中一条记录或拖选一段记录，\r\n"
    "也可以用Ctrl及Shift来进行多选，然后再删除信息。";

}  // namespace saledetail
