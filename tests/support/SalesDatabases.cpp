#include "tests/support/SalesDatabases.h"

#include <cstdio>
#include <map>
#include <memory>
#include <utility>

#include "store/ConnectionString.h"
#include "store/Database.h"
#include "tools/DemoData.h"

namespace testsupport {

namespace {

void appendGeneratedSales(store::Database& db, int goods, int count) {
    store::Transaction transaction(db);
    store::Statement sale(db,
                          "INSERT INTO \"表3\" (\"销售日期\", \"商品编码\", \"商品名称\", "
                          "\"商品型号\", \"商品规格\", \"单位\", \"销售单价\", \"销售数量\", "
                          "\"销售金额\", \"客户姓名\", \"联系电话\", \"详细地址\", \"备注\") "
                          "VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?)");
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
        sale.reset();
        int p = 1;
        for (const char* text :
             std::initializer_list<const char*>{date, code, "商品", "M-1", "规格", "个"})
            sale.bindText(p++, text);
        for (double value : {price, quantity, price * quantity}) sale.bindDouble(p++, value);
        for (const char* text :
             std::initializer_list<const char*>{customer, phone, address, i % 3 == 0 ? "常客" : ""})
            sale.bindText(p++, text);
        sale.step();
    }
    transaction.commit();
}

}  // namespace

const TestDatabase& goodsAndSalesDatabase(int goods, int sales) {
    static std::map<std::pair<int, int>, std::unique_ptr<TestDatabase>> made;
    auto& slot = made[{goods, sales}];
    if (!slot) {
        slot = std::make_unique<TestDatabase>(TestDatabase::Content::Empty, false);
        store::Database db(slot->path(), store::kDatabasePassword);
        tools::appendGeneratedGoods(db, goods);
        appendGeneratedSales(db, goods, sales);
    }
    return *slot;
}

}  // namespace testsupport
