#include "tests/profile/CompanyTable.h"

#include <algorithm>
#include <array>
#include <stdexcept>

#include "store/ConnectionString.h"
#include "store/Database.h"
#include "store/Schema.h"

namespace companytable {

namespace {

constexpr std::array<std::string_view, 6> kColumns = {"公司名称", "公司地址", "联系人",
                                                      "联系电话", "网址",     "备注"};

std::string columnList() {
    std::string list;
    for (std::string_view column : kColumns) {
        if (!list.empty()) list += ", ";
        list += column;
    }
    return list;
}

}  // namespace

std::size_t columnIndex(std::string_view column) {
    const auto found = std::find(kColumns.begin(), kColumns.end(), column);
    if (found == kColumns.end()) throw std::invalid_argument("no column " + std::string(column));
    return static_cast<std::size_t>(found - kColumns.begin());
}

void replaceRows(const std::string& databaseFile, const std::vector<profile::CompanyTexts>& rows) {
    store::Database db(databaseFile, store::kDatabasePassword);
    db.exec(std::string("delete from ") + store::schema::kCompany);
    for (const auto& row : rows) {
        store::Statement insert(db, std::string("insert into ") + store::schema::kCompany + " (" +
                                        columnList() + ") values (?, ?, ?, ?, ?, ?)");
        for (std::size_t i = 0; i < row.size(); ++i)
            insert.bindText(static_cast<int>(i) + 1, row[i]);
        insert.step();
    }
}

std::vector<profile::CompanyTexts> storedRows(const std::string& databaseFile) {
    store::Database db(databaseFile, store::kDatabasePassword, store::Database::Mode::ReadOnly);
    store::Statement select(
        db, "select " + columnList() + " from " + store::schema::kCompany + " order by rowid");
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
