// Until the server engine is linked in: every attempt to use a server is refused.
#include "store/Error.h"
#include "store/ServerSettings.h"
#include "store/engine/Engine.h"

namespace store {

std::unique_ptr<Engine> openServerEngine(const ServerSettings& server) {
    throw StoreError("无法连接" + server.describe() + "：本程序没有数据库服务器的支持",
                     StoreError::kServerUnreachable);
}

}  // namespace store
