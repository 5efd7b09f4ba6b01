#include "tests/profile/CompanyTable.h"

#include "store/ConnectionString.h"
#include "store/Database.h"

namespace companytable {

void replaceRows(const std::string& databaseFile, const std::vector<profile::CompanyTexts>& rows) {
    store::Database db(databaseFile, store::kDatabasePassword);
    db.exec("delete from 表2");
    for (const auto& row : rows) {
        store::Statement insert(
            db,
            "insert into 表2 (公司名称, 公司地址, 联系人, 联系电话, 网址, 备注) "
            "values (?, ?, ?, ?, ?, ?)");
        for (std::size_t i = 0; i < row.size(); ++i)
            insert.bindText(static_cast<int>(i) + 1, row[i]);
        insert.step();
    }
}

std::vector<profile::CompanyTexts> storedRows(const std::string& databaseFile) {
    store::Database db(databaseFile, store::kDatabasePassword, store::Database::Mode::ReadOnly);
    store::Statement select(
        db, "select 公司名称, 公司地址, 联系人, 联系电话, 网址, 备注 from 表2 order by rowid");
    std::vector<profile::CompanyTexts> rows;
    while (select.step()) {
        profile::CompanyTexts row;
        for (std::size_t i = 0; i < row.size(); ++i)
            row[i] = std::string(select.text(static_cast<int>(i)));
        rows.push_back(row);
    }
    return rows;
}

}  // namespace companytable
