// The tables and column names as the file holds them: every other test names them through the
// schema's constants, so these are written out here once.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "store/Schema.h"

namespace {

using store::FieldType;
namespace schema = store::schema;

struct Column {
    std::string name;
    FieldType type;
    int size;  // characters of a text column
};

struct TableCase {
    const char* constant;  // the schema's name for the table
    const char* name;
    std::vector<Column> columns;
};

Column id() { return {"ID", FieldType::Counter, 0}; }
Column text(const char* name, int size = 255) { return {name, FieldType::Text, size}; }
Column number(const char* name) { return {name, FieldType::Double, 0}; }

const TableCase kTables[] = {
    {schema::kGoods,
     "表1",
     {id(),
      text("商品编码"),
      text("商品名称"),
      text("商品型号"),
      text("商品规格"),
      text("单位"),
      number("进货单价"),
      number("进货数量"),
      number("进货金额"),
      number("销售单价"),
      number("销售数量"),
      number("销售金额"),
      number("销售利润"),
      number("库存数量"),
      number("库存金额"),
      text("供货单位"),
      text("联系人"),
      text("联系电话"),
      text("详细地址"),
      text("备注")}},
    {schema::kCompany,
     "表2",
     {text("公司名称"), text("公司地址"), text("联系人"), text("联系电话"), text("网址"),
      text("备注")}},
    {schema::kSales,
     "表3",
     {id(), text("销售日期"), text("商品编码", 50), text("商品名称", 50), text("商品型号", 50),
      text("商品规格", 50), text("单位", 50), number("销售单价"), number("销售数量"),
      number("销售金额"), text("客户姓名", 50), text("联系电话", 50), text("详细地址", 50),
      text("备注", 50)}},
    {schema::kPurchaseExport,
     "表4",
     {text("商品编码"), text("商品名称"), text("商品型号"), text("商品规格"), text("单位"),
      number("进货单价"), number("进货数量"), number("进货金额"), text("供货单位"), text("联系人"),
      text("联系电话"), text("详细地址"), text("备注")}},
    {schema::kGoodsExport,
     "表5",
     {text("商品编码"), text("商品名称"), text("商品型号"), text("商品规格"), text("单位"),
      number("进货单价"), number("进货数量"), number("进货金额"), number("销售单价"),
      number("销售数量"), number("销售金额"), number("销售利润"), number("库存数量"),
      number("库存金额"), text("备注")}},
};

TEST(Schema, TablesAndColumnsAreTheFilesInTableOrder) {
    ASSERT_EQ(schema::tables().size(), std::size(kTables));
    for (std::size_t t = 0; t < std::size(kTables); ++t) {
        const TableCase& expected = kTables[t];
        const schema::TableDef& table = schema::tables()[t];
        EXPECT_STREQ(expected.constant, expected.name);
        EXPECT_EQ(table.name, expected.name);
        ASSERT_EQ(table.columns.size(), expected.columns.size()) << expected.name;
        for (std::size_t c = 0; c < expected.columns.size(); ++c) {
            const Column& column = expected.columns[c];
            SCOPED_TRACE(std::string(expected.name) + "." + column.name);
            EXPECT_EQ(table.columns[c].name, column.name);
            EXPECT_EQ(table.columns[c].type, column.type);
            if (column.type == FieldType::Text) {
                EXPECT_EQ(table.columns[c].size, column.size);
            }
        }
    }
}

TEST(Schema, InsertStatementsNameEveryColumnButTheCounter) {
    EXPECT_EQ(schema::insertSql(schema::table(schema::kCompany)),
              "INSERT INTO \"表2\" (\"公司名称\", \"公司地址\", \"联系人\", \"联系电话\", "
              "\"网址\", \"备注\") VALUES (?,?,?,?,?,?)");
    const std::string sales = schema::insertSql(schema::table(schema::kSales));
    EXPECT_EQ(sales.rfind("INSERT INTO \"表3\" (\"销售日期\", \"商品编码\", ", 0), 0u) << sales;
    EXPECT_EQ(sales.find("ID"), std::string::npos) << sales;
    EXPECT_NE(sales.find("\"备注\") VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?)"), std::string::npos)
        << sales;
}

}  // namespace
