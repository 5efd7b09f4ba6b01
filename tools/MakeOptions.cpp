#include "tools/MakeOptions.h"

#include <utility>

namespace tools {

namespace {

// The option that sets each of the server's settings.
std::string* serverSetting(store::ServerSettings& server, const std::string& option) {
    if (option == "--host") return &server.host;
    if (option == "--port") return &server.port;
    if (option == "--database") return &server.database;
    if (option == "--user") return &server.user;
    if (option == "--sslmode") return &server.sslmode;
    return nullptr;
}

}  // namespace

const char* makeUsage() {
    return "用法：\n"
           "  jxc-mkdb [--demo] 路径\n"
           "      在该路径新建一个空的（或带示例数据的）data.mdb\n"
           "  jxc-mkdb --server [--demo] [服务器选项]\n"
           "      在 PostgreSQL 服务器上一个空的数据库中建立本程序的全部表\n"
           "  jxc-mkdb --copy data.mdb --server [服务器选项]\n"
           "      把店里的 data.mdb 复制到服务器上一个空的数据库中，并核对行数和各列合计\n"
           "服务器选项（未给出的由 PGHOST、PGPORT、PGDATABASE、PGUSER、PGSSLMODE 决定；\n"
           "密码放在 ~/.pgpass 或 PGPASSWORD 中）：\n"
           "  --host 主机  --port 端口  --database 数据库  --user 用户  --sslmode 模式\n";
}

MakeOptions parseMakeOptions(const std::vector<std::string>& arguments) {
    MakeOptions options;
    bool server = false;
    bool serverOptions = false;
    bool copy = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const auto value = [&]() -> std::string {
            // "--copy --server" is a forgotten file name, not a file called "--server".
            if (i + 1 >= arguments.size() || arguments[i + 1].empty() ||
                arguments[i + 1].rfind("--", 0) == 0)
                throw UsageError("选项 " + argument + " 后面缺少它的值");
            return arguments[++i];
        };
        if (argument == "-h" || argument == "--help") {
            options.action = MakeOptions::Action::Help;
            return options;
        }
        if (argument == "--demo") {
            options.demo = true;
        } else if (argument == "--server") {
            server = true;
        } else if (argument == "--copy") {
            if (copy) throw UsageError("只能给出一个 --copy 文件");
            copy = true;
            options.copyFrom = value();
        } else if (std::string* setting = serverSetting(options.server, argument)) {
            *setting = value();
            serverOptions = true;
        } else if (!argument.empty() && argument[0] == '-') {
            throw UsageError("未知选项 " + argument);
        } else if (options.path.empty() && !argument.empty()) {
            options.path = argument;
        } else {
            throw UsageError("只能给出一个路径");
        }
    }
    if (!server) {
        if (copy) throw UsageError("--copy 要与 --server 一起使用：数据复制到服务器上");
        if (serverOptions) throw UsageError("服务器选项要与 --server 一起使用");
        if (options.path.empty()) throw UsageError("缺少路径");
        return options;
    }
    if (!options.path.empty())
        throw UsageError("与 --server 一起不能给出路径“" + options.path + "”");
    if (copy && options.demo) throw UsageError("--copy 与 --demo 不能一起使用");
    options.action = copy ? MakeOptions::Action::CopyToServer : MakeOptions::Action::MakeOnServer;
    return options;
}

}  // namespace tools
