// Producing a long report into page images: all pages, the wait for page 1, and the memory the
// pages hold.
#include <benchmark/benchmark.h>

#include <QElapsedTimer>
#include <QFont>
#include <QGuiApplication>
#include <QHash>
#include <QStringList>
#include <algorithm>
#include <vector>

#include "reports/engine/DataCursor.h"
#include "reports/engine/Report.h"
#include "reports/engine/ReportPages.h"

using namespace reports;

namespace {

const QStringList kFields = {"商品编码", "商品名称", "商品型号", "商品规格", "单位",     "进货单价",
                             "进货数量", "进货金额", "联系人",   "联系电话", "详细地址", "备注"};

class RowsInMemory : public DataCursor {
  public:
    explicit RowsInMemory(int count) {
        const QStringList units = {"个", "箱", "台", "件", "套"};
        for (int i = 0; i < count; ++i) {
            const double price = 10 + (i % 500) * 0.37;
            const int quantity = 1 + i % 90;
            rows_.push_back(
                {QStringLiteral("SP%1").arg(i + 1, 6, 10, QLatin1Char('0')),
                 QStringLiteral("商品名称%1").arg(i % 300), QStringLiteral("XH-%1").arg(i % 120),
                 QStringLiteral("%1×%2mm").arg(10 + i % 40).arg(20 + i % 25),
                 units[i % units.size()], QString::number(price, 'g', 15),
                 QString::number(quantity), QString::number(price * quantity, 'f', 2),
                 QStringLiteral("联系人%1").arg(i % 50),
                 QStringLiteral("0571-8%1").arg(1000000 + i % 9000),
                 QStringLiteral("浙江省杭州市西湖区文三路%1号").arg(i % 400), QString()});
        }
        for (int i = 0; i < kFields.size(); ++i) columns_.insert(kFields[i], i);
    }
    void first() override { current_ = 0; }
    void next() override { ++current_; }
    bool eof() const override { return current_ >= int(rows_.size()); }
    int recordCount() const override { return int(rows_.size()); }
    QString displayText(const QString& field) const override {
        const auto column = columns_.find(field);
        if (column == columns_.end() || eof()) return {};
        return rows_[std::size_t(current_)][*column];
    }

  private:
    std::vector<QStringList> rows_;
    QHash<QString, int> columns_;
    int current_ = 0;
};

// The purchase report's bands and cells.
void buildPurchaseReport(TReport& report, DataCursor* rows) {
    const ReportFont regular10{QStringLiteral("宋体"), 10, false};
    const ReportFont bold11{QStringLiteral("宋体"), 11, true};
    const ReportFont bold12{QStringLiteral("宋体"), 12, true};
    struct Column {
        int x, w, captionX, fieldX;
    };
    const Column columns[] = {{0, 73, 4, 5},       {72, 97, 85, 76},     {168, 81, 177, 173},
                              {248, 73, 251, 254}, {320, 41, 324, 324},  {360, 57, 368, 365},
                              {416, 57, 429, 422}, {472, 73, 491, 478},  {544, 65, 553, 547},
                              {608, 89, 620, 611}, {696, 241, 792, 700}, {936, 89, 966, 940}};
    report.DataSet = rows;
    TReportBand& title = report.addBand(TBandType::bandTitle, 127, 1025);
    title.addLabel(432, 16, 36, QStringLiteral("进货明细表"), {QStringLiteral("宋体"), 26, true});
    TReportBand& detail = report.addBand(TBandType::bandDetail, 23, 1025);
    for (int i = 0; i < 12; ++i) {
        const Column& c = columns[i];
        title.addShape(c.x, 103, c.w, 25);
        title.addLabel(c.captionX, 108, 17, kFields[i].left(4), bold11);
        detail.addShape(c.x, 0, c.w, 25);
    }
    for (int i = 0; i < 12; ++i)
        detail.addDBText(columns[i].fieldX, 4, 17, rows, kFields[i], regular10);
    TReportBand& summary = report.addBand(TBandType::bandSummary, 81, 1025);
    for (const Column& c : columns) summary.addShape(c.x, 0, c.w, 25);
    summary.addLabel(16, 5, 17, QStringLiteral("合计"), bold12);
    summary.addLabel(478, 5, 17, QStringLiteral("1234567.5"), regular10);
}

// Measures the time to page 1 while production goes on.
class TimedPages : public ReportPages {
  public:
    QElapsedTimer clock;
    double firstPageMs = -1;
    void pageFinished(int number, PageImage&& page) override {
        if (number == 1) firstPageMs = clock.nsecsElapsed() / 1e6;
        ReportPages::pageFinished(number, std::move(page));
    }
};

void BM_ProduceTenThousandRows(benchmark::State& state) {
    RowsInMemory rows(int(state.range(0)));
    TReport report;
    buildPurchaseReport(report, &rows);
    double firstPageMs = 0;
    std::size_t bytes = 0;
    int pages = 0;
    for (auto _ : state) {
        TimedPages sink;
        sink.clock.start();
        report.produce(sink);
        firstPageMs = std::max(firstPageMs, sink.firstPageMs);  // the first run loads the fonts
        bytes = sink.memoryUsage();
        pages = sink.pageCount();
        benchmark::DoNotOptimize(pages);
    }
    state.counters["pages"] = pages;
    state.counters["page1_max_ms"] = firstPageMs;
    state.counters["pages_MB"] = double(bytes) / (1024.0 * 1024.0);
}
BENCHMARK(BM_ProduceTenThousandRows)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(5);

// A report made afresh each time, as the first print command of a run meets it: no widths
// measured yet.
void BM_FirstPageOfAFreshReport(benchmark::State& state) {
    RowsInMemory rows(10000);
    double firstPageMs = 0;
    for (auto _ : state) {
        TReport report;
        buildPurchaseReport(report, &rows);
        TimedPages sink;
        sink.clock.start();
        report.produce(sink);
        firstPageMs = sink.firstPageMs;
    }
    state.counters["page1_ms"] = firstPageMs;
}
BENCHMARK(BM_FirstPageOfAFreshReport)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    QFont::insertSubstitution(QStringLiteral("宋体"), QStringLiteral("Noto Serif CJK SC"));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
