// Sales confirmed by a child process that is killed at random moments: the file stays sound and
// no sale is ever found without its stock movement, nor a movement without its sale.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <map>
#include <random>
#include <string>

#include "sales/records/SaleRecords.h"
#include "store/Connection.h"
#include "store/ConnectionString.h"
#include "store/Database.h"
#include "store/Query.h"
#include "store/Schema.h"
#include "store/Values.h"
#include "tests/sales/records/SalesFixture.h"
#include "tests/support/TestDatabase.h"

namespace {

constexpr int kGoodsRows = 4;

// Sells 1, 2 or 3 of each goods row in turn until killed; tells ready once it is about to begin,
// and again after each sale.
[[noreturn]] void sellForever(unsigned seed, int ready) {
    try {
        store::Connection connection(store::buildConnectionStringForCurrentDirectory());
        store::Query goods(connection);
        store::Query sales(connection);
        sales::SaleRecords records(connection, goods, sales);
        records.reloadGoods();
        const char byte = 1;
        if (write(ready, &byte, 1) != 1) _exit(3);
        std::minstd_rand random(seed);
        for (int i = 0;; ++i) {
            goods.moveTo(i % goods.recordCount());
            records.confirm(salestest::saleOf(*records.goodsForSale(), "2026/12/10 10:00:00", "2.5",
                                              std::to_string(1 + random() % 3),
                                              "客户" + std::to_string(i % 7)));
            if (write(ready, &byte, 1) != 1) _exit(3);
        }
    } catch (...) {
        _exit(2);
    }
}

TEST(SaleCrashTest, AKilledSaleLeavesBothWritesOrNeither) {
    testsupport::TestDatabase db;
    std::vector<salestest::Row> rows;
    for (int i = 0; i < kGoodsRows; ++i)
        rows.push_back(salestest::purchase("G" + std::to_string(i), "2", "1000000", "2000000"));
    salestest::insert(store::schema::kGoods,
                      rows);  // also derives the file key, which the children inherit

    // Each child is killed at a random moment of a sale: some right at its start, some after a
    // first sale is stored, at a delay spread over the time a sale takes here.
    constexpr int kRounds = 200;
    std::mt19937 random(20261210);
    double saleMicros = 5000;  // measured as the children go
    int storedAtLeast = 0;     // sales the children reported stored
    for (int round = 0; round < kRounds; ++round) {
        int pipeEnds[2];
        ASSERT_EQ(pipe(pipeEnds), 0);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            close(pipeEnds[0]);
            sellForever(static_cast<unsigned>(round), pipeEnds[1]);
        }
        close(pipeEnds[1]);
        char byte = 0;
        const bool started = read(pipeEnds[0], &byte, 1) == 1;
        if (started && random() % 2 == 0) {
            const auto before = std::chrono::steady_clock::now();
            if (read(pipeEnds[0], &byte, 1) == 1) {
                ++storedAtLeast;
                const std::chrono::duration<double, std::micro> took =
                    std::chrono::steady_clock::now() - before;
                saleMicros = 0.8 * saleMicros + 0.2 * took.count();
            }
        }
        std::uniform_real_distribution<double> delay(0, saleMicros);
        usleep(static_cast<useconds_t>(delay(random)));
        kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        close(pipeEnds[0]);
        // A child that failed on its own would prove nothing.
        ASSERT_TRUE(started);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL)
            << "child ended with status " << status;
    }
    EXPECT_GT(storedAtLeast, kRounds / 4);

    store::Database file(db.path(), store::kDatabasePassword);
    store::Statement check(file, "PRAGMA integrity_check");
    ASSERT_TRUE(check.step());
    EXPECT_EQ(check.text(0), "ok");

    std::map<std::string, long long> soldPerCode;
    const auto sales = salestest::stored(store::schema::kSales);
    for (const auto& sale : sales)
        soldPerCode[sale.at("商品编码")] += std::stoll(sale.at("销售数量"));
    EXPECT_GE(sales.size(), static_cast<std::size_t>(storedAtLeast));
    for (const auto& goods : salestest::stored(store::schema::kGoods)) {
        const std::string& code = goods.at("商品编码");
        const long long sold = soldPerCode[code];
        EXPECT_EQ(goods.at("销售数量"), std::to_string(sold)) << code;
        EXPECT_EQ(goods.at("库存数量"), std::to_string(1000000 - sold)) << code;
        EXPECT_EQ(goods.at("销售金额"), store::values::formatNumber(2.5L * sold)) << code;
    }
}

}  // namespace
