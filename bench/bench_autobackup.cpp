// Start-up to the main window on a day whose automatic copy is due against a day whose copy is
// already made, over 100,000 goods rows and 100,000 sales. The copy runs on its own thread after
// the window is shown; the measured span ends when the shown window has handled its first events
// and re-read its table once, as it does when it becomes active.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <cstdio>
#include <memory>

#include "app/MainForm.h"
#include "app/Startup.h"
#include "app/backup/AutoBackupSession.h"
#include "app/backup/AutomaticBackupHooks.h"
#include "platform/Fonts.h"
#include "platform/ScriptedPlatform.h"
#include "store/ConnectionString.h"
#include "store/Database.h"
#include "tests/support/TestDatabase.h"
#include "tools/DemoData.h"

namespace {

constexpr int kRows = 100000;

void appendGeneratedSales(store::Database& db, int count) {
    store::Transaction transaction(db);
    store::Statement sale(db,
                          "INSERT INTO \"表3\" (\"销售日期\", \"商品编码\", \"商品名称\", "
                          "\"商品型号\", \"商品规格\", \"单位\", \"销售单价\", \"销售数量\", "
                          "\"销售金额\", \"客户姓名\", \"联系电话\", \"详细地址\", \"备注\") "
                          "VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?)");
    char code[32], date[32], phone[32];
    for (int i = 0; i < count; ++i) {
        std::snprintf(code, sizeof code, "SP%06d", i);
        std::snprintf(date, sizeof date, "2026-%02d-%02d", 1 + i % 12, 1 + i % 28);
        std::snprintf(phone, sizeof phone, "139%08d", (i * 7907) % 100000000);
        sale.reset();
        int p = 1;
        for (const char* text : {static_cast<const char*>(date), static_cast<const char*>(code),
                                 "中性笔", "M-100", "1号 规格1", "支"})
            sale.bindText(p++, text);
        for (double value : {2.5, 3.0, 7.5}) sale.bindDouble(p++, value);
        for (const char* text : {"张三", static_cast<const char*>(phone), "杭州市西湖区", ""})
            sale.bindText(p++, text);
        sale.step();
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

// state.range(0): 1 when the day's copy is due, 0 when it was made already.
void BM_StartUpToMainWindow(benchmark::State& state) {
    const bool due = state.range(0) == 1;
    Shop& s = shop();
    testsupport::ScopedCurrentDirectory cwd(s.database.directory());
    const QString folder = QString::fromStdString(s.database.directory().string());
    const QString copies = QDir(folder).filePath(QStringLiteral("自动备份"));
    platform::ScriptedPlatform answers;
    autobackup::Session& session = autobackup::session();
    session.setSettingsFile(QString::fromStdString((s.config.path() / "jxc.ini").string()));
    QDateTime day(QDate(2026, 1, 1), QTime(9, 0));
    session.setClock([&day] { return day; });
    if (!due) {  // today's copy exists
        session.startOfRun(folder);
        session.waitForCopy();
    }

    for (auto _ : state) {
        auto windows = std::make_unique<startup::Windows>();
        windows->mainForm().show();
        backup::startAutomaticBackups(windows->mainForm(), folder);
        QApplication::processEvents();  // the copy starts here when due
        windows->mainForm().FormActivate();
        QApplication::processEvents();

        state.PauseTiming();
        session.waitForCopy();
        if (due) {
            QDir(copies).removeRecursively();
        }
        windows.reset();
        QApplication::processEvents();
        state.ResumeTiming();
    }
    QDir(copies).removeRecursively();
    state.counters["due"] = due ? 1 : 0;
    state.counters["messages"] = static_cast<double>(answers.messages.size());
}

BENCHMARK(BM_StartUpToMainWindow)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(8);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    platform::installFonts();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
