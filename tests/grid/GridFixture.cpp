#include "tests/grid/GridFixture.h"

#include <QTest>

#include "store/ConnectionString.h"
#include "store/Database.h"
#include "store/RowDeletion.h"

namespace gridtest {

std::vector<grid::GridColumn> salesColumns(const QString& amountFooterFormat) {
    using grid::FooterKind;
    const auto column = [](const char* field, const char* caption, int width,
                           Qt::Alignment alignment = Qt::AlignLeft, bool number = false) {
        grid::GridColumn c;
        c.field = QString::fromUtf8(field);
        c.caption = QString::fromUtf8(caption);
        c.width = width;
        c.alignment = alignment;
        if (number) c.displayFormat = QStringLiteral("#0.##");
        return c;
    };
    std::vector<grid::GridColumn> columns{
        column("销售日期", "", 65),
        column("商品编码", "①商品信息|商品编码", 65),
        column("商品名称", "①商品信息|商品名称", 65),
        column("商品型号", "①商品信息|商品型号", 65),
        column("商品规格", "①商品信息|商品规格", 65),
        column("单位", "①商品信息|单位", 45, Qt::AlignHCenter),
        column("销售单价", "②销售信息|单价", 50, Qt::AlignHCenter, true),
        column("销售数量", "②销售信息|数量", 50, Qt::AlignHCenter, true),
        column("销售金额", "②销售信息|金额", 65, Qt::AlignHCenter, true),
        column("客户姓名", "③客户信息|客户姓名", 65),
        column("联系电话", "③客户信息|联系电话", 80),
        column("详细地址", "③客户信息|详细地址", 135),
        column("备注", "", 75),
    };
    columns[0].footer = FooterKind::StaticText;
    columns[0].footerText = QStringLiteral("合计");
    columns[kAmountColumn].footer = FooterKind::Sum;
    columns[kAmountColumn].footerFormat = amountFooterFormat;
    columns[kAmountColumn].footerBold = false;
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
        sql +=
            "INSERT INTO \"表3\" (\"销售日期\", \"商品编码\", \"销售金额\", \"备注\") VALUES "
            "('2024-01-02', " +
            quoted(sale.code) + ", " + (sale.amount.empty() ? "NULL" : sale.amount) + ", " +
            quoted(sale.remark) + ");";
    }
    execute(sql + "COMMIT;");
    query.select("表3");
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
