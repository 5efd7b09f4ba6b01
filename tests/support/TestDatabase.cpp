#include "tests/support/TestDatabase.h"

#include <stdlib.h>
#include <unistd.h>

#include <map>
#include <stdexcept>
#include <system_error>

#include "store/ConnectionString.h"
#include "store/SchemaUpgrade.h"
#include "tests/support/TestServer.h"
#include "tools/DemoData.h"
#include "tools/MakeDatabase.h"

namespace testsupport {

namespace {

std::string processDatabasePrefix() { return "jxc_test_" + std::to_string(getpid()) + "_"; }

// The databases of the cluster every test database is copied from, one per content: made once
// per process, as the database maker makes a file, and dropped when the process ends. A copy is
// much quicker than making every table again.
class ServerTemplates {
  public:
    ~ServerTemplates() {
        for (const auto& [content, name] : made_) dropServerDatabase(name);
    }

    const std::string& of(TestDatabase::Content content) {
        auto found = made_.find(content);
        if (found != made_.end()) return found->second;
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
        return made_.emplace(content, name).first->second;
    }

  private:
    std::map<TestDatabase::Content, std::string> made_;
};

std::string freshServerDatabase(TestDatabase::Content content) {
    static int made = 0;
    const std::string name = processDatabasePrefix() + std::to_string(++made);
    static ServerTemplates templates;
    createServerDatabase(name, templates.of(content));
    return name;
}

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

TestDatabase::TestDatabase(Content content, bool enterDirectory) {
    if (onServer())
        server_ = serverSettings(freshServerDatabase(content));
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
    if (server_) dropServerDatabase(server_->database);
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
