#include "store/Schema.h"

#include "store/Error.h"

namespace store::schema {

namespace {

ColumnDef counter() { return {"ID", FieldType::Counter, 0}; }
ColumnDef text(const char* name, int size = 255) { return {name, FieldType::Text, size}; }
ColumnDef number(const char* name) { return {name, FieldType::Double, 0}; }

std::vector<TableDef> makeTables() {
    TableDef goods{kGoods,
                   {counter(),          text("商品编码"),   text("商品名称"),   text("商品型号"),
                    text("商品规格"),   text("单位"),       number("进货单价"), number("进货数量"),
                    number("进货金额"), number("销售单价"), number("销售数量"), number("销售金额"),
                    number("销售利润"), number("库存数量"), number("库存金额"), text("供货单位"),
                    text("联系人"),     text("联系电话"),   text("详细地址"),   text("备注")}};
    TableDef company{kCompany,
                     {text("公司名称"), text("公司地址"), text("联系人"), text("联系电话"),
                      text("网址"), text("备注")}};
    TableDef sales{
        kSales,
        {counter(), text("销售日期"), text("商品编码", 50), text("商品名称", 50),
         text("商品型号", 50), text("商品规格", 50), text("单位", 50), number("销售单价"),
         number("销售数量"), number("销售金额"), text("客户姓名", 50), text("联系电话", 50),
         text("详细地址", 50), text("备注", 50)}};
    TableDef purchaseExport{
        kPurchaseExport,
        {text("商品编码"), text("商品名称"), text("商品型号"), text("商品规格"), text("单位"),
         number("进货单价"), number("进货数量"), number("进货金额"), text("供货单位"),
         text("联系人"), text("联系电话"), text("详细地址"), text("备注")}};
    TableDef goodsExport{
        kGoodsExport,
        {text("商品编码"), text("商品名称"), text("商品型号"), text("商品规格"), text("单位"),
         number("进货单价"), number("进货数量"), number("进货金额"), number("销售单价"),
         number("销售数量"), number("销售金额"), number("销售利润"), number("库存数量"),
         number("库存金额"), text("备注")}};
    return {goods, company, sales, purchaseExport, goodsExport};
}

std::string quoted(const std::string& name) { return "\"" + name + "\""; }

}  // namespace

std::vector<std::string> TableDef::columnNames() const {
    std::vector<std::string> names;
    for (const auto& column : columns) names.push_back(column.name);
    return names;
}

const std::vector<TableDef>& tables() {
    static const std::vector<TableDef> all = makeTables();
    return all;
}

const TableDef& table(std::string_view name) {
    for (const auto& t : tables())
        if (t.name == name) return t;
    throw StoreError("没有表“" + std::string(name) + "”");
}

std::string createTableSql(const TableDef& table) {
    std::string sql = "CREATE TABLE " + quoted(table.name) + " (";
    bool firstColumn = true;
    for (const auto& column : table.columns) {
        if (!firstColumn) sql += ", ";
        firstColumn = false;
        sql += quoted(column.name) + " ";
        switch (column.type) {
            case FieldType::Counter:
                sql += "INTEGER PRIMARY KEY AUTOINCREMENT";
                break;
            case FieldType::Double:
                sql += "DOUBLE";
                break;
            default:
                sql += "TEXT(" + std::to_string(column.size) + ")";
                break;
        }
    }
    return sql + ")";
}

}  // namespace store::schema
