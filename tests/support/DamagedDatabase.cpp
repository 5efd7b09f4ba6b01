#include "tests/support/DamagedDatabase.h"

#include <fstream>
#include <stdexcept>
#include <string>

#include "store/ConnectionString.h"
#include "store/Database.h"

namespace testsupport {

void damageTablePage(const std::string& file, const std::string& table) {
    std::int64_t page = 0;
    std::int64_t pageSize = 0;
    {
        const store::Database db(file, store::kDatabasePassword, store::Database::Mode::ReadOnly);
        store::Statement root(db, "select rootpage from sqlite_master where name = ?");
        root.bindText(1, table);
        if (!root.step()) throw std::runtime_error("no table " + table + " in " + file);
        page = root.int64Value(0);
        store::Statement size(db, "pragma page_size");
        size.step();
        pageSize = size.int64Value(0);
    }
    std::fstream out(file, std::ios::binary | std::ios::in | std::ios::out);
    out.seekp((page - 1) * pageSize);
    const std::string garbage(static_cast<std::size_t>(pageSize), '\x5a');
    out.write(garbage.data(), static_cast<std::streamsize>(garbage.size()));
    if (!out) throw std::runtime_error("cannot damage " + file);
}

}  // namespace testsupport
