#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "tools/MakeOptions.h"

namespace {

using tools::MakeOptions;
using Action = MakeOptions::Action;

struct Accepted {
    std::vector<std::string> arguments;
    Action action;
    bool demo;
    std::string path;
    std::string copyFrom;
    store::ServerSettings server;
};

void PrintTo(const Accepted& c, std::ostream* out) {
    for (const auto& argument : c.arguments) *out << argument << ' ';
}

class MakeOptionsAccepted : public testing::TestWithParam<Accepted> {};

TEST_P(MakeOptionsAccepted, ReadsWhatToMake) {
    const MakeOptions options = tools::parseMakeOptions(GetParam().arguments);
    EXPECT_EQ(options.action, GetParam().action);
    EXPECT_EQ(options.demo, GetParam().demo);
    EXPECT_EQ(options.path, GetParam().path);
    EXPECT_EQ(options.copyFrom, GetParam().copyFrom);
    EXPECT_EQ(options.server, GetParam().server);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, MakeOptionsAccepted,
    testing::Values(Accepted{{"data.mdb"}, Action::MakeFile, false, "data.mdb", "", {}},
                    Accepted{
                        {"--demo", "店/data.mdb"}, Action::MakeFile, true, "店/data.mdb", "", {}},
                    Accepted{{"--server"}, Action::MakeOnServer, false, "", "", {}},
                    Accepted{{"--demo", "--server", "--host", "db.local", "--port", "5433"},
                             Action::MakeOnServer,
                             true,
                             "",
                             "",
                             {"db.local", "5433", "", "", ""}},
                    Accepted{{"--copy", "data.mdb", "--server", "--database", "店铺", "--user",
                              "jxc", "--sslmode", "require"},
                             Action::CopyToServer,
                             false,
                             "",
                             "data.mdb",
                             {"", "", "店铺", "jxc", "require"}},
                    Accepted{{"data.mdb", "--help"}, Action::Help, false, "data.mdb", "", {}}));

struct Refused {
    std::vector<std::string> arguments;
    const char* told;  // a part of the message
};

void PrintTo(const Refused& c, std::ostream* out) {
    for (const auto& argument : c.arguments) *out << argument << ' ';
}

class MakeOptionsRefused : public testing::TestWithParam<Refused> {};

TEST_P(MakeOptionsRefused, SaysWhatIsWrong) {
    try {
        tools::parseMakeOptions(GetParam().arguments);
        FAIL() << "accepted";
    } catch (const tools::UsageError& error) {
        EXPECT_NE(std::string(error.what()).find(GetParam().told), std::string::npos)
            << error.what();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lines, MakeOptionsRefused,
    testing::Values(Refused{{}, "缺少路径"}, Refused{{"a.mdb", "b.mdb"}, "一个路径"},
                    Refused{{"--force", "a.mdb"}, "--force"},
                    Refused{{"--copy", "data.mdb"}, "--server"},
                    Refused{{"--host", "db", "a.mdb"}, "--server"},
                    Refused{{"--server", "a.mdb"}, "a.mdb"},
                    Refused{{"--server", "--copy", "a.mdb", "--demo"}, "--demo"},
                    Refused{{"--server", "--port"}, "--port"},
                    Refused{{"--server", "--copy", "--host", "db"}, "--copy"},
                    Refused{{"--server", "--copy", ""}, "--copy"}));

}  // namespace
