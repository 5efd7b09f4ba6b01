#include "app/Startup.h"

#include <QApplication>
#include <QFileInfo>
#include <exception>
#include <filesystem>

#include "app/MainForm.h"
#include "app/backup/AutomaticBackupHooks.h"
#include "app/backup/BackupCommands.h"
#include "app/backup/DamageRepair.h"
#include "backup/AutoBackupSettings.h"
#include "backup/DatabaseSettings.h"
#include "panels/ScanSettings.h"
#include "platform/Command.h"
#include "platform/Fonts.h"
#include "platform/Platform.h"
#include "profile/JbzlForm.h"
#include "reports/Dy1Form.h"
#include "reports/Dy2Form.h"
#include "reports/Dy3Form.h"
#include "reports/DyForm.h"
#include "reports/ThdyForm.h"
#include "sales/ThmxForm.h"
#include "sales/XsmxForm.h"
#include "sales/XsxxForm.h"
#include "store/Connection.h"
#include "store/ConnectionString.h"
#include "store/Error.h"
#include "store/ErrorMessages.h"
#include "store/Schema.h"
#include "store/SchemaUpgrade.h"
#include "store/ScratchFiles.h"
#include "store/ServerSettings.h"
#include "store/WindowTables.h"

namespace startup {

template <typename Window>
Window* Windows::create(const CreatedHook& created) {
    auto window = std::make_unique<Window>();
    Window* raw = window.get();
    // Only the main window's closing ends the program.
    if (!windows_.empty()) raw->setAttribute(Qt::WA_QuitOnClose, false);
    windows_.push_back(std::move(window));
    if (created) created(*raw);
    return raw;
}

Windows::Windows(const CreatedHook& created) {
    try {
        panels::setProgramScanSettings(panels::readScanSettings(autobackup::defaultSettingsFile()));
        mainForm_ = create<TMainForm>(created);
        xsxxForm_ = create<TXsxxForm>(created);
        dy1Form_ = create<TDy1Form>(created);
        jbzlForm_ = create<TJbzlForm>(created);
        dyForm_ = create<TDyForm>(created);
        xsmxForm_ = create<TXsmxForm>(created);
        dy2Form_ = create<TDy2Form>(created);
        thmxForm_ = create<TThmxForm>(created);
        thdyForm_ = create<TThdyForm>(created);
        dy3Form_ = create<TDy3Form>(created);
        connectWindows();
    } catch (...) {
        clear();
        throw;
    }
}

// Windows get what they use once all exist.
void Windows::connectWindows() {
    mainForm_->setCompanyWindow(jbzlForm_);
    mainForm_->setSalesWindow(xsxxForm_);
    mainForm_->setPurchaseReport(dyForm_);
    xsxxForm_->setMainWindow(mainForm_);
    xsxxForm_->setSalesDetailWindow(xsmxForm_);
    xsmxForm_->setMainWindow(mainForm_);
    xsmxForm_->setSalesWindow(xsxxForm_);
    xsxxForm_->setGoodsReport(*dy1Form_);
    xsmxForm_->setSalesDetailReport(*dy2Form_);
    xsxxForm_->setReturnsWindow(thmxForm_);
    xsmxForm_->setOpenReturnsWindow([this] { thmxForm_->openFrom(*xsmxForm_); });
    thmxForm_->setMainWindow(mainForm_);
    thmxForm_->setReturnsReport(*thdyForm_);
    xsxxForm_->setLowStockReport(*dy3Form_);
    // The report headings read the company window's query, made after two of the reports.
    const store::Query& company = jbzlForm_->companyQuery();
    dyForm_->setCompanyQuery(company);
    dy1Form_->setCompanyQuery(company);
    dy2Form_->setCompanyQuery(company);
    thdyForm_->setCompanyQuery(company);
    dy3Form_->setCompanyQuery(company);
}

void Windows::clear() {
    mainForm_ = nullptr;
    xsxxForm_ = nullptr;
    dy1Form_ = nullptr;
    jbzlForm_ = nullptr;
    dyForm_ = nullptr;
    xsmxForm_ = nullptr;
    dy2Form_ = nullptr;
    thmxForm_ = nullptr;
    thdyForm_ = nullptr;
    dy3Form_ = nullptr;
    // Later windows may use earlier ones (the reports read the company window), so they go first.
    while (!windows_.empty()) windows_.pop_back();
}

Windows::~Windows() {
    platform::setErrorInterceptor({});
    clear();
}

namespace {

// The folder of the data.mdb the windows open.
QString dataFolder() {
    const std::string file =
        store::connectionTarget(store::buildConnectionStringForCurrentDirectory()).file;
    return QFileInfo(QString::fromStdString(file)).absolutePath();
}

bool isDamage(const std::exception& error) {
    const auto* storeError = dynamic_cast<const store::StoreError*>(&error);
    return storeError != nullptr && store::isDamageCode(storeError->code());
}

// Whether the data needs this version's tables; data of a later version is refused.
bool upgradeDue(const store::Database& db) {
    switch (store::schema::upgradeNeed(db)) {
        case store::schema::UpgradeNeed::None:
            return false;
        case store::schema::UpgradeNeed::Refused:
            throw store::StoreError(
                store::schema::laterVersionRefusal(db, store::schema::fileVersion(db)));
        case store::schema::UpgradeNeed::Tables:
            return true;
    }
    return false;
}

// The message for a server database that lacks the program's tables (table, the first missing).
std::string tablesMissingOnServer(const store::ServerSettings& server, const std::string& table) {
    return server.describe() + "中没有本软件的数据表（缺少表“" + table +
           "”），无法使用。请先在这个数据库中建立数据表：运行 jxc-mkdb --server（要把已有的 "
           "data.mdb 搬到服务器上，运行 jxc-mkdb --copy data.mdb --server），用 --host、--port、"
           "--database、--user 指明这台服务器，然后重新启动本软件。";
}

// The server's database is checked before any window opens, as data.mdb is: one that cannot be
// reached or opened is told by the engine's message, naming the server and what to check; one
// without the program's five tables is told how to make them; one of an earlier version gets this
// version's tables after the day's copy; one of a later version is refused.
void upgradeServerStore(const store::ServerSettings& server) {
    store::Database db = store::Database::onServer(server);
    for (const auto& table : store::schema::tables())
        if (!store::schema::holdsTable(db, table.name))
            throw store::StoreError(tablesMissingOnServer(server, table.name));
    if (!upgradeDue(db)) return;
    backup::takeDaysCopyNow(dataFolder());
    store::schema::upgrade(db);
}

// A data.mdb (or a server's database) of an earlier version gets this version's tables before any
// window opens it. The day's copy is taken first, waited for, so that it keeps the file as it was;
// it is only taken here when an upgrade is due (the day's copy otherwise runs in the background
// once the main window shows, while the windows already use the file). A file of a later version is
// refused. A missing file, one that is no database of the program or that cannot be written is left
// to the windows, which say what is wrong or show it read-only.
void upgradeDataStore() {
    if (const store::ServerSettings* server = store::currentServer()) {
        upgradeServerStore(*server);
        return;
    }
    const std::string file =
        store::connectionTarget(store::buildConnectionStringForCurrentDirectory()).file;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) return;
    store::Database db(file, store::kDatabasePassword);
    if (!upgradeDue(db) || !store::readOnlyNotice(file).empty()) return;
    backup::takeDaysCopyNow(dataFolder());
    store::schema::upgrade(db);
}

// The windows, made once more after a damaged data.mdb was repaired; null when they cannot be
// made (the user was told).
std::unique_ptr<Windows> makeWindows(bool mayRepair = true) {
    try {
        upgradeDataStore();
        return std::make_unique<Windows>();
    } catch (const std::exception& error) {
        const QString text = QString::fromUtf8(error.what());
        if (mayRepair && isDamage(error)) {
            switch (backup::offerRepair(nullptr, dataFolder(), text, {})) {
                case backup::RepairOutcome::Restored:
                    return makeWindows(false);  // once: a copy that passed its check
                case backup::RepairOutcome::Declined:
                case backup::RepairOutcome::Failed:
                    return nullptr;
                case backup::RepairOutcome::NoGoodCopy:
                    break;
            }
        }
        platform::showError(nullptr, text);
        return nullptr;
    }
}

// Every connection of the process opens the store the settings file chooses: a PostgreSQL
// server, or data.mdb. False, the user told why, when the setting cannot be used.
bool chooseDataStore() {
    try {
        store::useServer(autobackup::readServerSettings(autobackup::defaultSettingsFile()));
        return true;
    } catch (const std::exception& error) {
        platform::showError(nullptr, QString::fromUtf8(error.what()));
        return false;
    }
}

}  // namespace

