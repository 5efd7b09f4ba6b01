#include "store/ServerSettings.h"

namespace store {

namespace {

std::optional<ServerSettings>& processServer() {
    static std::optional<ServerSettings> server;
    return server;
}

}  // namespace

std::string ServerSettings::describe() const {
    std::string address = host.empty() ? std::string("本机") : host;
    if (!port.empty()) address += ":" + port;
    return "PostgreSQL 服务器 " + address + " 上的数据库“" + database + "”";
}

void useServer(std::optional<ServerSettings> server) { processServer() = std::move(server); }

const ServerSettings* currentServer() noexcept {
    const auto& server = processServer();
    return server ? &*server : nullptr;
}

}  // namespace store
