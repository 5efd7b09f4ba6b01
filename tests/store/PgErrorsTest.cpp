#include <gtest/gtest.h>

#include "store/pg/PgErrors.h"

namespace {

using store::StoreError;

store::ServerSettings shop() {
    store::ServerSettings settings;
    settings.host = "db.shop";
    settings.port = "5432";
    settings.database = "jxc";
    settings.user = "counter1";
    return settings;
}

struct ConnectCase {
    const char* libpqText;
    const char* advice;  // part of the Chinese sentence
};

class ConnectFailureTest : public ::testing::TestWithParam<ConnectCase> {};

TEST_P(ConnectFailureTest, NamesTheServerWhatToCheckAndKeepsLibpqsText) {
    const StoreError error = store::pg::connectFailure(GetParam().libpqText, shop());
    const std::string message = error.what();
    EXPECT_EQ(error.code(), StoreError::kServerUnreachable);
    EXPECT_NE(message.find(shop().describe()), std::string::npos) << message;
    EXPECT_NE(message.find(GetParam().advice), std::string::npos) << message;
    std::string text = GetParam().libpqText;
    while (text.back() == '\n') text.pop_back();
    EXPECT_NE(message.find("（" + text + "）"), std::string::npos) << message;
}

INSTANTIATE_TEST_SUITE_P(
    LibpqTexts, ConnectFailureTest,
    ::testing::Values(
        ConnectCase{"connection to server at \"db.shop\" (10.0.0.2), port 5432 failed: "
                    "Connection refused\n",
                    "服务器没有运行，或者主机名、端口不对"},
        ConnectCase{"could not translate host name \"db.shop\" to address: Name or service not "
                    "known\n",
                    "主机名、端口不对"},
        ConnectCase{"connection to server at \"db.shop\", port 5432 failed: FATAL:  password "
                    "authentication failed for user \"counter1\"\n",
                    "~/.pgpass"},
        ConnectCase{"connection to server failed: fe_sendauth: no password supplied\n",
                    "PGPASSWORD"},
        ConnectCase{"connection to server failed: FATAL:  database \"jxc\" does not exist\n",
                    "jxc-mkdb --server"},
        ConnectCase{"connection to server failed: FATAL:  role \"counter1\" does not exist\n",
                    "没有用户“counter1”"},
        ConnectCase{"server does not support SSL, but SSL was required\n", "sslmode"},
        ConnectCase{"something new\n", "~/.pgpass 或 PGPASSWORD"}));

struct StatementCase {
    store::pg::ServerFailure failure;
    int code;
    const char* part;
};

class StatementFailureTest : public ::testing::TestWithParam<StatementCase> {};

TEST_P(StatementFailureTest, TellsTheFailureInChineseWithItsCode) {
    const StoreError error = store::pg::failureOf(GetParam().failure, "服务器");
    EXPECT_EQ(error.code(), GetParam().code);
    EXPECT_NE(std::string(error.what()).find(GetParam().part), std::string::npos) << error.what();
}

INSTANTIATE_TEST_SUITE_P(
    States, StatementFailureTest,
    ::testing::Values(StatementCase{{"40001", "could not serialize access", "", "", "", false},
                                    StoreError::kServerConflict,
                                    "可以再试一次"},
                      StatementCase{{"40P01", "deadlock detected", "", "", "", false},
                                    StoreError::kServerConflict,
                                    "可以再试一次"},
                      StatementCase{{"23505", "duplicate key", "表1", "", "表1_pkey", false},
                                    StoreError::kNotFromSqlite,
                                    "表“表1”中已有相同的值"},
                      StatementCase{{"23502", "null value", "表3", "单位", "", false},
                                    StoreError::kNotFromSqlite,
                                    "表“表3”的字段“单位”不能为空"},
                      StatementCase{{"22021", "invalid byte sequence", "", "", "", false},
                                    StoreError::kNotFromSqlite,
                                    "无效的字符"},
                      StatementCase{{"08006", "server closed the connection", "", "", "", false},
                                    StoreError::kServerUnreachable,
                                    "连接中断"},
                      StatementCase{{"", "no connection to the server", "", "", "", true},
                                    StoreError::kServerUnreachable,
                                    "连接中断"},
                      StatementCase{{"XX000", "internal error", "", "", "", false},
                                    StoreError::kNotFromSqlite,
                                    "数据库服务器报告错误（internal error）"}));

}  // namespace
