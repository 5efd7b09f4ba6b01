#include "tests/support/SalesDatabases.h"

#include <cstdio>
#include <utility>

#include "store/Database.h"
#include "tests/support/MadeOnce.h"
#include "tools/DemoData.h"

namespace testsupport {

namespace {

void appendGeneratedSales(store::Database& db, int goods, int count) {
    store::Transaction transaction(db);
    tools::SaleWriter sales(db);
    char date[32], code[32], customer[32], phone[32], address[64];
    for (int i = 0; i < count; ++i) {
        const int g = goods > 0 ? (i * 7) % goods : 0;
        const int c = i % 1000;
        std::snprintf(date, sizeof date, "2026/%d/%d 10:%02d:%02d", 1 + i % 12, 1 + i % 28, i % 60,
                      (i / 60) % 60);
        std::snprintf(code, sizeof code, "SP%06d", g);
        std::snprintf(customer, sizeof customer, "客户%05d", c);
        std::snprintf(phone, sizeof phone, "139%08d", c * 7);
        std::snprintf(address, sizeof address, "杭州市上城区解放路%d号", 1 + c);
        const double price = 2 + i % 50;
        const double quantity = 1 + i % 5;
        sales.write({date, code, "商品", "M-1", "规格", "个", price, quantity, price * quantity,
                     customer, phone, address, i % 3 == 0 ? "常客" : ""});
    }
    transaction.commit();
}

}  // namespace

const TestDatabase& goodsAndSalesDatabase(int goods, int sales) {
    return madeOnce(std::pair(goods, sales), [goods, sales](store::Database& db) {
        tools::appendGeneratedGoods(db, goods);
        appendGeneratedSales(db, goods, sales);
    });
}

}  // namespace testsupport
