#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "store/Query.h"

// The five tables of data.mdb with their columns in table order.
namespace store::schema {

struct ColumnDef {
    std::string name;
    FieldType type;  // Counter, Text or Double
    int size;        // characters of a text column
};

struct TableDef {
    std::string name;
    std::vector<ColumnDef> columns;  // the counter "ID" first where the table has one
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

const std::vector<TableDef>& tables();
const TableDef& table(std::string_view name);  // throws StoreError for an unknown table

// "CREATE TABLE ..." with the declared types the store reads back: TEXT(N), DOUBLE and
// INTEGER PRIMARY KEY AUTOINCREMENT for the counter.
std::string createTableSql(const TableDef& table);

}  // namespace store::schema
