#pragma once

#include "store/Database.h"

namespace tools {

// A believable small shop: the company row, a few dozen purchases in 表1, some of them partly
// sold, with the matching sale rows in 表3. Sales and stock figures agree with each other.
void fillDemoData(store::Database& db);

// Appends count generated goods rows to 表1 in one transaction (for measurements and tests).
// Row i (counting from 0) has the goods code "SP" followed by i in six digits.
void appendGeneratedGoods(store::Database& db, int count);

// Appends count generated sale rows to 表3 in one transaction (for measurements and tests), each
// made from one of the goods rows appendGeneratedGoods writes.
void appendGeneratedSales(store::Database& db, int count);

// One 表3 row as "确定" stores it.
struct SaleRow {
    const char* date;
    const char* code;
    const char* name;
    const char* model;
    const char* variant;
    const char* unit;
    double price, quantity, amount;
    const char* customer;
    const char* phone;
    const char* address;
    const char* remark;
};

// Appends sale rows to 表3 through one prepared statement; the caller holds the transaction.
class SaleWriter {
  public:
    explicit SaleWriter(const store::Database& db);
    void write(const SaleRow& row);

  private:
    store::Statement insert_;
};

}  // namespace tools
