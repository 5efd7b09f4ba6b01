#pragma once

namespace returnlist {

// The returns list window's texts for its commands.
inline constexpr const char* kConfirmDelete =
    "确定要删除选中的退货记录？\r\n删除后退回的商品将从库存中撤回。";
// Added when several returns were selected and one of them could not be deleted.
inline constexpr const char* kNoneOfThemDeleted = "\r\n选中的退货记录都没有删除。";

}  // namespace returnlist
