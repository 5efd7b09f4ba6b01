#pragma once

namespace purchases {

// The main window's texts for its purchase commands.
inline constexpr const char* kEntryEmpty = "进货信息不能为空！";
inline constexpr const char* kAdded = "进货信息添加成功！";
inline constexpr const char* kNothingToEdit = "当前修改进货信息为空！";
inline constexpr const char* kEdited = "修改进货信息成功！";
inline constexpr const char* kEditedRowGone = "要修改的进货信息已不存在，请重新选择！";
inline constexpr const char* kConfirmDelete = "确定要删除选中的记录？";
inline constexpr const char* kSelectToDeleteButton =
    "请单击左边的序号选中一条记录或拖选一段记录，\r\n"
    "也可以用Ctrl及Shift来进行多选，然后再删除信息。";
inline constexpr const char* kSelectToDeleteMenu =
    "请单击左边的序号选中一条记录或拖选一段记录，\r\n"
    "也可以用Ctrl及Shift来进行多选，然后再删除记录。";

}  // namespace purchases
