#include "store/ErrorMessages.h"

#include <sqlite3.h>

#include <fcntl.h>
#include <unistd.h>

#include <filesystem>

namespace store {

namespace {

std::string folderOf(const std::string& file) {
    const std::filesystem::path parent = std::filesystem::path(file).parent_path();
    return parent.empty() ? std::string(".") : parent.string();
}

std::string quoted(const std::string& text) { return "“" + text + "”"; }

}  // namespace

bool isDamageCode(int code) noexcept {
    const int primary = primaryCode(code);
    return primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB;
}

std::string failureMessage(int code, const std::string& file) {
    const std::string name = quoted(file);
    switch (code) {
        case SQLITE_READONLY_DBMOVED:
            return "数据库文件" + name +
                   "在本软件运行时被移动、改名或替换，不能再保存更改。请把文件放回原处，然后重新启"
                   "动"
                   "本软件。";
        case kReadOnlyFolderCode:
        case SQLITE_READONLY_CANTLOCK:
            return "文件夹" + quoted(folderOf(file)) + "不允许写入，数据库文件" + name +
                   "只能查看，不能保存。请检查该文件夹的权限（须允许写入），然后重新启动本软件。";
        case SQLITE_IOERR_NOMEM:
            return failureMessage(SQLITE_NOMEM, file);
        case SQLITE_CANTOPEN_ISDIR:
            return "无法打开数据库文件" + name + "：这是一个文件夹，不是文件。";
        default:
            break;
    }
    switch (primaryCode(code)) {
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            return "数据库文件" + name +
                   "正被另一个程序占用，操作未能完成。请关闭占用它的程序（例如另一个正在运行的本软"
                   "件），"
                   "然后重试。";
        case SQLITE_FULL:
            return "磁盘已满，无法写入数据库文件" + name +
                   "，这次的更改没有保存。请删除不需要的文件，腾出磁盘空间，然后重试。";
        case SQLITE_READONLY:
            return "数据库文件" + name +
                   "是只读的，只能查看，不能保存。请检查该文件的权限（须允许写入），然后重新启动本"
                   "软件。";
        case SQLITE_CANTOPEN:
            return "无法打开或写入数据库文件" + name + "：文件夹" + quoted(folderOf(file)) +
                   "不存在或不允许写入。请检查该文件夹的权限（须允许写入），然后重试。";
        case SQLITE_PERM:
        case SQLITE_AUTH:
            return "没有访问数据库文件" + name + "的权限。请检查该文件的权限，然后重试。";
        case SQLITE_CORRUPT:
        case SQLITE_NOTADB:
            return "数据库文件" + name +
                   "已损坏，无法读取。请用备份恢复数据（菜单“【数据恢复】”）；损坏的文件请保留。";
        case SQLITE_IOERR:
            return "读写数据库文件" + name +
                   "时发生磁盘错误。请检查磁盘（或网络文件夹、移动硬盘）是否连接正常，然后重试；"
                   "问题一再出现时，请用备份恢复数据。";
        case SQLITE_NOMEM:
            return "内存不足，读写数据库文件" + name + "的操作未能完成。请关闭其他程序，然后重试。";
        default:
            return {};
    }
}

std::string readOnlyNotice(const std::string& file) {
    // Judged with the effective rights, as the writes will be.
    const auto writable = [](const std::string& path) {
        return ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0;
    };
    if (!writable(file)) return failureMessage(SQLITE_READONLY, file);
    if (!writable(folderOf(file))) return failureMessage(kReadOnlyFolderCode, file);
    return {};
}

}  // namespace store
