#include "tests/support/WatchedWrites.h"

#include <sqlite3.h>

#include "store/ConnectionString.h"
#include "store/Error.h"

namespace testsupport {

namespace {

constexpr const char* kFunction = "jxc_second_connection_looks";
constexpr const char* kEvents[] = {"INSERT", "UPDATE", "DELETE"};

std::string triggerName(const char* event) { return std::string("jxc_view_") + event; }

// The SQLite handle behind a database, reached through a statement of its own.
sqlite3* handleOf(const store::Database& db) {
    const store::Statement statement(db, "SELECT 1");
    return sqlite3_db_handle(statement.handle());
}

}  // namespace

struct SecondConnectionViewAccess {
    static void look(sqlite3_context* context, int, sqlite3_value**) {
        auto* view = static_cast<SecondConnectionView*>(sqlite3_user_data(context));
        try {
            view->seen_.push_back(view->look());
        } catch (const std::exception& error) {
            view->seen_.push_back(std::string("error: ") + error.what());
        }
        sqlite3_result_null(context);
    }
};

SecondConnectionView::SecondConnectionView(store::Database& writer, const std::string& table,
                                           std::string sql)
    : writer_(writer), reader_(writer.file(), store::kDatabasePassword), sql_(std::move(sql)) {
    if (sqlite3_create_function(handleOf(writer_), kFunction, 0, SQLITE_UTF8, this,
                                &SecondConnectionViewAccess::look, nullptr, nullptr) != SQLITE_OK)
        throw store::StoreError(sqlite3_errmsg(handleOf(writer_)));
    for (const char* event : kEvents)
        writer_.exec("CREATE TEMP TRIGGER " + triggerName(event) + " AFTER " + event + " ON \"" +
                     table + "\" BEGIN SELECT " + kFunction + "(); END");
}

SecondConnectionView::~SecondConnectionView() {
    for (const char* event : kEvents)
        writer_.tryExec(("DROP TRIGGER IF EXISTS temp." + triggerName(event)).c_str());
    sqlite3_create_function(handleOf(writer_), kFunction, 0, SQLITE_UTF8, nullptr, nullptr, nullptr,
                            nullptr);
}

std::string SecondConnectionView::look() {
    store::Statement statement(reader_, sql_);
    if (!statement.step() || statement.isNull(0)) return {};
    if (statement.type(0) == store::Statement::ValueType::Integer)
        return std::to_string(statement.int64Value(0));
    return std::string(statement.text(0));
}

RefusedCommits::RefusedCommits(store::Database& db) : db_(db) {
    sqlite3_commit_hook(
        handleOf(db_), [](void*) { return 1; }, nullptr);
}

RefusedCommits::~RefusedCommits() { sqlite3_commit_hook(handleOf(db_), nullptr, nullptr); }

}  // namespace testsupport
