#pragma once

#include <cstdint>
#include <string>

// The texts of the readers' errors. Each names the file by its name (without its folder).
namespace importing::messages {

inline std::string cannotOpen(const std::string& file) { return "无法打开文件“" + file + "”。"; }

inline std::string unknownType(const std::string& file) {
    return "无法读取文件“" + file + "”：只能导入 .xls、.xlsx 和 .csv 文件。";
}

inline std::string utf16(const std::string& file) {
    return "无法读取文件“" + file +
           "”：它是 UTF-16 编码的文本。请在表格软件中另存为“CSV UTF-8（逗号分隔）”后再导入。";
}

inline std::string badBytes(const std::string& file, std::int64_t row,
                            const std::string& encoding) {
    return "无法读取文件“" + file + "”：第 " + std::to_string(row) + " 行含有不是 " + encoding +
           " 编码的字节，文件可能已损坏。";
}

inline std::string openQuote(const std::string& file, std::int64_t row) {
    return "无法读取文件“" + file + "”：第 " + std::to_string(row) +
           " 行的引号没有结束，文件可能不完整。";
}

inline std::string badWorkbook(const std::string& file, const std::string& why) {
    return "无法读取文件“" + file + "”：" + why;
}

inline std::string notAWorkbook(const std::string& file) {
    return "无法读取文件“" + file + "”：它不是 Excel 工作簿（.xls 或 .xlsx），也许只是改了扩展名。";
}

inline std::string noSheet(const std::string& file, int sheet, int count) {
    return "无法读取文件“" + file + "”：没有第 " + std::to_string(sheet + 1) + " 个工作表（共 " +
           std::to_string(count) + " 个）。";
}

}  // namespace importing::messages
