#include "store/Schema.h"

#include "store/Error.h"

namespace store::schema {

namespace {

ColumnDef counter() { return {column::kId, FieldType::Counter, 0}; }
ColumnDef text(const char* name, int size = 255) { return {name, FieldType::Text, size}; }
ColumnDef number(const char* name) { return {name, FieldType::Double, 0}; }

std::vector<TableDef> makeTables() {
    using namespace column;
    TableDef goods{kGoods,
                   {counter(),
                    text(kGoodsCode),
                    text(kGoodsName),
                    text(kModel),
                    text(kGoodsSize),
                    text(kUnit),
                    number(kPurchasePrice),
                    number(kPurchaseQuantity),
                    number(kPurchaseAmount),
                    number(kSalePrice),
                    number(kSaleQuantity),
                    number(kSaleAmount),
                    number(kSaleProfit),
                    number(kStockQuantity),
                    number(kStockAmount),
                    text(kSupplier),
                    text(kContact),
                    text(kPhone),
                    text(kAddress),
                    text(kRemark)},
                   0,
                   {kGoodsCode}};
    TableDef company{kCompany,
                     {text(kCompanyName), text(kCompanyAddress), text(kContact), text(kPhone),
                      text(kWebAddress), text(kRemark)},
                     0,
                     {}};
    TableDef sales{kSales,
                   {counter(), text(kSaleDate), text(kGoodsCode, 50), text(kGoodsName, 50),
                    text(kModel, 50), text(kGoodsSize, 50), text(kUnit, 50), number(kSalePrice),
                    number(kSaleQuantity), number(kSaleAmount), text(kCustomer, 50),
                    text(kPhone, 50), text(kAddress, 50), text(kRemark, 50)},
                   0,
                   {}};
    TableDef purchaseExport{
        kPurchaseExport,
        {text(kGoodsCode), text(kGoodsName), text(kModel), text(kGoodsSize), text(kUnit),
         number(kPurchasePrice), number(kPurchaseQuantity), number(kPurchaseAmount),
         text(kSupplier), text(kContact), text(kPhone), text(kAddress), text(kRemark)},
        0,
        {}};
    TableDef goodsExport{
        kGoodsExport,
        {text(kGoodsCode), text(kGoodsName), text(kModel), text(kGoodsSize), text(kUnit),
         number(kPurchasePrice), number(kPurchaseQuantity), number(kPurchaseAmount),
         number(kSalePrice), number(kSaleQuantity), number(kSaleAmount), number(kSaleProfit),
         number(kStockQuantity), number(kStockAmount), text(kRemark)},
        0,
        {}};
    return {goods, company, sales, purchaseExport, goodsExport};
}

ColumnDef rowId(const char* name) { return {name, FieldType::Double, 0}; }

std::vector<TableDef> makeAddedTables() {
    using namespace column;
    // A return names its sale and goods row by their IDs and keeps the goods texts, the
    // purchase price its stock value used and the customer as they were, so that it reads the
    // same after the sale or the purchase was corrected.
    TableDef returns{
        kReturns,
        {counter(), text(kReturnDate), rowId(kSaleId), rowId(kGoodsId), text(kGoodsCode),
         text(kGoodsName), text(kModel), text(kGoodsSize), text(kUnit), number(kReturnQuantity),
         number(kRefundAmount), number(kPurchasePrice), text(kCustomer), text(kReason)},
        1,
        {kSaleId}};
    TableDef saleGoods{kSaleGoods, {counter(), rowId(kSaleId), rowId(kGoodsId)}, 1, {kSaleId}};
    // An import keeps the SHA-256 of the file's bytes, by which importing the same file again is
    // told, and each goods row it created with the row of the file it came from.
    TableDef imports{kImports,
                     {counter(), text(kImportTime), text(kFileName), text(kContentHash, 64),
                      number(kImportedRows)},
                     2,
                     {kContentHash}};
    TableDef importedGoods{kImportedGoods,
                           {counter(), rowId(kImportId), rowId(kGoodsId), rowId(kFileRow)},
                           2,
                           {kImportId}};
    TableDef stockLevels{kStockLevels,
                         {counter(), text(kGoodsCode), number(kStockLevel), number(kLowStockTold)},
                         2,
                         {kGoodsCode}};
    TableDef lowStockList{
        kLowStockList,
        {text(kGoodsCode), text(kGoodsName), text(kModel), text(kGoodsSize), text(kUnit),
         number(kStockQuantity), number(kStockLevel), number(kShortfall)},
        2,
        {}};
    return {returns, saleGoods, imports, importedGoods, stockLevels, lowStockList};
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

const std::vector<TableDef>& addedTables() {
    static const std::vector<TableDef> all = makeAddedTables();
    return all;
}

std::vector<const TableDef*> everyTable() {
    std::vector<const TableDef*> all;
    for (const auto* list : {&tables(), &addedTables()})
        for (const TableDef& table : *list) all.push_back(&table);
    return all;
}

const TableDef& table(std::string_view name) {
    for (const auto* list : {&tables(), &addedTables()})
        for (const auto& t : *list)
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

std::vector<std::string> createIndexSql(const TableDef& table) {
    std::vector<std::string> sql;
    for (const auto& column : table.indexed)
        sql.push_back("CREATE INDEX IF NOT EXISTS " + quoted(table.name + "_" + column) + " ON " +
                      quoted(table.name) + " (" + quoted(column) + ")");
    return sql;
}

std::string insertSql(const TableDef& table) {
    std::string names;
    std::string marks;
    for (const auto& column : table.columns) {
        if (column.type == FieldType::Counter) continue;
        if (!names.empty()) {
            names += ", ";
            marks += ",";
        }
        names += quoted(column.name);
        marks += "?";
    }
    return "INSERT INTO " + quoted(table.name) + " (" + names + ") VALUES (" + marks + ")";
}

}  // namespace store::schema
