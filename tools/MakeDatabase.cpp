#include "tools/MakeDatabase.h"

#include <filesystem>
#include <system_error>

#include "store/ConnectionString.h"
#include "store/Database.h"
#include "store/Error.h"
#include "store/Schema.h"
#include "store/SchemaUpgrade.h"
#include "tools/DemoData.h"
#include "tools/FileMoves.h"

namespace tools {

void makeDatabase(const std::string& path, bool demo) {
    namespace fs = std::filesystem;
    const auto refuse = [&path] {
        throw store::StoreError("文件“" + path + "”已存在，不会覆盖它");
    };
    std::error_code ec;
    if (fs::exists(path, ec)) refuse();
    const std::string partial = makeFreeFileBeside(path);
    try {
        {
            store::Database db(partial, store::kDatabasePassword, store::Database::Mode::Create);
            store::Transaction transaction(db);
            store::schema::createAllTables(db);
            if (demo) fillDemoData(db);
            transaction.commit();
        }
        if (!moveWithoutReplacing(partial, path, ec)) {
            if (ec == std::errc::file_exists) refuse();
            throw store::StoreError("无法写入“" + path + "”：" + ec.message());
        }
    } catch (...) {
        fs::remove(partial, ec);
        throw;
    }
}

}  // namespace tools
