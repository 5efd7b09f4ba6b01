// One counter of the shop: sells from the goods list through the sale entry's own records and
// takes back some of its own earlier sales through the return records, at random, until its time
// is up, and logs every outcome (CounterLog.h). Several run at once on the same data.
//
//   sale_counter_driver SECONDS COUNTER LOG [HOST PORT DATABASE USER SSLMODE]
//
// The data is data.mdb in the current directory, or the server's database when one is named.
#include <sqlite3.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "sales/records/ReturnRecords.h"
#include "sales/records/SaleRecords.h"
#include "store/Connection.h"
#include "store/ConnectionString.h"
#include "store/Database.h"
#include "store/Error.h"
#include "store/Query.h"
#include "store/Retry.h"
#include "store/Schema.h"
#include "store/ServerSettings.h"
#include "tests/sales/counters/CounterLog.h"
#include "tests/sales/records/SalesFixture.h"

namespace {

namespace schema = store::schema;
namespace column = store::schema::column;

// A sale of this counter that it may still take back.
struct OwnSale {
    std::int64_t saleId = 0;
    int returnable = 0;
};

class Counter {
  public:
    Counter(int number, std::FILE* log, unsigned seed) : number_(number), log_(log), random_(seed) {
        records_.reloadGoods();
    }

    void runFor(std::chrono::seconds seconds) {
        const auto end = std::chrono::steady_clock::now() + seconds;
        while (std::chrono::steady_clock::now() < end) {
            ++n_;
            try {
                if (!own_.empty() && pick(3) == 0)
                    takeBack();
                else
                    sell();
            } catch (const store::StoreError& e) {
                if (!isConflict(e)) throw;
                // The message the window shows; the data is as before the attempt.
                write(std::string(counters::kConflict) + " " + std::to_string(n_));
            }
        }
    }

  private:
    void write(const std::string& line) {
        std::fprintf(log_, "%s\n", line.c_str());
        std::fflush(log_);
    }

    int pick(int n) { return static_cast<int>(random_() % static_cast<unsigned>(n)); }

    // Another counter's change stopped the attempt, and the user is told so: on the server after
    // the retries, on the file when other counters kept it busy past the wait.
    static bool isConflict(const store::StoreError& e) {
        return std::string_view(e.what()) == store::kConflictGaveUp ||
               e.code() == store::StoreError::kServerConflict || e.code() == SQLITE_BUSY ||
               e.code() == SQLITE_LOCKED;
    }

    // Looks up the row whose text column holds this counter's mark (the mark is unique), once it
    // is stored: a busy file is asked again, since the row must be logged.
    std::int64_t markedRow(const char* table, const char* markColumn, const std::string& mark) {
        for (int attempt = 1;; ++attempt) {
            try {
                store::Statement find(connection_.database(), std::string("SELECT rowid FROM \"") +
                                                                  table + "\" WHERE \"" +
                                                                  markColumn + "\" = ?");
                find.bindText(1, mark);
                if (!find.step()) throw std::runtime_error("no stored row is marked " + mark);
                return find.int64Value(0);
            } catch (const store::StoreError& e) {
                if (!isConflict(e) || attempt == 10) throw;
            }
        }
    }

