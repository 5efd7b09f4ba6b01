#include "tools/MakeDatabase.h"

#include <filesystem>
#include <system_error>

#include "store/ConnectionString.h"
#include "store/Database.h"
#include "store/Error.h"
#include "store/Schema.h"
#include "tools/DemoData.h"

namespace tools {

void makeDatabase(const std::string& path, bool demo) {
    namespace fs = std::filesystem;
    std::error_code ec;
    if (fs::exists(path, ec)) throw store::StoreError("文件“" + path + "”已存在，不会覆盖它");
    const std::string partial = path + ".making";
    fs::remove(partial, ec);
    try {
        {
            store::Database db(partial, store::kDatabasePassword, store::Database::Mode::Create);
            store::Transaction transaction(db);
            for (const auto& table : store::schema::tables())
                db.exec(store::schema::createTableSql(table));
            if (demo) fillDemoData(db);
            transaction.commit();
        }
        if (fs::exists(path, ec)) throw store::StoreError("文件“" + path + "”已存在，不会覆盖它");
        fs::rename(partial, path);
    } catch (const fs::filesystem_error& e) {
        fs::remove(partial, ec);
        throw store::StoreError("无法写入“" + path + "”：" + e.code().message());
    } catch (...) {
        fs::remove(partial, ec);
        throw;
    }
}

}  // namespace tools
