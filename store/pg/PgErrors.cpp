#include "store/pg/PgErrors.h"

#include <algorithm>
#include <array>

namespace store::pg {

namespace {

bool contains(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}

template <std::size_t N>
bool containsAny(std::string_view text, const std::array<std::string_view, N>& parts) {
    return std::any_of(parts.begin(), parts.end(),
                       [&](std::string_view part) { return contains(text, part); });
}

// libpq's text on one line without its trailing newline, in brackets.
std::string bracketed(std::string_view text) {
    std::string line;
    for (char c : text) line += c == '\n' || c == '\r' ? ' ' : c;
    while (!line.empty() && line.back() == ' ') line.pop_back();
    return line.empty() ? std::string() : "（" + line + "）";
}

std::string quotedName(const std::string& name) { return "“" + name + "”"; }

std::string connectSentence(std::string_view text, const ServerSettings& server) {
    const std::string where = server.describe();
    static constexpr std::array<std::string_view, 3> database = {"database \"", "数据库 \"",
                                                                 "数据库\""};
    static constexpr std::array<std::string_view, 8> unreachable = {
        "Connection refused", "No such file or directory", "could not translate host",
        "timeout expired",    "Network is unreachable",    "No route to host",
        "could not connect",  "Connection timed out"};
    static constexpr std::array<std::string_view, 4> password = {
        "password authentication failed", "no password supplied", "Peer authentication failed",
        "Ident authentication failed"};
    if (contains(text, "SSL") || contains(text, "sslmode") || contains(text, "GSSAPI"))
        return "无法按所设的 SSL 方式连接" + where +
               "：请检查设置文件[数据库]中的 sslmode（服务器是否支持或要求 SSL 连接）。";
    if (containsAny(text, password))
        return "无法登录" + where + "：用户" + quotedName(server.user) +
               "的密码不对或没有给出。请在 ~/.pgpass 文件或环境变量 PGPASSWORD 中给出正确的密码。";
    if (contains(text, "role \"") && contains(text, "does not exist"))
        return "无法登录" + where + "：服务器上没有用户" + quotedName(server.user) +
               "。请检查设置文件[数据库]中的用户名。";
    if (containsAny(text, database) &&
        (contains(text, "does not exist") || contains(text, "不存在")))
        return where +
               "不存在。请先在服务器上创建这个数据库，再用 jxc-mkdb --server 建立本程序的表。";
    if (contains(text, "pg_hba.conf"))
        return "无法登录" + where + "：服务器不允许本机以用户" + quotedName(server.user) +
               "登录这个数据库，请服务器的管理员检查 pg_hba.conf。";
    if (contains(text, "too many clients") || contains(text, "remaining connection slots"))
        return "无法连接" + where + "：服务器的连接数已满，请稍后再试。";
    if (containsAny(text, unreachable))
        return "无法连接" + where +
               "：服务器没有运行，或者主机名、端口不对。请确认服务器已经启动，并检查设置文件["
               "数据库]中的主机和端口。";
    return "无法连接" + where +
           "。请检查服务器是否在运行，设置文件[数据库]中的主机、端口、数据库和用户，以及密码（~/"
           ".pgpass 或 PGPASSWORD）。";
}

std::string tableAndColumn(const ServerFailure& failure) {
    std::string text;
    if (!failure.table.empty()) text += "表" + quotedName(failure.table);
    if (!failure.column.empty()) text += "的字段" + quotedName(failure.column);
    return text;
}

std::string statementSentence(const ServerFailure& failure, const std::string& server) {
    const std::string& state = failure.sqlstate;
    const std::string where = tableAndColumn(failure);
    if (state == "40001" || state == "40P01")
        return "另一台电脑同时修改了同样的数据，这次的操作没有保存，可以再试一次。";
    if (state == "23505")
        return (failure.table.empty() ? std::string("表") : "表" + quotedName(failure.table)) +
               "中已有相同的值，不能重复保存" +
               (failure.constraint.empty() ? std::string()
                                           : "（约束" + quotedName(failure.constraint) + "）") +
               "。";
    if (state == "23503")
        return "这一改动会使" + (where.empty() ? std::string("记录") : where) +
               "引用不存在的记录，没有保存。";
    if (state == "23502")
        return (where.empty() ? std::string("一个必填的字段") : where) + "不能为空，没有保存。";
    if (state == "22001")
        return "文本太长，超过了" + (where.empty() ? std::string("字段") : where) +
               "允许的字符数，没有保存。";
    if (state == "22P02" || state == "22003" || state == "22018")
        return "数值无效或超出范围" + (where.empty() ? std::string() : "（" + where + "）") +
               "，没有保存。";
    if (state == "22021") return "文本中有无效的字符（不是 UTF-8 编码），没有保存。";
    if (state == "42P01")
        return server + "中缺少本程序的表。请用 jxc-mkdb --server 建立本程序的表。";
    if (state == "42501")
        return "用户在" + server + "中没有这一操作的权限，请服务器的管理员检查权限。";
    if (state == "25P02") return "这一事务中前面的操作已经失败，其余的操作没有执行，也没有保存。";
    if (state.rfind("53", 0) == 0)
        return server + "的资源不足（磁盘、内存或连接数），操作没有完成。";
    return "数据库服务器报告错误";
}

}  // namespace

StoreError connectFailure(std::string_view libpqText, const ServerSettings& server) {
    return StoreError(connectSentence(libpqText, server) + bracketed(libpqText),
                      StoreError::kServerUnreachable);
}

StoreError failureOf(const ServerFailure& failure, const std::string& server) {
    const std::string& state = failure.sqlstate;
    if (failure.connectionLost || state.rfind("08", 0) == 0 || state == "57P01" ||
        state == "57P02" || state == "57P03")
        return StoreError("与" + server +
                              "的连接中断了，这次的操作没有完成，也没有保存。请检查网络和服务器是否"
                              "正常，然后再试。" +
                              bracketed(failure.text),
                          StoreError::kServerUnreachable);
    const int code = state == "40001" || state == "40P01" ? StoreError::kServerConflict
                                                          : StoreError::kNotFromSqlite;
    return StoreError(statementSentence(failure, server) + bracketed(failure.text), code);
}

StoreError statementFailure(const PGresult* result, const PGconn* connection,
                            const std::string& server) {
    ServerFailure failure;
    const auto field = [result](int code) {
        const char* value = result != nullptr ? PQresultErrorField(result, code) : nullptr;
        return value != nullptr ? std::string(value) : std::string();
    };
    failure.sqlstate = field(PG_DIAG_SQLSTATE);
    failure.text = field(PG_DIAG_MESSAGE_PRIMARY);
    failure.table = field(PG_DIAG_TABLE_NAME);
    failure.column = field(PG_DIAG_COLUMN_NAME);
    failure.constraint = field(PG_DIAG_CONSTRAINT_NAME);
    if (failure.text.empty() && connection != nullptr) failure.text = PQerrorMessage(connection);
    failure.connectionLost = connection == nullptr || PQstatus(connection) == CONNECTION_BAD;
    return failureOf(failure, server);
}

}  // namespace store::pg
