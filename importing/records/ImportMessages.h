#pragma once

// The texts of the purchase import that the user reads: the problems of a cell, of the mapping
// and of the file, and the outcomes of the import and of its undo.
namespace importing {

// A cell's problem, shown beside its row, column and value.
inline constexpr const char* kMissingValue = "不能为空";
inline constexpr const char* kNotANumber = "不是有效的数字";
inline constexpr const char* kNegative = "不能为负数";
inline constexpr const char* kTooLarge = "数值太大";
inline constexpr const char* kTooLong = "超过 %1 个字符";  // %1: the column's size

// The mapping leaves a required column without a file column: %1 names them.
inline constexpr const char* kRequiredUnmapped = "缺少必需的列：%1，请在“对应的列”中选择";
// A file without a header row.
inline constexpr const char* kNoHeader = "文件中没有标题行，没有可导入的数据";

// Before importing a file whose bytes were imported before: %1 the time of that import.
inline constexpr const char* kImportedBefore = "此文件已于 %1 导入过，确定要再导入一次吗？";

// After an import: %1 the rows imported; with 跳过有错误的行, %2 the rows skipped.
inline constexpr const char* kImported = "成功导入 %1 条进货信息！";
inline constexpr const char* kImportedSkipping =
    "成功导入 %1 条进货信息，跳过了 %2 条有错误的记录！";
inline constexpr const char* kNothingToImport = "文件中没有可导入的进货信息！";

// The undo of an import.
inline constexpr const char* kConfirmUndo = "确定要撤销这次导入，删除它导入的 %1 条进货信息？";
inline constexpr const char* kUndone = "已撤销导入，删除了 %1 条进货信息！";
inline constexpr const char* kUndoRefused = "以下导入的商品已有销售，不能撤销这次导入：\n%1";
inline constexpr const char* kUndoGone = "这次导入已被撤销！";
inline constexpr const char* kNoImports = "还没有导入过进货信息！";
inline constexpr const char* kSelectImport = "请先选中要撤销的导入！";

}  // namespace importing