    void sell() {
        // The list is read again now and then, as the window does when it is activated; in
        // between it shows what it last read and this counter's own sales.
        if (pick(4) == 0) records_.reloadGoods();
        goods_.moveTo(pick(goods_.recordCount()));
        const auto shown = records_.goodsForSale();
        if (!shown) throw std::runtime_error("the goods list is empty");
        const int quantity = 1 + pick(3);
        sales::SaleEntry entry =
            salestest::saleOf(*shown, "2026-12-11 10:00:00",
                              std::to_string(8 + pick(8)) + "." + std::to_string(10 + pick(90)),
                              std::to_string(quantity), "客户" + std::to_string(number_));
        const std::string mark = "柜台" + std::to_string(number_) + "-销售" + std::to_string(n_);
        entry.details[2] = mark;
        const std::string what = std::to_string(entry.goodsId) + " " + entry.quantity;
        switch (records_.confirm(entry).outcome) {
            case sales::SaleResult::Outcome::Sold: {
                const std::int64_t id = markedRow(schema::kSales, column::kRemark, mark);
                write(std::string(counters::kSold) + " " + std::to_string(id) + " " + what);
                own_.push_back({id, quantity});
                break;
            }
            case sales::SaleResult::Outcome::StockShort:
                write(std::string(counters::kShort) + " " + what);
                records_.reloadGoods();
                break;
            case sales::SaleResult::Outcome::Refused:
                write(std::string(counters::kRefused) + " " + what);
                records_.reloadGoods();
                break;
            case sales::SaleResult::Outcome::GoodsGone:
                throw std::runtime_error("goods row " + std::to_string(entry.goodsId) + " gone");
        }
    }

    // Takes back some of one of this counter's own sales: only this counter returns them, so what
    // it may still return is known here, and every return must be stored.
    void takeBack() {
        const std::size_t which = static_cast<std::size_t>(pick(static_cast<int>(own_.size())));
        OwnSale& sale = own_[which];
        const auto shown = returns_.load(sale.saleId);
        if (!shown || shown->goodsRows.empty())
            throw std::runtime_error("sale " + std::to_string(sale.saleId) + " cannot be returned");
        const int quantity = 1 + pick(std::min(sale.returnable, 3));
        const std::string mark = "柜台" + std::to_string(number_) + "-退货" + std::to_string(n_);
        salereturn::ReturnEntry entry;
        entry.saleId = sale.saleId;
        entry.goodsId = shown->goodsRows.front().goodsId;
        entry.date = "2026-12-11 11:00:00";
        entry.quantity = std::to_string(quantity);
        entry.refund = salereturn::proposedRefund(entry.quantity, shown->price);
        entry.reason = mark;
        const auto result = returns_.confirm(entry);
        if (result.outcome != salereturn::ReturnResult::Outcome::Returned)
            throw std::runtime_error("return of sale " + std::to_string(sale.saleId) +
                                     " not stored: " + result.refusal);
        const std::int64_t id = markedRow(schema::kReturns, column::kReason, mark);
        write(std::string(counters::kReturned) + " " + std::to_string(id) + " " +
              std::to_string(sale.saleId) + " " + std::to_string(entry.goodsId) + " " +
              entry.quantity);
        sale.returnable -= quantity;
        if (sale.returnable == 0) own_.erase(own_.begin() + static_cast<std::ptrdiff_t>(which));
    }

    int number_;
    std::FILE* log_;
    std::minstd_rand random_;
    int n_ = 0;
    std::vector<OwnSale> own_;
    store::Connection connection_{store::buildConnectionStringForCurrentDirectory()};
    store::Query goods_{connection_};
    store::Query sales_{connection_};
    sales::SaleRecords records_{connection_, goods_, sales_};
    salereturn::ReturnRecords returns_{connection_};
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4 && argc != 9) {
        std::fprintf(stderr, "usage: %s SECONDS COUNTER LOG [HOST PORT DATABASE USER SSLMODE]\n",
                     argv[0]);
        return 2;
    }
    const int number = std::atoi(argv[2]);
    std::FILE* log = std::fopen(argv[3], "w");
    if (log == nullptr) {
        std::perror(argv[3]);
        return 2;
    }
    int status = 0;
    try {
        if (argc == 9)
            store::useServer(store::ServerSettings{argv[4], argv[5], argv[6], argv[7], argv[8]});
        Counter counter(number, log, static_cast<unsigned>(number) * 7919u + 1u);
        counter.runFor(std::chrono::seconds(std::atoi(argv[1])));
    } catch (const std::exception& e) {
        std::fprintf(log, "%s %s\n", counters::kError, e.what());
        status = 1;
    }
    std::fclose(log);
    return status;
}
