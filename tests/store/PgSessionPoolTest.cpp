// An engine closed and opened again on the same server goes on with the same session, as long as
// that session is sound; what one engine left behind never reaches the next.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "PgTestServer.h"
#include "store/Error.h"

namespace {

using pgtest::ServerDatabase;

std::string firstValue(const store::Engine& engine, std::string_view sql) {
    auto statement = engine.prepare(sql);
    if (!statement->step()) return "(no row)";
    store::StoredValue value;
    statement->readValue(0, value);
    return value.type == store::ValueType::Integer ? std::to_string(value.integer)
                                                   : std::string(value.text);
}

std::string sessionOf(const store::Engine& engine) {
    return firstValue(engine, "SELECT pg_backend_pid()");
}

class PgSessionPoolTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!pgtest::serverTestsEnabled()) GTEST_SKIP() << "no test server (JXC_TEST_SERVER=1)";
        database_ = &ServerDatabase::emptied();
    }
    const ServerDatabase* database_ = nullptr;
};

TEST_F(PgSessionPoolTest, ASoundSessionGoesOnWithTheNextEngine) {
    std::string session;
    {
        auto engine = database_->open();
        session = sessionOf(*engine);
        // Closed in the middle of a transaction: its work is rolled back, not left to the next.
        engine->begin();
        engine->exec(R"(INSERT INTO "表1" ("商品编码") VALUES ('left open'))");
    }
    auto engine = database_->open();
    EXPECT_EQ(sessionOf(*engine), session);
    EXPECT_TRUE(engine->inAutocommit());
    EXPECT_EQ(firstValue(*engine, R"(SELECT count(*) FROM "表1")"), "0");
}

TEST_F(PgSessionPoolTest, OnlySoundSessionsAreHandedOn) {
    using Spoil = void (*)(store::Engine & engine, store::Engine & other, const std::string& pid);
    const struct {
        const char* what;
        Spoil spoil;
        bool handedOn;
    } cases[] = {
        {"its own settings changed",
         [](store::Engine& engine, store::Engine&, const std::string&) {
             engine.exec("SET statement_timeout = '1s'");
         },
         false},
        {"a failed statement in an open transaction",
         [](store::Engine& engine, store::Engine&, const std::string&) {
             engine.begin();
             EXPECT_THROW(engine.exec("SELECT 1 / 0"), store::StoreError);
         },
         true},
    };
    auto other = database_->open();  // a session of its own through every case
    for (const auto& c : cases) {
        std::string session;
        {
            auto engine = database_->open();
            session = sessionOf(*engine);
            c.spoil(*engine, *other, session);
        }
        auto engine = database_->open();
        EXPECT_EQ(sessionOf(*engine) == session, c.handedOn) << c.what;
        EXPECT_EQ(firstValue(*engine, "SHOW statement_timeout"), "0") << c.what;
        EXPECT_TRUE(engine->inAutocommit()) << c.what;
        // Ended by the server while kept: never handed on.
        const std::string kept = sessionOf(*engine);
        engine.reset();
        other->exec("SELECT pg_terminate_backend(" + kept + ")");
        while (firstValue(*other, "SELECT count(*) FROM pg_stat_activity WHERE pid = " + kept) !=
               "0")
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        engine = database_->open();
        EXPECT_NE(sessionOf(*engine), kept) << c.what;
    }
}

}  // namespace
