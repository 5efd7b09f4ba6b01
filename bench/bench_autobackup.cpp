// Start-up to the main window on a day whose automatic copy is due against a day whose copy is
// already made, over 100,000 goods rows and 100,000 sales. The copy runs on its own thread after
// the window is shown; the measured span ends when the shown window has handled its first events
// and re-read its table once, as it does when it becomes active.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include "app/MainForm.h"
#include "app/Startup.h"
#include "app/backup/AutomaticBackupHooks.h"
#include "backup/AutoBackupSession.h"
#include "bench/EveryReadFromTheFile.h"
#include "bench/WidgetBenchMain.h"
#include "platform/Fonts.h"
#include "store/ConnectionString.h"
#include "store/Database.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/widgets/ScriptedPlatform.h"
#include "tools/DemoData.h"

namespace {

constexpr int kRows = 100000;

void appendGeneratedSales(store::Database& db, int count) {
    store::Transaction transaction(db);
    tools::SaleWriter sales(db);
    char code[32], date[32], phone[32];
    for (int i = 0; i < count; ++i) {
        std::snprintf(code, sizeof code, "SP%06d", i);
        std::snprintf(date, sizeof date, "2026-%02d-%02d", 1 + i % 12, 1 + i % 28);
        std::snprintf(phone, sizeof phone, "139%08d", (i * 7907) % 100000000);
        sales.write({date, code, "中性笔", "M-100", "1号 规格1", "支", 2.5, 3.0, 7.5, "张三", phone,
                     "杭州市西湖区", ""});
    }
    transaction.commit();
}

struct Shop {
    Shop() {
        store::Database db(database.path(), store::kDatabasePassword);
        tools::appendGeneratedGoods(db, kRows);
        appendGeneratedSales(db, kRows);
    }
    testsupport::TestDatabase database{testsupport::TestDatabase::Content::Empty, false};
    testsupport::TemporaryDirectory config;
};

Shop& shop() {
    static Shop made;
    return made;
}

// One start-up: the windows made and the main window shown, its first events handled (the day's
// copy starts there when due) and its table re-read once, as when it becomes active. The copy is
// waited for and removed afterwards, outside the measured time.
double startUpMs(const QString& folder) {
    QElapsedTimer clock;
    clock.start();
    auto windows = std::make_unique<startup::Windows>();
    windows->mainForm().show();
    backup::startAutomaticBackups(windows->mainForm(), folder);
    QApplication::processEvents();
    windows->mainForm().activateFromAnotherWindow();
    QApplication::processEvents();
    const double elapsed = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    autobackup::session().waitForCopy();
    windows.reset();
    QApplication::processEvents();
    return elapsed;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Start-ups on a day whose copy is due and on a day whose copy is made, taken in turns so that
// both meet the same load of the machine; the counters are the medians and their ratio.
void BM_StartUpDueAgainstMade(benchmark::State& state) {
    Shop& s = shop();
    testsupport::ScopedCurrentDirectory cwd(s.database.directory());
    const QString folder = QString::fromStdString(s.database.directory().string());
    const QString copies = QDir(folder).filePath(QStringLiteral("自动备份"));
    platform::ScriptedPlatform answers;
    autobackup::Session& session = autobackup::session();
    session.setSettingsFile(QString::fromStdString((s.config.path() / "jxc.ini").string()));
    QDateTime day(QDate(2026, 1, 1), QTime(9, 0));
    session.setClock([&day] { return day; });

    std::vector<double> due, made;
    bool dueFirst = true;
    for (auto _ : state) {
        for (int turn = 0; turn < 2; ++turn) {
            const bool isDue = (turn == 0) == dueFirst;
            state.PauseTiming();
            QDir(copies).removeRecursively();
            if (!isDue) {  // today's copy exists already
                session.startOfRun(folder);
                session.waitForCopy();
            }
            state.ResumeTiming();
            (isDue ? due : made).push_back(startUpMs(folder));
        }
        dueFirst = !dueFirst;
    }
    QDir(copies).removeRecursively();
    state.counters["dueMs"] = median(due);
    state.counters["madeMs"] = median(made);
    state.counters["ratio"] = median(due) / median(made);
    state.counters["messages"] = static_cast<double>(answers.messages.size());
}

// The day's copy alone, taken and checked (for comparison: what the start-up does not wait for).
void BM_DaysCopy(benchmark::State& state) {
    Shop& s = shop();
    const QString folder = QString::fromStdString(s.database.directory().string());
    const QString copies = QDir(folder).filePath(QStringLiteral("自动备份"));
    autobackup::Session& session = autobackup::session();
    session.setSettingsFile(QString::fromStdString((s.config.path() / "jxc.ini").string()));
    session.setClock([] { return QDateTime(QDate(2026, 1, 1), QTime(9, 0)); });
    for (auto _ : state) {
        session.startOfRun(folder);
        session.waitForCopy();
        state.PauseTiming();
        QDir(copies).removeRecursively();
        state.ResumeTiming();
    }
    state.counters["fileBytes"] =
        static_cast<double>(QFileInfo(QDir(folder).filePath(QStringLiteral("data.mdb"))).size());
}

BENCHMARK(BM_DaysCopy)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_StartUpDueAgainstMade)->Unit(benchmark::kMillisecond)->Iterations(8);

}  // namespace

int main(int argc, char** argv) { return runWidgetBenchmarks(argc, argv); }
