#include "PgTestServer.h"

#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <string_view>

#include "store/Schema.h"

namespace pgtest {

namespace {

// The cluster's maintenance database (PGDATABASE, libpq's default otherwise).
std::unique_ptr<store::Engine> maintenance() { return store::openServerEngine({}); }

std::string uniqueName() {
    static std::atomic<int> made{0};
    return "jxc_pgtest_" + std::to_string(::getpid()) + "_" + std::to_string(made++);
}

// A database with the program's tables, made once per test program: each test's database is a
// copy of it, quicker than making the tables again.
class ProgramTemplate {
  public:
    ProgramTemplate() : name_(uniqueName()) {
        maintenance()->exec("CREATE DATABASE " + name_ + " ENCODING 'UTF8'");
        store::ServerSettings settings;
        settings.database = name_;
        auto engine = store::openServerEngine(settings);
        engine->begin();
        for (const auto* list : {&store::schema::tables(), &store::schema::addedTables()})
            for (const auto& table : *list) engine->createTable(table);
        engine->setSchemaVersion(store::schema::kVersion);
        engine->commit();
    }
    ~ProgramTemplate() {
        try {
            maintenance()->exec("DROP DATABASE IF EXISTS " + name_ + " WITH (FORCE)");
        } catch (...) {
        }
    }
    const std::string& name() const noexcept { return name_; }

  private:
    std::string name_;
};

}  // namespace

bool serverTestsEnabled() {
    const char* flag = std::getenv("JXC_TEST_SERVER");
    return flag != nullptr && std::string_view(flag) == "1";
}

ServerDatabase::ServerDatabase(Tables tables) {
    static std::atomic<int> made{0};
    settings_.database = "jxc_pgtest_" + std::to_string(::getpid()) + "_" + std::to_string(made++);
    maintenance()->exec("DROP DATABASE IF EXISTS " + settings_.database);
    maintenance()->exec("CREATE DATABASE " + settings_.database + " ENCODING 'UTF8'");
    if (tables == Tables::None) return;
    auto engine = open();
    engine->begin();
    for (const auto* list : {&store::schema::tables(), &store::schema::addedTables()})
        for (const auto& table : *list) engine->createTable(table);
    engine->setSchemaVersion(store::schema::kVersion);
    engine->commit();
}

ServerDatabase::~ServerDatabase() {
    try {
        maintenance()->exec("DROP DATABASE IF EXISTS " + settings_.database + " WITH (FORCE)");
    } catch (...) {
    }
}

const ServerDatabase& ServerDatabase::emptied() {
    static const ServerDatabase shared;
    std::string tables;
    for (const auto* list : {&store::schema::tables(), &store::schema::addedTables()})
        for (const auto& table : *list)
            tables += (tables.empty() ? "\"" : ", \"") + table.name + "\"";
    shared.open()->exec("TRUNCATE " + tables + " RESTART IDENTITY");
    return shared;
}

std::unique_ptr<store::Engine> ServerDatabase::open() const {
    return store::openServerEngine(settings_);
}

}  // namespace pgtest