int start(std::unique_ptr<Windows>& windows) {
    windows.reset();
    if (!chooseDataStore()) return 1;
    windows = makeWindows();
    if (!windows) return 1;
    platform::setErrorInterceptor([](QWidget* owner, const std::exception& error) {
        if (!isDamage(error)) return false;
        backup::repairWhileRunning(owner, dataFolder(), QString::fromUtf8(error.what()),
                                   store::WindowTables::releaseAllForRestore);
        return true;
    });
    TMainForm& mainForm = windows->mainForm();
    mainForm.show();
    // Told now rather than at the first change that cannot be saved. A server has no file whose
    // rights the program could look at: it refuses a write itself, with its own message.
    if (const std::string notice =
            store::currentServer() != nullptr
                ? std::string()
                : store::readOnlyNotice(mainForm.connection().database().file());
        !notice.empty())
        platform::current().message(&mainForm, QString::fromStdString(notice),
                                    platform::MessageKind::Plain);
    return 0;
}

int run(QApplication& application) {
    platform::installFonts();
    // What a write killed in an earlier run (a restore, a backup beside the data) left behind.
    store::removeStaleScratchFiles(backup::programFolder().toStdString());
    std::unique_ptr<Windows> windows;
    if (const int status = start(windows); status != 0) return status;
    backup::startAutomaticBackups(windows->mainForm(), backup::programFolder(),
                                  store::WindowTables::releaseAllForRestore);
    const int status = application.exec();
    backup::finishAutomaticBackups(backup::programFolder());
    return status;
}

}  // namespace startup
