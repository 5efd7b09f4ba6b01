#include "tests/grid/GridFixture.h"

#include <QTest>

#include "grid/ListColumns.h"
#include "store/ConnectionString.h"
#include "store/Database.h"
#include "store/Schema.h"
#include "store/RowDeletion.h"

namespace gridtest {

std::vector<grid::GridColumn> salesColumns(const QString& amountFooterFormat) {
    std::vector<grid::GridColumn> columns = grid::saleListColumns();
    columns[kAmountColumn].footerFormat = amountFooterFormat;
    return columns;
}

std::vector<Sale> numberedSales(int count) {
    std::vector<Sale> sales;
    for (int i = 1; i <= count; ++i)
        sales.push_back({"A" + std::to_string(i), std::to_string(i), ""});
    return sales;
}

static std::string quoted(const std::string& text) {
    if (text.empty()) return "NULL";
    std::string out = "'";
    for (char c : text) out += c == '\'' ? std::string("''") : std::string(1, c);
    return out + "'";
}

GridFixture::GridFixture(const std::vector<Sale>& sales, const QString& amountFooterFormat)
    : connection(store::initialConnectionString()), query(connection) {
    std::string sql = "BEGIN;";
    for (const Sale& sale : sales) {
        sql += std::string("INSERT INTO \"") + store::schema::kSales +
               "\" (\"销售日期\", \"商品编码\", \"销售金额\", \"备注\") VALUES "
               "('2024-01-02', " +
               quoted(sale.code) + ", " + (sale.amount.empty() ? "NULL" : sale.amount) + ", " +
               quoted(sale.remark) + ");";
    }
    execute(sql + "COMMIT;");
    query.select(store::schema::kSales);
    query.open();
    grid = std::make_unique<grid::TDataGrid>();
    grid->setObjectName(QStringLiteral("DataGrid1"));
    grid->setColumns(salesColumns(amountFooterFormat));
    grid->setFooterBold(true);
    grid->setQuery(&query);
    // As the windows' records delete the selected rows.
    grid->setRowDeleter(
        [this](const std::vector<int>& rows) { store::deleteRowsTogether(query, rows); });
    grid->resize(976, 505);
    grid->show();
    if (!QTest::qWaitForWindowExposed(grid.get())) qWarning("the grid was not shown");
}

GridFixture::~GridFixture() { grid.reset(); }

void GridFixture::execute(const std::string& sql) {
    store::Database db(database.path(), store::kDatabasePassword);
    db.exec(sql);
}

std::string GridFixture::textAt(int row, const char* field) const {
    return std::string(query.fieldTextAt(row, query.fieldIndex(field)));
}

}  // namespace gridtest
