#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "store/Query.h"

// The tables of data.mdb with their columns in table order: the five the shop's file has always
// held, and the ones later versions of the program added beside them.
namespace store::schema {

struct ColumnDef {
    std::string name;
    FieldType type;  // Counter, Text or Double
    int size;        // characters of a text column
};

struct TableDef {
    std::string name;
    std::vector<ColumnDef> columns;    // the counter "ID" first where the table has one
    int version = 0;                   // the schema version that added the table; 0 for the five
    std::vector<std::string> indexed;  // columns looked up by value, each with an index
    bool hasCounter() const {
        return !columns.empty() && columns.front().type == FieldType::Counter;
    }
    std::vector<std::string> columnNames() const;
};

inline constexpr const char* kGoods = "表1";
inline constexpr const char* kCompany = "表2";
inline constexpr const char* kSales = "表3";
inline constexpr const char* kPurchaseExport = "表4";
inline constexpr const char* kGoodsExport = "表5";
// Added by schema version 1: the returns of sold goods, and the goods row each sale was made from.
inline constexpr const char* kReturns = "退货";
inline constexpr const char* kSaleGoods = "销售货源";
// Added by schema version 2: the imports of purchases from files, and the goods rows each created.
inline constexpr const char* kImports = "导入记录";
inline constexpr const char* kImportedGoods = "导入商品";
// Added by schema version 2: the lowest stock of each goods code, and whether the shop has been
// told that the code fell to it.
inline constexpr const char* kStockLevels = "最低库存";
// The low codes as the 库存预警 list last showed them, for its report and its export.
inline constexpr const char* kLowStockList = "库存预警";

// Kept beside the tables on a database server: the one-row table of the schema version (a file
// keeps it in PRAGMA user_version), and each table's count of changes, which triggers move.
inline constexpr const char* kSchemaVersionTable = "数据版本";
inline constexpr const char* kChangeCounts = "变更计数";

// The schema version this program writes into PRAGMA user_version: a file without the added
// tables is 0, and each version adds tables (never changes the five).
inline constexpr int kVersion = 2;

// The column names of the tables. A name that several tables share ("联系电话" of the supplier,
// the customer and the company) is one constant.
namespace column {
inline constexpr const char* kId = "ID";  // the counter
// The goods, in 表1, 表3, 表4 and 表5.
inline constexpr const char* kGoodsCode = "商品编码";
inline constexpr const char* kGoodsName = "商品名称";
inline constexpr const char* kModel = "商品型号";
inline constexpr const char* kGoodsSize = "商品规格";
inline constexpr const char* kUnit = "单位";
// Purchase, sales and stock figures.
inline constexpr const char* kPurchasePrice = "进货单价";
inline constexpr const char* kPurchaseQuantity = "进货数量";
inline constexpr const char* kPurchaseAmount = "进货金额";
inline constexpr const char* kSalePrice = "销售单价";
inline constexpr const char* kSaleQuantity = "销售数量";
inline constexpr const char* kSaleAmount = "销售金额";
inline constexpr const char* kSaleProfit = "销售利润";
inline constexpr const char* kStockQuantity = "库存数量";
inline constexpr const char* kStockAmount = "库存金额";
// The supplier of a purchase, the customer of a sale.
inline constexpr const char* kSupplier = "供货单位";
inline constexpr const char* kSaleDate = "销售日期";
inline constexpr const char* kCustomer = "客户姓名";
inline constexpr const char* kContact = "联系人";
inline constexpr const char* kPhone = "联系电话";
inline constexpr const char* kAddress = "详细地址";
inline constexpr const char* kRemark = "备注";
// The company row of 表2.
inline constexpr const char* kCompanyName = "公司名称";
inline constexpr const char* kCompanyAddress = "公司地址";
inline constexpr const char* kWebAddress = "网址";
// The returns and the sales' goods rows.
inline constexpr const char* kReturnDate = "退货日期";
inline constexpr const char* kSaleId = "销售ID";
inline constexpr const char* kGoodsId = "商品ID";
inline constexpr const char* kReturnQuantity = "退货数量";
inline constexpr const char* kRefundAmount = "退款金额";
inline constexpr const char* kReason = "退货原因";
// The imports and their goods rows.
inline constexpr const char* kImportTime = "导入时间";
inline constexpr const char* kFileName = "文件名";
inline constexpr const char* kContentHash = "内容哈希";
inline constexpr const char* kImportedRows = "导入行数";
inline constexpr const char* kImportId = "导入ID";
inline constexpr const char* kFileRow = "文件行号";
// The lowest stock of a goods code, and 1 once the shop was told it fell to it (0 again when the
// code's stock rose above it).
inline constexpr const char* kStockLevel = "最低库存";
inline constexpr const char* kLowStockTold = "已提醒";
inline constexpr const char* kShortfall = "缺货数量";  // the level less the stock
}  // namespace column

// The five tables every data.mdb holds.
const std::vector<TableDef>& tables();
// The tables later schema versions added, oldest version first.
const std::vector<TableDef>& addedTables();
// Any of them by name; throws StoreError for an unknown table.
const TableDef& table(std::string_view name);

// "CREATE TABLE ..." with the declared types the store reads back: TEXT(N), DOUBLE and
// INTEGER PRIMARY KEY AUTOINCREMENT for the counter.
std::string createTableSql(const TableDef& table);

// "CREATE INDEX IF NOT EXISTS ..." for each indexed column of the table.
std::vector<std::string> createIndexSql(const TableDef& table);

// "INSERT INTO ... VALUES (?, ...)" with every column but the counter, in table order.
std::string insertSql(const TableDef& table);

}  // namespace store::schema
