#include "tests/support/TestDatabase.h"

#include <stdlib.h>
#include <unistd.h>

#include <cstdlib>
#include <map>
#include <stdexcept>
#include <system_error>
#include <vector>

#include "store/ConnectionString.h"
#include "store/Schema.h"
#include "store/SchemaUpgrade.h"
#include "tests/support/TestServer.h"
#include "tools/DemoData.h"
#include "tools/MakeDatabase.h"

namespace testsupport {

namespace {

std::string processDatabasePrefix() { return "jxc_test_" + std::to_string(getpid()) + "_"; }

// What a test may have added to a database besides rows: its tables, indexes, sequences and
// views, its triggers and its functions, counted.
const char* const kStructure =
    "SELECT (SELECT count(*) FROM pg_class WHERE relnamespace = current_schema()::regnamespace)"
    " || ' ' || (SELECT count(*) FROM pg_trigger WHERE NOT tgisinternal)"
    " || ' ' || (SELECT count(*) FROM pg_proc WHERE pronamespace = current_schema()::regnamespace)";

// The test databases of the cluster. Each is a copy of a database made once per process and
// content, as the database maker makes a file: a copy is much quicker than making every table
// again. A database of empty tables a test gave back unchanged but for its rows is emptied and
// given to the next test, quicker still. What is left is dropped when the process ends.
class ServerDatabases {
  public:
    // Never destroyed: a test database kept until the process ends (a benchmark's) is given back
    // after every other object of this file is gone.
    static ServerDatabases& instance() {
        static ServerDatabases* databases = [] {
            auto* made = new ServerDatabases;
            std::atexit([] { ServerDatabases::instance().dropAll(); });
            return made;
        }();
        return *databases;
    }

    std::string take(TestDatabase::Content content) {
        if (content == TestDatabase::Content::Empty && !emptied_.empty()) {
            std::string name = std::move(emptied_.back());
            emptied_.pop_back();
            return name;
        }
        const std::string name = processDatabasePrefix() + std::to_string(++made_);
        createServerDatabase(name, templateOf(content));
        if (content == TestDatabase::Content::Empty && emptyStructure_.empty())
            emptyStructure_ = queryOnServer(name, kStructure);
        return name;
    }

    void giveBack(TestDatabase::Content content, const std::string& name) noexcept {
        try {
            if (content == TestDatabase::Content::Empty && !exiting_ &&
                queryOnServer(name, kStructure) == emptyStructure_) {
                // A connection of the test still in a transaction must not hold the next test up.
                execOnServer(name, "SET lock_timeout = '2s'; TRUNCATE " + programTables() +
                                       " RESTART IDENTITY");
                emptied_.push_back(name);
                return;
            }
        } catch (...) {
            // Dropped instead.
        }
        dropServerDatabase(name);
    }

  private:
    const std::string& templateOf(TestDatabase::Content content) {
        auto found = templates_.find(content);
        if (found != templates_.end()) return found->second;
        const bool demo = content == TestDatabase::Content::Demo;
        const std::string name = processDatabasePrefix() + (demo ? "demo" : "empty");
        dropServerDatabase(name);  // a process of the same number before
        createServerDatabase(name, "template0");
        try {
            store::Database db = store::Database::onServer(serverSettings(name));
            store::Transaction transaction(db);
            store::schema::createAllTables(db);
            if (demo) tools::fillDemoData(db);
            transaction.commit();
        } catch (...) {
            dropServerDatabase(name);
            throw;
        }
        return templates_.emplace(content, name).first->second;
    }

    // The program's tables: the schema version and the change counters stay.
    static std::string programTables() {
        std::string names;
        for (const auto* list : {&store::schema::tables(), &store::schema::addedTables()})
            for (const auto& table : *list)
                names += (names.empty() ? "\"" : ", \"") + table.name + "\"";
        return names;
    }

    void dropAll() noexcept {
        exiting_ = true;
        for (const std::string& name : emptied_) dropServerDatabase(name);
        for (const auto& [content, name] : templates_) dropServerDatabase(name);
    }

    int made_ = 0;
    bool exiting_ = false;
    std::map<TestDatabase::Content, std::string> templates_;
    std::string emptyStructure_;
    std::vector<std::string> emptied_;
};

}  // namespace

ScopedCurrentDirectory::ScopedCurrentDirectory(const std::filesystem::path& directory)
    : previous_(std::filesystem::current_path()) {
    std::filesystem::current_path(directory);
}

ScopedCurrentDirectory::~ScopedCurrentDirectory() {
    std::error_code ec;
    std::filesystem::current_path(previous_, ec);
}

TemporaryDirectory::TemporaryDirectory() {
    std::string pattern = (std::filesystem::temp_directory_path() / "jxc-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot make a temporary directory");
    path_ = pattern;
}

TemporaryDirectory::~TemporaryDirectory() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

TestDatabase::TestDatabase(Content content, bool enterDirectory) : content_(content) {
    if (onServer())
        server_ = serverSettings(ServerDatabases::instance().take(content));
    else
        tools::makeDatabase(path(), content == Content::Demo);
    if (enterDirectory) {
        previous_ = std::filesystem::current_path();
        std::filesystem::current_path(directory_.path());
        entered_ = true;
        if (server_) {
            if (const store::ServerSettings* current = store::currentServer())
                previousServer_ = *current;
            store::useServer(server_);
        }
    }
}

TestDatabase::~TestDatabase() {
    if (entered_) {
        std::error_code ec;
        std::filesystem::current_path(previous_, ec);
        if (server_) store::useServer(previousServer_);
    }
    if (server_) ServerDatabases::instance().giveBack(content_, server_->database);
}

store::Database TestDatabase::open() const {
    if (server_) return store::Database::onServer(*server_);
    return store::Database(path(), store::kDatabasePassword);
}

void TestDatabase::execDirectly(const std::string& sql) const {
    if (server_)
        execOnServer(server_->database, sql);
    else
        open().exec(sql);
}

const store::ServerSettings& TestDatabase::server() const {
    if (!server_) throw std::logic_error("a data.mdb file is not on a server");
    return *server_;
}

std::string TestDatabase::path() const {
    return (directory_.path() / store::kDatabaseFileName).string();
}

}  // namespace testsupport
